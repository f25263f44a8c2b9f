//------------------------------------------------------------------------------
//  ntclserver.cc
//------------------------------------------------------------------------------
#include "script/ntclserver.h"
#include "script/ntclcmds.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"

#include <tcl.h>

#include <clocale>
#include <string>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    interp(nullptr),
    indentLevel(0)
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
 *     continue). An error stops the program (exit code 1, n_fatal) while
 *     failOnError is set, else it is logged; the message names the file and line for script
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
        n_fatal("%s", msg);
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
 * RunWithTimeLimit --
 *     Evaluates a command string as Run does, under one of Tcl's time
 *     limits: once the time is up the script stops with the error "time
 *     limit of <n> ms exceeded", which no catch holds up. Tcl keeps to the limit in
 *     its event loop too, so vwait and after end there as well. Inside a
 *     run that is limited already, the outer limit holds.
 * Results: as Run; false when the limit stopped the script.
 * Side effects: whatever the script does; the interpreter has no limit
 *     afterwards.
 */
bool nTclServer::RunWithTimeLimit(const char* str, nString& result, int milliseconds)
{
    n_assert(str && milliseconds > 0);
    if (Tcl_LimitTypeEnabled(this->interp, TCL_LIMIT_TIME)) return this->Run(str, result);
    result.Delete();
    Tcl_Time until;
    Tcl_GetTime(&until);
    until.sec += milliseconds / 1000;
    until.usec += (milliseconds % 1000) * 1000;
    if (until.usec >= 1000000)
    {
        until.sec++;
        until.usec -= 1000000;
    }
    Tcl_LimitSetTime(this->interp, &until);
    Tcl_LimitTypeSet(this->interp, TCL_LIMIT_TIME);
    const int code = Tcl_EvalEx(this->interp, str, -1, TCL_EVAL_DIRECT);
    if (TCL_ERROR == code && Tcl_LimitExceeded(this->interp))
    {
        // Tcl words it "limit exceeded" in vwait and "time limit exceeded" elsewhere
        const std::string message = "time limit of " + std::to_string(milliseconds) + " ms exceeded";
        Tcl_SetObjResult(this->interp, Tcl_NewStringObj(message.c_str(), -1));
    }
    Tcl_LimitTypeReset(this->interp, TCL_LIMIT_TIME);
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

//--- persistence scripts ------------------------------------------------------

namespace
{

/*
 * AppendQuoted --
 *     Appends a text for use between double quotes so that Tcl reads it
 *     back unchanged: the characters Tcl would substitute or end the word
 *     at are escaped. Texts without them come out as they stand.
 * Results: none.
 * Side effects: the line grows.
 */
void AppendQuoted(nString& line, const char* text)
{
    // built whole and appended once: the string grows by exact sizes, so
    // one character at a time made a long value quadratic to save
    std::string quoted;
    quoted.reserve(strlen(text) + 16);
    for (const char* c = text; *c; ++c)
    {
        switch (*c)
        {
            case '\\': quoted += "\\\\"; break;
            case '"': quoted += "\\\""; break;
            case '$': quoted += "\\$"; break;
            case '[': quoted += "\\["; break;
            case ']': quoted += "\\]"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            default: quoted += *c; break;
        }
    }
    line.AppendRange(quoted.data(), uint(quoted.size()));
}

/*
 * FormatFloat --
 *     Writes a float as persistence scripts keep it: "%.6f", which stored
 *     files and their readers rely on, unless those six decimals would not
 *     give the value back (a small value printed as zero, or one losing
 *     significant digits); then with the nine significant digits that
 *     always read back to the same float.
 * Results: none.
 * Side effects: fills buf.
 */
void FormatFloat(char* buf, size_t size, float f)
{
    snprintf(buf, size, "%.6f", (double)f);
    if (std::isnan(f) || strtof(buf, nullptr) == f) return;
    snprintf(buf, size, "%.9g", (double)f);
}

/*
 * AppendArg --
 *     Appends one input value as a persistence script writes it: ints in
 *     decimal, floats with six decimals, strings between double quotes,
 *     escaped, booleans as true or false, objects by full path or null
 *     (a non-tree object has no path: null).
 * Results: none.
 * Side effects: the line grows.
 */
void AppendArg(nString& line, const nArg* arg)
{
    char buf[64];
    switch (arg->GetType())
    {
        case nArg::Int:
            snprintf(buf, sizeof(buf), "%d", arg->GetI());
            line.Append(buf);
            break;
        case nArg::Float:
            FormatFloat(buf, sizeof(buf), arg->GetF());
            line.Append(buf);
            break;
        case nArg::String:
            line.Append("\"");
            if (arg->GetS()) AppendQuoted(line, arg->GetS());
            line.Append("\"");
            break;
        case nArg::Bool: line.Append(arg->GetB() ? "true" : "false"); break;
        case nArg::Object:
        {
            // only a tree object has a path to be found by when the file is
            // read; any other is stored as none, as the binary format does
            nObject* o = static_cast<nObject*>(arg->GetO());
            if (o && o->IsA("nroot")) line.Append(static_cast<nRoot*>(o)->GetFullName());
            else line.Append("null");
            break;
        }
        default: line.Append("???"); break;
    }
}

/// the object as a tree object; persistence scripts name children by path
nRoot* AsRoot(nObject* o)
{
    n_assert(o->IsA("nroot"));
    return static_cast<nRoot*>(o);
}

}  // namespace

/*
 * PutLine --
 *     Results: false once a write of the file has failed.
 *     Side effects: queues the text with one tab per nesting level and a
 *     line end.
 */
bool nTclServer::PutLine(nFile* file, const char* text)
{
    std::string line((size_t)n_max(this->indentLevel, 0), '\t');
    line.append(text);
    line.push_back('\n');
    return this->Queue(file, line.data(), line.size());
}

/*
 * WriteSelLine --
 *     Nothing is written while the select method is not 0.
 * Results: none.
 * Side effects: one level deeper, then "sel <path from parent>".
 */
void nTclServer::WriteSelLine(nFile* file, nObject* o, nObject* parent)
{
    if (this->selectMethod != 0) return;
    this->indentLevel++;
    nString line("sel ");
    line.Append(AsRoot(parent)->GetRelPath(AsRoot(o)));
    this->PutLine(file, line.Get());
}

/*
 * WriteBegin --
 *     Starts a persistence script: whatever is at the name (not a
 *     directory) is deleted, a new file created and the header written.
 * Results: the open file, or 0 (after a message) when it can't be opened.
 * Side effects: the file; the nesting level is reset.
 */
nFile* nTclServer::WriteBegin(const char* filename, nObject* obj)
{
    n_assert(filename);
    n_assert(obj);
    this->indentLevel = 0;
    this->BeginQueue();
    nFileServer2* fileServer = nKernelServer::Instance()->GetFileServer();
    n_assert(fileServer);
    // a stale file, link or FIFO at the name goes; the new file is ours alone
    fileServer->DeleteFile(filename);
    nFile* file = fileServer->NewFileObject();
    n_assert(file);
    if (!file->Open(filename, "wx"))
    {
        n_printf("nTclServer::WriteBegin(): failed to open file '%s' for writing!\n", filename);
        file->Release();
        return nullptr;
    }
    nString header("# $parser:ntclserver$ $class:");
    header.Append(obj->GetClass()->GetName());
    header.Append("$");
    this->PutLine(file, "# ---");
    this->PutLine(file, header.Get());
    this->PutLine(file, "# ---");
    return file;
}

/*
 * WriteBeginNewObject --
 *     Results: true.
 *     Side effects: "new <class> <name>", then the "sel" line.
 */
bool nTclServer::WriteBeginNewObject(nFile* file, nObject* o, nObject* parent)
{
    n_assert(file);
    n_assert(o);
    nString line("new ");
    line.Append(o->GetClass()->GetName());
    line.Append(" ");
    line.Append(AsRoot(o)->GetName());
    this->PutLine(file, line.Get());
    this->WriteSelLine(file, o, parent);
    return true;
}

/*
 * WriteBeginNewObjectCmd --
 *     Results: true.
 *     Side effects: the constructor command in place of the "new" line,
 *     then the "sel" line.
 */
bool nTclServer::WriteBeginNewObjectCmd(nFile* file, nObject* o, nObject* parent, nCmd* cmd)
{
    n_assert(file);
    n_assert(o);
    n_assert(cmd);
    this->WriteCmd(file, cmd);
    this->WriteSelLine(file, o, parent);
    return true;
}

/*
 * WriteBeginSelObject --
 *     Results: true.
 *     Side effects: only the "sel" line.
 */
bool nTclServer::WriteBeginSelObject(nFile* file, nObject* o, nObject* parent)
{
    n_assert(file);
    n_assert(o);
    this->WriteSelLine(file, o, parent);
    return true;
}

/*
 * WriteCmd --
 *     Results: false when the line could not be written.
 *     Side effects: ".<name>" and the command's inputs, at the current level.
 */
bool nTclServer::WriteCmd(nFile* file, nCmd* cmd)
{
    n_assert(file);
    n_assert(cmd);
    const char* name = cmd->GetProto()->GetName();
    n_assert(name);
    nString line(".");
    line.Append(name);
    cmd->Rewind();
    for (int i = 0; i < cmd->GetNumInArgs(); i++)
    {
        line.Append(" ");
        AppendArg(line, cmd->In());
    }
    cmd->Rewind();
    return this->PutLine(file, line.Get());
}

/*
 * WriteEndObject --
 *     Results: true.
 *     Side effects: one level up, then "sel <path from the object to its
 *     parent>".
 */
bool nTclServer::WriteEndObject(nFile* file, nObject* o, nObject* parent)
{
    n_assert(file);
    n_assert(o);
    this->indentLevel--;
    nString line("sel ");
    line.Append(AsRoot(o)->GetRelPath(AsRoot(parent)));
    this->PutLine(file, line.Get());
    return true;
}

/*
 * WriteEnd --
 *     Results: true when every level begun was closed again.
 *     Side effects: the trailer; the file is closed and released.
 */
bool nTclServer::WriteEnd(nFile* file)
{
    n_assert(file);
    this->PutLine(file, "# ---");
    this->PutLine(file, "# Eof");
    const bool written = this->FlushQueue(file);
    file->Close();
    file->Release();
    return written && this->indentLevel == 0;
}

namespace
{

/*
 * ReadScriptFile --
 *     Reads a whole file through the file server, so that assigns and npk
 *     archives apply. A file that cannot be opened or read completely is
 *     outside data going wrong, not a programming error: it becomes a
 *     script error.
 * Results: a buffer of n_malloc (NUL-terminated, the size in 'size'), or
 *     0 with the error message left in the interpreter's result.
 * Side effects: none beyond the result.
 */
char* ReadScriptFile(Tcl_Interp* interp, const char* fileName, int& size)
{
    if (!nKernelServer::Instance()) n_assertfail("nKernelServer::ks", __FILE__, __LINE__);
    nFileServer2* fileServer = nKernelServer::Instance()->GetFileServer();
    n_assert(fileServer);

    nFile* file = fileServer->NewFileObject();
    n_assert(file);
    if (!file->Open(fileName, "r"))
    {
        file->Release();
        Tcl_SetObjResult(interp, Tcl_ObjPrintf("could not open tcl script '%s'", fileName));
        // no line of the file was run: don't let an older error's line show
        Tcl_SetErrorLine(interp, 0);
        return nullptr;
    }
    const int fileSize = file->GetSize();
    char* scriptBuffer = nullptr;
    int bytesRead = -1;
    if (fileSize >= 0)
    {
        scriptBuffer = (char*)n_calloc((size_t)fileSize + 1, 1);
        n_assert(scriptBuffer);
        bytesRead = file->Read(scriptBuffer, fileSize);
    }
    file->Close();
    file->Release();
    if (bytesRead != fileSize)
    {
        n_free(scriptBuffer);
        Tcl_SetObjResult(interp, Tcl_ObjPrintf("could not read tcl script '%s'", fileName));
        Tcl_SetErrorLine(interp, 0);
        return nullptr;
    }
    size = fileSize;
    return scriptBuffer;
}

/*
 * UpdateReturnInfo --
 *     A script file that ends with "return" is a procedure body to Tcl:
 *     its return options (-code, -level) are applied one level up, as
 *     Tcl's own source does.
 * Results: the resulting return code.
 * Side effects: the interpreter's return options.
 */
int UpdateReturnInfo(Tcl_Interp* interp)
{
    Tcl_Obj* options = Tcl_GetReturnOptions(interp, TCL_RETURN);
    Tcl_IncrRefCount(options);
    Tcl_Obj* levelKey = Tcl_NewStringObj("-level", -1);
    Tcl_IncrRefCount(levelKey);
    Tcl_Obj* levelObj = nullptr;
    int level = 1;
    if (Tcl_DictObjGet(nullptr, options, levelKey, &levelObj) == TCL_OK && levelObj)
    {
        Tcl_GetIntFromObj(nullptr, levelObj, &level);
    }
    Tcl_DictObjPut(nullptr, options, levelKey, Tcl_NewIntObj(level > 0 ? level - 1 : 0));
    const int code = Tcl_SetReturnOptions(interp, options);
    Tcl_DecrRefCount(levelKey);
    Tcl_DecrRefCount(options);
    return code;
}

}  // namespace

/*
 * nTclEvalFile --
 *     The engine's script-file evaluation: reads the file through the file
 *     server and evaluates it in the current scope. An error gets the file
 *     name and line added to the error information.
 * Results: the Tcl return code; the script's result or the error message.
 * Side effects: whatever the script does.
 */
int nTclEvalFile(Tcl_Interp* interp, const char* fileName)
{
    n_assert(fileName);
    int size = 0;
    char* script = ReadScriptFile(interp, fileName, size);
    if (!script) return TCL_ERROR;
    int code = Tcl_EvalEx(interp, script, size, 0);
    n_free(script);
    if (code == TCL_RETURN)
    {
        code = UpdateReturnInfo(interp);
    }
    if (code == TCL_ERROR)
    {
        char info[256];
        snprintf(info, sizeof(info), "\n    (file \"%.150s\" line %d)", fileName, Tcl_GetErrorLine(interp));
        Tcl_AddErrorInfo(interp, info);
    }
    return code;
}
