//------------------------------------------------------------------------------
//  nddsreader.cc
//------------------------------------------------------------------------------
#include "gfx2/nddsreader.h"
#include "platform/ngfxtexture.h"

#include <algorithm>
#include <cstdint>

namespace
{

const size_t HeaderSize = 124;
const size_t PixelFormatSize = 32;
/// the magic, then the header
const size_t DataStart = 4 + HeaderSize;

const uint32_t FlagMipMapCount = 0x20000;
const uint32_t PfAlphaPixels = 0x1;
const uint32_t PfAlpha = 0x2;
const uint32_t PfFourCC = 0x4;
const uint32_t PfPaletteIndexed8 = 0x20;
const uint32_t PfRGB = 0x40;
const uint32_t Caps2Cubemap = 0x200;
const uint32_t Caps2AllFaces = 0xFC00;
const uint32_t Caps2Volume = 0x200000;

uint32_t Read32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint32_t FourCC(const char* s)
{
    return Read32(reinterpret_cast<const unsigned char*>(s));
}

/// one uncompressed layout by bit count and masks
struct MaskFormat
{
    uint32_t bits, r, g, b, a;
    nTexture2::Format format;
};

const MaskFormat maskFormats[] = {
    {32, 0xff0000, 0xff00, 0xff, 0xff000000, nTexture2::A8R8G8B8},
    {32, 0xff0000, 0xff00, 0xff, 0, nTexture2::X8R8G8B8},
    {16, 0xf800, 0x7e0, 0x1f, 0, nTexture2::R5G6B5},
    {16, 0x7c00, 0x3e0, 0x1f, 0x8000, nTexture2::A1R5G5B5},
    {16, 0xf00, 0xf0, 0xf, 0xf000, nTexture2::A4R4G4B4},
    {8, 0, 0, 0, 0xff, nTexture2::A8},
};

/// the float formats by the numbers Direct3D stores in the four-character code
struct CodeFormat
{
    uint32_t code;
    nTexture2::Format format;
};

const CodeFormat codeFormats[] = {
    {111, nTexture2::R16F},    {112, nTexture2::G16R16F}, {113, nTexture2::A16B16G16R16F},
    {114, nTexture2::R32F},    {115, nTexture2::G32R32F}, {116, nTexture2::A32B32G32R32F},
};

}  // namespace

bool nDDSReader::IsCompressed(nTexture2::Format f)
{
    return f >= nTexture2::DXT1 && f <= nTexture2::DXT5;
}

size_t nDDSReader::LevelSize(nTexture2::Format f, int w, int h)
{
    return nGfxTexLevelSize(nGfxTexFormat(f), w, h);
}

const nDDSReader::Image* nDDSReader::GetImage(int face, int level) const
{
    for (const Image& img : this->images)
    {
        if (img.face == face && img.level == level)
        {
            return &img;
        }
    }
    return nullptr;
}

/*
 * ParsePixelFormat --
 *     Results: false with the reason for a pixel format the texture class
 *     has no format for; the format is set otherwise.
 */
bool nDDSReader::ParsePixelFormat(const unsigned char* pf, std::string& error)
{
    if (Read32(pf) != PixelFormatSize)
    {
        error = "bad pixel format size";
        return false;
    }
    const uint32_t flags = Read32(pf + 4);
    const uint32_t code = Read32(pf + 8);
    const uint32_t bits = Read32(pf + 12);
    const uint32_t r = Read32(pf + 16), g = Read32(pf + 20), b = Read32(pf + 24), a = Read32(pf + 28);
    if (flags & PfFourCC)
    {
        const char* names[] = {"DXT1", "DXT2", "DXT3", "DXT4", "DXT5"};
        for (int i = 0; i < 5; i++)
        {
            if (code == FourCC(names[i]))
            {
                this->format = nTexture2::Format(nTexture2::DXT1 + i);
                return true;
            }
        }
        for (const CodeFormat& c : codeFormats)
        {
            if (code == c.code)
            {
                this->format = c.format;
                return true;
            }
        }
        error = "unsupported four-character code " + std::to_string(code);
        return false;
    }
    if ((flags & PfPaletteIndexed8) && 8 == bits)
    {
        this->format = nTexture2::P8;
        return true;
    }
    if (flags & (PfRGB | PfAlpha))
    {
        const uint32_t alpha = (flags & (PfAlphaPixels | PfAlpha)) ? a : 0;
        const uint32_t red = (flags & PfRGB) ? r : 0;
        const uint32_t green = (flags & PfRGB) ? g : 0;
        const uint32_t blue = (flags & PfRGB) ? b : 0;
        for (const MaskFormat& m : maskFormats)
        {
            if (m.bits == bits && m.r == red && m.g == green && m.b == blue && m.a == alpha)
            {
                this->format = m.format;
                return true;
            }
        }
    }
    error = "unsupported pixel layout (" + std::to_string(bits) + " bits)";
    return false;
}

/*
 * Parse --
 *     Results: see the header. The mip count must not exceed the full
 *     chain of the size, a cube map must hold all six faces, and every
 *     level of every face must lie inside the buffer; a volume texture
 *     and the extended header are refused.
 *     Side effects: the description and the image list are replaced.
 */
bool nDDSReader::Parse(const unsigned char* bytes, size_t numBytes, std::string& error)
{
    this->images.clear();
    this->type = nTexture2::TEXTURE_NOTYPE;
    this->format = nTexture2::NOFORMAT;
    if (!bytes || numBytes < DataStart)
    {
        error = "file too short for a DDS header";
        return false;
    }
    if (Read32(bytes) != FourCC("DDS "))
    {
        error = "not a DDS file";
        return false;
    }
    const unsigned char* h = bytes + 4;
    if (Read32(h) != HeaderSize)
    {
        error = "bad DDS header size";
        return false;
    }
    const uint32_t flags = Read32(h + 4);
    const uint32_t hgt = Read32(h + 8);
    const uint32_t wid = Read32(h + 12);
    const uint32_t mips = Read32(h + 24);
    const uint32_t caps2 = Read32(h + 108);
    if (0 == wid || 0 == hgt || wid > uint32_t(MaxSize) || hgt > uint32_t(MaxSize))
    {
        error = "bad image size " + std::to_string(wid) + "x" + std::to_string(hgt);
        return false;
    }
    if (caps2 & Caps2Volume)
    {
        error = "volume textures are not supported";
        return false;
    }
    if (!this->ParsePixelFormat(h + 72, error))
    {
        return false;
    }
    if (FourCC("DX10") == Read32(h + 80))
    {
        error = "the extended DDS header is not supported";
        return false;
    }
    int maxLevels = 1;
    for (uint32_t s = (wid > hgt) ? wid : hgt; s > 1; s >>= 1)
    {
        maxLevels++;
    }
    const uint32_t levels = ((flags & FlagMipMapCount) && mips > 0) ? mips : 1;
    if (levels > uint32_t(maxLevels))
    {
        error = "mip count " + std::to_string(levels) + " exceeds the chain of the size";
        return false;
    }
    int faces = 1;
    this->type = nTexture2::TEXTURE_2D;
    if (caps2 & Caps2Cubemap)
    {
        if ((caps2 & Caps2AllFaces) != Caps2AllFaces || wid != hgt)
        {
            error = "cube maps must be square and hold all six faces";
            this->type = nTexture2::TEXTURE_NOTYPE;
            return false;
        }
        faces = 6;
        this->type = nTexture2::TEXTURE_CUBE;
    }
    size_t offset = DataStart;
    for (int face = 0; face < faces; face++)
    {
        for (int level = 0; level < int(levels); level++)
        {
            Image img;
            img.face = face;
            img.level = level;
            img.width = std::max(1, int(wid) >> level);
            img.height = std::max(1, int(hgt) >> level);
            img.size = LevelSize(this->format, img.width, img.height);
            if (img.size > numBytes - offset)
            {
                error = "the data ends inside face " + std::to_string(face) + " level " + std::to_string(level);
                this->images.clear();
                this->type = nTexture2::TEXTURE_NOTYPE;
                return false;
            }
            img.data = bytes + offset;
            offset += img.size;
            this->images.push_back(img);
        }
    }
    this->width = int(wid);
    this->height = int(hgt);
    this->numMipLevels = int(levels);
    return true;
}
