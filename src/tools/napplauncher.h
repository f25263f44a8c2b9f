#ifndef N_APPLAUNCHER_H
#define N_APPLAUNCHER_H
//------------------------------------------------------------------------------
/**
    @class nAppLauncher
    @ingroup Tools

    Starts an external program and waits for it, or opens a document or
    an address with the desktop's handler. Made with the kernel server,
    given its parameters through the setters, used once. Paths are engine
    paths (assigns allowed); the program path and each argument reach the
    started program whole, without a shell in between.
*/
#include "util/nstring.h"

class nKernelServer;

class nAppLauncher
{
public:
    explicit nAppLauncher(nKernelServer* ks);

    /// the program or document (an engine path)
    void SetExecutable(const char* path);
    /// the working directory (an engine path); empty: ours
    void SetWorkingDirectory(const char* path) { this->dir = path; }
    /// the command-line arguments: blanks separate, double quotes group
    void SetArguments(const char* a) { this->args = a; }
    /// an address that Launch opens instead of the executable
    void SetUrl(const char* u);
    /// start the program without a console (its standard streams go nowhere)
    void SetNoConsoleWindow(bool b) { this->noConsoleWindow = b; }

    /// start the program and wait until it ends; false when it cannot be started
    bool LaunchWait() const;
    /// open the address, else the document, and return at once; false when nothing could be opened
    bool Launch() const;

private:
    /// a path through the file server's assigns
    nString Mangle(const nString& path) const;

    nKernelServer* kernelServer;
    bool noConsoleWindow;
    nString exec;
    nString dir;
    nString args;
    nString url;
};
#endif
