#ifndef N_REFERENCED_H
#define N_REFERENCED_H
//------------------------------------------------------------------------------
/**
    @class nReferenced
    @ingroup Kernel

    Reference counting, and the list of nRef holders that are cleared when
    the object dies.
*/
#include "kernel/ntypes.h"
#include "util/nlist.h"

class nRefBase;

class nReferenced
{
public:
    nReferenced() = default;
    nReferenced(const nReferenced&) = delete;
    nReferenced& operator=(const nReferenced&) = delete;

    /// one more reference
    void AddRef() { ++this->refCount; }
    /// one reference less; deletes the object at 0 and returns true then
    virtual bool Release();
    /// the reference count
    int GetRefCount() const { return this->refCount; }
    /// register a holder that is cleared when this object dies
    void AddObjectRef(nRefBase* ref);
    /// unregister a holder
    void RemoveObjectRef(nRefBase* ref);

protected:
    virtual ~nReferenced();
    /// clear every holder's target (the object is about to die)
    void InvalidateAllRefs();

    nList refList;
    int refCount = 0;
};

//------------------------------------------------------------------------------
/**
    @class nRefBase
    @ingroup Kernel

    The untyped part of nRef: the node that links the reference into its
    target's holder list, and the target.
*/
class nRefBase : public nNode
{
public:
    nRefBase() = default;
    nRefBase(const nRefBase&) = delete;
    nRefBase& operator=(const nRefBase&) = delete;
    ~nRefBase() { this->invalidate(); }

    /// true while the reference has a target
    bool isvalid_base() const { return this->targetObject != nullptr; }

    /// drop the target (unregisters from it)
    void invalidate()
    {
        if (this->targetObject)
        {
            this->targetObject->RemoveObjectRef(this);
            this->targetObject = nullptr;
        }
    }

protected:
    friend class nReferenced;
    /// make the object the target (null leaves the reference empty)
    void set_base(nReferenced* obj)
    {
        this->invalidate();
        this->targetObject = obj;
        if (obj) obj->AddObjectRef(this);
    }

    nReferenced* targetObject = nullptr;
};
#endif
