//------------------------------------------------------------------------------
//  The platform layer: monotonic clock, auto-reset event, threads.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nplatformclock.h"
#include "platform/nplatformevent.h"
#include "platform/nplatformthread.h"

#include <atomic>
#include <pthread.h>
#include <unistd.h>

TEST(PlatformClock, CountsNanosecondsMonotonically)
{
    EXPECT_EQ(nPlatformClock::Frequency(), 1000000000);
    int64_t last = nPlatformClock::Counter();
    for (int i = 0; i < 10000; i++)
    {
        const int64_t now = nPlatformClock::Counter();
        ASSERT_GE(now, last);
        last = now;
    }
}

TEST(PlatformEvent, EachSignalLetsExactlyOneWaitThrough)
{
    nPlatformEvent event;
    EXPECT_FALSE(event.TimedWait(0.0));  // initially not signalled
    event.Signal();                      // the signal comes first
    event.Wait();
    EXPECT_FALSE(event.TimedWait(0.0));  // consumed by the wait
    event.Signal();
    event.Signal();  // a second signal before any wait adds nothing
    EXPECT_TRUE(event.TimedWait(0.0));
    EXPECT_FALSE(event.TimedWait(0.001));
}

namespace
{

/// two threads taking turns through two events
struct PingPong
{
    nPlatformEvent ping;
    nPlatformEvent pong;
    int value = 0;  // written by one side at a time, handed over by the events
    static constexpr int Rounds = 1000;
};

void Ponger(void* arg)
{
    PingPong* p = static_cast<PingPong*>(arg);
    for (int i = 0; i < PingPong::Rounds; i++)
    {
        p->ping.Wait();
        ++p->value;
        p->pong.Signal();
    }
}

void WaitOn(void* arg)
{
    static_cast<nPlatformEvent*>(arg)->Wait();
}

struct StackProbe
{
    size_t stackSize = 0;
};

void ProbeStack(void* arg)
{
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0)
    {
        pthread_attr_getstacksize(&attr, &static_cast<StackProbe*>(arg)->stackSize);
        pthread_attr_destroy(&attr);
    }
}

}  // namespace

TEST(PlatformThread, EventsHandOverBetweenThreads)
{
    PingPong p;
    nPlatformThread thread;
    ASSERT_TRUE(thread.Start(Ponger, &p, 0, 0));
    for (int i = 0; i < PingPong::Rounds; i++)
    {
        ++p.value;
        p.ping.Signal();
        p.pong.Wait();
    }
    thread.Join();
    EXPECT_EQ(p.value, 2 * PingPong::Rounds);
    EXPECT_FALSE(thread.IsJoinable());
}

TEST(PlatformThread, TimedJoinReportsARunningThread)
{
    nPlatformEvent release;
    nPlatformEvent second;  // outlives the thread object, which joins last
    nPlatformThread thread;
    ASSERT_TRUE(thread.Start(WaitOn, &release, 0, 0));
    EXPECT_FALSE(thread.Start(WaitOn, &release, 0, 0));  // one thread per object
    EXPECT_FALSE(thread.TimedJoin(0.01));
    EXPECT_TRUE(thread.IsJoinable());
    release.Signal();
    EXPECT_TRUE(thread.TimedJoin(60.0));
    EXPECT_FALSE(thread.IsJoinable());
    EXPECT_TRUE(thread.TimedJoin(0.0));

    // the object can run another thread; the destructor joins it
    ASSERT_TRUE(thread.Start(WaitOn, &second, 0, 0));
    EXPECT_FALSE(thread.TimedJoin(0.0));
    second.Signal();
}

TEST(PlatformThread, StackIsAtLeast256KiB)
{
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    EXPECT_EQ(nPlatformThread::StackSizeFor(0), nPlatformThread::MinStackSize);
    EXPECT_EQ(nPlatformThread::StackSizeFor(4096), nPlatformThread::MinStackSize);
    EXPECT_EQ(nPlatformThread::StackSizeFor(1024 * 1024 + 1), 1024 * 1024 + page);

    StackProbe probe;
    nPlatformThread thread;
    ASSERT_TRUE(thread.Start(ProbeStack, &probe, 100, 0));
    thread.Join();
    EXPECT_GE(probe.stackSize, nPlatformThread::MinStackSize);
    EXPECT_EQ(thread.GetStackSize(), nPlatformThread::MinStackSize);
}
