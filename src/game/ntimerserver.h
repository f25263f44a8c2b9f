#ifndef N_TIMERSERVER_H
#define N_TIMERSERVER_H
//------------------------------------------------------------------------------
/**
    @class nTimerServer
    @ingroup Game

    The game's one-shot timers in the match's scaled time, identified by
    index. Timers are only ever removed all together, when a match is set
    up. One instance, made by the match state at "/sys/servers/timer".
*/
#include "kernel/nroot.h"
#include "util/narray.h"

class nTimer;

class nTimerServer : public nRoot
{
public:
    nTimerServer();

    /// the one timer server (asserts it exists)
    static nTimerServer* Instance();
    /// whether the timer server exists
    static bool HasInstance() { return m_pSelf != nullptr; }

    /// a new stopped timer for the target with elapsed = duration; its index
    int AddTimer(bool* target, float* duration);
    /// elapsed and duration of the timer become the value (asserts the index)
    void SetTime(int* id, float* duration);
    /// start the timer from 0 (asserts the index)
    void Start(int* id);
    /// whether the timer counts (asserts the index)
    bool IsRunning(int* id) const;
    /// the timer (asserts the index)
    nTimer* GetTimer(int* id) const;
    /// the timer of the index stops flipping the bool, when it is still that timer's target
    void ReleaseTarget(int id, const bool* target);
    /// advance every timer, in index order
    void Trigger(float* dt);
    /// delete every timer
    void RemoveAllTimers();
    /// the number of timers
    int GetNumTimers() const { return this->m_Timers.Size(); }

protected:
    /// deletes every timer
    ~nTimerServer() override;

private:
    /// the timer of an index, asserting it is one
    nTimer* At(int i) const;

    static nTimerServer* m_pSelf;
    nArray<nTimer*> m_Timers;
};
#endif
