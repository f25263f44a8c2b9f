//------------------------------------------------------------------------------
//  nplatformprocess.cc
//------------------------------------------------------------------------------
#include "platform/nplatformprocess.h"

#include <cerrno>
#include <csignal>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

/// owns the spawn attributes and file actions of one start
class SpawnSetup
{
public:
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&this->actions);
        posix_spawnattr_init(&this->attr);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&this->actions);
        posix_spawnattr_destroy(&this->attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
};

/*
 * WaitForChild --
 *     Results: the raw wait status of the child, -1 when waiting failed.
 */
int WaitForChild(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
    {
        if (errno != EINTR) return -1;
    }
    return status;
}

/*
 * AbsoluteIn --
 *     Results: a relative path that names a file (holds a '/') made
 *     absolute against base, or our own directory when base is empty; a
 *     bare program name (searched in PATH) and absolute paths unchanged.
 */
std::string AbsoluteIn(const std::string& path, const std::string& base, bool bareNameToo)
{
    if (path.empty() || path[0] == '/') return path;
    if (!bareNameToo && path.find('/') == std::string::npos) return path;
    std::string dir = base;
    if (dir.empty() || dir[0] != '/')
    {
        char cwd[4096];
        if (!getcwd(cwd, sizeof(cwd))) return path;
        dir = dir.empty() ? std::string(cwd) : std::string(cwd) + "/" + dir;
    }
    return dir + "/" + path;
}

}  // namespace

nPlatformProcess::~nPlatformProcess()
{
    this->Detach();
}

/*
 * Start --
 *     Spawns the child with a clean signal mask and SIGPIPE at its
 *     default, in dir when one is given. A program path with a '/' that
 *     is relative is taken from our working directory, not the child's.
 * Results: true when the program runs; false when it (or dir) is
 *     missing or cannot be executed, or a child is already running.
 */
bool nPlatformProcess::Start(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
                             bool noConsole)
{
    if (this->pid > 0 || program.empty()) return false;
    const std::string file = AbsoluteIn(program, std::string(), false);
    SpawnSetup setup;
    if (!dir.empty() && posix_spawn_file_actions_addchdir_np(&setup.actions, dir.c_str()) != 0) return false;
    if (noConsole)
    {
        posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&setup.actions, 2, "/dev/null", O_WRONLY, 0);
    }
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&setup.attr, &none);
    posix_spawnattr_setsigdefault(&setup.attr, &defaults);
    posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(file.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    if (posix_spawnp(&child, file.c_str(), &setup.actions, &setup.attr, argv.data(), environ) != 0) return false;
    this->pid = child;
    return true;
}

/*
 * Wait --
 *     Side effects: blocks until the child ends and collects it.
 * Results: its exit status; -1 when no child runs or a signal ended it.
 */
int nPlatformProcess::Wait()
{
    if (this->pid <= 0) return -1;
    const int status = WaitForChild(this->pid);
    this->pid = 0;
    return (status >= 0 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
}

/*
 * Detach --
 *     Side effects: a detached thread waits for the child. When no thread
 *     can be made the child is left to be collected at our exit.
 */
void nPlatformProcess::Detach()
{
    if (this->pid <= 0) return;
    const pid_t child = this->pid;
    this->pid = 0;
    try
    {
        std::thread([child] { WaitForChild(child); }).detach();
    }
    catch (const std::system_error&)
    {
    }
}

/*
 * SplitArgs --
 *     Results: the arguments of a command line. Blanks (space, tab,
 *     newline) separate arguments; text in double quotes keeps its blanks
 *     and an empty pair "" is an empty argument; \" is a literal quote;
 *     every other backslash is literal.
 */
std::vector<std::string> nPlatformProcess::SplitArgs(const std::string& cmdLine)
{
    std::vector<std::string> args;
    std::string current;
    bool inWord = false;
    bool quoted = false;
    for (size_t i = 0; i < cmdLine.size(); i++)
    {
        const char c = cmdLine[i];
        if (c == '\\' && i + 1 < cmdLine.size() && cmdLine[i + 1] == '"')
        {
            current += '"';
            inWord = true;
            ++i;
        }
        else if (c == '"')
        {
            quoted = !quoted;
            inWord = true;
        }
        else if (!quoted && (c == ' ' || c == '\t' || c == '\n'))
        {
            if (inWord) args.push_back(current);
            current.clear();
            inWord = false;
        }
        else
        {
            current += c;
            inWord = true;
        }
    }
    if (inWord) args.push_back(current);
    return args;
}

bool nPlatformProcess::OpenAddress(const std::string& url)
{
    nPlatformProcess opener;
    return !url.empty() && opener.Start("xdg-open", {url}, std::string(), false);
}

/*
 * OpenDocument --
 *     Side effects: starts the executable or xdg-open and returns at once.
 * Results: false when the document is missing or no process starts.
 */
bool nPlatformProcess::OpenDocument(const std::string& path, const std::string& args, const std::string& dir)
{
    const std::string file = AbsoluteIn(path, dir, true);
    struct stat st;
    if (file.empty() || stat(file.c_str(), &st) != 0) return false;
    nPlatformProcess opener;
    if (S_ISREG(st.st_mode) && access(file.c_str(), X_OK) == 0)
    {
        return opener.Start(file, SplitArgs(args), dir, false);
    }
    return opener.Start("xdg-open", {file}, dir, false);
}
