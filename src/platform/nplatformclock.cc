//------------------------------------------------------------------------------
//  nplatformclock.cc
//------------------------------------------------------------------------------
#include "platform/nplatformclock.h"

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
