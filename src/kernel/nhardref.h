#ifndef N_HARDREF_H
#define N_HARDREF_H
//------------------------------------------------------------------------------
/**
    @class nHardRef
    @ingroup Kernel

    A reference by path to a tree object that may not exist yet. The
    hard-ref server keeps it pending and resolves it when asked; once
    resolved it is a plain nRef and forgets the path.

    nHardRefBase is the untyped part the server works with.
*/
#include "kernel/nref.h"
#include "util/nstrnode.h"
#include "util/nstring.h"

class nKernelServer;
class nRoot;

class nHardRefBase
{
public:
    /// true while the reference has a target
    virtual bool isvalid() const = 0;
    /// the target's full path when resolved, else the pending path
    nString GetName() const;
    /// look the pending path up and take the object (which must exist)
    void Resolve();

protected:
    nHardRefBase();
    ~nHardRefBase();
    nHardRefBase(const nHardRefBase&) = delete;
    nHardRefBase& operator=(const nHardRefBase&) = delete;

    /// the target as a tree object, 0 when empty
    virtual nRoot* GetTargetRoot() const = 0;
    /// make the object the target
    virtual void SetTargetRoot(nRoot* obj) = 0;
    /// leave the pending list and keep the path for a later resolve
    void SetPath(const char* path);

private:
    friend class nHardRefServer;

    /// the kernel the reference resolves with, set when it is registered
    nKernelServer* kernelServer;
    /// the pending path; links the reference into the server's pending list
    nStrNode strNode;
};

template <class TYPE>
class nHardRef : public nRef<TYPE>, public nHardRefBase
{
public:
    nHardRef() = default;

    /// forget the target and keep the path (register it with the hard-ref server)
    void set(const char* path)
    {
        this->invalidate();
        this->SetPath(path);
    }
    nHardRef& operator=(const char* path)
    {
        this->set(path);
        return *this;
    }
    bool isvalid() const override { return this->isvalid_base(); }

protected:
    nRoot* GetTargetRoot() const override { return this->get_unsafe(); }
    void SetTargetRoot(nRoot* obj) override { nRef<TYPE>::set(static_cast<TYPE*>(obj)); }
};
#endif
