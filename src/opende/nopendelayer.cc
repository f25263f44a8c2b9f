//------------------------------------------------------------------------------
//  nopendelayer.cc
//------------------------------------------------------------------------------
#include "opende/nopendelayer.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"

#include <mutex>
#include <vector>

namespace
{

/// ODE's library state is process-wide: one start, one shut-down, and a
/// count of the objects between them. Physics runs on the main thread;
/// the lock only keeps the count sound should that ever change.
std::mutex odeMutex;
int odeUsers = 0;

}  // namespace

namespace nOpendeLayer
{

void CollideRefused(const char* why)
{
    n_printf("nOpendeLayer::Collide: %s, no collision test done\n", why);
}

/*
 * FindInTree --
 *     Results: the first object, depth first from the root, that found
 *     accepts; 0 when none does. Walks without recursion, so a deep tree
 *     cannot exhaust the stack.
 */
nRoot* FindInTree(const std::function<bool(nRoot*)>& found)
{
    std::vector<nRoot*> todo = {nKernelServer::Instance()->GetRoot()};
    while (!todo.empty())
    {
        nRoot* cur = todo.back();
        todo.pop_back();
        if (!cur) continue;
        if (found(cur)) return cur;
        for (nRoot* c = cur->GetTail(); c; c = c->GetPred()) todo.push_back(c);
    }
    return nullptr;
}

/*
 * AcquireOde --
 *     Side effects: the first user starts ODE (dInitODE2); every user
 *     makes sure the calling thread has ODE's per-thread data (collision
 *     and step data), which ODE allocates once per thread.
 */
void AcquireOde()
{
    std::lock_guard<std::mutex> lock(odeMutex);
    if (odeUsers++ == 0) dInitODE2(0);
    dAllocateODEDataForThread(dAllocateMaskAll);
}

/*
 * ReleaseOde --
 *     Side effects: the last user shuts ODE down (dCloseODE); a later
 *     user starts it again.
 */
void ReleaseOde()
{
    std::lock_guard<std::mutex> lock(odeMutex);
    n_assert(odeUsers > 0);
    if (--odeUsers == 0) dCloseODE();
}

int GetOdeUsers()
{
    std::lock_guard<std::mutex> lock(odeMutex);
    return odeUsers;
}

}  // namespace nOpendeLayer
