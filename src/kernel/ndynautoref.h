#ifndef N_DYNAUTOREF_H
#define N_DYNAUTOREF_H
//------------------------------------------------------------------------------
/**
    @class nDynAutoRef
    @ingroup Kernel

    An nAutoRef that owns a copy of its path, so the path may come from a
    temporary text.
*/
#include "kernel/nautoref.h"
#include "util/nstring.h"

template <class TYPE>
class nDynAutoRef : public nAutoRef<TYPE>
{
public:
    nDynAutoRef() = default;
    /// a reference to a copy of the path
    explicit nDynAutoRef(const char* path) { this->set(path); }
    /// frees the copy
    ~nDynAutoRef() { this->FreeName(); }

    /// forget the target and keep a copy of the path (0 keeps none)
    void set(const char* path)
    {
        this->invalidate();
        this->FreeName();
        this->name = path ? n_strdup(path) : nullptr;
    }
    nDynAutoRef& operator=(const char* path)
    {
        this->set(path);
        return *this;
    }
    nDynAutoRef& operator=(const nString& path)
    {
        this->set(path.Get());
        return *this;
    }

private:
    void FreeName()
    {
        if (this->name)
        {
            n_free(const_cast<char*>(this->name));
            this->name = nullptr;
        }
    }
};
#endif
