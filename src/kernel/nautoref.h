#ifndef N_AUTOREF_H
#define N_AUTOREF_H
//------------------------------------------------------------------------------
/**
    @class nAutoRef
    @ingroup Kernel

    An nRef with a path that is looked up through the kernel the first
    time the reference is used, so a member can name an object that does
    not exist yet. The path is not copied: the text must live as long as
    the reference (a string literal or a member of the holder).
    Once resolved, the reference keeps its object until the object dies
    or the reference is set again; then the path is looked up anew.
*/
#include "kernel/nref.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"

template <class TYPE>
class nAutoRef : public nRef<TYPE>
{
public:
    nAutoRef() = default;
    /// a reference to the path (not looked up yet)
    explicit nAutoRef(const char* path) : name(path) {}

    /// forget the target and keep the path for a later lookup
    void set(const char* path)
    {
        this->invalidate();
        this->name = path;
    }
    nAutoRef& operator=(const char* path)
    {
        this->set(path);
        return *this;
    }
    /// true when there is a target; looks the path up while there is none
    bool isvalid() const
    {
        if (!this->isvalid_base() && this->name)
        {
            nKernelServer* ks = nKernelServer::Instance();
            nRoot* obj = ks ? ks->Lookup(this->name) : nullptr;
            if (obj)
            {
                const_cast<nAutoRef*>(this)->nRef<TYPE>::set(static_cast<TYPE*>(obj));
            }
        }
        return this->isvalid_base();
    }
    /// the target; a path that names no object is fatal
    TYPE* get() const
    {
        if (!this->isvalid())
        {
            n_error("nAutoRef: no target object '%s'!\n", this->name ? this->name : "NOT INITIALIZED");
        }
        return this->get_unsafe();
    }
    TYPE* operator->() const { return this->get(); }

protected:
    const char* name = nullptr;
};
#endif
