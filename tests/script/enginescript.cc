//------------------------------------------------------------------------------
//  engine-script: runs one Tcl script file in a fresh kernel with every
//  class package, the way the engine runs its scripts.
//
//  usage: engine-script file.tcl
//
//  What the script prints goes to standard output. A script error (fatal,
//  as in the engine) or any other fatal error goes to standard error and
//  the exit code is 1; a script that runs through exits with 0.
//------------------------------------------------------------------------------
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "kernel/nscriptserver.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "file/nfilepackage.h"
#include "misc/nmiscpackage.h"
#include "input/ninputpackage.h"
#include "resource/nresourcepackage.h"
#include "gfx2/ngfx2package.h"
#include "anim2/nanim2package.h"
#include "scene/nscenepackage.h"
#include "variable/nvariablepackage.h"
#include "application/napplicationpackage.h"

#include <cstdio>
#include <unistd.h>

namespace
{

/// log lines to standard output; a fatal error to standard error, then exit 1
class HostLogHandler : public nLogHandler
{
public:
    void Print(const char* msg, va_list args) override { vprintf(msg, args); }
    void Message(const char* msg, va_list args) override { vprintf(msg, args); }
    void OutputDebug(const char* msg, va_list args) override { vfprintf(stderr, msg, args); }

    /*
     * Error --
     *     The engine aborts after a fatal error; the host ends with exit
     *     code 1 instead, so that a failing script is an ordinary failure.
     * Results: does not return.
     * Side effects: flushes standard output, prints to standard error.
     */
    [[noreturn]] void Error(const char* msg, va_list args) override
    {
        fflush(stdout);
        vfprintf(stderr, msg, args);
        fflush(stderr);
        _exit(1);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        fprintf(stderr, "usage: engine-script file.tcl\n");
        return 1;
    }
    HostLogHandler log;
    {
        nKernelServer ks({nfile_package, nsignals_package, nscript_package, nmisc_package, nvariable_package,
                          nresource_package, ngfx2_package, nanim2_package, nscene_package, ninput_package,
                          napplication_package});
        ks.SetLogHandler(&log);
        nScriptServer* script = static_cast<nScriptServer*>(ks.New("ntclserver", "/sys/servers/script"));
        nString result;
        script->RunScript(argv[1], result);
    }
    fflush(stdout);
    return 0;
}
