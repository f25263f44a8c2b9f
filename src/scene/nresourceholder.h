#ifndef N_RESOURCEHOLDER_H
#define N_RESOURCEHOLDER_H
//------------------------------------------------------------------------------
/**
    @class nResourceHolder
    @ingroup Scene

    One counted reference of a node to a shared resource, kept in the
    node's arrays of textures and shaders. The reference lives on the heap
    so that the array may copy the holder when it grows, and it notices
    when the resource dies under it (a script may delete a resource pool),
    so the node never touches a dead resource. The owning node calls
    Destroy once, when it dies.
*/
#include "kernel/nref.h"

template <class TYPE>
class nResourceHolder
{
public:
    nResourceHolder() = default;

    /// the resource, or 0 when none is held or it died
    TYPE* get() const { return (this->ref && this->ref->isvalid()) ? this->ref->get_unsafe() : nullptr; }
    /// hold a resource whose reference the caller hands over
    void set(TYPE* res)
    {
        this->release();
        if (!this->ref) this->ref = n_new(nRef<TYPE>);
        this->ref->set(res);
        this->held = (nullptr != res);
    }
    /// whether a held resource died under the holder
    bool died() const { return this->held && !this->get(); }
    /// give the reference back, if the resource still lives
    void release()
    {
        TYPE* res = this->get();
        if (this->ref) this->ref->invalidate();
        if (res) res->Release();
        this->held = false;
    }
    /// release and free the reference (the owner's last call)
    void Destroy()
    {
        this->release();
        n_delete(this->ref);
        this->ref = nullptr;
    }

private:
    nRef<TYPE>* ref = nullptr;
    bool held = false;
};
#endif
