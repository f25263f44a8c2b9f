#ifndef N_SURFACE_H
#define N_SURFACE_H
//------------------------------------------------------------------------------
/**
    @class nSurface
    @ingroup Gfx2

    A 2-D image level of a texture, written from memory. Made by a
    texture's GetSurfaceLevel; the caller owns it. The base versions do
    nothing.
*/
#include "kernel/nroot.h"
#include "gfx2/ntexture2.h"

class nSurface : public nRoot
{
public:
    nSurface() = default;
    /// replace the whole level by width x height pixels of srcFormat, srcPitch bytes a row
    virtual void LoadFromMemory(const void* srcPixels, nTexture2::Format srcFormat, int width, int height,
                                int srcPitch);
    /// the level's pixels for reading and writing, and its bytes per row
    virtual void Lock(int& pitch, void*& pixels);
    /// give the pixels back (written ones reach the texture)
    virtual void Unlock();

protected:
    ~nSurface() override = default;
};
#endif
