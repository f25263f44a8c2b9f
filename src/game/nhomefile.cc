//------------------------------------------------------------------------------
//  nhomefile.cc
//------------------------------------------------------------------------------
#include "game/nhomefile.h"
#include "kernel/nfileserver2.h"
#include "platform/nplatformfile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

nString nHomeFile::RealPath(const char* path)
{
    return nFileServer2::Instance()->ManglePath(path);
}

nHomeFile::Kind nHomeFile::Examine(const char* path)
{
    const nString real = RealPath(path);
    struct stat st;
    if (::stat(real.Get(), &st) != 0) return (::lstat(real.Get(), &st) == 0) ? Unloadable : Missing;
    if (S_ISDIR(st.st_mode)) return Directory;
    const int64_t size = nPlatformFile::RegularSize(real.Get());
    return (size >= 0 && size <= MaxSize) ? Loadable : Unloadable;
}

bool nHomeFile::SetAside(const char* path, const char* aside, nString& why)
{
    if (nPlatformFile::MoveAside(RealPath(path).Get(), RealPath(aside).Get())) return true;
    why = strerror(errno);
    return false;
}

nString nHomeFile::WhyNotSavable(const char* path)
{
    return nString(nPlatformFile::WhyNotSavable(RealPath(path).Get()).c_str());
}
