#ifndef N_REF_H
#define N_REF_H
//------------------------------------------------------------------------------
/**
    @class nRef
    @ingroup Kernel

    A pointer to an object that is cleared when the object dies. It does
    not add to the object's reference count.
*/
#include "kernel/nreferenced.h"

template <class TYPE>
class nRef : public nRefBase
{
public:
    nRef() = default;
    explicit nRef(TYPE* o)
    {
        n_assert(o);
        this->set_base(o);
    }

    /// make the object the target (null leaves the reference empty)
    void set(TYPE* obj) { this->set_base(obj); }
    /// true while the target is alive
    bool isvalid() const { return this->targetObject != nullptr; }
    /// the target; fatal on an empty reference
    TYPE* get() const
    {
        if (!this->targetObject)
        {
            n_assertfailmsg("this->targetObject", "Null pointer access through nRef!", __FILE__, __LINE__);
        }
        return static_cast<TYPE*>(this->targetObject);
    }
    /// the target or 0, without the fatal check
    TYPE* get_unsafe() const { return static_cast<TYPE*>(this->targetObject); }
    TYPE* operator->() const { return this->get(); }
    nRef& operator=(TYPE* obj)
    {
        this->set(obj);
        return *this;
    }
};
#endif
