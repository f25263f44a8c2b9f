#ifndef N_MUTEX_H
#define N_MUTEX_H
//------------------------------------------------------------------------------
/**
    @class nMutex
    @ingroup Kernel

    One operating-system mutex. Lock waits without time-out; the holding
    thread may lock it again (the kernel's New holds it while the path
    creation takes it once more).
*/
#include <mutex>

class nMutex
{
public:
    nMutex() = default;
    nMutex(const nMutex&) = delete;
    nMutex& operator=(const nMutex&) = delete;

    /// wait for the mutex, without time-out
    void Lock() { this->mutex.lock(); }
    /// release one level of ownership
    void Unlock() { this->mutex.unlock(); }

private:
    std::recursive_mutex mutex;
};

//------------------------------------------------------------------------------
/**
    Holds an nMutex for the lifetime of a scope.
*/
class nMutexLock
{
public:
    explicit nMutexLock(nMutex& m) : mutex(m) { this->mutex.Lock(); }
    ~nMutexLock() { this->mutex.Unlock(); }
    nMutexLock(const nMutexLock&) = delete;
    nMutexLock& operator=(const nMutexLock&) = delete;

private:
    nMutex& mutex;
};
#endif
