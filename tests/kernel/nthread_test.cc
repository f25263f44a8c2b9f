//------------------------------------------------------------------------------
//  Worker threads, their message list and user data. No test waits on a
//  timing: every hand-over between the threads goes through an event.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/nthread.h"
#include "kernel/nloghandler.h"
#include "kernel/nmemory.h"

#include <algorithm>
#include <cstring>
#include <pthread.h>
#include <string>
#include <thread>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace
{

/// waits for work until the owner stops it; consumes nothing
int IdleThread(nThread* thread)
{
    thread->ThreadStarted();
    while (!thread->ThreadStopRequested())
    {
        thread->WaitMsg();
    }
    thread->ThreadExit();
    return 0;
}

/// what a consumer received, guarded by the thread's user-data mutex
struct Inbox
{
    std::vector<std::string> received;
    size_t expected = 0;
    nEvent complete;
};

/// records every message in its Inbox and signals when all have come
int ConsumerThread(nThread* thread)
{
    thread->ThreadStarted();
    while (!thread->ThreadStopRequested())
    {
        thread->WaitMsg();
        nMsgNode* msg;
        while ((msg = thread->GetMsg()) != nullptr)
        {
            Inbox* inbox = static_cast<Inbox*>(thread->LockUserData());
            inbox->received.emplace_back(static_cast<const char*>(msg->GetMsgPtr()), msg->GetMsgSize());
            const bool done = inbox->received.size() == inbox->expected;
            thread->UnlockUserData();
            thread->ReplyMsg(msg);
            if (done) inbox->complete.Signal();
        }
    }
    thread->ThreadExit();
    return 0;
}

/// what a thread saw of itself before it reported its start
struct SelfReport
{
    bool started = false;
    size_t stackSize = 0;
    int nice = 0;
};

/// fills its SelfReport without any lock: the start handshake publishes it
int ReportingThread(nThread* thread)
{
    SelfReport* report = static_cast<SelfReport*>(thread->LockUserData());
    thread->UnlockUserData();
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0)
    {
        pthread_attr_getstacksize(&attr, &report->stackSize);
        pthread_attr_destroy(&attr);
    }
    report->nice = getpriority(PRIO_PROCESS, (id_t)gettid());
    report->started = true;
    return IdleThread(thread);
}

const int CountRounds = 2000;

/// adds to a shared counter under the user-data lock, then idles
int CountingThread(nThread* thread)
{
    thread->ThreadStarted();
    for (int i = 0; i < CountRounds; i++)
    {
        int* counter = static_cast<int*>(thread->LockUserData());
        ++*counter;
        thread->UnlockUserData();
    }
    while (!thread->ThreadStopRequested())
    {
        thread->WaitMsg();
    }
    thread->ThreadExit();
    return 0;
}

/// a thread that ignores the stop request until it is released
struct Stubborn
{
    nEvent release;
    bool finished = false;
};

int StubbornThread(nThread* thread)
{
    thread->ThreadStarted();
    Stubborn* stubborn = static_cast<Stubborn*>(thread->LockUserData());
    thread->UnlockUserData();
    stubborn->release.Wait();
    // still using its nThread and the owner's data after the owner gave up waiting
    thread->LockUserData();
    stubborn->finished = true;
    thread->UnlockUserData();
    thread->ThreadExit();
    return 0;
}

/// keeps the log and releases a stubborn thread when the owner reports it
class ReleasingLog : public nLogHandler
{
public:
    explicit ReleasingLog(nEvent* release) : release(release) {}
    void Print(const char* msg, va_list args) override
    {
        char buf[512];
        vsnprintf(buf, sizeof(buf), msg, args);
        this->text += buf;
        if (strstr(buf, "did not stop")) this->release->Signal();
    }
    std::string text;

private:
    nEvent* release;
};

int wakeups = 0;

void CountingWakeup(nThread*)
{
    ++wakeups;
}

}  // namespace

TEST(Thread, ConstructorReturnsOnlyOnceTheThreadRuns)
{
    SelfReport report;
    nThread thread(ReportingThread, nThread::Normal, 0, nullptr, nullptr, &report);
    EXPECT_TRUE(report.started);
}

TEST(Thread, MessagesArriveInOrderAsIndependentCopies)
{
    Inbox inbox;
    inbox.expected = 300;
    {
        nThread thread(ConsumerThread, nThread::Normal, 0, nullptr, nullptr, &inbox);
        char buf[64];
        for (size_t i = 0; i < inbox.expected; i++)
        {
            const int len = snprintf(buf, sizeof(buf), "message %zu", i);
            thread.PutMsg(buf, len);
            memset(buf, 'x', sizeof(buf));  // the sender reuses its buffer at once
        }
        inbox.complete.Wait();
    }
    ASSERT_EQ(inbox.received.size(), inbox.expected);
    for (size_t i = 0; i < inbox.expected; i++)
    {
        EXPECT_EQ(inbox.received[i], "message " + std::to_string(i));
    }
}

TEST(Thread, OwnerStopsAThreadWaitingForWork)
{
    wakeups = 0;
    {
        nThread thread(IdleThread, nThread::Normal, 0, CountingWakeup, nullptr, nullptr);
        EXPECT_EQ(thread.GetMsg(), nullptr);
        thread.PutMsg("left over", 9);  // deleted with the owned list
    }
    EXPECT_EQ(wakeups, 1);
    // without a wake-up function as well
    nThread* thread = n_new(nThread(IdleThread, nThread::Normal, 0, nullptr, nullptr, nullptr));
    n_delete(thread);
}

TEST(Thread, CallersListIsSharedNotOwned)
{
    nThreadSafeList list;
    {
        nThread thread(IdleThread, nThread::Normal, 0, nullptr, &list, nullptr);
        thread.PutMsg("abc", 3);
        nMsgNode* msg = thread.GetMsg();
        ASSERT_NE(msg, nullptr);
        EXPECT_EQ(std::string(static_cast<const char*>(msg->GetMsgPtr()), msg->GetMsgSize()), "abc");
        thread.ReplyMsg(msg);
        thread.PutMsg("kept", 4);
    }
    nMsgNode* kept = static_cast<nMsgNode*>(list.RemHead());
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->GetMsgSize(), 4);
    n_delete(kept);
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(KernelTest, ThreadThatWillNotStopIsWaitedFor)
{
    Stubborn stubborn;
    ReleasingLog log(&stubborn.release);
    ks->SetLogHandler(&log);
    {
        nThread thread(StubbornThread, nThread::Normal, 0, nullptr, nullptr, &stubborn);
    }
    ks->SetLogHandler(nullptr);
    EXPECT_TRUE(stubborn.finished);
    EXPECT_EQ(log.text, "nThread: the thread did not stop within 500 ms; waiting for it to end\n");
}

TEST(Thread, UserDataIsSharedUnderTheMutex)
{
    int counter = 0;
    {
        nThread thread(CountingThread, nThread::Normal, 0, nullptr, nullptr, &counter);
        for (int i = 0; i < CountRounds; i++)
        {
            int* c = static_cast<int*>(thread.LockUserData());
            EXPECT_EQ(thread.LockUserData(), c);  // the owner may take it again
            ++*c;
            thread.UnlockUserData();
            thread.UnlockUserData();
        }
    }
    EXPECT_EQ(counter, 2 * CountRounds);
}

TEST(Thread, UnlockOnlyReleasesWhatLockTook)
{
    nThread bare(IdleThread, nThread::Normal, 0, nullptr, nullptr, nullptr);
    EXPECT_EQ(bare.LockUserData(), nullptr);
    bare.UnlockUserData();  // nothing was taken, nothing is released
    bare.UnlockUserData();

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int data = 0;
    nThread thread(IdleThread, nThread::Normal, 0, nullptr, nullptr, &data);
    EXPECT_FATAL(thread.UnlockUserData(), "UnlockUserData\\(\\) without LockUserData\\(\\)");
    EXPECT_FATAL(thread.PutMsg(nullptr, 4), ASSERTION_TEXT("buf"));
    EXPECT_FATAL(thread.PutMsg("x", 0), ASSERTION_TEXT("size > 0"));
    EXPECT_FATAL(nMsgNode(nullptr, 1), ASSERTION_TEXT("buf"));
}

TEST(Thread, StackSizeIsAtLeast256KiB)
{
    struct Case
    {
        unsigned int requested;
        size_t atLeast;
    } cases[] = {
        {0, 256 * 1024},
        {4096, 256 * 1024},
        {4 * 1024 * 1024, 4 * 1024 * 1024},
    };
    for (const Case& c : cases)
    {
        SelfReport report;
        {
            nThread thread(ReportingThread, nThread::Normal, c.requested, nullptr, nullptr, &report);
        }
        EXPECT_GE(report.stackSize, c.atLeast) << c.requested;
    }
}

TEST(Thread, BelowNormalPriorityIsNicer)
{
    const int base = getpriority(PRIO_PROCESS, (id_t)gettid());
    struct Case
    {
        int priority;
        int nice;
    } cases[] = {
        {nThread::BelowNormal, std::min(base + 5, 19)},
        {nThread::Normal, base},
        {7, base},
    };
    for (const Case& c : cases)
    {
        SelfReport report;
        {
            nThread thread(ReportingThread, c.priority, 0, nullptr, nullptr, &report);
        }
        EXPECT_EQ(report.nice, c.nice) << c.priority;
    }
}

// The allocator's totals are kept per thread and moved in batches: blocks a
// thread made stay counted once it ends, whether they were a few small ones
// (under a batch) or large, and freeing them from another thread balances.
TEST(MemoryAcrossThreads, BlocksOfEndedThreadsStayCountedAndBalanceWhenFreed)
{
    const nMemoryStats before = nMemoryGetStats();
    std::vector<void*> small;
    void* large = nullptr;
    std::thread worker([&] {
        large = n_malloc(1 << 20);
        small.reserve(10);
        for (int i = 0; i < 10; i++) small.push_back(n_malloc(100));
    });
    worker.join();
    const nMemoryStats during = nMemoryGetStats();
    EXPECT_GE(during.totalCount - before.totalCount, 11);
    EXPECT_GE(during.totalSize - before.totalSize, 10 * 100 + (1 << 20));
    EXPECT_GE(during.highWaterSize, during.totalSize);

    for (void* p : small) n_free(p);
    n_free(large);
    const nMemoryStats after = nMemoryGetStats();
    EXPECT_LE(after.totalCount, during.totalCount - 11);
    EXPECT_LE(after.totalSize, during.totalSize - (1 << 20));
}
