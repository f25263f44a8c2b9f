#ifndef N_PLATFORMTHREAD_H
#define N_PLATFORMTHREAD_H
//------------------------------------------------------------------------------
/**
    @class nPlatformThread
    @ingroup Platform

    One operating-system thread. The object owns the thread: it is
    joined, at the latest by the destructor, so the thread never outlives
    the memory it was given. A thread gets at least MinStackSize bytes of
    stack whatever it asks for.
*/
#include "platform/nplatformevent.h"

#include <atomic>
#include <cstddef>
#include <pthread.h>

class nPlatformThread
{
public:
    typedef void (*EntryFunc)(void* arg);

    /// the smallest stack a thread is given
    static constexpr size_t MinStackSize = 256 * 1024;

    nPlatformThread() = default;
    /// joins a thread that is still running
    ~nPlatformThread();
    nPlatformThread(const nPlatformThread&) = delete;
    nPlatformThread& operator=(const nPlatformThread&) = delete;

    /// start the thread running func(arg) at the nice offset given
    bool Start(EntryFunc func, void* arg, size_t stackSize, int niceOffset);
    /// wait at most the given seconds for the thread to end; true when it has ended
    bool TimedJoin(double seconds);
    /// wait without time-out for the thread to end
    void Join();
    /// true between a successful Start and the join
    bool IsJoinable() const { return this->joinable; }
    /// the same as IsJoinable
    explicit operator bool() const { return this->joinable; }
    /// the stack size the thread was created with
    size_t GetStackSize() const { return this->stackSize; }
    /// false when the thread could not take the nice offset it was given
    bool IsPriorityApplied() const { return this->priorityApplied.load(); }

    /// the stack a thread asking for the given size receives
    static size_t StackSizeFor(size_t requested);

private:
    static void* Trampoline(void* self);

    pthread_t handle{};
    bool joinable = false;
    bool ended = false;
    size_t stackSize = 0;
    EntryFunc func = nullptr;
    void* arg = nullptr;
    int niceOffset = 0;
    std::atomic<bool> priorityApplied{true};
    nPlatformEvent endEvent;
};
#endif
