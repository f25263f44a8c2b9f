#ifndef FUZZ_FUZZSCRATCH_H
#define FUZZ_FUZZSCRATCH_H
//------------------------------------------------------------------------------
//  What the fuzz targets that read files through the kernel share: a log
//  that keeps only fatal errors (the fuzzer would drown in the rest) and a
//  fresh scratch directory for the run.
//------------------------------------------------------------------------------
#include "kernel/nloghandler.h"

#include <cstdio>
#include <cstdlib>
#include <string>

class QuietLog : public nLogHandler
{
public:
    void Error(const char* msg, va_list args) override { vfprintf(stderr, msg, args); }
};

/// a new directory under /tmp named after the target, without a trailing '/'
inline std::string MakeScratchDir(const std::string& target)
{
    std::string path = "/tmp/" + target + "XXXXXX";
    if (!mkdtemp(path.data())) abort();
    return path;
}
#endif
