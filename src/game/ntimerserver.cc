//------------------------------------------------------------------------------
//  ntimerserver.cc
//------------------------------------------------------------------------------
#include "game/ntimerserver.h"
#include "game/ntimer.h"

nTimerServer* nTimerServer::m_pSelf = nullptr;

nTimerServer::nTimerServer() :
    m_Timers(16, 16)
{
    n_assert(0 == m_pSelf);
    m_pSelf = this;
}

nTimerServer::~nTimerServer()
{
    this->RemoveAllTimers();
    m_pSelf = nullptr;
}

/*
 * Instance --
 *     Results: the one timer server; asserts that it exists.
 */
nTimerServer* nTimerServer::Instance()
{
    n_assert(m_pSelf);
    return m_pSelf;
}

/*
 * At --
 *     Results: the timer of index i; an index outside the array is a
 *     programming error of the game code and stops the program.
 */
nTimer* nTimerServer::At(int i) const
{
    n_assert(i >= 0 && i < m_Timers.Size());
    return m_Timers[i];
}

/*
 * AddTimer --
 *     Results: the index of the new timer (the array size minus one).
 *     Side effects: appends a stopped timer that has run its duration.
 */
int nTimerServer::AddTimer(bool* target, float* duration)
{
    this->m_Timers.Append(n_new(nTimer)(target, *duration));
    return this->m_Timers.Size() - 1;
}

/*
 * SetTime --
 *     Side effects: the timer's elapsed time and duration take the value.
 */
void nTimerServer::SetTime(int* id, float* duration)
{
    this->At(*id)->SetTime(*duration);
}

/*
 * Start --
 *     Side effects: the timer counts again from 0.
 */
void nTimerServer::Start(int* id)
{
    this->At(*id)->Start();
}

/*
 * IsRunning --
 *     Results: whether the timer of the index counts.
 */
bool nTimerServer::IsRunning(int* id) const
{
    return this->At(*id)->IsRunning();
}

/*
 * GetTimer --
 *     Results: the timer of the index (the boxers read its elapsed time).
 */
nTimer* nTimerServer::GetTimer(int* id) const
{
    return this->At(*id);
}

/*
 * ReleaseTarget --
 *     Side effects: the timer of the index, when there is one and it still
 *     points at the bool, forgets it; an owner going away calls this so
 *     that no timer writes into freed memory. Stale indices are ignored.
 */
void nTimerServer::ReleaseTarget(int id, const bool* target)
{
    if (id < 0 || id >= this->m_Timers.Size()) return;
    if (this->m_Timers[id]->GetTarget() == target) this->m_Timers[id]->ClearTarget();
}

/*
 * Trigger --
 *     Side effects: every timer advances by dt in index order; those that
 *     run out invert their targets.
 */
void nTimerServer::Trigger(float* dt)
{
    for (int i = 0; i < this->m_Timers.Size(); i++)
    {
        this->m_Timers[i]->Advance(*dt);
    }
}

/*
 * RemoveAllTimers --
 *     Side effects: deletes every timer; indices start at 0 again.
 */
void nTimerServer::RemoveAllTimers()
{
    for (int i = 0; i < this->m_Timers.Size(); i++)
    {
        n_delete(this->m_Timers[i]);
    }
    this->m_Timers.Clear();
}
