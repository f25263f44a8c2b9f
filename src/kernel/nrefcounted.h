#ifndef N_REFCOUNTED_H
#define N_REFCOUNTED_H
//------------------------------------------------------------------------------
/**
    @class nRefCounted
    @ingroup Kernel

    A plain reference-counted object. A count of 0 means one owner: the
    object deletes itself when that owner releases it. Each AddRef adds
    one more owner who must release it in turn.
*/
#include "kernel/ntypes.h"

class nRefCounted
{
public:
    nRefCounted() = default;
    nRefCounted(const nRefCounted&) = delete;
    nRefCounted& operator=(const nRefCounted&) = delete;

    /// one more owner
    void AddRef() { ++this->refCount; }
    /// one owner less; the last one deletes the object
    void Release();
    /// the count of owners beyond the first
    int GetRefCount() const { return this->refCount; }

protected:
    virtual ~nRefCounted();

    int refCount = 0;
};
#endif
