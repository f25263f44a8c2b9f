#ifndef N_THREADSAFELIST_H
#define N_THREADSAFELIST_H
//------------------------------------------------------------------------------
/**
    @class nThreadSafeList
    @ingroup Kernel

    A list shared between threads: callers hold Lock/Unlock around every
    list operation, and a producer signals the event after adding so that
    a consumer waiting on it wakes. The list does not own its nodes; it
    must be empty when it dies.
*/
#include "util/nlist.h"
#include "kernel/nmutex.h"
#include "kernel/nevent.h"

class nThreadSafeList : public nList
{
public:
    nThreadSafeList() = default;

    /// take the list's mutex (Results: none. Side effects: blocks other lockers)
    void Lock() { this->mutex.Lock(); }
    /// release the list's mutex (Results: none)
    void Unlock() { this->mutex.Unlock(); }
    /// tell a consumer that something was added (Results: none)
    void SignalEvent() { this->event.Signal(); }
    /// wait until a producer signals (Results: none. Side effects: resets the event)
    void WaitEvent() { this->event.Wait(); }

private:
    nMutex mutex;
    nEvent event;
};
#endif
