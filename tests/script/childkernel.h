#ifndef TESTS_SCRIPT_CHILDKERNEL_H
#define TESTS_SCRIPT_CHILDKERNEL_H
//------------------------------------------------------------------------------
//  What the tests that run every class in child processes share: a log
//  that keeps quiet and ends the child on a fatal error, and the names of
//  all registered classes.
//------------------------------------------------------------------------------
#include "allpackages.h"
#include "kernel/nclass.h"
#include "kernel/nloghandler.h"

#include <cstdarg>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

/// the exit code of a child that met a fatal error
constexpr int ChildFatalExit = 3;

/// logs nothing (bad values are reported on every call); a fatal error
/// ends the child at once with its message on standard error
class ChildQuietLog : public nLogHandler
{
public:
    void Print(const char*, va_list) override {}
    void Message(const char*, va_list) override {}
    [[noreturn]] void Error(const char* msg, va_list args) override
    {
        char text[512];
        vsnprintf(text, sizeof(text), msg, args);
        fprintf(stderr, "%s\n", text);
        fflush(stderr);
        _exit(ChildFatalExit);
    }
};

/// the names of all registered classes
inline std::vector<std::string> AllClassNames()
{
    std::vector<std::string> names;
    ChildQuietLog log;
    AllPackagesKernel ks;
    ks.SetLogHandler(&log);
    for (nHashNode* node = ks.GetClassList()->GetHead(); node; node = node->GetSucc())
    {
        names.push_back(static_cast<nClass*>(node)->GetName());
    }
    ks.SetLogHandler(nullptr);
    return names;
}
#endif
