//------------------------------------------------------------------------------
//  nhomelock.cc
//------------------------------------------------------------------------------
#include "game/nhomelock.h"
#include "kernel/nfileserver2.h"
#include "kernel/ntypes.h"
#include "util/nstring.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

const char* const nHomeLock::FileName = "home:boxing.lock";

nHomeLock::~nHomeLock()
{
    this->Release();
}

bool nHomeLock::Acquire(const char* path)
{
    this->Release();
    const nString file = nFileServer2::Instance()->ManglePath(path);
    this->fd = ::open(file.Get(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (this->fd < 0)
    {
        n_printf("nHomeLock: '%s' cannot be made; a second copy of the game would not be noticed\n", file.Get());
        return false;
    }
    if (::flock(this->fd, LOCK_EX | LOCK_NB) == 0) return true;
    this->elsewhere = (errno == EWOULDBLOCK);
    n_printf("nHomeLock: '%s' is held by another copy of the game\n", file.Get());
    ::close(this->fd);
    this->fd = -1;
    return false;
}

void nHomeLock::Release()
{
    if (this->fd >= 0) ::close(this->fd);
    this->fd = -1;
    this->elsewhere = false;
}
