//------------------------------------------------------------------------------
//  nplatformclock.cc
//------------------------------------------------------------------------------
#include "platform/nplatformclock.h"

#include <cerrno>
#include <ctime>

namespace
{
const int64_t NanosecondsPerSecond = 1000000000;
}

/*
 * Counter --
 *     Results: CLOCK_MONOTONIC in nanoseconds.
 *     Side effects: none.
 */
int64_t nPlatformClock::Counter()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (int64_t)ts.tv_sec * NanosecondsPerSecond + (int64_t)ts.tv_nsec;
}

/*
 * Frequency --
 *     Results: the counter's ticks per second (it counts nanoseconds).
 *     Side effects: none.
 */
int64_t nPlatformClock::Frequency()
{
    return NanosecondsPerSecond;
}

/*
 * SleepMs --
 *     Side effects: the thread sleeps the whole time; a signal does not
 *     cut the sleep short.
 */
void nPlatformClock::SleepMs(int64_t ms)
{
    if (ms <= 0) return;
    struct timespec ts;
    ts.tv_sec = (time_t)(ms / 1000);
    ts.tv_nsec = (long)((ms % 1000) * 1000000L);
    while (nanosleep(&ts, &ts) == -1 && errno == EINTR)
    {
    }
}
