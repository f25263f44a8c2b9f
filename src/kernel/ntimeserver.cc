//------------------------------------------------------------------------------
//  ntimeserver.cc
//------------------------------------------------------------------------------
#include "kernel/ntimeserver.h"
#include "platform/nplatformclock.h"

#include <cmath>

nTimeServer* nTimeServer::Singleton = nullptr;

/*
 * nTimeServer --
 *     Results: none.
 *     Side effects: becomes the singleton; time 0 is the moment of
 *     construction. A second time server is a fatal assertion.
 */
nTimeServer::nTimeServer() :
    stopped(false),
    frameTimeEnabled(false),
    frameTime(0.0),
    lockDelta(0.0),
    waitDelta(0.0),
    lockTime(0.0),
    baseCounter(nPlatformClock::Counter()),
    stopCounter(0)
{
    n_assert(0 == Singleton);
    Singleton = this;
}

nTimeServer::~nTimeServer()
{
    n_assert(Singleton);
    Singleton = nullptr;
}

nTimeServer* nTimeServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

int64_t nTimeServer::ReadCounter() const
{
    return this->stopped ? this->stopCounter : nPlatformClock::Counter();
}

/*
 * SecondsToTicks --
 *     Results: t seconds in counter ticks, truncated toward 0. A time
 *     beyond the counter's range is held at its limit (the conversion of
 *     such a value would be undefined); a NaN gives 0.
 */
int64_t nTimeServer::SecondsToTicks(double t)
{
    const double ticks = (double)nPlatformClock::Frequency() * t;
    if (std::isnan(ticks)) return 0;
    // 2^62: far beyond any clock value, safely inside int64_t
    const double limit = 4611686018427387904.0;
    if (ticks >= limit) return (int64_t)limit;
    if (ticks <= -limit) return -(int64_t)limit;
    return (int64_t)ticks;
}

/*
 * ResetTime --
 *     Results: none.
 *     Side effects: the time reads 0 now and the locked time is 0. A
 *     stopped clock is restarted from 0 too, so it never reads a negative
 *     time.
 */
void nTimeServer::ResetTime()
{
    this->lockTime = 0.0;
    this->baseCounter = nPlatformClock::Counter();
    this->stopCounter = this->baseCounter;
}

/*
 * StopTime --
 *     Results: none.
 *     Side effects: freezes the counter reading; a stopped clock only
 *     gets a printed note.
 */
void nTimeServer::StopTime()
{
    if (this->stopped)
    {
        n_printf("Time already stopped!\n");
        return;
    }
    this->stopped = true;
    this->stopCounter = nPlatformClock::Counter();
}

/*
 * StartTime --
 *     Results: none.
 *     Side effects: moves the base by the stopped interval and runs the
 *     clock again; a running clock only gets a printed note.
 */
void nTimeServer::StartTime()
{
    if (!this->stopped)
    {
        n_printf("Time already started!\n");
        return;
    }
    this->stopped = false;
    this->baseCounter += nPlatformClock::Counter() - this->stopCounter;
}

/*
 * GetTime --
 *     Results: the locked time while locked, else the seconds from the
 *     base to now (or to the stop).
 */
double nTimeServer::GetTime() const
{
    if (this->lockDelta > 0.0)
    {
        return this->lockTime;
    }
    const int64_t ticks = this->ReadCounter() - this->baseCounter;
    return (double)ticks / (double)nPlatformClock::Frequency();
}

/*
 * SetTime --
 *     Results: none.
 *     Side effects: the time reads t now, running or stopped, locked or
 *     not; a frozen frame time becomes t too.
 */
void nTimeServer::SetTime(double t)
{
    this->lockTime = t;
    if (this->frameTimeEnabled)
    {
        this->frameTime = t;
    }
    const int64_t now = nPlatformClock::Counter();
    this->baseCounter = now - SecondsToTicks(t);
    this->stopCounter = now;
}

/*
 * LockDeltaT --
 *     Results: none.
 *     Side effects: dt > 0 locks the clock at the current time, advancing
 *     by dt per Trigger; dt == 0 unlocks it, the running clock continuing
 *     from the locked time. Unlocking a clock that is not locked changes
 *     nothing. A negative dt is a fatal assertion.
 */
void nTimeServer::LockDeltaT(double dt)
{
    n_assert(dt >= 0.0);
    if (dt != 0.0)
    {
        this->lockTime = this->GetTime();
    }
    else if (this->lockDelta > 0.0)
    {
        this->SetTime(this->lockTime);
    }
    this->lockDelta = dt;
}

/*
 * WaitDeltaT --
 *     Results: none.
 *     Side effects: every Trigger sleeps dt seconds from now on; a negative
 *     dt is a fatal assertion.
 */
void nTimeServer::WaitDeltaT(double dt)
{
    n_assert(dt >= 0.0);
    this->waitDelta = dt;
}

void nTimeServer::EnableFrameTime()
{
    this->frameTimeEnabled = true;
    this->frameTime = this->GetTime();
}

void nTimeServer::DisableFrameTime()
{
    this->frameTimeEnabled = false;
}

double nTimeServer::GetFrameTime() const
{
    return this->frameTimeEnabled ? this->frameTime : this->GetTime();
}

/*
 * Trigger --
 *     Results: none.
 *     Side effects: a locked, running clock advances by its step; the
 *     thread sleeps the wait step (whole milliseconds); the frame time is
 *     frozen at the new time.
 */
void nTimeServer::Trigger()
{
    if (this->lockDelta > 0.0 && !this->stopped)
    {
        this->lockTime += this->lockDelta;
    }
    if (this->waitDelta > 0.0)
    {
        n_sleep(this->waitDelta);
    }
    if (this->frameTimeEnabled)
    {
        this->frameTime = this->GetTime();
    }
}
