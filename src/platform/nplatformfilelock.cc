//------------------------------------------------------------------------------
//  nplatformfilelock.cc
//------------------------------------------------------------------------------
#include "platform/nplatformfilelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

nPlatformFileLock::~nPlatformFileLock()
{
    this->Unlock();
}

/*
 * Lock --
 *     Results: Locked, HeldElsewhere or Failed.
 *     Side effects: creates the file when it is missing; holds its
 *     descriptor while locked.
 */
nPlatformFileLock::Result nPlatformFileLock::Lock(const char* path)
{
    this->Unlock();
    const int file = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0) return Result::Failed;
    if (::flock(file, LOCK_EX | LOCK_NB) == 0)
    {
        this->fd = file;
        return Result::Locked;
    }
    const bool elsewhere = (errno == EWOULDBLOCK);
    ::close(file);
    return elsewhere ? Result::HeldElsewhere : Result::Failed;
}

void nPlatformFileLock::Unlock()
{
    if (this->fd >= 0) ::close(this->fd);
    this->fd = -1;
}
