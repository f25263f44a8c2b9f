//------------------------------------------------------------------------------
//  nd3d9surface.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9surface.h"
#include "gfx2/nd3d9texture.h"
#include "gfx2/npixelconvert.h"

#include <algorithm>
#include <cstring>

nD3D9Surface::~nD3D9Surface()
{
    if (this->baseSurface)
    {
        this->baseSurface->Release();
        this->baseSurface = nullptr;
    }
}

void nD3D9Surface::SetBaseSurface(nD3D9Texture* texture, int lvl)
{
    n_assert(texture);
    texture->AddRef();
    if (this->baseSurface)
    {
        this->baseSurface->Release();
    }
    this->baseSurface = texture;
    this->level = lvl;
}

/*
 * LoadFromMemory --
 *     Side effects: the rows of the source (its own pitch) replace the
 *     level's pixels from the top left, converted to the level's format
 *     when the source has another uncompressed one. A source larger than
 *     the level, a format pair that cannot be converted, or a level that
 *     cannot be locked is the fatal failure of the load.
 */
void nD3D9Surface::LoadFromMemory(const void* srcPixels, nTexture2::Format srcFormat, int width, int height,
                                  int srcPitch)
{
    n_assert(this->baseSurface != NULL);
    nD3D9Texture* tex = this->baseSurface;
    const nTexture2::Format dstFormat = tex->GetFormat();
    const int levelWidth = std::max(1, tex->GetWidth() >> this->level);
    const int levelHeight = std::max(1, tex->GetHeight() >> this->level);
    const bool convertible =
        srcFormat == dstFormat || (nPixelConvert::CanConvert(srcFormat) && nPixelConvert::CanConvert(dstFormat));
    nTexture2::LockInfo info;
    const bool ok = srcPixels && convertible && width > 0 && height > 0 && width <= levelWidth &&
                    height <= levelHeight && tex->Lock(nTexture2::WriteOnly, this->level, info);
    if (!ok)
    {
        n_printf("nD3D9Surface::LoadFromMemory: D3DXLoadSurfaceFromMemory failed.\n");
        n_assertfail("SUCCEEDED(hr)", __FILE__, __LINE__);
    }
    const int rowBytes = width * tex->GetBytesPerPixel();
    for (int y = 0; y < height; y++)
    {
        unsigned char* dst = static_cast<unsigned char*>(info.surfPointer) + (size_t)y * info.surfPitch;
        const unsigned char* src = static_cast<const unsigned char*>(srcPixels) + (size_t)y * srcPitch;
        if (srcFormat == dstFormat)
        {
            memcpy(dst, src, (size_t)std::min(rowBytes, srcPitch));
        }
        else
        {
            nPixelConvert::ConvertRow(src, srcFormat, dst, dstFormat, width);
        }
    }
    tex->Unlock(this->level);
}

void nD3D9Surface::Lock(int& pitch, void*& pixels)
{
    n_assert(this->baseSurface != NULL);
    nTexture2::LockInfo info;
    if (!this->baseSurface->Lock(nTexture2::WriteOnly, this->level, info))
    {
        n_assertfail("SUCCEEDED(hr)", __FILE__, __LINE__);
    }
    pitch = info.surfPitch;
    pixels = info.surfPointer;
}

void nD3D9Surface::Unlock()
{
    n_assert(this->baseSurface != NULL);
    this->baseSurface->Unlock(this->level);
}
