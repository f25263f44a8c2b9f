#ifndef N_PLATFORMPROCESS_H
#define N_PLATFORMPROCESS_H
//------------------------------------------------------------------------------
/**
    @class nPlatformProcess
    @ingroup Platform

    One child process, started with posix_spawnp: no shell runs in
    between, so a program path or an argument with spaces or shell
    characters arrives exactly as given. Documents and addresses open with
    the desktop's handler, xdg-open.

    A process object that goes away while its child still runs hands the
    child to a background thread that collects it, so neither the caller
    blocks nor a zombie stays behind.
*/
#include <string>
#include <vector>

#include <sys/types.h>

class nPlatformProcess
{
public:
    nPlatformProcess() = default;
    /// a child still running is collected in the background
    ~nPlatformProcess();
    nPlatformProcess(const nPlatformProcess&) = delete;
    nPlatformProcess& operator=(const nPlatformProcess&) = delete;

    /// start program (searched in PATH when it has no '/') with its arguments in dir (empty: ours);
    /// noConsole sends its standard streams to /dev/null. False when it cannot be started.
    bool Start(const std::string& program, const std::vector<std::string>& args, const std::string& dir, bool noConsole);
    /// wait for the child to end; its exit status, or -1 when none ran or a signal ended it
    int Wait();
    /// whether a child was started and not yet waited for
    bool IsRunning() const { return this->pid > 0; }
    /// leave the child to the background collector
    void Detach();

    /// split a command-line string into arguments: blanks separate, double quotes group, \" is a quote
    static std::vector<std::string> SplitArgs(const std::string& cmdLine);
    /// open an address with the desktop's handler without waiting; false when xdg-open cannot start
    static bool OpenAddress(const std::string& url);
    /// open a document without waiting: an executable file runs with args, anything else goes to
    /// xdg-open; a relative path is taken in dir. False when the document does not exist or nothing starts.
    static bool OpenDocument(const std::string& path, const std::string& args, const std::string& dir);

private:
    pid_t pid = 0;
};
#endif
