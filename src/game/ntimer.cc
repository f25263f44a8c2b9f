//------------------------------------------------------------------------------
//  ntimer.cc
//------------------------------------------------------------------------------
#include "game/ntimer.h"

nTimer::nTimer(bool* target, float duration) :
    elapsed(duration),
    duration(duration),
    running(false),
    target(target)
{
}

/*
 * SetTime --
 *     Side effects: elapsed and duration take d; the running flag stays.
 */
void nTimer::SetTime(float d)
{
    this->elapsed = d;
    this->duration = d;
}

/*
 * Start --
 *     Side effects: elapsed 0, running; the target is left as it is.
 */
void nTimer::Start()
{
    this->elapsed = 0.0f;
    this->running = true;
}

/*
 * Advance --
 *     Side effects: a running timer counts dt; once past its duration it
 *     holds at the duration, stops and inverts its target (when it has one).
 */
void nTimer::Advance(float dt)
{
    if (!this->running) return;
    this->elapsed += dt;
    if (this->elapsed > this->duration)
    {
        this->elapsed = this->duration;
        this->running = false;
        if (this->target) *this->target = !*this->target;
    }
}
