#ifndef N_RPREF_H
#define N_RPREF_H
//------------------------------------------------------------------------------
/**
    @class nRpRef
    @ingroup RenderPath

    A counted reference to a resource, for the render-path parts that are
    copied by value into arrays: each copy holds one reference of its own
    and releases it when it dies, so a resource lives as long as some copy
    uses it.
*/
#include "kernel/nref.h"

template <class TYPE>
class nRpRef
{
public:
    nRpRef() = default;
    nRpRef(const nRpRef& rhs) { this->share(rhs.get_unsafe()); }
    nRpRef& operator=(const nRpRef& rhs)
    {
        if (this != &rhs)
        {
            TYPE* obj = rhs.get_unsafe();
            if (obj) obj->AddRef();
            this->clear();
            this->ref.set(obj);
        }
        return *this;
    }
    ~nRpRef() { this->clear(); }

    /// take over one reference the caller holds on obj (null empties)
    void adopt(TYPE* obj)
    {
        this->clear();
        this->ref.set(obj);
    }
    /// release the reference held, if any
    void clear()
    {
        TYPE* obj = this->ref.get_unsafe();
        this->ref.invalidate();
        if (obj) obj->Release();
    }
    bool isvalid() const { return this->ref.isvalid(); }
    TYPE* get() const { return this->ref.get(); }
    TYPE* get_unsafe() const { return this->ref.get_unsafe(); }
    TYPE* operator->() const { return this->ref.get(); }

private:
    /// hold one more reference on obj
    void share(TYPE* obj)
    {
        if (obj) obj->AddRef();
        this->ref.set(obj);
    }

    nRef<TYPE> ref;
};
#endif
