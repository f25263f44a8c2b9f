//------------------------------------------------------------------------------
//  ngfxtexture.cc
//------------------------------------------------------------------------------
#include "platform/ngfxtexture.h"

namespace
{

const char* const names[] = {
    "None", "X8R8G8B8", "A8R8G8B8", "R5G6B5", "A1R5G5B5", "A4R4G4B4", "P8",
    "DXT1", "DXT2", "DXT3", "DXT4", "DXT5", "R16F", "G16R16F", "A16B16G16R16F",
    "R32F", "G32R32F", "A32B32G32R32F", "A8",
};

/// bytes per pixel of the uncompressed formats, 0 for the others
size_t PixelBytes(nGfxTexFormat f)
{
    switch (f)
    {
        case nGfxTexFormat::X8R8G8B8:
        case nGfxTexFormat::A8R8G8B8:
        case nGfxTexFormat::G16R16F:
        case nGfxTexFormat::R32F: return 4;
        case nGfxTexFormat::R5G6B5:
        case nGfxTexFormat::A1R5G5B5:
        case nGfxTexFormat::A4R4G4B4:
        case nGfxTexFormat::R16F: return 2;
        case nGfxTexFormat::P8:
        case nGfxTexFormat::A8: return 1;
        case nGfxTexFormat::A16B16G16R16F:
        case nGfxTexFormat::G32R32F: return 8;
        case nGfxTexFormat::A32B32G32R32F: return 16;
        default: return 0;
    }
}

}  // namespace

const char* nGfxTexFormatName(nGfxTexFormat f)
{
    const int i = int(f);
    return (i >= 0 && i < int(sizeof(names) / sizeof(names[0]))) ? names[i] : names[0];
}

bool nGfxTexFormatIsCompressed(nGfxTexFormat f)
{
    return f >= nGfxTexFormat::DXT1 && f <= nGfxTexFormat::DXT5;
}

/*
 * nGfxTexPitch --
 *     Results: the bytes of a row of pixels; for DXT a row of 4x4 blocks
 *     of 8 (DXT1) or 16 bytes.
 */
size_t nGfxTexPitch(nGfxTexFormat f, int width)
{
    if (width <= 0)
    {
        return 0;
    }
    if (nGfxTexFormatIsCompressed(f))
    {
        return size_t((width + 3) / 4) * ((nGfxTexFormat::DXT1 == f) ? 8 : 16);
    }
    return size_t(width) * PixelBytes(f);
}

size_t nGfxTexLevelSize(nGfxTexFormat f, int width, int height)
{
    if (height <= 0)
    {
        return 0;
    }
    const size_t rows = nGfxTexFormatIsCompressed(f) ? size_t((height + 3) / 4) : size_t(height);
    return nGfxTexPitch(f, width) * rows;
}
