#ifndef N_RESOURCE_H
#define N_RESOURCE_H
//------------------------------------------------------------------------------
/**
    @class nResource
    @ingroup Resource

    Data loaded from a file and shared by name: meshes, textures, shaders,
    fonts, animations, sounds, instance streams. Resources are made only
    through the resource server, which keeps them in one pool per type.

    A resource is Unloaded, Valid, Lost (the device dropped its data) or
    Empty (made without file data); subclasses drive the state from their
    LoadResource, UnloadResource, OnLost and OnRestored.

    A class whose LoadResource is safe on another thread returns true from
    CanLoadAsync; with async enabled, Load then queues the resource for the
    server's loader thread. The thread runs LoadResource holding the
    resource's own mutex, which also guards the file name; the state has a
    mutex of its own, so the main thread may ask IsValid at any time.
*/
#include "kernel/nroot.h"
#include "kernel/nautoref.h"
#include "kernel/ndynautoref.h"
#include "util/nnode.h"
#include "util/nstring.h"
#include "util/nthreadvariable.h"

#include <atomic>

class nFile;
class nResourceServer;
class nResourceLoader;

class nResource : public nRoot
{
public:
    /// one bit per type; a type mask is an OR of bits
    enum Type
    {
        Bundle = (1 << 0),
        Mesh = (1 << 1),
        Texture = (1 << 2),
        Shader = (1 << 3),
        Animation = (1 << 4),
        SoundResource = (1 << 5),
        SoundInstance = (1 << 6),
        Font = (1 << 7),
        Other = (1 << 8),
        /// every type of the nine pools
        AllResourceTypes = 0x1ff,
        InvalidResourceType = 0x40000000,
    };

    enum State
    {
        Unloaded = 0,
        Valid = 1,
        Lost = 2,
        Empty = 3,
    };

    nResource();

    /// the last release first cancels a queued load and waits for one in flight
    bool Release() override;

    /// true for classes whose LoadResource may run on the loader thread
    virtual bool CanLoadAsync() const;
    /// loading from a part of an open file: not available (fatal)
    virtual bool Load(nFile* file, int offset, int length);
    /// load now, or queue for the loader thread; true when loaded or queued
    virtual bool Load();
    /// cancel a queued load and unload the data
    virtual void Unload();
    /// the size of the data in bytes
    virtual int GetByteSize();
    /// the device dropped the data
    virtual void OnLost();
    /// the device is back: rebuild the data
    virtual void OnRestored();

    /// set the file name (under the object's mutex)
    void SetFilename(const nString& name);
    /// a copy of the file name (under the object's mutex)
    nString GetFilename();
    void SetType(int t) { this->type = t; }
    int GetType() const { return this->type; }

    void SetState(State s) { this->state.Set(s); }
    State GetState() const { return State(this->state.Get()); }
    bool IsLoaded() const { return Unloaded != this->GetState(); }
    bool IsUnloaded() const { return Unloaded == this->GetState(); }
    bool IsValid() const { return Valid == this->GetState(); }
    /// true from the queueing of a background load until its LoadResource returned
    bool IsPending() const { return this->pending.load(); }

    void SetAsyncEnabled(bool b) { this->asyncEnabled = b; }
    bool GetAsyncEnabled() const { return this->asyncEnabled; }

    /// the path of a custom loader object (copied; null clears it)
    void SetResourceLoader(const char* path);
    /// the custom loader's path, or null
    const char* GetResourceLoader() const;
    /// the custom loader object, or null when the path names none
    nResourceLoader* GetResourceLoaderObject();

protected:
    friend class nResourceServer;

    ~nResource() override;

    /// read the data named by the file name and set the state; true on success
    virtual bool LoadResource();
    /**
        The loader thread's part of a background load: by default the
        whole LoadResource. A class whose data must reach a device that
        belongs to the main thread reads (and decodes) here, says so by
        HasUpload, and finishes in UploadResource, which the main thread
        runs from the resource server's UploadLoadedResources; the load
        stays pending until then. Runs under the object's mutex.
    */
    virtual bool ReadResource();
    /// whether ReadResource left work for the main thread
    virtual bool HasUpload() const;
    /// the main thread's part: make the read data usable and set the state
    virtual bool UploadResource();
    /// free the data and set the state Unloaded
    virtual void UnloadResource();

private:
    /// the server, when this resource has ever reached it (no lookup)
    nResourceServer* KnownServer() const;

    nDynAutoRef<nRoot> refResourceLoader;
    nString resourceLoaderPath;
    nAutoRef<nResourceServer> refResourceServer;
    nString filename;
    int type;
    bool asyncEnabled;
    /// linked into the server's job list while a background load is queued
    nNode jobNode;
    /// set under the job list's lock; cleared by the loader thread when its load returned
    std::atomic<bool> pending;
    nThreadVariable<int> state;
};
#endif
