#ifndef N_THREAD_H
#define N_THREAD_H
//------------------------------------------------------------------------------
/**
    @class nThread
    @ingroup Kernel

    A worker thread and the protocol around it: the constructor returns
    once the thread has started, the thread polls a stop flag, the owner
    can wake it through a wake-up function, and the thread ends only after
    the owner has signalled shutdown. Messages travel to the thread as
    private copies through a thread-safe list; user data is reached under
    a mutex by both sides.

    The thread function has this shape:

        ThreadStarted();
        while (!ThreadStopRequested()) { ...work, WaitMsg/GetMsg/ReplyMsg... }
        ThreadExit();
        return 0;

    The owner never frees memory the thread may still use: a thread that
    has not ended half a second after the stop request is waited for.
*/
#include "kernel/ntypes.h"
#include "kernel/nmutex.h"
#include "kernel/nevent.h"
#include "kernel/nthreadsafelist.h"
#include "kernel/nmsgnode.h"
#include "platform/nplatformthread.h"

#include <atomic>
#include <thread>

class nThread
{
public:
    /// the thread's function; its result is ignored
    typedef int (*ThreadFunc)(nThread* thread);
    /// wakes a thread blocked somewhere the stop flag cannot reach
    typedef void (*WakeupFunc)(nThread* thread);

    enum Priority
    {
        BelowNormal = 0,
        Normal = 1,
        AboveNormal = 2,
    };

    /// start the thread and wait until it has called ThreadStarted
    nThread(ThreadFunc _thread_func, int priority, unsigned int stackSize, WakeupFunc wakeupFunc,
            nThreadSafeList* msgList, void* userData);
    /// stop the thread and wait for it
    ~nThread();
    nThread(const nThread&) = delete;
    nThread& operator=(const nThread&) = delete;

    //--- owner side ---------------------------------------------------------
    /// send a copy of a message to the thread
    void PutMsg(const void* buf, int size);
    /// take the user-data mutex (when there is user data) and return the user data
    void* LockUserData();
    /// release what LockUserData took
    void UnlockUserData();

    //--- thread side --------------------------------------------------------
    /// the thread is running; must be called first
    void ThreadStarted();
    /// true once the owner wants the thread to end
    bool ThreadStopRequested() const;
    /// wait for the owner's shutdown; must be called last
    void ThreadExit();
    /// sleep for the given seconds (whole milliseconds)
    void ThreadSleep(float sec);
    /// the oldest message, or 0 when there is none
    nMsgNode* GetMsg();
    /// dispose of a message taken with GetMsg
    void ReplyMsg(nMsgNode* msg);
    /// wait until a message was put (returns at once once a stop is requested)
    void WaitMsg();

    /// the nice offset a priority maps to (0 for an unknown priority)
    static int NiceOffsetFor(int priority);

private:
    static void Entry(void* arg);

    nMutex userDataMutex;
    nEvent shutdownEvent;
    nEvent startupEvent;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> threadStopped{false};
    ThreadFunc threadFunc;
    WakeupFunc wakeupFunc;
    nThreadSafeList* msgList;
    bool ownsMsgList;
    void* userData;
    /// the thread holding the user-data mutex, for UnlockUserData's check
    std::atomic<std::thread::id> userDataOwner{};
    /// LockUserData levels held by userDataOwner
    int userDataDepth;
    nPlatformThread thread;
};
#endif
