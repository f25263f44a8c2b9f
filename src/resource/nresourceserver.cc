//------------------------------------------------------------------------------
//  nresourceserver.cc
//------------------------------------------------------------------------------
#include "resource/nresourceserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nthread.h"

#include <cstdio>
#include <cstring>

nResourceServer* nResourceServer::Singleton = nullptr;

namespace
{

/// the pools in the order they are made, with their type bit
struct PoolDesc
{
    int type;
    const char* path;
};

const PoolDesc PoolTable[nResourceServer::NumPools] = {
    {nResource::Mesh, "/sys/share/rsrc/mesh"},
    {nResource::Texture, "/sys/share/rsrc/tex"},
    {nResource::Shader, "/sys/share/rsrc/shd"},
    {nResource::Animation, "/sys/share/rsrc/anim"},
    {nResource::SoundResource, "/sys/share/rsrc/sndrsrc"},
    {nResource::SoundInstance, "/sys/share/rsrc/sndinst"},
    {nResource::Font, "/sys/share/rsrc/font"},
    {nResource::Bundle, "/sys/share/rsrc/bundle"},
    {nResource::Other, "/sys/share/rsrc/other"},
};

/// the pools whose mask also covers the bundle pool
const int BundleCarriers = nResource::Mesh | nResource::Texture | nResource::Animation;

/// the loader thread's stack
const unsigned int LoaderStackSize = 2500000;

/// a name fits the kernel's name buffers with its terminator
const int MaxIdLength = N_MAXNAMELEN - 1;
/// of a longer file name, this many last characters stay readable
const int LongNameTail = 22;

/*
 * HashName --
 *     Results: the 32-bit FNV-1a hash of the whole text.
 */
unsigned int HashName(const char* str)
{
    unsigned int h = 2166136261u;
    for (const unsigned char* c = (const unsigned char*)str; *c; c++)
    {
        h = (h ^ *c) * 16777619u;
    }
    return h;
}

/*
 * MangleInto --
 *     Results: none.
 *     Side effects: copies src to dst, each '.', '/', ':' and '\'
 *     replaced by '_', and terminates dst.
 */
void MangleInto(char* dst, const char* src)
{
    for (; *src; src++, dst++)
    {
        const char c = *src;
        *dst = ((c == '.') || (c == '/') || (c == ':') || (c == '\\')) ? '_' : c;
    }
    *dst = 0;
}

}  // namespace

/*
 * nResourceServer --
 *     Side effects: makes the nine pools under /sys/share/rsrc (an object
 *     already at a pool's path is kept) and starts the loader thread.
 */
nResourceServer::nResourceServer() :
    uniqueId(0),
    loaderThread(nullptr),
    resourceClass(nullptr)
{
    n_assert(0 == Singleton);
    Singleton = this;
    nKernelServer* ks = nKernelServer::Instance();
    for (int i = 0; i < NumPools; i++)
    {
        this->pools[i] = static_cast<nRoot*>(ks->New("nroot", PoolTable[i].path));
    }
    this->resourceClass = ks->FindClass("nresource");
    n_assert(this->resourceClass);
    this->StartLoaderThread();
}

/*
 * ~nResourceServer --
 *     Side effects: stops the loader thread first, then unloads every
 *     resource of all pools. The pools stay in the tree; their resources
 *     die with them.
 */
nResourceServer::~nResourceServer()
{
    n_assert(Singleton);
    Singleton = nullptr;
    this->ShutdownLoaderThread();
    this->UnloadResources(nResource::AllResourceTypes);
    for (int i = NumPools - 1; i >= 0; i--)
    {
        this->pools[i].invalidate();
    }
}

nResourceServer* nResourceServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * GetResourceId --
 *     Results: buf, holding the resource name of the file name: with a
 *     null file name "unique%d" (the counter then counts up); a name of
 *     up to 31 characters with '.', '/', ':' and '\' made '_'; a longer
 *     one as its last 22 characters made so, '_', and eight hex digits
 *     of a hash of the whole name, so that long paths ending alike stay
 *     apart.
 */
char* nResourceServer::GetResourceId(const char* filename, char* buf, int bufSize)
{
    n_assert(buf);
    n_assert(bufSize >= N_MAXNAMELEN);
    if (!filename)
    {
        snprintf(buf, bufSize, "unique%d", this->uniqueId++);
        return buf;
    }
    const int len = (int)strlen(filename);
    if (len <= MaxIdLength)
    {
        MangleInto(buf, filename);
        return buf;
    }
    MangleInto(buf, filename + len - LongNameTail);
    snprintf(buf + LongNameTail, bufSize - LongNameTail, "_%08x", HashName(filename));
    return buf;
}

int nResourceServer::PoolIndex(int type)
{
    for (int i = 0; i < NumPools; i++)
    {
        if (PoolTable[i].type == type) return i;
    }
    return -1;
}

/*
 * GetResourcePool --
 *     Results: the pool object of one type bit. Anything else is a
 *     programming error.
 *     Side effects: a pool a script deleted (its resources died with it;
 *     their holders' references are invalid) is made again, reported.
 */
nRoot* nResourceServer::GetResourcePool(int type)
{
    const int i = PoolIndex(type);
    if (i < 0)
    {
        n_assertfail("false", __FILE__, __LINE__);
    }
    if (!this->pools[i].isvalid())
    {
        n_printf("nResourceServer: the pool '%s' was deleted; it is made again\n", PoolTable[i].path);
        this->pools[i] = static_cast<nRoot*>(nKernelServer::Instance()->New("nroot", PoolTable[i].path));
    }
    return this->pools[i].get_unsafe();
}

int nResourceServer::WithBundles(int mask)
{
    return (mask & BundleCarriers) ? (mask | nResource::Bundle) : mask;
}

/*
 * CollectPools --
 *     Results: the number of pools of the mask's type bits, stored into
 *     pools in rising bit order (bits that name no pool are skipped).
 */
int nResourceServer::CollectPools(int mask, nRoot** out)
{
    int num = 0;
    for (int bit = 1; bit < nResource::InvalidResourceType; bit <<= 1)
    {
        const int i = (mask & bit) ? PoolIndex(bit) : -1;
        if ((i >= 0) && this->pools[i].isvalid())
        {
            out[num++] = this->pools[i].get();
        }
    }
    return num;
}

/*
 * FindResource --
 *     Results: the resource of the (file) name in the type's pool, or 0
 *     (also for an object there that is no resource).
 */
nResource* nResourceServer::FindResource(const char* rsrcName, int rsrcType)
{
    n_assert(rsrcName);
    n_assert(nResource::InvalidResourceType != rsrcType);
    nRoot* rsrcPool = this->GetResourcePool(rsrcType);
    n_assert(rsrcPool);
    char id[N_MAXNAMELEN];
    nRoot* obj = rsrcPool->Find(this->GetResourceId(rsrcName, id, sizeof(id)));
    return (obj && obj->IsA(this->resourceClass)) ? static_cast<nResource*>(obj) : nullptr;
}

/*
 * NewResource --
 *     Results: the resource of the name in the type's pool with one more
 *     reference, or a new object of the class there (count 1, Unloaded);
 *     a null name makes a "unique%d" one. 0, with a message, when the
 *     pool's object of that name is of another class (mesh and mesh
 *     array share a pool) or the class is no registered resource class.
 */
nResource* nResourceServer::NewResource(const char* className, const char* rsrcName, int rsrcType)
{
    n_assert(className);
    n_assert(nResource::InvalidResourceType != rsrcType);
    nRoot* rsrcPool = this->GetResourcePool(rsrcType);
    n_assert(rsrcPool);
    char id[N_MAXNAMELEN];
    this->GetResourceId(rsrcName, id, sizeof(id));

    nRoot* existing = rsrcPool->Find(id);
    if (existing)
    {
        if (!existing->IsA(className))
        {
            n_printf("nResourceServer::NewResource(): '%s' in pool '%s' is a '%s', not a '%s'\n", id,
                     rsrcPool->GetName(), existing->GetClass()->GetName(), className);
            return nullptr;
        }
        existing->AddRef();
        return static_cast<nResource*>(existing);
    }

    nKernelServer* ks = nKernelServer::Instance();
    nClass* cl = ks->FindClass(className);
    if (!cl || !cl->IsA("nresource"))
    {
        n_printf("nResourceServer::NewResource(): '%s' is no registered resource class\n", className);
        return nullptr;
    }
    ks->PushCwd(rsrcPool);
    nResource* rsrc = static_cast<nResource*>(ks->New(className, id));
    ks->PopCwd();
    n_assert(rsrc);
    return rsrc;
}

/*
 * ForEachResource --
 *     Side effects: calls op on every resource of the pools of the mask,
 *     pool by pool in rising bit order, in child order within a pool.
 */
void nResourceServer::ForEachResource(int mask, void (nResource::*op)())
{
    nRoot* list[NumPools];
    const int num = this->CollectPools(mask, list);
    for (int p = 0; p < num; p++)
    {
        for (nRoot* cur = list[p]->GetHead(); cur; cur = cur->GetSucc())
        {
            if (cur->IsA(this->resourceClass)) (static_cast<nResource*>(cur)->*op)();
        }
    }
}

/*
 * UnloadResources --
 *     Side effects: Unload on every resource of the pools of the mask;
 *     mesh, texture or animation also cover bundles.
 */
void nResourceServer::UnloadResources(int mask)
{
    this->ForEachResource(WithBundles(mask), &nResource::Unload);
}

/*
 * LoadResources --
 *     Results: true when every Load of an Unloaded resource of the pools
 *     succeeded (all are tried).
 */
bool nResourceServer::LoadResources(int mask)
{
    nRoot* list[NumPools];
    const int num = this->CollectPools(WithBundles(mask), list);
    bool success = true;
    for (int p = 0; p < num; p++)
    {
        for (nRoot* cur = list[p]->GetHead(); cur; cur = cur->GetSucc())
        {
            if (!cur->IsA(this->resourceClass)) continue;
            nResource* res = static_cast<nResource*>(cur);
            if (res->IsUnloaded())
            {
                success &= res->Load();
            }
        }
    }
    return success;
}

void nResourceServer::OnLost(int mask)
{
    this->ForEachResource(mask, &nResource::OnLost);
}

void nResourceServer::OnRestored(int mask)
{
    this->ForEachResource(mask, &nResource::OnRestored);
}

int nResourceServer::GetNumResources(int type)
{
    nRoot* pool = this->GetResourcePool(type);
    int num = 0;
    for (nRoot* cur = pool ? pool->GetHead() : nullptr; cur; cur = cur->GetSucc())
    {
        num++;
    }
    return num;
}

int nResourceServer::GetResourceByteSize(int type)
{
    nRoot* pool = this->GetResourcePool(type);
    int size = 0;
    for (nRoot* cur = pool ? pool->GetHead() : nullptr; cur; cur = cur->GetSucc())
    {
        n_assert(cur->IsA(this->resourceClass));
        size += static_cast<nResource*>(cur)->GetByteSize();
    }
    return size;
}

//--- loader thread --------------------------------------------------------------

void nResourceServer::LinkJob(nResource* res)
{
    this->jobList.AddTail(&res->jobNode);
    res->pending.store(true);
}

/*
 * AddLoaderJob --
 *     Side effects: appends the resource's job and wakes the thread. A
 *     resource that is pending or loaded is a programming error.
 */
void nResourceServer::AddLoaderJob(nResource* res)
{
    n_assert(res);
    this->jobList.Lock();
    n_assert(!res->IsPending());
    n_assert(!res->IsLoaded());
    this->LinkJob(res);
    this->jobList.Unlock();
    this->jobList.SignalEvent();
}

/*
 * QueueLoaderJob --
 *     Side effects: as AddLoaderJob, but a resource that is pending, or
 *     that the thread loaded a moment ago, is left as it is. The test
 *     is made under the list lock, where the thread ends its jobs.
 */
void nResourceServer::QueueLoaderJob(nResource* res)
{
    n_assert(res);
    this->jobList.Lock();
    const bool queue = !res->IsPending() && res->IsUnloaded();
    if (queue)
    {
        this->LinkJob(res);
    }
    this->jobList.Unlock();
    if (queue)
    {
        this->jobList.SignalEvent();
    }
}

/*
 * RemLoaderJob --
 *     Side effects: under the list lock, unlinks a queued job and clears
 *     the pending mark; a load already running is not stopped (Unload and
 *     Release wait for it on the resource's mutex).
 */
void nResourceServer::RemLoaderJob(nResource* res)
{
    n_assert(res);
    this->jobList.Lock();
    this->uploadLock.Lock();
    if (res->jobNode.IsLinked())
    {
        res->jobNode.Remove();
    }
    res->pending.store(false);
    this->uploadLock.Unlock();
    this->jobList.Unlock();
}

/*
 * UploadLoadedResources --
 *     Side effects: every resource whose background read is done, and
 *     that is still pending and unloaded, runs its UploadResource under
 *     its mutex; its pending mark is cleared.
 */
void nResourceServer::UploadLoadedResources()
{
    for (;;)
    {
        this->uploadLock.Lock();
        nNode* node = this->uploadList.RemHead();
        this->uploadLock.Unlock();
        if (!node)
        {
            return;
        }
        nResource* res = static_cast<nResource*>(node->GetData());
        res->LockMutex();
        if (res->pending.load() && res->IsUnloaded())
        {
            res->UploadResource();
        }
        res->pending.store(false);
        res->UnlockMutex();
    }
}

void nResourceServer::StartLoaderThread()
{
    n_assert(0 == this->loaderThread);
    this->loaderThread = n_new(nThread(LoaderThreadFunc, nThread::Normal, LoaderStackSize, LoaderThreadWakeup,
                                       nullptr, this));
}

/*
 * ShutdownLoaderThread --
 *     Side effects: stops the thread and waits for its end (a load in
 *     flight finishes), then unlinks the jobs it left; those resources
 *     stay Unloaded.
 */
void nResourceServer::ShutdownLoaderThread()
{
    n_assert(this->loaderThread);
    n_delete(this->loaderThread);
    this->loaderThread = nullptr;
    // the thread is gone: no other thread touches the lists now, and the
    // job list's lock is not taken here, where the kernel may be tearing
    // down under its own lock (which a resource's upload takes inside the
    // resource's mutex, and the thread took that inside the list's lock)
    nNode* node;
    while ((node = this->jobList.RemHead()) != nullptr)
    {
        static_cast<nResource*>(node->GetData())->pending.store(false);
    }
    this->uploadLock.Lock();
    while ((node = this->uploadList.RemHead()) != nullptr)
    {
        static_cast<nResource*>(node->GetData())->pending.store(false);
    }
    this->uploadLock.Unlock();
}

/*
 * RunQueuedJobs --
 *     Side effects: takes the head job under the list lock (an empty list
 *     ends the run), takes the resource's mutex before it lets the list
 *     go, and runs ReadResource; the job stays pending until that
 *     returned, or, when the resource has an upload, until the main
 *     thread ran it.
 */
void nResourceServer::RunQueuedJobs(nThread* thread)
{
    while (!thread->ThreadStopRequested())
    {
        this->jobList.Lock();
        nNode* node = this->jobList.RemHead();
        if (!node)
        {
            this->jobList.Unlock();
            return;
        }
        nResource* res = static_cast<nResource*>(node->GetData());
        res->LockMutex();
        this->jobList.Unlock();
        const bool read = res->IsUnloaded() && res->ReadResource();
        // a load that needs the main thread stays pending, its node in the
        // upload list, unless it was cancelled while it read; the upload
        // list has a lock of its own, taken under a resource's mutex or
        // under the job list's lock, so the locks never take turns in a cycle
        this->uploadLock.Lock();
        if (read && res->HasUpload() && res->pending.load())
        {
            this->uploadList.AddTail(&res->jobNode);
        }
        else
        {
            // the state is written before the mark is cleared, so a queuer
            // that sees the mark gone also sees the loaded state
            res->pending.store(false);
        }
        this->uploadLock.Unlock();
        res->UnlockMutex();
    }
}

/*
 * LoaderThreadFunc --
 *     The loader thread: sleeps on the job list's event and drains the
 *     list at each wake-up until a stop is requested.
 */
int nResourceServer::LoaderThreadFunc(nThread* thread)
{
    thread->ThreadStarted();
    nResourceServer* self = static_cast<nResourceServer*>(thread->LockUserData());
    thread->UnlockUserData();
    for (;;)
    {
        self->jobList.WaitEvent();
        if (thread->ThreadStopRequested())
        {
            break;
        }
        self->RunQueuedJobs(thread);
    }
    thread->ThreadExit();
    return 0;
}

/*
 * LoaderThreadWakeup --
 *     Side effects: signals the job list's event, so the waiting thread
 *     sees the stop request.
 */
void nResourceServer::LoaderThreadWakeup(nThread* thread)
{
    nResourceServer* self = static_cast<nResourceServer*>(thread->LockUserData());
    thread->UnlockUserData();
    self->jobList.SignalEvent();
}
