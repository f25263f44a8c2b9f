#ifndef N_RESOURCESERVER_H
#define N_RESOURCESERVER_H
//------------------------------------------------------------------------------
/**
    @class nResourceServer
    @ingroup Resource

    Makes and shares resources: one pool object per resource type under
    "/sys/share/rsrc", a resource found by a name made from its file name,
    reference counted by its users; bulk unload, load, device-lost and
    restored over the pools of a type mask; and the loader thread that
    runs queued background loads.

    Lock order: the job list's lock before a resource's own mutex. The
    main thread never holds the list lock while it waits for a resource.
*/
#include "kernel/nroot.h"
#include "kernel/nmutex.h"
#include "kernel/nref.h"
#include "kernel/nthreadsafelist.h"
#include "resource/nresource.h"

class nThread;

class nResourceServer : public nRoot
{
public:
    /// the number of pools
    static constexpr int NumPools = 9;

    nResourceServer();

    /// the one resource server
    static nResourceServer* Instance();

    /// the resource name of a file name (null: "unique%d") into buf
    char* GetResourceId(const char* filename, char* buf, int bufSize);
    /// the pool object of one type bit
    nRoot* GetResourcePool(int type);

    /// the resource of that (file) name in the type's pool, or 0; no reference added
    virtual nResource* FindResource(const char* name, int type);
    /// the shared resource of that name (one more reference) or a new one of the class
    virtual nResource* NewResource(const char* className, const char* name, int type);
    /// Unload every resource of the pools of the mask
    virtual void UnloadResources(int mask);
    /// Load every unloaded resource of the pools of the mask; false if any failed
    virtual bool LoadResources(int mask);
    /// OnLost on every resource of the pools of the mask
    virtual void OnLost(int mask);
    /// OnRestored on every resource of the pools of the mask
    virtual void OnRestored(int mask);

    /// the number of resources in one pool
    int GetNumResources(int type);
    /// the summed byte size of one pool's resources
    int GetResourceByteSize(int type);

    /// queue a resource that is neither pending nor loaded for the loader thread
    void AddLoaderJob(nResource* res);
    /// queue the resource unless it is pending or loaded already
    void QueueLoaderJob(nResource* res);
    /// cancel a queued job of the resource (or its upload still to come)
    void RemLoaderJob(nResource* res);
    /**
        On the thread that owns the graphics device, once per frame:
        finish every background load whose reading is done (its
        UploadResource), which ends its pending state.
    */
    void UploadLoadedResources();

protected:
    ~nResourceServer() override;

private:
    /// the pool index of one type bit, or -1
    static int PoolIndex(int type);
    /// the mask with the bundle pool added when it holds mesh, texture or animation
    static int WithBundles(int mask);
    /// the pools of the mask in rising bit order, as an array of up to NumPools
    int CollectPools(int mask, nRoot** pools);
    /// call a resource operation on every resource of the pools of the mask
    void ForEachResource(int mask, void (nResource::*op)());

    void StartLoaderThread();
    void ShutdownLoaderThread();
    /// link the job node; the list lock is held
    void LinkJob(nResource* res);
    /// run queued jobs until the list is empty or a stop is requested
    void RunQueuedJobs(nThread* thread);
    static int LoaderThreadFunc(nThread* thread);
    static void LoaderThreadWakeup(nThread* thread);

    static nResourceServer* Singleton;

    int uniqueId;
    nRef<nRoot> pools[NumPools];
    nThreadSafeList jobList;
    /// the job nodes of loads read and waiting for UploadLoadedResources
    nList uploadList;
    /// guards uploadList and, with the job list's lock, a job node's unlinking
    nMutex uploadLock;
    nThread* loaderThread;
    nClass* resourceClass;
};
#endif
