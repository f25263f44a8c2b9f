//------------------------------------------------------------------------------
//  nhomelock.cc
//------------------------------------------------------------------------------
#include "game/nhomelock.h"
#include "kernel/nfileserver2.h"
#include "kernel/ntypes.h"
#include "util/nstring.h"


const char* const nHomeLock::FileName = "home:boxing.lock";

bool nHomeLock::Acquire(const char* path)
{
    this->Release();
    const nString file = nFileServer2::Instance()->ManglePath(path);
    switch (this->lock.Lock(file.Get()))
    {
        case nPlatformFileLock::Result::Locked:
            return true;
        case nPlatformFileLock::Result::HeldElsewhere:
            this->elsewhere = true;
            n_printf("nHomeLock: '%s' is held by another copy of the game\n", file.Get());
            return false;
        case nPlatformFileLock::Result::Failed:
            break;
    }
    n_printf("nHomeLock: '%s' cannot be made; a second copy of the game would not be noticed\n", file.Get());
    return false;
}

void nHomeLock::Release()
{
    this->lock.Unlock();
    this->elsewhere = false;
}
