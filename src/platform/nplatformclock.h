#ifndef N_PLATFORMCLOCK_H
#define N_PLATFORMCLOCK_H
//------------------------------------------------------------------------------
/**
    @class nPlatformClock
    @ingroup Platform

    The system's monotonic high-resolution counter: never set back, not
    moved by changes of the wall-clock time.
*/
#include <cstdint>

class nPlatformClock
{
public:
    /// the current counter value
    static int64_t Counter();
    /// counter ticks per second
    static int64_t Frequency();
    /// wait the given milliseconds (none for 0 or less), through signals
    static void SleepMs(int64_t ms);
};
#endif
