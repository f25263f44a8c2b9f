#ifndef N_PLATFORMFILELOCK_H
#define N_PLATFORMFILELOCK_H
//------------------------------------------------------------------------------
/**
    @class nPlatformFileLock
    @ingroup Platform

    An advisory lock on a file, held until Unlock or the object dies; the
    system frees it when the program ends, so a crash leaves no stale lock.
    Two copies of the program that lock the same file learn of each other:
    the second is told the file is held elsewhere.
*/
class nPlatformFileLock
{
public:
    enum class Result
    {
        Locked,         ///< this program holds the lock now
        HeldElsewhere,  ///< another program (or another lock object) holds it
        Failed,         ///< the file could not be opened or made
    };

    nPlatformFileLock() = default;
    ~nPlatformFileLock();
    nPlatformFileLock(const nPlatformFileLock&) = delete;
    nPlatformFileLock& operator=(const nPlatformFileLock&) = delete;

    /// open (creating, never truncating) an operating-system path and lock it
    /// without waiting; a lock held before is given up first
    Result Lock(const char* path);
    /// give the lock up (nothing when none is held)
    void Unlock();
    /// true while this object holds a lock
    bool IsLocked() const { return this->fd >= 0; }

private:
    int fd = -1;
};
#endif
