//------------------------------------------------------------------------------
//  ntclserver.cc
//------------------------------------------------------------------------------
#include "script/ntclserver.h"
#include "script/ntclcmds.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"

#include <tcl.h>

#include <clocale>
#include <cstdio>

N_IMPLEMENT_MODULE(ntclserver, nTclServer, "nscriptserver", nullptr)

namespace
{

/*
 * InitTclLibrary --
 *     Tcl wants its subsystems set up once per process before the first
 *     interpreter. Tcl's start-up sets the locale from the environment;
 *     numbers must keep the "C" format, so LC_NUMERIC is put back.
 * Results: none.
 * Side effects: initialises Tcl on the first call only.
 */
void InitTclLibrary()
{
    static const bool initialised = [] {
        Tcl_FindExecutable(nullptr);
        setlocale(LC_NUMERIC, "C");
        return true;
    }();
    (void)initialised;
}

}  // namespace

/*
 * nTclServer --
 *     Results: none.
 *     Side effects: creates the interpreter and registers the engine's
 *     commands in it.
 */
nTclServer::nTclServer() :
    interp(nullptr)

{
    InitTclLibrary();
    this->interp = Tcl_CreateInterp();
    n_assert(this->interp);
    nTclAddCommands(this->interp, this);
}

/*
 * ~nTclServer --
 *     Results: none.
 *     Side effects: removes the engine's commands and deletes the
 *     interpreter.
 */
nTclServer::~nTclServer()
{
    n_assert(this->interp);
    nTclRemoveCommands(this->interp);
    Tcl_DeleteInterp(this->interp);
    this->interp = nullptr;
}

/*
 * Finish --
 *     Takes the interpreter's result text as the run's result. Any code
 *     but TCL_ERROR is success (a script may end with return, break or
 *     continue). An error stops the program while failOnError is set,
 *     else it is logged; the message names the file and line for script
 *     files.
 * Results: false on a script error.
 * Side effects: see above.
 */
bool nTclServer::Finish(int code, nString& result, const char* fileName)
{
    result = Tcl_GetStringResult(this->interp);
    if (code != TCL_ERROR) return true;

    char msg[2048];
    if (fileName)
    {
        snprintf(msg, sizeof(msg), "*** Tcl error '%s' in file %s line %d.\n", result.Get(), fileName,
                 Tcl_GetErrorLine(this->interp));
    }
    else
    {
        snprintf(msg, sizeof(msg), "*** Tcl error '%s'\n", result.Get());
    }
    if (this->failOnError)
    {
        n_error("%s", msg);
    }
    n_printf("%s", msg);
    return false;
}

/*
 * Run --
 *     Evaluates a command string in the interpreter's current scope.
 * Results: false on a script error (when it is not fatal); the result
 *     text in 'result'.
 * Side effects: whatever the script does.
 */
bool nTclServer::Run(const char* str, nString& result)
{
    n_assert(str);
    result.Delete();
    const int code = Tcl_EvalEx(this->interp, str, -1, TCL_EVAL_DIRECT);
    return this->Finish(code, result, nullptr);
}

/*
 * RunFunction --
 *     A script function is run as a command string, so the name may carry
 *     arguments.
 * Results and side effects: as Run.
 */
bool nTclServer::RunFunction(const char* functionName, nString& result)
{
    return this->Run(functionName, result);
}

/*
 * RunScript --
 *     Evaluates a script file read through the file server.
 * Results: false on a script error or a file that cannot be read (when
 *     that is not fatal); the result text in 'result'.
 * Side effects: whatever the script does.
 */
bool nTclServer::RunScript(const char* fileName, nString& result)
{
    n_assert(fileName);
    result.Delete();
    const int code = nTclEvalFile(this->interp, fileName);
    return this->Finish(code, result, fileName);
}

/*
 * Prompt --
 *     Results: the full path of the kernel's current object and "> ".
 *     Side effects: none.
 */
nString nTclServer::Prompt()
{
    nString prompt = nKernelServer::Instance()->GetCwd()->GetFullName();
    prompt.Append("> ");
    return prompt;
}

// TEMPORARY until the file server lands
int nTclEvalFile(Tcl_Interp* interp, const char* fileName)
{
    Tcl_SetObjResult(interp, Tcl_ObjPrintf("could not open tcl script '%s'", fileName));
    return TCL_ERROR;
}
