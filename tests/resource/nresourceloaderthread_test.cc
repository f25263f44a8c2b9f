//------------------------------------------------------------------------------
//  The loader thread: background loads, cancelling, and stopping with the
//  server. Runs under ThreadSanitizer too.
//------------------------------------------------------------------------------
#include "testresource.h"

#include <string>

namespace
{

/// wait until the resource's job is done (false after 10 s)
bool WaitDone(nResource* res)
{
    for (int i = 0; (i < 10000) && res->IsPending(); i++)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !res->IsPending();
}

/// opens the gate from another thread once the main thread is blocked on it
class LateOpener
{
public:
    LateOpener() :
        thread([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            Counts().gate.Open();
        })
    {
    }
    ~LateOpener() { this->thread.join(); }

private:
    std::thread thread;
};

using LoaderThreadTest = ResourceTest;

TEST_F(LoaderThreadTest, AsyncLoadRunsOnTheLoaderThread)
{
    nTestResource* res = this->NewAsync("tex.dds");
    EXPECT_TRUE(res->Load());
    ASSERT_TRUE(WaitDone(res));
    EXPECT_TRUE(res->IsValid());
    EXPECT_EQ(Counts().loads.load(), 1);
    EXPECT_EQ(Counts().gate.entered.load(), 1);
    res->Release();
}

TEST_F(LoaderThreadTest, JobsRunInQueueOrderAndEachOnce)
{
    Counts().gate.Shut();
    nTestResource* a = this->NewAsync("a.dds");
    nTestResource* b = this->NewAsync("b.dds");
    ASSERT_TRUE(a->Load());
    ASSERT_TRUE(Counts().gate.WaitEntered(1));
    // a is in flight, b queued: loading either again queues nothing more
    EXPECT_TRUE(b->Load());
    EXPECT_TRUE(a->Load());
    EXPECT_TRUE(b->Load());
    EXPECT_TRUE(a->IsPending());
    EXPECT_TRUE(b->IsPending());
    EXPECT_FALSE(a->IsValid());
    Counts().gate.Open();
    ASSERT_TRUE(WaitDone(a));
    ASSERT_TRUE(WaitDone(b));
    EXPECT_TRUE(a->IsValid());
    EXPECT_TRUE(b->IsValid());
    EXPECT_EQ(Counts().loads.load(), 2);
    a->Release();
    b->Release();
}

TEST_F(LoaderThreadTest, UnloadCancelsAQueuedJob)
{
    Counts().gate.Shut();
    nTestResource* a = this->NewAsync("a.dds");
    nTestResource* b = this->NewAsync("b.dds");
    ASSERT_TRUE(a->Load());
    ASSERT_TRUE(Counts().gate.WaitEntered(1));
    ASSERT_TRUE(b->Load());
    b->Unload();
    EXPECT_FALSE(b->IsPending());
    EXPECT_TRUE(b->IsUnloaded());
    EXPECT_EQ(Counts().unloads.load(), 0);
    Counts().gate.Open();
    ASSERT_TRUE(WaitDone(a));
    EXPECT_TRUE(a->IsValid());
    EXPECT_TRUE(b->IsUnloaded());
    EXPECT_EQ(Counts().loads.load(), 1);
    a->Release();
    b->Release();
}

TEST_F(LoaderThreadTest, UnloadWaitsForALoadInFlight)
{
    Counts().gate.Shut();
    nTestResource* a = this->NewAsync("a.dds");
    ASSERT_TRUE(a->Load());
    ASSERT_TRUE(Counts().gate.WaitEntered(1));
    {
        LateOpener opener;
        a->Unload();
    }
    EXPECT_TRUE(a->IsUnloaded());
    EXPECT_FALSE(a->IsPending());
    EXPECT_EQ(Counts().loads.load(), 1);
    EXPECT_EQ(Counts().unloads.load(), 1);
    a->Release();
}

TEST_F(LoaderThreadTest, FailedBackgroundLoadStaysUnloadedAndCanBeQueuedAgain)
{
    nTestResource* res = this->NewAsync("fail.dds");
    EXPECT_TRUE(res->Load());
    ASSERT_TRUE(WaitDone(res));
    EXPECT_TRUE(res->IsUnloaded());
    res->SetFilename("good.dds");
    EXPECT_TRUE(res->Load());
    ASSERT_TRUE(WaitDone(res));
    EXPECT_TRUE(res->IsValid());
    EXPECT_EQ(Counts().loads.load(), 2);
    res->Release();
}

TEST_F(LoaderThreadTest, LastReleaseCancelsAQueuedJob)
{
    Counts().gate.Shut();
    nTestResource* a = this->NewAsync("a.dds");
    nTestResource* b = this->NewAsync("b.dds");
    ASSERT_TRUE(a->Load());
    ASSERT_TRUE(Counts().gate.WaitEntered(1));
    ASSERT_TRUE(b->Load());
    EXPECT_TRUE(b->Release());
    Counts().gate.Open();
    ASSERT_TRUE(WaitDone(a));
    EXPECT_EQ(Counts().loads.load(), 1);
    a->Release();
}

TEST_F(LoaderThreadTest, LastReleaseWaitsForALoadInFlight)
{
    Counts().gate.Shut();
    nTestResource* a = this->NewAsync("a.dds");
    ASSERT_TRUE(a->Load());
    ASSERT_TRUE(Counts().gate.WaitEntered(1));
    {
        LateOpener opener;
        EXPECT_TRUE(a->Release());
    }
    EXPECT_EQ(Counts().loads.load(), 1);
    EXPECT_EQ(Counts().unloads.load(), 1);
}

TEST_F(LoaderThreadTest, DestroyingTheServerStopsTheThreadFirst)
{
    Counts().gate.Shut();
    nTestResource* a = this->NewAsync("a.dds");
    nTestResource* b = this->NewAsync("b.dds");
    nTestResource* c = this->NewTest("c.dds", nResource::Shader);
    c->SetFilename("c.dds");
    ASSERT_TRUE(c->Load());
    ASSERT_TRUE(a->Load());
    ASSERT_TRUE(Counts().gate.WaitEntered(1));
    ASSERT_TRUE(b->Load());
    {
        LateOpener opener;
        this->rs->Release();
        this->rs = nullptr;
    }
    for (nTestResource* res : {a, b, c})
    {
        EXPECT_TRUE(res->IsUnloaded());
        EXPECT_FALSE(res->IsPending());
    }
    EXPECT_LE(Counts().loads.load(), 3);
    a->Release();
    b->Release();
    c->Release();
}

// Loads, cancels and releases racing the thread: whatever the timing, no
// job survives its resource, no load is left pending, and Unload always
// leaves the resource unloaded.
TEST_F(LoaderThreadTest, LoadsAndUnloadsRacingTheThreadStayConsistent)
{
    const int num = 40;
    nTestResource* res[num];
    for (int i = 0; i < num; i++)
    {
        res[i] = this->NewAsync(("r" + std::to_string(i)).c_str());
    }
    for (int round = 0; round < 5; round++)
    {
        for (int i = 0; i < num; i++)
        {
            EXPECT_TRUE(res[i]->Load());
        }
        for (int i = round % 3; i < num; i += 3)
        {
            res[i]->Unload();
            EXPECT_TRUE(res[i]->IsUnloaded());
            EXPECT_FALSE(res[i]->IsPending());
        }
    }
    for (int i = 0; i < num; i += 2)
    {
        res[i]->Release();
    }
    for (int i = 1; i < num; i += 2)
    {
        EXPECT_TRUE(res[i]->Load());
        ASSERT_TRUE(WaitDone(res[i]));
        EXPECT_TRUE(res[i]->IsValid());
        res[i]->Unload();
        res[i]->Release();
    }
}

}  // namespace

namespace
{

/// wait until the loader thread has read the resource (false after 10 s)
bool WaitRead(nUploadTestResource* res)
{
    for (int i = 0; (i < 10000) && (res->reads.load() < 1); i++)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return res->reads.load() >= 1;
}

}  // namespace

TEST_F(LoaderThreadTest, AReadOnTheLoaderThreadStaysPendingUntilTheMainThreadUploadsIt)
{
    nUploadTestResource* res = this->NewUpload("big.png");
    ASSERT_TRUE(res->Load());
    ASSERT_TRUE(WaitRead(res));
    // read, not uploaded: however long the main thread takes, it stays pending
    EXPECT_TRUE(res->IsPending());
    EXPECT_TRUE(res->IsUnloaded());
    EXPECT_TRUE(res->Load()) << "a pending load is not queued again";
    this->rs->UploadLoadedResources();
    EXPECT_FALSE(res->IsPending());
    EXPECT_TRUE(res->IsValid());
    EXPECT_EQ(res->uploads.load(), 1);
    EXPECT_EQ(res->reads.load(), 1);
    EXPECT_NE(res->readThread, std::this_thread::get_id());
    EXPECT_EQ(res->uploadThread, std::this_thread::get_id());
    res->Release();
}

TEST_F(LoaderThreadTest, AnUnloadBetweenReadAndUploadCancelsTheUpload)
{
    nUploadTestResource* res = this->NewUpload("gone.png");
    ASSERT_TRUE(res->Load());
    ASSERT_TRUE(WaitRead(res));
    res->Unload();
    EXPECT_FALSE(res->IsPending());
    this->rs->UploadLoadedResources();
    EXPECT_EQ(res->uploads.load(), 0);
    EXPECT_TRUE(res->IsUnloaded());
    // and it can be loaded again
    ASSERT_TRUE(res->Load());
    for (int i = 0; (i < 10000) && res->IsPending(); i++)
    {
        this->rs->UploadLoadedResources();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(res->IsValid());
    res->Release();
}
