#ifndef N_GFXTEXTURE_H
#define N_GFXTEXTURE_H
//------------------------------------------------------------------------------
/**
    The texture types of the platform's graphics device.

    Texture formats carry the numbers of the engine's texture formats, so
    that the engine passes its own values through unchanged. Pixel data
    is laid out as Direct3D kept it in memory (A8R8G8B8 as the bytes B, G,
    R, A; 16-bit formats as little-endian words), row 0 on top; DXT data
    as its 4x4 blocks.
*/
#include <cstddef>

enum class nGfxTexFormat
{
    None = 0,
    X8R8G8B8,
    A8R8G8B8,
    R5G6B5,
    A1R5G5B5,
    A4R4G4B4,
    P8,
    DXT1,
    DXT2,
    DXT3,
    DXT4,
    DXT5,
    R16F,
    G16R16F,
    A16B16G16R16F,
    R32F,
    G32R32F,
    A32B32G32R32F,
    A8,
};

/// what CreateTexture makes
struct nGfxTextureDesc
{
    bool cube = false;
    nGfxTexFormat format = nGfxTexFormat::None;
    int width = 0;
    int height = 0;
    int levels = 1;
    bool renderTarget = false;
};

/// the name of a texture format ("DXT5" ...)
const char* nGfxTexFormatName(nGfxTexFormat f);
/// whether the format is block-compressed
bool nGfxTexFormatIsCompressed(nGfxTexFormat f);
/// the bytes of one level of the format and size (0 for None)
size_t nGfxTexLevelSize(nGfxTexFormat f, int width, int height);
/// the bytes of one row of pixels, or of one row of blocks for DXT
size_t nGfxTexPitch(nGfxTexFormat f, int width);
#endif
