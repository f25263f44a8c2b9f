//------------------------------------------------------------------------------
//  npixelconvert.cc
//------------------------------------------------------------------------------
#include "gfx2/npixelconvert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{

/// the bytes one pixel of a convertible format takes
int PixelBytes(nTexture2::Format f)
{
    switch (f)
    {
        case nTexture2::A8: return 1;
        case nTexture2::R5G6B5:
        case nTexture2::A1R5G5B5:
        case nTexture2::A4R4G4B4: return 2;
        case nTexture2::G32R32F: return 8;
        case nTexture2::A32B32G32R32F: return 16;
        default: return 4;
    }
}

/// a channel of 'bits' bits at 'shift' in v, as 0..1
float Field(uint32_t v, int shift, int bits)
{
    const uint32_t max = (1u << bits) - 1u;
    return float((v >> shift) & max) / float(max);
}

/// a 0..1 value as a channel of 'bits' bits at 'shift', rounded
uint32_t Pack(float f, int shift, int bits)
{
    const uint32_t max = (1u << bits) - 1u;
    return uint32_t(std::clamp(f, 0.0f, 1.0f) * float(max) + 0.5f) << shift;
}

}  // namespace

bool nPixelConvert::CanConvert(nTexture2::Format f)
{
    switch (f)
    {
        case nTexture2::X8R8G8B8:
        case nTexture2::A8R8G8B8:
        case nTexture2::R5G6B5:
        case nTexture2::A1R5G5B5:
        case nTexture2::A4R4G4B4:
        case nTexture2::A8:
        case nTexture2::R32F:
        case nTexture2::G32R32F:
        case nTexture2::A32B32G32R32F: return true;
        default: return false;
    }
}

/*
 * Read --
 *     Results: the pixel at p as red, green, blue and alpha.
 */
void nPixelConvert::Read(const unsigned char* p, nTexture2::Format f, float rgba[4])
{
    uint32_t v = 0;
    std::memcpy(&v, p, size_t(std::min(PixelBytes(f), 4)));
    float fl[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    switch (f)
    {
        case nTexture2::X8R8G8B8:
        case nTexture2::A8R8G8B8:
            rgba[0] = Field(v, 16, 8), rgba[1] = Field(v, 8, 8), rgba[2] = Field(v, 0, 8);
            rgba[3] = (nTexture2::A8R8G8B8 == f) ? Field(v, 24, 8) : 1.0f;
            break;
        case nTexture2::R5G6B5:
            rgba[0] = Field(v, 11, 5), rgba[1] = Field(v, 5, 6), rgba[2] = Field(v, 0, 5), rgba[3] = 1.0f;
            break;
        case nTexture2::A1R5G5B5:
            rgba[0] = Field(v, 10, 5), rgba[1] = Field(v, 5, 5), rgba[2] = Field(v, 0, 5), rgba[3] = Field(v, 15, 1);
            break;
        case nTexture2::A4R4G4B4:
            rgba[0] = Field(v, 8, 4), rgba[1] = Field(v, 4, 4), rgba[2] = Field(v, 0, 4), rgba[3] = Field(v, 12, 4);
            break;
        case nTexture2::A8:
            rgba[0] = rgba[1] = rgba[2] = 0.0f;
            rgba[3] = Field(v, 0, 8);
            break;
        default:
            std::memcpy(fl, p, size_t(PixelBytes(f)));
            std::copy(fl, fl + 4, rgba);
            break;
    }
}

/*
 * Write --
 *     Side effects: the pixel at p holds the colour in the format.
 */
void nPixelConvert::Write(unsigned char* p, nTexture2::Format f, const float rgba[4])
{
    uint32_t v = 0;
    switch (f)
    {
        case nTexture2::X8R8G8B8:
        case nTexture2::A8R8G8B8:
            v = Pack(rgba[0], 16, 8) | Pack(rgba[1], 8, 8) | Pack(rgba[2], 0, 8) |
                Pack((nTexture2::A8R8G8B8 == f) ? rgba[3] : 1.0f, 24, 8);
            break;
        case nTexture2::R5G6B5: v = Pack(rgba[0], 11, 5) | Pack(rgba[1], 5, 6) | Pack(rgba[2], 0, 5); break;
        case nTexture2::A1R5G5B5:
            v = Pack(rgba[0], 10, 5) | Pack(rgba[1], 5, 5) | Pack(rgba[2], 0, 5) | Pack(rgba[3], 15, 1);
            break;
        case nTexture2::A4R4G4B4:
            v = Pack(rgba[0], 8, 4) | Pack(rgba[1], 4, 4) | Pack(rgba[2], 0, 4) | Pack(rgba[3], 12, 4);
            break;
        case nTexture2::A8: v = Pack(rgba[3], 0, 8); break;
        default: std::memcpy(p, rgba, size_t(PixelBytes(f))); return;
    }
    std::memcpy(p, &v, size_t(PixelBytes(f)));
}

/*
 * ConvertRow --
 *     Side effects: count pixels from src, in srcFormat, are written to
 *     dst in dstFormat; equal formats are copied as they are.
 */
void nPixelConvert::ConvertRow(const void* src, nTexture2::Format srcFormat, void* dst, nTexture2::Format dstFormat,
                               int count)
{
    n_assert(CanConvert(srcFormat) && CanConvert(dstFormat));
    const int sb = PixelBytes(srcFormat), db = PixelBytes(dstFormat);
    if (srcFormat == dstFormat)
    {
        std::memcpy(dst, src, size_t(count) * size_t(sb));
        return;
    }
    const auto* s = static_cast<const unsigned char*>(src);
    auto* d = static_cast<unsigned char*>(dst);
    for (int i = 0; i < count; i++, s += sb, d += db)
    {
        float rgba[4];
        Read(s, srcFormat, rgba);
        Write(d, dstFormat, rgba);
    }
}
