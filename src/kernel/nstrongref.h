#ifndef N_STRONGREF_H
#define N_STRONGREF_H
//------------------------------------------------------------------------------
/**
    @class nStrongRef
    @ingroup Kernel

    A reference that owns its object: it holds one count of the object's
    reference count from being set until it is reset, set again or
    destroyed. Members that own an object use it; nRef stays for
    observers, which must not keep an object alive.

    set() takes a new count; adopt() takes over the count its caller holds
    already (an object just made by the kernel or a server). A copy holds
    a count of its own, so holders copied by value into arrays keep the
    object as long as one of them lives. Should the object die through
    another owner's release meanwhile, the reference is cleared like an
    nRef and releases nothing.
*/
#include "kernel/nref.h"

template <class TYPE>
class nStrongRef
{
public:
    nStrongRef() = default;
    ~nStrongRef() { this->reset(); }
    nStrongRef(const nStrongRef& rhs) { this->set(rhs.get_unsafe()); }
    nStrongRef& operator=(const nStrongRef& rhs)
    {
        this->set(rhs.get_unsafe());
        return *this;
    }

    /// own the object with a count of its own (null leaves the reference empty)
    void set(TYPE* obj)
    {
        if (obj && obj == this->ref.get_unsafe()) return;
        if (obj) obj->AddRef();
        this->adopt(obj);
    }
    /// own the object with the count the caller holds; the object owned
    /// already keeps the one count it has (the kernel hands back an object
    /// that exists at a path without a new count, and releasing the old
    /// count first would end the object being adopted)
    void adopt(TYPE* obj)
    {
        if (obj && obj == this->ref.get_unsafe()) return;
        this->reset();
        this->ref.set(obj);
    }
    /// release the object, if there is one, and leave the reference empty
    void reset()
    {
        TYPE* obj = this->ref.get_unsafe();
        this->ref.invalidate();
        if (obj) obj->Release();
    }

    /// true while the reference owns a living object
    bool isvalid() const { return this->ref.isvalid(); }
    /// the object; fatal on an empty reference
    TYPE* get() const { return this->ref.get(); }
    /// the object or 0, without the fatal check
    TYPE* get_unsafe() const { return this->ref.get_unsafe(); }
    TYPE* operator->() const { return this->ref.get(); }

private:
    nRef<TYPE> ref;
};
#endif
