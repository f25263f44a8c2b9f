//------------------------------------------------------------------------------
//  nkernelserver.cc
//------------------------------------------------------------------------------
#include "kernel/nkernelserver.h"
#include "kernel/nclass.h"
#include "kernel/nroot.h"
#include "kernel/nenv.h"
#include "kernel/nmemory.h"
#include "kernel/ndefaultloghandler.h"
#include "kernel/nhardrefserver.h"
#include "kernel/npersistserver.h"
#include "kernel/nkernelpackage.h"
#include "kernel/nfileserver2.h"

#include <cstdio>
#include <cstring>

nKernelServer* nKernelServer::ks = nullptr;

namespace
{

/*
 * NextComponent --
 *     Re-entrant path splitting: skips separators and returns the next
 *     component of the path, terminated in place, or 0 at the end.
 */
char* NextComponent(char*& pos)
{
    while (*pos == '/') ++pos;
    if (*pos == 0) return nullptr;
    char* start = pos;
    while (*pos && *pos != '/') ++pos;
    if (*pos) *pos++ = 0;
    return start;
}

/*
 * CopyPath --
 *     Copies a path into a buffer of N_MAXPATH characters without padding
 *     the rest (strncpy's padding costs more than the walk).
 * Results: false, with the buffer untouched, for a path that does not
 *     fit: a cut path would name another object (a prefix of it).
 */
bool CopyPath(char* buf, const char* path)
{
    const size_t len = strlen(path);
    if (len > N_MAXPATH - 1) return false;
    memcpy(buf, path, len + 1);
    return true;
}

/*
 * IsDotName --
 *     Results: true for "." and "..", which name an existing object (this
 *     one, the parent) and are never made.
 */
bool IsDotName(const char* comp)
{
    return comp[0] == '.' && (comp[1] == 0 || (comp[1] == '.' && comp[2] == 0));
}

}  // namespace

/*
 * nKernelServer --
 *     Builds the registry (the kernel's own classes, then the packages
 *     given), the root and the default servers. A default server is made
 *     only when its class is registered.
 */
nKernelServer::nKernelServer(std::initializer_list<nPackageFunc> packages) :
    hardRefServer(nullptr),
    classList(64),
    root(nullptr),
    cwd(nullptr),
    cwdStack(0, 8),
    defaultLogHandler(nullptr),
    curLogHandler(nullptr)
{
    n_assert(0 == ks);
    ks = this;
    nLogHandler::SetCurrentLookup([]() -> nLogHandler* { return ks ? ks->GetLogHandler() : nullptr; });

    this->defaultLogHandler = n_new(nDefaultLogHandler);
    this->SetLogHandler(nullptr);

    this->AddPackage(nkernel_package);
    for (nPackageFunc package : packages)
    {
        this->AddPackage(package);
    }

    this->hardRefServer = n_new(nHardRefServer);
    n_assert(this->hardRefServer);

    this->root = static_cast<nRoot*>(this->NewUnnamedObject("nroot"));
    n_assert(this->root);
    this->root->SetName("/");
    this->cwd = this->root;

    // the archive server comes with the file package; without it the
    // plain file server still gives every program its assigns and files
    nRoot* fs = this->NewDefault("nnpkfileserver", "/sys/servers/file2");
    if (!fs) fs = this->NewDefault("nfileserver2", "/sys/servers/file2");
    this->fileServer.set(fs);
    this->persistServer.set(this->NewDefault("npersistserver", "/sys/servers/persist"));
    this->remoteServer.set(this->NewDefault("nremoteserver", "/sys/servers/remote"));
    this->timeServer.set(this->NewDefault("ntimeserver", "/sys/servers/time"));
    // the program reaches its default servers by these paths without asking
    for (nRoot* server : {fs, this->persistServer.get_unsafe(), this->remoteServer.get_unsafe(),
                          this->timeServer.get_unsafe()})
    {
        if (server) this->AddInUse(server);
    }
    this->memHighWaterSizeEnv.set(this->NewDefault("nenv", "/sys/var/mem_highwatersize"));
    this->memTotalSizeEnv.set(this->NewDefault("nenv", "/sys/var/mem_totalsize"));
    this->memTotalCountEnv.set(this->NewDefault("nenv", "/sys/var/mem_totalcount"));
}

/*
 * ~nKernelServer --
 *     Releases the default servers and the whole tree, then unregisters
 *     the classes leaves first. Classes still referenced are listed and
 *     the program stops.
 */
nKernelServer::~nKernelServer()
{
    this->mutex.Lock();
    this->SetLogHandler(nullptr);
    this->inUse.clear();

    this->ReleaseUserObjects();

    nRef<nRoot>* servers[] = {&this->timeServer, &this->persistServer, &this->fileServer, &this->remoteServer};
    for (nRef<nRoot>* server : servers)
    {
        if (server->isvalid())
        {
            nRoot* obj = server->get();
            server->invalidate();
            obj->Release();
        }
    }
    if (this->root)
    {
        nRoot* r = this->root;
        r->Release();
        this->root = nullptr;
    }
    this->cwd = nullptr;
    this->cwdStack.Clear();

    this->CleanupClasses();

    n_delete(this->hardRefServer);
    this->hardRefServer = nullptr;
    nLogHandler* last = this->curLogHandler.exchange(nullptr);
    if (last && last->IsOpen())
    {
        last->Close();
    }
    n_delete(this->defaultLogHandler);
    this->defaultLogHandler = nullptr;
    nObject::kernelServer = nullptr;
    ks = nullptr;
    this->mutex.Unlock();
}

/*
 * KillObject --
 *     Releases a tree object until it dies, as its parent would.
 */
static void KillObject(nRoot* obj)
{
    while (!obj->Release())
    {
    }
}

/*
 * ReleaseUserObjects --
 *     Objects that save themselves when they die (a preference server
 *     writes its file) need the file and persistence servers, so they go
 *     first: everything outside "/sys", then the servers beside the default
 *     ones, the last made first.
 */
void nKernelServer::ReleaseUserObjects()
{
    if (!this->root) return;
    nRoot* sys = this->root->Find("sys");
    nRoot* obj = this->root->GetTail();
    while (obj)
    {
        nRoot* pred = obj->GetPred();
        if (obj != sys) KillObject(obj);
        obj = pred;
    }
    nRoot* servers = sys ? sys->Find("servers") : nullptr;
    obj = servers ? servers->GetTail() : nullptr;
    while (obj)
    {
        nRoot* pred = obj->GetPred();
        const bool isDefault = obj == this->fileServer.get_unsafe() || obj == this->persistServer.get_unsafe() ||
                               obj == this->timeServer.get_unsafe() || obj == this->remoteServer.get_unsafe();
        if (!isDefault) KillObject(obj);
        obj = pred;
    }
}

void nKernelServer::CleanupClasses()
{
    bool removed = true;
    while (!this->classList.IsEmpty() && removed)
    {
        removed = false;
        nHashNode* node = this->classList.GetHead();
        while (node)
        {
            nHashNode* next = node->GetSucc();
            nClass* cl = static_cast<nClass*>(node);
            if (cl->GetRefCount() == 0)
            {
                cl->Remove();
                n_delete(cl);
                removed = true;
            }
            node = next;
        }
    }
    if (!this->classList.IsEmpty())
    {
        n_printf("~nKernelServer(): ref_count error cleaning up class list!\n");
        n_printf("Offending classes:\n");
        for (nHashNode* node = this->classList.GetHead(); node; node = node->GetSucc())
        {
            nClass* cl = static_cast<nClass*>(node);
            n_printf("%s: refcount %d\n", cl->GetName(), cl->GetRefCount());
        }
        n_error("nKernelServer: Refcount errors occured during cleanup, check log for details!\n");
    }
}

//--- classes ------------------------------------------------------------------

void nKernelServer::AddPackage(nPackageFunc package)
{
    n_assert(package);
    package();
}

void nKernelServer::AddModule(const char* name, nInitFunc initFunc, nNewFunc newFunc)
{
    nMutexLock lock(this->mutex);
    if (this->classList.Find(name)) return;
    nClass* cl = n_new(nClass(name, this, initFunc, newFunc));
    this->classList.AddTail(cl);
}

void nKernelServer::AddClass(const char* superClassName, nClass* cl)
{
    nMutexLock lock(this->mutex);
    n_assert(superClassName);
    n_assert(cl);
    nClass* superClass = this->FindClass(superClassName);
    if (!superClass)
    {
        n_error("nKernelServer::AddClass(): Could not open super class '%s'\n", superClassName);
    }
    superClass->AddSubClass(cl);
}

nClass* nKernelServer::FindClass(const char* className)
{
    n_assert(className);
    nMutexLock lock(this->mutex);
    return static_cast<nClass*>(this->classList.Find(className));
}

nClass* nKernelServer::OpenClass(const char* className)
{
    nClass* cl = this->FindClass(className);
    if (cl) cl->AddRef();
    return cl;
}

void nKernelServer::CloseClass(nClass* cl)
{
    n_assert(cl);
    nMutexLock lock(this->mutex);
    cl->RemRef();
}

void nKernelServer::RemClass(nClass* cl)
{
    n_assert(cl);
    nClass* superClass = cl->GetSuperClass();
    n_assert(superClass);
    superClass->RemSubClass(cl);
}

//--- objects ------------------------------------------------------------------

nObject* nKernelServer::NewUnnamedObject(const char* className)
{
    nMutexLock lock(this->mutex);
    nClass* cl = this->FindClass(className);
    return cl ? cl->NewObject() : nullptr;
}

nObject* nKernelServer::NewUnnamed(const char* className)
{
    n_assert(className);
    nObject* obj = this->NewUnnamedObject(className);
    if (!obj)
    {
        n_error("nKernelServer: Couldn't create object of class '%s'.\n", className);
    }
    return obj;
}

nObject* nKernelServer::New(const char* className, const char* path)
{
    n_assert(className && path);
    nMutexLock lock(this->mutex);
    nRoot* o = this->CheckCreatePath(className, path, true);
    n_assert(o);
    return o;
}

nObject* nKernelServer::NewNoFail(const char* className, const char* path)
{
    n_assert(className && path);
    nMutexLock lock(this->mutex);
    nRoot* o = this->CheckCreatePath(className, path, false);
    if (!o)
    {
        n_printf("nKernelServer: Couldn't create object of class '%s'.\n", className);
    }
    return o;
}

nRoot* nKernelServer::NewDefault(const char* className, const char* path)
{
    if (!this->FindClass(className)) return nullptr;
    return static_cast<nRoot*>(this->New(className, path));
}

/*
 * CheckCreatePath --
 *     Walks the path, creating missing intermediate objects as "nroot" and
 *     the last one of the given class. An existing last object is returned
 *     as it is, whatever its class. Failures are fatal when asked, else
 *     printed, and the result is 0.
 */
nRoot* nKernelServer::CheckCreatePath(const char* className, const char* path, bool fatal)
{
    n_assert(className);
    n_assert(path);
    void (*report)(const char*, ...) = fatal ? n_error : n_printf;

    char buf[N_MAXPATH];
    if (!CopyPath(buf, path))
    {
        report("nKernelServer: Path of new object of class '%s' is longer than %d characters!\n", className,
               N_MAXPATH - 1);
        return nullptr;
    }
    nRoot* cur = (path[0] == '/') ? this->root : this->cwd;

    char* pos = buf;
    char* comp = NextComponent(pos);
    if (!comp)
    {
        report("nKernelServer: Empty name for new object of class '%s'!\n", className);
        return nullptr;
    }
    for (;;)
    {
        char* next = NextComponent(pos);
        if (!next)
        {
            // the last component
            nRoot* existing = cur->Find(comp);
            if (existing) return existing;
            if (IsDotName(comp))
            {
                report("nKernelServer: Path '%s' leads above the root!\n", path);
                return nullptr;
            }
            nObject* newObj = this->NewUnnamedObject(className);
            if (newObj && !newObj->IsA("nroot"))
            {
                // only tree objects can live at a path
                newObj->Release();
                newObj = nullptr;
            }
            if (!newObj)
            {
                report("nKernelServer: Couldn't create object '%s' of class '%s'.\n", path, className);
                return nullptr;
            }
            nRoot* obj = static_cast<nRoot*>(newObj);
            obj->SetName(comp);
            cur->AddTail(obj);
            obj->Initialize();
            return obj;
        }
        nRoot* child = cur->Find(comp);
        if (!child && IsDotName(comp))
        {
            report("nKernelServer: Path '%s' leads above the root!\n", path);
            return nullptr;
        }
        if (!child)
        {
            child = static_cast<nRoot*>(this->NewUnnamedObject("nroot"));
            if (!child)
            {
                report("nKernelServer: Couldn't create object '%s' in path '%s'.\n", comp, path);
                return nullptr;
            }
            child->SetName(comp);
            cur->AddTail(child);
            child->Initialize();
        }
        cur = child;
        comp = next;
    }
}

/*
 * Lookup --
 *     Resolves a path from the root (leading '/') or the cwd.
 * Results: the object or 0; a path of slashes only yields the start object;
 *     a path longer than N_MAXPATH - 1 characters is not found.
 */
nRoot* nKernelServer::Lookup(const char* path)
{
    n_assert(path);
    nMutexLock lock(this->mutex);
    if (path[0] == 0) return nullptr;
    nRoot* cur = (path[0] == '/') ? this->root : this->cwd;
    // the components are found in place: a lookup copies nothing
    const char* pos = path;
    for (;;)
    {
        while (*pos == '/') ++pos;
        if (*pos == 0 || !cur) break;
        const char* const start = pos;
        while (*pos && *pos != '/') ++pos;
        cur = cur->Find(start, size_t(pos - start));
    }
    // a path too long to name an object names none, even when a prefix
    // of it does
    return size_t(pos - path) > N_MAXPATH - 1 ? nullptr : cur;
}

nObject* nKernelServer::Load(const char* path)
{
    n_assert(path);
    nMutexLock lock(this->mutex);
    nPersistServer* ps = this->GetPersistServer();
    return ps ? ps->LoadObject(path, nullptr) : nullptr;
}

/*
 * LoadAs --
 *     Loads a file as a named tree object. A file that yields no tree
 *     object is reported and gives 0 (it is outside data, not a
 *     programming error).
 */
nObject* nKernelServer::LoadAs(const char* path, const char* name)
{
    n_assert(path && name);
    nMutexLock lock(this->mutex);
    nPersistServer* ps = this->GetPersistServer();
    nObject* obj = ps ? ps->LoadObject(path, name) : nullptr;
    if (obj && !obj->IsA("nroot"))
    {
        n_printf("nKernelServer::LoadAs(): '%s' holds no tree object!\n", path);
        obj->Release();
        return nullptr;
    }
    return obj;
}

//--- cwd ----------------------------------------------------------------------

void nKernelServer::SetCwd(nRoot* o)
{
    nMutexLock lock(this->mutex);
    this->cwd = o ? o : this->root;
}

void nKernelServer::PushCwd(nRoot* o)
{
    nMutexLock lock(this->mutex);
    this->cwdStack.Append(this->cwd);
    this->cwd = o ? o : this->root;
}

nRoot* nKernelServer::PopCwd()
{
    nMutexLock lock(this->mutex);
    nRoot* prev = this->cwd;
    if (this->cwdStack.Size() > 0)
    {
        this->cwd = this->cwdStack.Back();
        this->cwdStack.Erase(this->cwdStack.Size() - 1);
    }
    else
    {
        this->cwd = this->root;
    }
    return prev;
}

/*
 * ObjectDying --
 *     A dying cwd or saved cwd would be a dangling pointer: both become
 *     the root (nothing, when the root itself dies).
 */
void nKernelServer::ObjectDying(nRoot* obj)
{
    nMutexLock lock(this->mutex);
    nRoot* replacement = (obj == this->root) ? nullptr : this->root;
    if (this->cwd == obj) this->cwd = replacement;
    for (int i = 0; i < this->cwdStack.Size(); i++)
    {
        if (this->cwdStack[i] == obj) this->cwdStack[i] = replacement;
    }
}

//--- output -------------------------------------------------------------------

void nKernelServer::SetLogHandler(nLogHandler* handler)
{
    nMutexLock lock(this->mutex);
    nLogHandler* old = this->curLogHandler.load();
    if (old && old->IsOpen())
    {
        old->Close();
    }
    nLogHandler* next = handler ? handler : this->defaultLogHandler;
    if (next)
    {
        next->Open();
    }
    this->curLogHandler.store(next);
}

void nKernelServer::Print(const char* fmt, ...)
{
    nMutexLock lock(this->mutex);
    va_list args;
    va_start(args, fmt);
    nLogHandler* handler = this->curLogHandler.load();
    if (handler) handler->Print(fmt, args);
    else vprintf(fmt, args);
    va_end(args);
}

void nKernelServer::Message(const char* fmt, ...)
{
    nMutexLock lock(this->mutex);
    va_list args;
    va_start(args, fmt);
    nLogHandler* handler = this->curLogHandler.load();
    if (handler) handler->Message(fmt, args);
    else vprintf(fmt, args);
    va_end(args);
}

void nKernelServer::Error(const char* fmt, ...)
{
    nMutexLock lock(this->mutex);
    va_list args;
    va_start(args, fmt);
    nLogHandler* handler = this->curLogHandler.load();
    if (handler) handler->Error(fmt, args);
    else vprintf(fmt, args);
    va_end(args);
}

//--- servers ------------------------------------------------------------------

nRoot* nKernelServer::GetFileServerObject() const
{
    return this->fileServer.get_unsafe();
}

nFileServer2* nKernelServer::GetFileServer() const
{
    return static_cast<nFileServer2*>(this->fileServer.get_unsafe());
}

nRoot* nKernelServer::GetTimeServerObject() const
{
    return this->timeServer.get_unsafe();
}

/*
 * AddInUse --
 *     Side effects: obj is in use until a matching RemInUse.
 */
void nKernelServer::AddInUse(nRoot* obj)
{
    n_assert(obj);
    this->inUse.emplace_back();
    this->inUse.back().set(obj);
}

/*
 * RemInUse --
 *     Side effects: one entry of obj (and every entry of a dead object)
 *     is dropped; an object never added is ignored.
 */
void nKernelServer::RemInUse(nRoot* obj)
{
    this->inUse.remove_if([](const nRef<nRoot>& r) { return !r.isvalid(); });
    for (auto it = this->inUse.begin(); it != this->inUse.end(); ++it)
    {
        if (it->get_unsafe() == obj)
        {
            this->inUse.erase(it);
            return;
        }
    }
}

/*
 * FindInUse --
 *     Results: the first object in use that is obj or lies below it, or 0.
 *     Side effects: none.
 */
nRoot* nKernelServer::FindInUse(const nRoot* obj) const
{
    for (const nRef<nRoot>& r : this->inUse)
    {
        for (const nRoot* cur = r.get_unsafe(); cur; cur = cur->GetParent())
        {
            if (cur == obj) return r.get_unsafe();
        }
    }
    return nullptr;
}

nRoot* nKernelServer::GetRemoteServerObject() const
{
    return this->remoteServer.get_unsafe();
}

nPersistServer* nKernelServer::GetPersistServer() const
{
    return static_cast<nPersistServer*>(this->persistServer.get_unsafe());
}

void nKernelServer::ReplaceFileServer(const char* className)
{
    n_assert(className);
    nMutexLock lock(this->mutex);
    if (this->fileServer.isvalid())
    {
        nRoot* old = this->fileServer.get();
        this->fileServer.invalidate();
        this->RemInUse(old);
        old->Release();
    }
    this->fileServer.set(static_cast<nRoot*>(this->New(className, "/sys/servers/file2")));
    n_assert(this->fileServer.isvalid());
    this->AddInUse(this->fileServer.get());
}

void nKernelServer::SetMemEnv(const nRef<nRoot>& env, long long value)
{
    // a script may have deleted or replaced the value: write only into a
    // live nenv that holds an int or nothing yet
    if (!env.isvalid()) return;
    nRoot* obj = env.get();
    if (!obj->IsA("nenv")) return;
    nEnv* e = static_cast<nEnv*>(obj);
    if (e->GetType() != nArg::Void && e->GetType() != nArg::Int) return;
    e->SetI((int)value);
}

/*
 * Trigger --
 *     Publishes the allocator's statistics in the /sys/var/mem_* values.
 */
void nKernelServer::Trigger()
{
    const nMemoryStats stats = nMemoryGetStats();
    SetMemEnv(this->memHighWaterSizeEnv, stats.highWaterSize);
    SetMemEnv(this->memTotalSizeEnv, stats.totalSize);
    SetMemEnv(this->memTotalCountEnv, stats.totalCount);
}
