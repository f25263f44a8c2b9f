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

    A reference to anything but nRoot names the module of its class with
    the path, and takes only an object that is an instance of that class
    (or one derived from it). Scripts and remote clients can put any
    object at any path, so an object of another class is bad data, not a
    programming error: it is logged and the reference stays empty.
*/
#include "kernel/nref.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"
#include "kernel/nclass.h"

#include <type_traits>

template <class TYPE>
class nAutoRef : public nRef<TYPE>
{
public:
    nAutoRef() { static_assert(std::is_same_v<TYPE, nRoot>, "name the module of the class with the path"); }
    /// a reference to the path (not looked up yet) of any tree object
    explicit nAutoRef(const char* path) : name(path)
    {
        static_assert(std::is_same_v<TYPE, nRoot>, "name the module of the class with the path");
    }
    /// a reference to the path (not looked up yet) of an instance of the
    /// class with the module name className (a text that lives as long)
    nAutoRef(const char* path, const char* className) : name(path), className(className) {}

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
            if (obj && this->IsOfClass(obj))
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

private:
    /// true when the object may be cast to TYPE; logs the object otherwise
    bool IsOfClass(nRoot* obj) const
    {
        if (!this->className || obj->IsA(this->className)) return true;
        n_printf("nAutoRef: '%s' is a '%s', not a '%s'\n", this->name, obj->GetClass()->GetName(), this->className);
        return false;
    }

    const char* className = nullptr;
};
#endif
