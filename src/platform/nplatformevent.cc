//------------------------------------------------------------------------------
//  nplatformevent.cc
//------------------------------------------------------------------------------
#include "platform/nplatformevent.h"

#include <chrono>

/*
 * Signal --
 *     Results: none.
 *     Side effects: the event is set; one waiting thread, if any, wakes.
 */
void nPlatformEvent::Signal()
{
    {
        std::lock_guard<std::mutex> lock(this->mutex);
        this->signalled = true;
    }
    this->cond.notify_one();
}

/*
 * Wait --
 *     Results: none.
 *     Side effects: blocks until the event is set, then resets it, so each
 *     signal lets exactly one wait through.
 */
void nPlatformEvent::Wait()
{
    std::unique_lock<std::mutex> lock(this->mutex);
    this->cond.wait(lock, [this] { return this->signalled; });
    this->signalled = false;
}

/*
 * TimedWait --
 *     Results: true when the event was set within the given seconds (a
 *     time of 0 or less only tests it), false on time-out.
 *     Side effects: a set event is reset.
 */
bool nPlatformEvent::TimedWait(double seconds)
{
    std::unique_lock<std::mutex> lock(this->mutex);
    const std::chrono::duration<double> timeout(seconds > 0.0 ? seconds : 0.0);
    if (!this->cond.wait_for(lock, timeout, [this] { return this->signalled; }))
    {
        return false;
    }
    this->signalled = false;
    return true;
}
