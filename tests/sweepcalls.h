#ifndef TESTS_SWEEPCALLS_H
#define TESTS_SWEEPCALLS_H
//------------------------------------------------------------------------------
//  What the command sweeps share: the commands an object answers, the bad
//  values and argument lists each command is called with, the commands
//  left out because they end the program on purpose, and reading a child
//  process's progress.
//------------------------------------------------------------------------------
#include "kernel/ncmdproto.h"
#include "kernel/nobject.h"
#include "util/nhashlist.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

/// Commands that end the program on purpose, as "class.command" (the class
/// whose object is swept).
inline const std::set<std::string>& SweepExcludedCommands()
{
    static const std::set<std::string> excluded = {
        // the plain graphics server has no display: its display-mode and
        // window-title operations stop the program by design; device servers
        // override them and are swept in full
        "ngfxserver2.setdisplaymode",
        "ngfxserver2.getdisplaymode",
        "ngfxserver2.seticon",
        // opening the device makes a window and a GL context, or stops the
        // program with the window system's reason when none can be made
        "nd3d9server.opendisplay",
    };
    return excluded;
}

/// the prototypes of every command of the object's class and its superclasses
inline std::vector<std::string> SweepCommandProtos(nObject* obj)
{
    std::vector<std::string> protos;
    nHashList list;
    obj->GetCmdProtos(&list);
    nHashNode* node;
    while ((node = list.RemHead()) != nullptr)
    {
        protos.push_back(static_cast<const nCmdProto*>(node->GetData())->GetProtoDef());
        n_delete(node);
    }
    return protos;
}

/// the bad values, each given to every argument in turn; foreign is an object of the wrong class
inline std::vector<std::string> SweepBadValues(const std::string& foreign)
{
    return {":null:", "",   std::string(100000, 'x'), "/no/such/object", foreign, "NaN", "inf", "-inf",
            "-1",     "0",  "2147483648",             "null",            "..",    "/"};
}

/// Results: the argument lists a command with the input types ins is
/// called with: plausible ones, none, one too many, each bad value in each
/// place, and each bad value everywhere.
inline std::vector<std::vector<std::string>> SweepArgumentLists(const std::string& ins,
                                                                const std::function<std::string(char)>& plausible,
                                                                const std::vector<std::string>& bad)
{
    std::vector<std::string> args;
    for (char t : ins) args.push_back(plausible(t));
    std::vector<std::vector<std::string>> lists{args, {}};
    lists.push_back(args);
    lists.back().push_back("1");
    for (size_t i = 0; i < ins.size(); i++)
    {
        for (const std::string& b : bad)
        {
            lists.push_back(args);
            lists.back()[i] = b;
        }
    }
    for (const std::string& b : bad) lists.emplace_back(ins.size(), b);
    return lists;
}

/// Results: the last line of everything read from fd; the number of lines in 'lines'.
inline std::string SweepLastLine(int fd, size_t& lines)
{
    std::string tail;
    char buf[4096];
    ssize_t n;
    lines = 0;
    while ((n = read(fd, buf, sizeof(buf))) > 0)
    {
        lines += (size_t)std::count(buf, buf + n, '\n');
        tail.append(buf, (size_t)n);
        // a sweep writes many megabytes: only the tail is kept
        if (tail.size() > 65536) tail.erase(0, tail.size() - 4096);
    }
    if (!tail.empty() && tail.back() == '\n') tail.pop_back();
    const size_t nl = tail.rfind('\n');
    return nl == std::string::npos ? tail : tail.substr(nl + 1);
}

/// Runs child(progressFd) in a child process in dir; the child reports
/// each line it runs on progressFd and ends with child's result as its
/// exit code.
/// Results: the child's wait status (-1 when none could be made); the
/// last line it reported in 'last', the number of lines in 'lines'.
inline int SweepInChild(const std::string& dir, const std::function<int(int)>& child, std::string& last,
                        size_t& lines)
{
    int fds[2];
    if (pipe(fds) != 0) return -1;
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0)
    {
        close(fds[0]);
        // files the commands write (saveas, clone ...) land in the directory
        if (chdir(dir.c_str()) != 0) _exit(2);
        _exit(child(fds[1]));
    }
    close(fds[1]);
    last = SweepLastLine(fds[0], lines);
    close(fds[0]);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return status;
}

/// a child's wait status in words
inline std::string SweepDescribe(int status)
{
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "exit " + std::to_string(WEXITSTATUS(status));
}
#endif
