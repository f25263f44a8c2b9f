//------------------------------------------------------------------------------
//  nwin32loghandler.cc
//------------------------------------------------------------------------------
#include "kernel/nwin32loghandler.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"
#include "kernel/nenv.h"
#include "platform/nplatformmessagebox.h"
#include "platform/nplatformpaths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{

/// clears a flag when the scope ends
class FlagGuard
{
public:
    explicit FlagGuard(std::atomic<bool>& f) : flag(f) { this->flag = true; }
    ~FlagGuard() { this->flag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    std::atomic<bool>& flag;
};

}  // namespace

//--- nShell32Wrapper -----------------------------------------------------------

/*
 * SHGetFolderPath --
 *     Results: true and the documents folder (made when missing; the
 *     folder of the "user" assign) for CSIDL_PERSONAL, with or without
 *     CSIDL_FLAG_CREATE; false for any other folder or when the user has
 *     no home directory.
 */
bool nShell32Wrapper::SHGetFolderPath(int csidl, nString& path) const
{
    if ((csidl & ~CSIDL_FLAG_CREATE) != CSIDL_PERSONAL) return false;
    const std::string folder = nPlatformUserDocumentsDir();
    if (folder.empty()) return false;
    path = folder.c_str();
    return true;
}

//--- nWin32LogHandler ------------------------------------------------------------

nWin32LogHandler::nWin32LogHandler(const char* name, const char* dir) :
    appName(name),
    subDir(dir ? dir : "TavikLabs/Quelor2"),
    logFile(nullptr),
    reportingError(false)
{
}

nWin32LogHandler::~nWin32LogHandler()
{
    if (this->IsOpen())
    {
        this->Close();
    }
}

/*
 * Open --
 *     Opens the handler and creates (or truncates) "home:bin.log" through
 *     the file server, unless another copy of the program run on the same
 *     home writes it now: its log is left whole, and this one's lines
 *     reach the line buffer only, which says so.
 * Results: true, also when the log file cannot be opened: lines then
 *     still reach the line buffer and boxes still appear, and the line
 *     buffer and standard error say why.
 */
bool nWin32LogHandler::Open()
{
    n_assert(0 == this->logFile);
    nDefaultLogHandler::Open();
    nKernelServer* ks = nKernelServer::Instance();
    nFileServer2* fileServer = ks ? ks->GetFileServer() : nullptr;
    if (!fileServer) return true;

    fileServer->MakePath("home:/");
    nString path("home:/");
    path += "bin";
    path += ".log";
    const nString osPath = fileServer->ManglePath(path.Get());
    if (this->logLock.Lock(osPath.Get()) == nPlatformFileLock::Result::HeldElsewhere)
    {
        this->Note("Another copy of the program writes %s: this one does not.\n", path.Get());
        return true;
    }
    nFile* file = fileServer->NewFileObject();
    if (file->Open(path.Get(), "w"))
    {
        std::lock_guard<std::recursive_mutex> lock(this->fileMutex);
        this->logFile = file;
    }
    else
    {
        // a read-only or full home: whoever started the program should learn why there is no log
        const int err = errno;
        file->Release();
        this->Note("%s cannot be written (%s).\n", osPath.Get(), strerror(err));
        fprintf(stderr, "%s: %s cannot be written (%s).\n", this->appName.Get(), osPath.Get(), strerror(err));
    }
    return true;
}

/*
 * Close --
 *     Closes and releases the log file, when one was opened, then the
 *     handler.
 */
void nWin32LogHandler::Close()
{
    {
        std::lock_guard<std::recursive_mutex> lock(this->fileMutex);
        if (this->logFile)
        {
            nFile* file = this->logFile;
            this->logFile = nullptr;
            file->Close();
            file->Release();
        }
    }
    this->logLock.Unlock();
    nDefaultLogHandler::Close();
}

void nWin32LogHandler::Note(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    this->PutLineBuffer(fmt, args);
    va_end(args);
}

/*
 * PutFile --
 *     Side effects: the formatted text (at most 1023 characters) is
 *     written to the log file. The file has no buffer of its own, so the
 *     line is with the system as soon as this returns.
 */
void nWin32LogHandler::PutFile(const char* msg, va_list args)
{
    std::lock_guard<std::recursive_mutex> lock(this->fileMutex);
    if (!this->logFile || !this->logFile->IsOpen()) return;
    char buf[1024];
    FormatText(buf, sizeof(buf), msg, args);
    this->logFile->PutS(buf);
}

void nWin32LogHandler::PutText(const char* msg, va_list args)
{
    va_list fileArgs;
    va_copy(fileArgs, args);
    this->PutFile(msg, fileArgs);
    va_end(fileArgs);

    va_list bufferArgs;
    va_copy(bufferArgs, args);
    this->PutLineBuffer(msg, bufferArgs);
    va_end(bufferArgs);
}

void nWin32LogHandler::Print(const char* msg, va_list args)
{
    this->PutText(msg, args);
}

void nWin32LogHandler::Message(const char* msg, va_list args)
{
    this->PutText(msg, args);
    va_list boxArgs;
    va_copy(boxArgs, args);
    this->MessageBox(InfoBox, msg, boxArgs);
    va_end(boxArgs);
}

/*
 * Error --
 *     Logs the text, shows it in an error box and shuts the handler down
 *     (the log file is closed); the program ends right after. An error
 *     raised while an error is being reported goes to standard error only,
 *     so a failing report cannot recurse.
 */
void nWin32LogHandler::Error(const char* msg, va_list args)
{
    if (this->reportingError)
    {
        vfprintf(stderr, msg, args);
        fflush(stderr);
        return;
    }
    FlagGuard guard(this->reportingError);
    this->PutText(msg, args);
    va_list boxArgs;
    va_copy(boxArgs, args);
    this->MessageBox(ErrorBox, msg, boxArgs);
    va_end(boxArgs);
    if (this->IsOpen())
    {
        this->Close();
    }
}

/*
 * OutputDebug --
 *     Logs the text and hands the same text to the debugger output.
 */
void nWin32LogHandler::OutputDebug(const char* msg, va_list args)
{
    va_list debugArgs;
    va_copy(debugArgs, args);
    char buf[1024];
    FormatText(buf, sizeof(buf), msg, debugArgs);
    va_end(debugArgs);
    this->PutText(msg, args);
    nPlatformMessageBox::DebugOutput(buf);
}

/*
 * GameWindowId --
 *     Results: true and the window id when /sys/env/hwnd is an nenv
 *     holding an int. A value of another kind is reported on standard
 *     error (the log may be what is failing) and ignored.
 */
bool nWin32LogHandler::GameWindowId(int& windowId) const
{
    nKernelServer* ks = nKernelServer::Instance();
    if (!ks) return false;
    nRoot* obj = ks->Lookup("/sys/env/hwnd");
    if (!obj) return false;
    if (!obj->IsA("nenv") || static_cast<nEnv*>(obj)->GetType() != nArg::Int)
    {
        fputs("nWin32LogHandler: /sys/env/hwnd holds no window id, window not minimised\n", stderr);
        return false;
    }
    windowId = static_cast<nEnv*>(obj)->GetI();
    return true;
}

/*
 * MessageBox --
 *     Side effects: for an error the game window is minimised first; the
 *     text, formatted into 2048 bytes, is shown.
 */
void nWin32LogHandler::MessageBox(int kind, const char* msg, va_list args)
{
    int windowId = 0;
    if (kind == ErrorBox && this->GameWindowId(windowId))
    {
        this->MinimizeGameWindow(windowId);
    }
    char buf[2048];
    FormatText(buf, sizeof(buf), msg, args);
    this->ShowBox(kind, buf);
}

void nWin32LogHandler::ShowBox(int kind, const char* text)
{
    nPlatformMessageBox::Kind boxKind = nPlatformMessageBox::Plain;
    if (kind == InfoBox) boxKind = nPlatformMessageBox::Information;
    else if (kind == ErrorBox) boxKind = nPlatformMessageBox::Error;
    nPlatformMessageBox::Show(boxKind, this->appName.Get(), text);
}

void nWin32LogHandler::MinimizeGameWindow(int windowId)
{
    nPlatformMessageBox::MinimizeWindow(windowId);
}
