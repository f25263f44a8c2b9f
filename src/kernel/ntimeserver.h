#ifndef N_TIMESERVER_H
#define N_TIMESERVER_H
//------------------------------------------------------------------------------
/**
    @class nTimeServer
    @ingroup Kernel

    The engine's clock: seconds since a base instant on the monotonic
    counter. The clock can be stopped and started (the stopped interval is
    cut out), set, locked to a fixed step per Trigger for frame-exact
    recording, throttled by a sleep per Trigger, and can freeze one frame
    time per frame so that every reader within a frame sees the same value.
    The kernel server creates it at "/sys/servers/time". Main thread only.
*/
#include "kernel/nroot.h"

#include <cstdint>

class nTimeServer : public nRoot
{
public:
    nTimeServer();
    /// the time server; asserts that one exists
    static nTimeServer* Instance();

    /// time 0 is now; the locked time becomes 0
    void ResetTime();
    /// stop the clock (prints a note when it is stopped already)
    void StopTime();
    /// restart a stopped clock without the stopped interval
    void StartTime();
    /// the current time in seconds
    double GetTime() const;
    /// make the current time t seconds
    void SetTime(double t);
    /// advance by dt seconds per Trigger; 0 returns to real time
    void LockDeltaT(double dt);
    /// sleep dt seconds per Trigger; 0 sleeps not at all
    void WaitDeltaT(double dt);
    /// the locked step, 0 when not locked
    double GetLockDeltaT() const { return this->lockDelta; }
    /// the sleep per Trigger
    double GetWaitDeltaT() const { return this->waitDelta; }
    /// whether the clock stands (StopTime without StartTime)
    bool IsStopped() const { return this->stopped; }
    /// freeze the time once per Trigger from now on
    void EnableFrameTime();
    /// read the live time again
    void DisableFrameTime();
    /// the frozen frame time while enabled, else the live time
    double GetFrameTime() const;
    /// once per frame: advance a locked clock, sleep, freeze the frame time
    void Trigger();

protected:
    ~nTimeServer() override;

private:
    /// the counter value now, or where the clock stopped
    int64_t ReadCounter() const;
    /// counter ticks of a time in seconds, truncated and kept in range
    static int64_t SecondsToTicks(double t);

    static nTimeServer* Singleton;

    bool stopped;
    bool frameTimeEnabled;
    double frameTime;
    double lockDelta;
    double waitDelta;
    double lockTime;
    int64_t baseCounter;
    int64_t stopCounter;
};
#endif
