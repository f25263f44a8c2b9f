#ifndef N_HOMELOCK_H
#define N_HOMELOCK_H
//------------------------------------------------------------------------------
/**
    @class nHomeLock
    @ingroup Game

    Tells a second copy of the program, run on the same home directory,
    that another one already runs there: the first to lock the file holds
    it until it closes (the system frees it when the program dies, so a
    crash leaves no stale lock). Only the holder may write the files that
    live in the home directory.
*/
#include "platform/nplatformfilelock.h"

class nHomeLock
{
public:
    /// the lock file the game takes in its home directory
    static const char* const FileName;

    nHomeLock() = default;
    nHomeLock(const nHomeLock&) = delete;
    nHomeLock& operator=(const nHomeLock&) = delete;

    /**
        Locks the file (a path the file server resolves), creating it.
        Results: true when this program holds it now; false, reported,
        when another holds it or it cannot be made (then no one is kept
        from writing: a home without a lock file is no second program).
    */
    bool Acquire(const char* path);
    /// the lock is given up
    void Release();
    /// whether another program held the lock when it was asked for
    bool HeldElsewhere() const { return this->elsewhere; }

private:
    nPlatformFileLock lock;
    bool elsewhere = false;
};
#endif
