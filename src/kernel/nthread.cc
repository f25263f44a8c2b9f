//------------------------------------------------------------------------------
//  nthread.cc
//------------------------------------------------------------------------------
#include "kernel/nthread.h"

namespace
{
/// the owner's wait for the thread's end before it reports and keeps waiting
const double StopWaitSeconds = 0.5;
/// the stack asked for when the caller gives 0
const unsigned int DefaultStackSize = 4096;
/// nice steps for one step of priority away from normal
const int NiceStep = 5;
}  // namespace

/*
 * nThread --
 *     Results: none.
 *     Side effects: makes (or adopts) the message list, starts the thread
 *     and blocks until the thread function has called ThreadStarted. A
 *     thread the system refuses is a fatal assertion.
 */
nThread::nThread(ThreadFunc _thread_func, int priority, unsigned int stackSize, WakeupFunc _wakeupFunc,
                 nThreadSafeList* _msgList, void* _userData) :
    threadFunc(_thread_func),
    wakeupFunc(_wakeupFunc),
    msgList(_msgList),
    ownsMsgList(false),
    userData(_userData),
    userDataDepth(0)
{
    n_assert(_thread_func);
    if (!this->msgList)
    {
        this->msgList = n_new(nThreadSafeList);
        this->ownsMsgList = true;
    }
    const unsigned int stack = stackSize ? stackSize : DefaultStackSize;
    this->thread.Start(Entry, this, stack, NiceOffsetFor(priority));
    n_assert(this->thread);
    this->startupEvent.Wait();
    if (!this->thread.IsPriorityApplied())
    {
        n_printf("nThread: the system refused the thread's priority; it runs at the default\n");
    }
}

/*
 * ~nThread --
 *     Results: none.
 *     Side effects: requests the stop, wakes the thread (wake-up function,
 *     message event, shutdown event) and waits for its end. A thread still
 *     running after half a second is reported and waited for without
 *     time-out: it may still use this object, its list and the user data.
 *     An owned message list is emptied (its messages deleted) and deleted.
 */
nThread::~nThread()
{
    this->stopRequested.store(true);
    if (this->wakeupFunc)
    {
        this->wakeupFunc(this);
    }
    this->msgList->SignalEvent();
    this->shutdownEvent.Signal();
    if (!this->thread.TimedJoin(StopWaitSeconds))
    {
        n_printf("nThread: the thread did not stop within 500 ms; waiting for it to end\n");
        this->thread.Join();
    }
    if (this->ownsMsgList)
    {
        this->msgList->Lock();
        nNode* node;
        while ((node = this->msgList->RemHead()) != nullptr)
        {
            n_delete(static_cast<nMsgNode*>(node));
        }
        this->msgList->Unlock();
        n_delete(this->msgList);
    }
    this->msgList = nullptr;
}

/*
 * NiceOffsetFor --
 *     Results: the nice offset of a priority: below normal is nicer, above
 *     normal less nice, any other value keeps the system default.
 */
int nThread::NiceOffsetFor(int priority)
{
    switch (priority)
    {
        case BelowNormal: return NiceStep;
        case AboveNormal: return -NiceStep;
        default: return 0;
    }
}

void nThread::Entry(void* arg)
{
    nThread* self = static_cast<nThread*>(arg);
    self->threadFunc(self);
}

/*
 * PutMsg --
 *     Results: none.
 *     Side effects: appends a copy of the message to the list and signals
 *     the list's event.
 */
void nThread::PutMsg(const void* buf, int size)
{
    n_assert(buf);
    n_assert(size > 0);
    nMsgNode* msg = n_new(nMsgNode(buf, size));
    this->msgList->Lock();
    this->msgList->AddTail(msg);
    this->msgList->Unlock();
    this->msgList->SignalEvent();
}

/*
 * LockUserData --
 *     Results: the user data, or 0 when there is none.
 *     Side effects: with user data, takes the user-data mutex (the same
 *     thread may take it again).
 */
void* nThread::LockUserData()
{
    if (this->userData)
    {
        this->userDataMutex.Lock();
        this->userDataOwner.store(std::this_thread::get_id());
        ++this->userDataDepth;
    }
    return this->userData;
}

/*
 * UnlockUserData --
 *     Results: none.
 *     Side effects: releases one level of the mutex LockUserData took;
 *     without user data nothing was taken and nothing is released.
 *     Releasing from a thread that holds no level is a fatal assertion.
 */
void nThread::UnlockUserData()
{
    if (!this->userData)
    {
        return;
    }
    n_assert2(this->userDataOwner.load() == std::this_thread::get_id(), "UnlockUserData() without LockUserData()");
    if (--this->userDataDepth == 0)
    {
        this->userDataOwner.store(std::thread::id());
    }
    this->userDataMutex.Unlock();
}

void nThread::ThreadStarted()
{
    this->startupEvent.Signal();
}

bool nThread::ThreadStopRequested() const
{
    return this->stopRequested.load();
}

/*
 * ThreadExit --
 *     Results: none.
 *     Side effects: blocks until the owner signals shutdown, then marks
 *     the thread stopped.
 */
void nThread::ThreadExit()
{
    this->shutdownEvent.Wait();
    this->threadStopped.store(true);
}

void nThread::ThreadSleep(float sec)
{
    n_sleep(sec);
}

/*
 * GetMsg --
 *     Results: the oldest message, unlinked, or 0 when the list is empty.
 *     Side effects: holds the list's lock while it takes the message.
 */
nMsgNode* nThread::GetMsg()
{
    this->msgList->Lock();
    nNode* node = this->msgList->RemHead();
    this->msgList->Unlock();
    return static_cast<nMsgNode*>(node);
}

void nThread::ReplyMsg(nMsgNode* msg)
{
    n_assert(msg);
    n_delete(msg);
}

/*
 * WaitMsg --
 *     Results: none.
 *     Side effects: blocks until a message is signalled. Once a stop is
 *     requested it returns at once, so a thread waiting for work always
 *     reaches its stop check.
 */
void nThread::WaitMsg()
{
    if (this->stopRequested.load())
    {
        return;
    }
    this->msgList->WaitEvent();
}
