#ifndef N_CLASS_H
#define N_CLASS_H
//------------------------------------------------------------------------------
/**
    @class nClass
    @ingroup Kernel

    A registered class: module name, proper name, superclass, instance
    size, its script commands by name and by id, and its signals.
    Made by the kernel server from a module's n_init and n_new functions.
*/
#include "util/nhashnode.h"
#include "util/nhashlist.h"
#include "util/nkeyarray.h"
#include "util/nstring.h"
#include "kernel/nsignalregistry.h"
#include "kernel/ncmdprotonative.h"

class nKernelServer;
class nClass;
class nObject;

typedef bool (*nInitFunc)(nClass* cl, nKernelServer* ks);
typedef void* (*nNewFunc)();

class nClass : public nHashNode
{
public:
    /// registers the module: runs its n_init at once
    nClass(const char* name, nKernelServer* ks, nInitFunc initFunc, nNewFunc newFunc);
    ~nClass();
    nClass(const nClass&) = delete;
    nClass& operator=(const nClass&) = delete;

    /// make an object of this class with reference count 1, unnamed and unlinked
    nObject* NewObject();

    void SetProperName(const char* name) { this->properName = name; }
    const char* GetProperName() const { return this->properName.Get(); }
    void SetInstanceSize(int size) { this->instanceSize = size; }
    int GetInstanceSize() const { return this->instanceSize; }
    nClass* GetSuperClass() const { return this->superClass; }
    nKernelServer* GetKernelServer() const { return this->kernelServer; }

    void AddRef() { ++this->refCount; }
    void RemRef();
    int GetRefCount() const { return this->refCount; }

    /// link a subclass to this class (counts one reference)
    void AddSubClass(nClass* cl);
    /// unlink a subclass
    void RemSubClass(nClass* cl);

    /// true when this class or a superclass has the module name
    bool IsA(const char* className) const;

    /// only one object of this class (and its subclasses) may exist
    void SetSingleton() { this->singleton = true; }
    /// the live objects of this class and its subclasses
    int GetNumObjects() const { return this->numObjects; }
    /// an object of this class dies (called by nObject)
    void ObjectDied();

    //--- script commands -----------------------------------------------------
    void BeginCmds();
    void AddCmd(const char* protoDef, nFourCC id, nCmdProc cmdProc);
    void EndCmds();
    void BeginScriptCmds(int numCmds);
    void AddScriptCmd(nCmdProto* cmdProto);
    void EndScriptCmds() {}

    nCmdProto* FindCmdByName(const char* name) const;
    nCmdProto* FindCmdById(nFourCC id) const;
    nCmdProto* FindNativeCmdByName(const char* name) const;
    nCmdProto* FindScriptCmdByName(const char* name) const;

    /// the commands the class itself declares, or 0
    nHashList* GetCmdList() const { return this->cmdList; }
    /// the signals of the class
    nSignalRegistry& GetSignalRegistry() { return this->signalRegistry; }

private:
    /// the number of commands of this class and its superclasses
    int CountCmds() const;

    nSignalRegistry signalRegistry;
    nKernelServer* kernelServer;
    nClass* superClass;
    nString properName;
    nHashList* cmdList;
    nKeyArray<nCmdProto*>* cmdTable;
    nHashList* scriptCmdList;
    int refCount;
    int instanceSize;
    bool singleton;
    int numObjects;
    nInitFunc n_init_ptr;
    nNewFunc n_new_ptr;
};
#endif
