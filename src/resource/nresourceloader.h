#ifndef N_RESOURCELOADER_H
#define N_RESOURCELOADER_H
//------------------------------------------------------------------------------
/**
    @class nResourceLoader
    @ingroup Resource

    A custom loader: a resource whose loader path names an object of this
    class hands its loading to it. The base class loads nothing.
*/
#include "kernel/nroot.h"

class nResource;

class nResourceLoader : public nRoot
{
public:
    nResourceLoader() = default;

    /// fill the resource from the file; true on success (the base: false)
    virtual bool Load(const char* filename, nResource* resource);

protected:
    ~nResourceLoader() override = default;
};
#endif
