#ifndef N_WIN32LOGHANDLER_H
#define N_WIN32LOGHANDLER_H
//------------------------------------------------------------------------------
/**
    @class nWin32LogHandler
    @ingroup Kernel

    The log handler the program installs: besides keeping the recent lines
    for the console it writes every line to "home:bin.log" (replaced at
    each run, each line handed to the system at once so that it survives a
    crash), shows user messages and fatal errors in message boxes titled
    with the application name, minimises the game window before an error
    box, and passes debug output on. Nothing goes to standard output.

    Without a display, or on an unattended run (CI set), the boxes' texts
    go to standard error instead, so a run is never held up.
*/
#include "kernel/ndefaultloghandler.h"
#include "util/nstring.h"
#include "platform/nplatformfilelock.h"

#include <atomic>
#include <mutex>

class nFile;

//------------------------------------------------------------------------------
/**
    @class nShell32Wrapper
    @ingroup Kernel

    Finds the user's shell folders. Only the personal (documents) folder
    is known: the XDG documents folder.
*/
class nShell32Wrapper
{
public:
    enum
    {
        CSIDL_PERSONAL = 0x0005,
        CSIDL_FLAG_CREATE = 0x8000,
    };

    nShell32Wrapper() = default;

    /// the folder for a CSIDL value, '/'-separated without trailing '/'; false when unknown or unavailable
    bool SHGetFolderPath(int csidl, nString& path) const;
};

//------------------------------------------------------------------------------
class nWin32LogHandler : public nDefaultLogHandler
{
public:
    /// subDir names the company or sub-directory, "TavikLabs/Quelor2" when 0
    explicit nWin32LogHandler(const char* appName, const char* subDir = nullptr);
    ~nWin32LogHandler() override;

    bool Open() override;
    void Close() override;
    void Print(const char* msg, va_list args) override;
    void Message(const char* msg, va_list args) override;
    void Error(const char* msg, va_list args) override;
    void OutputDebug(const char* msg, va_list args) override;

    const nString& GetAppName() const { return this->appName; }
    const nString& GetSubDir() const { return this->subDir; }

protected:
    enum
    {
        InfoBox = 0,
        ErrorBox = 1,
    };
    /// show a finished text in a box titled with the application name
    virtual void ShowBox(int kind, const char* text);
    /// minimise the game window
    virtual void MinimizeGameWindow(int windowId);

private:
    /// the text into the log file (cut at 1023 characters) and the line buffer
    void PutText(const char* msg, va_list args);
    /// the text into the log file when it is open
    void PutFile(const char* msg, va_list args);
    /// the message box routine: minimise for errors, format, show
    void MessageBox(int kind, const char* msg, va_list args);
    /// the game window's id published in /sys/env/hwnd; false when there is none
    bool GameWindowId(int& windowId) const;
    /// a line of the handler's own into the line buffer only
    void Note(const char* fmt, ...) N_PRINTF_FORMAT(2, 3);

    nString appName;
    nString subDir;
    nFile* logFile;
    /// held while this program writes the log file, so that a second copy
    /// run on the same home leaves it whole
    nPlatformFileLock logLock;
    /// guards the log file against output from several threads
    std::recursive_mutex fileMutex;
    /// set while an error is being reported
    std::atomic<bool> reportingError;
};
#endif
