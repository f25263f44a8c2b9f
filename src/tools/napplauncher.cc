//------------------------------------------------------------------------------
//  napplauncher.cc
//------------------------------------------------------------------------------
#include "tools/napplauncher.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "platform/nplatformprocess.h"

nAppLauncher::nAppLauncher(nKernelServer* ks) :
    kernelServer(ks),
    noConsoleWindow(false)
{
}

void nAppLauncher::SetExecutable(const char* path)
{
    n_assert(path);
    this->exec = path;
}

void nAppLauncher::SetUrl(const char* u)
{
    n_assert(u);
    this->url = u;
}

nString nAppLauncher::Mangle(const nString& path) const
{
    nFileServer2* fileServer = this->kernelServer->GetFileServer();
    return fileServer ? fileServer->ManglePath(path.Get()) : path;
}

/*
 * LaunchWait --
 *     Starts the mangled executable with the arguments in the mangled
 *     working directory and waits for it to end.
 * Results: true when the program ran (whatever its exit code); false
 *     when it could not be started (missing program or directory).
 */
bool nAppLauncher::LaunchWait() const
{
    n_assert(!this->exec.IsEmpty());
    n_assert(this->kernelServer);
    const nString program = this->Mangle(this->exec);
    const nString workDir = this->dir.IsEmpty() ? nString() : this->Mangle(this->dir);
    nPlatformProcess process;
    if (!process.Start(program.Get(), nPlatformProcess::SplitArgs(this->args.Get()), workDir.Get(),
                       this->noConsoleWindow))
    {
        return false;
    }
    process.Wait();
    return true;
}

/*
 * Launch --
 *     Opens the address when one is set, else the mangled executable as a
 *     document (an executable file runs with the arguments), in the
 *     mangled working directory when one is set. Does not wait.
 * Results: true when the opener or program started.
 */
bool nAppLauncher::Launch() const
{
    n_assert(!this->exec.IsEmpty());
    n_assert(this->kernelServer);
    if (!this->url.IsEmpty())
    {
        return nPlatformProcess::OpenAddress(this->url.Get());
    }
    const nString workDir = this->dir.IsEmpty() ? nString() : this->Mangle(this->dir);
    return nPlatformProcess::OpenDocument(this->Mangle(this->exec).Get(), this->args.Get(), workDir.Get());
}
