#ifndef N_PLATFORMEVENT_H
#define N_PLATFORMEVENT_H
//------------------------------------------------------------------------------
/**
    @class nPlatformEvent
    @ingroup Platform

    An auto-reset event, initially not signalled. A signal stays pending
    until one wait consumes it, so a signal given before the wait is not
    lost; several signals before a wait count as one.
*/
#include <condition_variable>
#include <mutex>

class nPlatformEvent
{
public:
    nPlatformEvent() = default;
    nPlatformEvent(const nPlatformEvent&) = delete;
    nPlatformEvent& operator=(const nPlatformEvent&) = delete;

    /// set the event; releases one waiter, now or later
    void Signal();
    /// wait without time-out until the event is set, and reset it
    void Wait();
    /// wait at most the given seconds; true when the event was set (and is reset)
    bool TimedWait(double seconds);

private:
    std::mutex mutex;
    std::condition_variable cond;
    bool signalled = false;
};
#endif
