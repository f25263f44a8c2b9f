#ifndef N_OBJECT_H
#define N_OBJECT_H
//------------------------------------------------------------------------------
/**
    @class nObject
    @ingroup Kernel

    Base of every registered class: its class, script-command dispatch,
    saving and cloning through the persistence server, and the signal
    emitter. Objects are made only through the kernel server.
*/
#include "kernel/nreferenced.h"
#include "kernel/nsignalemitter.h"
#include "kernel/nclass.h"

class nKernelServer;
class nPersistServer;
class nCmd;
class nHashList;

class nObject : public nReferenced, public nSignalEmitter
{
public:
    nObject();

    /// write the object's persistent state as commands; the base writes nothing
    virtual bool SaveCmds(nPersistServer* ps);
    /// the instance size of the object's class
    virtual int GetInstanceSize() const;
    /// save the object to a persistence file
    virtual bool SaveAs(const char* name);
    /// make a copy of the object through the persistence server
    virtual nObject* Clone(const char* name);

    nClass* GetClass() const { return this->instanceClass; }
    void SetClass(nClass* cl) { this->instanceClass = cl; }
    /// true when the object's class or a superclass has that module name
    bool IsA(const char* className) const;
    /// true when the object's class or a superclass is the class
    bool IsA(const nClass* cl) const;
    /// true only when the object's class is exactly the class
    bool IsInstanceOf(const nClass* cl) const;

    /// run a command on the object
    bool Dispatch(nCmd* cmd);
    /// append one node per native command of the class chain (caller deletes them)
    void GetCmdProtos(nHashList* cmdList);

    /// the kernel server, set by the module init of nobject
    static nKernelServer* kernelServer;

protected:
    ~nObject() override;

    nClass* instanceClass;
};
#endif
