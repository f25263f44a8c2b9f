//------------------------------------------------------------------------------
//  nsurface.cc
//------------------------------------------------------------------------------
#include "gfx2/nsurface.h"

void nSurface::LoadFromMemory(const void* /*srcPixels*/, nTexture2::Format /*srcFormat*/, int /*width*/,
                              int /*height*/, int /*srcPitch*/)
{
}

void nSurface::Lock(int& pitch, void*& pixels)
{
    pitch = 0;
    pixels = nullptr;
}

void nSurface::Unlock()
{
}
