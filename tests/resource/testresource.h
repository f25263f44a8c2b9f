#ifndef TESTS_RESOURCE_TESTRESOURCE_H
#define TESTS_RESOURCE_TESTRESOURCE_H
//------------------------------------------------------------------------------
//  Resource classes for the tests: they count their loads and unloads,
//  fail to load a file whose name begins with "fail", and the async class
//  can hold its LoadResource at a gate the test opens.
//------------------------------------------------------------------------------
#include "resource/nresource.h"
#include "resource/nresourceserver.h"
#include "resource/nresourcepackage.h"
#include "kernel/nkernelserver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

/// a door the loader thread waits at inside LoadResource while it is shut
class LoadGate
{
public:
    void Shut()
    {
        std::lock_guard<std::mutex> lock(this->mutex);
        this->open = false;
    }
    void Open()
    {
        {
            std::lock_guard<std::mutex> lock(this->mutex);
            this->open = true;
        }
        this->cond.notify_all();
    }
    void Pass()
    {
        this->entered.fetch_add(1);
        std::unique_lock<std::mutex> lock(this->mutex);
        this->cond.wait(lock, [this] { return this->open; });
    }
    /// wait until n loads have reached the gate (false after 10 s)
    bool WaitEntered(int n)
    {
        for (int i = 0; (i < 10000) && (this->entered.load() < n); i++)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return this->entered.load() >= n;
    }
    std::atomic<int> entered{0};

private:
    std::mutex mutex;
    std::condition_variable cond;
    bool open = true;
};

/// counts for every test resource
struct ResourceCounts
{
    std::atomic<int> loads{0};
    std::atomic<int> unloads{0};
    std::atomic<int> lost{0};
    std::atomic<int> restored{0};
    LoadGate gate;
};

inline ResourceCounts& Counts()
{
    static ResourceCounts counts;
    return counts;
}

/// loads on the calling thread only
class nTestResource : public nResource
{
public:
    ~nTestResource() override
    {
        if (!this->IsUnloaded()) this->Unload();
    }
    int GetByteSize() override { return 10; }
    void OnLost() override
    {
        Counts().lost++;
        if (this->IsValid()) this->SetState(Lost);
    }
    void OnRestored() override
    {
        Counts().restored++;
        if (Lost == this->GetState()) this->SetState(Valid);
    }

protected:
    bool LoadResource() override
    {
        Counts().loads++;
        const nString name = this->GetFilename();
        if (0 == strncmp(name.Get(), "fail", 4)) return false;
        this->SetState(Valid);
        return true;
    }
    void UnloadResource() override
    {
        Counts().unloads++;
        this->SetState(Unloaded);
    }
};

/// may load on the loader thread; waits at the gate first
class nAsyncTestResource : public nTestResource
{
public:
    bool CanLoadAsync() const override { return true; }

protected:
    bool LoadResource() override
    {
        Counts().gate.Pass();
        return nTestResource::LoadResource();
    }
};

/// reads on the loader thread and finishes on the thread that uploads,
/// as a device resource does; remembers which threads those were
class nUploadTestResource : public nAsyncTestResource
{
public:
    std::atomic<int> reads{0};
    std::atomic<int> uploads{0};
    std::thread::id readThread;
    std::thread::id uploadThread;

protected:
    bool ReadResource() override
    {
        Counts().gate.Pass();
        this->readThread = std::this_thread::get_id();
        this->reads++;
        return true;
    }
    bool HasUpload() const override { return true; }
    bool UploadResource() override
    {
        this->uploadThread = std::this_thread::get_id();
        this->uploads++;
        return nTestResource::LoadResource();
    }
};

void testresource_package();

/// a kernel with the resource classes, the test classes and a resource server
class ResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Counts().loads = 0;
        Counts().unloads = 0;
        Counts().lost = 0;
        Counts().restored = 0;
        Counts().gate.entered = 0;
        Counts().gate.Open();
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nresource_package,
                                                                                          testresource_package});
        this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
    }
    void TearDown() override
    {
        Counts().gate.Open();
        this->ks.reset();
    }

    nTestResource* NewTest(const char* name, int type = nResource::Texture)
    {
        return static_cast<nTestResource*>(this->rs->NewResource("ntestresource", name, type));
    }
    nTestResource* NewAsync(const char* name, int type = nResource::Texture)
    {
        nTestResource* res = static_cast<nTestResource*>(this->rs->NewResource("nasynctestresource", name, type));
        res->SetFilename(name);
        res->SetAsyncEnabled(true);
        return res;
    }

    nUploadTestResource* NewUpload(const char* name)
    {
        auto* res = static_cast<nUploadTestResource*>(this->rs->NewResource("nuploadtestresource", name, nResource::Texture));
        res->SetFilename(name);
        res->SetAsyncEnabled(true);
        return res;
    }

    std::unique_ptr<nKernelServer> ks;
    nResourceServer* rs = nullptr;
};
#endif
