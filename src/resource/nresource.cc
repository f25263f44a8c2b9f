//------------------------------------------------------------------------------
//  nresource.cc
//------------------------------------------------------------------------------
#include "resource/nresource.h"
#include "resource/nresourceserver.h"
#include "resource/nresourceloader.h"

nResource::nResource() :
    refResourceServer("/sys/servers/resource", "nresourceserver"),
    type(InvalidResourceType),
    asyncEnabled(false),
    jobNode(this),
    pending(false),
    state(Unloaded)
{
}

/*
 * ~nResource --
 *     A resource dies unloaded: subclass destructors unload first.
 *     Side effects: removes a queued job; the job node must be unlinked
 *     before it dies.
 */
nResource::~nResource()
{
    n_assert(this->GetState() == Unloaded);
    nResourceServer* server = this->KnownServer();
    if (server)
    {
        server->RemLoaderJob(this);
    }
}

/*
 * KnownServer --
 *     Results: the resource server when the reference has resolved
 *     before, else 0. A resource can only have been queued through a
 *     resolved reference, so this is enough to cancel jobs, and it never
 *     looks a path up while the tree is being torn down.
 */
nResourceServer* nResource::KnownServer() const
{
    return this->refResourceServer.get_unsafe();
}

/*
 * Release --
 *     Results: true when the object died.
 *     Side effects: at the last reference, cancels a queued load and then
 *     waits (through the object's mutex) for a load the loader thread has
 *     already begun, so the thread never touches a dying resource.
 */
bool nResource::Release()
{
    if (1 == this->GetRefCount())
    {
        nResourceServer* server = this->KnownServer();
        if (server)
        {
            server->RemLoaderJob(this);
        }
        this->LockMutex();
        this->UnlockMutex();
    }
    return nRoot::Release();
}

bool nResource::CanLoadAsync() const
{
    return false;
}

/*
 * Load(file, offset, length) --
 *     Not available: a fatal error.
 */
bool nResource::Load(nFile* /*file*/, int /*offset*/, int /*length*/)
{
    n_error("nResource::Load(file, offset, length) not implemented yet!");
    return false;
}

bool nResource::ReadResource()
{
    return this->LoadResource();
}

bool nResource::HasUpload() const
{
    return false;
}

bool nResource::UploadResource()
{
    return true;
}

/*
 * Load --
 *     Results: true when the resource is loaded (or was not Unloaded),
 *     or a background load is queued or running; else the result of
 *     LoadResource.
 *     Side effects: with async enabled on a class that can load on the
 *     loader thread, queues the resource (once); otherwise loads it on
 *     this thread.
 */
bool nResource::Load()
{
    if (!this->IsUnloaded())
    {
        return true;
    }
    if (this->asyncEnabled && this->CanLoadAsync() && this->refResourceServer.isvalid())
    {
        this->refResourceServer->QueueLoaderJob(this);
        return true;
    }
    return this->LoadResource();
}

/*
 * Unload --
 *     Results: none.
 *     Side effects: cancels a queued background load, then, holding the
 *     object's mutex (so a load the thread has begun finishes first),
 *     unloads the data unless the state is Unloaded.
 */
void nResource::Unload()
{
    nResourceServer* server = this->KnownServer();
    if (server)
    {
        server->RemLoaderJob(this);
    }
    this->LockMutex();
    if (!this->IsUnloaded())
    {
        this->UnloadResource();
    }
    this->UnlockMutex();
}

int nResource::GetByteSize()
{
    return 0;
}

bool nResource::LoadResource()
{
    return true;
}

void nResource::UnloadResource()
{
}

void nResource::OnLost()
{
}

void nResource::OnRestored()
{
}

void nResource::SetFilename(const nString& name)
{
    this->LockMutex();
    this->filename = name;
    this->UnlockMutex();
}

nString nResource::GetFilename()
{
    this->LockMutex();
    nString copy = this->filename;
    this->UnlockMutex();
    return copy;
}

void nResource::SetResourceLoader(const char* path)
{
    this->resourceLoaderPath = path;
    this->refResourceLoader.set(path);
}

const char* nResource::GetResourceLoader() const
{
    return this->resourceLoaderPath.IsEmpty() ? nullptr : this->resourceLoaderPath.Get();
}

/*
 * GetResourceLoaderObject --
 *     Results: the loader the path names, or 0 when there is no path, no
 *     object there, or an object of another class.
 */
nResourceLoader* nResource::GetResourceLoaderObject()
{
    if (!this->refResourceLoader.isvalid())
    {
        return nullptr;
    }
    nRoot* obj = this->refResourceLoader.get();
    return obj->IsA("nresourceloader") ? static_cast<nResourceLoader*>(obj) : nullptr;
}
