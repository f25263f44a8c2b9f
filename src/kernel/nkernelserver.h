#ifndef N_KERNELSERVER_H
#define N_KERNELSERVER_H
//------------------------------------------------------------------------------
/**
    @class nKernelServer
    @ingroup Kernel

    The one object every part of the engine reaches first: the class
    registry, object creation by class name, the object tree with its
    current working object, the log handler, and the core servers.
    Exactly one exists at a time.
*/
#include "kernel/ntypes.h"
#include "kernel/nmutex.h"
#include "kernel/nref.h"
#include "util/nhashlist.h"
#include "util/narray.h"

#include <atomic>
#include <initializer_list>
#include <list>

class nClass;
class nObject;
class nRoot;
class nEnv;
class nLogHandler;
class nDefaultLogHandler;
class nHardRefServer;
class nPersistServer;
class nKernelServer;
class nFileServer2;

typedef void (*nPackageFunc)();
typedef bool (*nInitFunc)(nClass* cl, nKernelServer* ks);
typedef void* (*nNewFunc)();

class nKernelServer
{
public:
    /// builds the registry with the kernel's own classes, then the given
    /// packages, the root and the default servers
    explicit nKernelServer(std::initializer_list<nPackageFunc> packages = {});
    ~nKernelServer();
    nKernelServer(const nKernelServer&) = delete;
    nKernelServer& operator=(const nKernelServer&) = delete;

    /// the kernel server, or 0 when none exists
    static nKernelServer* Instance() { return ks; }

    //--- classes --------------------------------------------------------------
    void AddPackage(nPackageFunc package);
    void AddModule(const char* name, nInitFunc initFunc, nNewFunc newFunc);
    void AddClass(const char* superClassName, nClass* cl);
    nClass* FindClass(const char* className);
    nClass* OpenClass(const char* className);
    void CloseClass(nClass* cl);
    void RemClass(nClass* cl);
    nHashList* GetClassList() { return &this->classList; }

    //--- objects ---------------------------------------------------------------
    nObject* NewUnnamedObject(const char* className);
    nObject* NewUnnamed(const char* className);
    nObject* New(const char* className, const char* path);
    nObject* NewNoFail(const char* className, const char* path);
    nRoot* Lookup(const char* path);
    /// changes whenever an object joins or leaves the tree or is renamed, so
    /// that a path looked up once can be trusted until it changes again
    unsigned GetTreeGeneration() const { return this->treeGeneration.load(std::memory_order_relaxed); }
    /// the tree has changed (called by nRoot)
    void TreeChanged() { this->treeGeneration.fetch_add(1, std::memory_order_relaxed); }
    nObject* Load(const char* path);
    nObject* LoadAs(const char* path, const char* name);

    //--- current working object -------------------------------------------------
    void SetCwd(nRoot* o);
    nRoot* GetCwd() const { return this->cwd; }
    void PushCwd(nRoot* o);
    nRoot* PopCwd();
    /// a tree object is dying: move the cwd and saved cwds off it
    void ObjectDying(nRoot* obj);

    //--- output -------------------------------------------------------------------
    void SetLogHandler(nLogHandler* handler);
    nLogHandler* GetLogHandler() const { return this->curLogHandler.load(); }
    void Print(const char* fmt, ...) N_PRINTF_FORMAT(2, 3);
    void Message(const char* fmt, ...) N_PRINTF_FORMAT(2, 3);
    void Error(const char* fmt, ...) N_PRINTF_FORMAT(2, 3);

    //--- servers --------------------------------------------------------------------
    void ReplaceFileServer(const char* className);
    /// once per frame: publish the memory statistics
    void Trigger();
    nRoot* GetFileServerObject() const;
    /// the file server at /sys/servers/file2
    nFileServer2* GetFileServer() const;
    nPersistServer* GetPersistServer() const;
    nRoot* GetTimeServerObject() const;
    nRoot* GetRemoteServerObject() const;
    nHardRefServer* GetHardRefServer() const { return this->hardRefServer; }
    nRoot* GetRoot() const { return this->root; }

    //--- objects in use every frame ---------------------------------------------
    /// a running holder uses the object every frame: scripts may neither delete nor rename it (or what holds it)
    void AddInUse(nRoot* obj);
    /// the holder no longer uses it (once per AddInUse)
    void RemInUse(nRoot* obj);
    /// the first object in use that obj is or holds, or 0
    nRoot* FindInUse(const nRoot* obj) const;

private:
    /// create the objects of a path; fatal or quiet on failure
    nRoot* CheckCreatePath(const char* className, const char* path, bool fatal);
    /// create a default server when its class is registered
    nRoot* NewDefault(const char* className, const char* path);
    /// publish one statistic
    static void SetMemEnv(const nRef<nRoot>& env, long long value);
    /// release the objects that may still need the default servers when they die
    void ReleaseUserObjects();
    /// remove every class whose reference count is 0, repeatedly; report the rest
    void CleanupClasses();

    static nKernelServer* ks;

    nRef<nRoot> fileServer;
    nRef<nRoot> persistServer;
    nRef<nRoot> timeServer;
    nRef<nRoot> remoteServer;
    nHardRefServer* hardRefServer;
    nHashList classList;
    nRoot* root;
    nRoot* cwd;
    nArray<nRoot*> cwdStack;
    nDefaultLogHandler* defaultLogHandler;
    /// read without the lock by output from any thread
    std::atomic<nLogHandler*> curLogHandler;
    nRef<nRoot> memHighWaterSizeEnv;
    nRef<nRoot> memTotalSizeEnv;
    nRef<nRoot> memTotalCountEnv;
    /// one entry per AddInUse; a dead object's entry is empty
    std::list<nRef<nRoot>> inUse;
    nMutex mutex;
    std::atomic<unsigned> treeGeneration{0};
};
#endif
