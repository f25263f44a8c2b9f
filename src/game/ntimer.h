#ifndef N_TIMER_H
#define N_TIMER_H
//------------------------------------------------------------------------------
/**
    @class nTimer
    @ingroup Game

    A one-shot timer in the match's scaled time: once started it counts up
    to its duration, then stops and inverts the bool it points at. It owns
    nothing; the bool belongs to whoever added the timer.
*/

class nTimer
{
public:
    /// a stopped timer that has run its full duration
    nTimer(bool* target, float duration);

    /// elapsed and duration both become d, so a running timer fires at its next advance
    void SetTime(float d);
    /// count again from 0
    void Start();
    /// when running: count dt; past the duration stop at it and invert the target
    void Advance(float dt);

    /// the timer no longer flips the bool (its owner goes away)
    void ClearTarget() { this->target = nullptr; }
    const bool* GetTarget() const { return this->target; }
    bool IsRunning() const { return this->running; }
    float GetElapsed() const { return this->elapsed; }
    float GetDuration() const { return this->duration; }

private:
    float elapsed;
    float duration;
    bool running;
    bool* target;
};
#endif
