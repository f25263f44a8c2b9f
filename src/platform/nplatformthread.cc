//------------------------------------------------------------------------------
//  nplatformthread.cc
//------------------------------------------------------------------------------
#include "platform/nplatformthread.h"

#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

nPlatformThread::~nPlatformThread()
{
    if (this->joinable)
    {
        this->Join();
    }
}

/*
 * StackSizeFor --
 *     Results: the requested size, raised to MinStackSize and rounded up
 *     to whole pages.
 */
size_t nPlatformThread::StackSizeFor(size_t requested)
{
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    size_t size = requested < MinStackSize ? MinStackSize : requested;
    return (size + page - 1) / page * page;
}

/*
 * Trampoline --
 *     The thread's first function: applies the nice offset, runs the
 *     entry function and reports the end through the end event.
 * Results: null.
 * Side effects: the thread's nice value may change; raising the priority
 *     needs a privilege, and without it the thread keeps the default.
 */
void* nPlatformThread::Trampoline(void* self)
{
    nPlatformThread* thread = static_cast<nPlatformThread*>(self);
    if (thread->niceOffset != 0)
    {
        const id_t tid = (id_t)gettid();
        errno = 0;
        const int current = getpriority(PRIO_PROCESS, tid);
        const bool ok = (errno == 0) && (setpriority(PRIO_PROCESS, tid, current + thread->niceOffset) == 0);
        thread->priorityApplied.store(ok);
    }
    thread->func(thread->arg);
    thread->endEvent.Signal();
    return nullptr;
}

/*
 * Start --
 *     Results: true when the thread runs; false when the system refused
 *     it (or a thread is already owned).
 * Side effects: a new thread runs func(arg) with a stack of
 *     StackSizeFor(stackSize) bytes.
 */
bool nPlatformThread::Start(EntryFunc entry, void* entryArg, size_t requestedStack, int nice)
{
    if (this->joinable || entry == nullptr)
    {
        return false;
    }
    this->func = entry;
    this->arg = entryArg;
    this->niceOffset = nice;
    this->stackSize = StackSizeFor(requestedStack);
    this->ended = false;
    // a thread joined without TimedJoin leaves its end signal behind
    this->endEvent.TimedWait(0.0);

    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0)
    {
        return false;
    }
    bool ok = pthread_attr_setstacksize(&attr, this->stackSize) == 0;
    ok = ok && pthread_create(&this->handle, &attr, Trampoline, this) == 0;
    pthread_attr_destroy(&attr);
    this->joinable = ok;
    return ok;
}

/*
 * TimedJoin --
 *     Results: true when the thread has ended within the given seconds
 *     (or was never started); false while it still runs.
 * Side effects: an ended thread is joined.
 */
bool nPlatformThread::TimedJoin(double seconds)
{
    if (!this->joinable)
    {
        return true;
    }
    if (!this->ended && !this->endEvent.TimedWait(seconds))
    {
        return false;
    }
    this->ended = true;
    this->Join();
    return true;
}

/*
 * Join --
 *     Results: none.
 *     Side effects: blocks until the thread has ended; it is no longer owned.
 */
void nPlatformThread::Join()
{
    if (!this->joinable)
    {
        return;
    }
    pthread_join(this->handle, nullptr);
    this->joinable = false;
}
