#ifndef TESTS_GFX2_TEXTUREIMAGES_H
#define TESTS_GFX2_TEXTUREIMAGES_H
//------------------------------------------------------------------------------
//  Test images made in memory: DDS files of any format, size, mip count and
//  face count (each level's bytes from a callback), and PNG, JPEG, TGA and
//  BMP files of a four-quadrant pattern written with stb_image_write.
//------------------------------------------------------------------------------
#include "platform/ngfxtexture.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace teximg
{

inline void Put32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++) s[at + i] = char((v >> (8 * i)) & 0xff);
}

/// the bytes of one level: (face, level, width, height) -> data
using LevelFunc = std::function<std::string(int, int, int, int)>;

/// every byte of a level the same value, face * 16 + level + 1
inline std::string MarkedLevel(nGfxTexFormat f, int face, int level, int w, int h)
{
    return std::string(nGfxTexLevelSize(f, w, h), char(face * 16 + level + 1));
}

/*
 * MakeDDS --
 *     Results: a DDS file of the format with 'mips' levels (0: no mip
 *     count flag) and 1 or 6 faces; level data from 'fill' or marked.
 */
inline std::string MakeDDS(nGfxTexFormat f, int w, int h, int mips, bool cube, LevelFunc fill = nullptr)
{
    std::string s(128, '\0');
    s[0] = 'D'; s[1] = 'D'; s[2] = 'S'; s[3] = ' ';
    Put32(s, 4, 124);
    Put32(s, 8, 0x1007 | (mips ? 0x20000 : 0));
    Put32(s, 12, uint32_t(h));
    Put32(s, 16, uint32_t(w));
    Put32(s, 28, uint32_t(mips));
    Put32(s, 76, 32);
    const char* fourcc[] = {"DXT1", "DXT2", "DXT3", "DXT4", "DXT5"};
    struct Masks { nGfxTexFormat f; uint32_t flags, bits, r, g, b, a; };
    const Masks masks[] = {
        {nGfxTexFormat::A8R8G8B8, 0x41, 32, 0xff0000, 0xff00, 0xff, 0xff000000},
        {nGfxTexFormat::X8R8G8B8, 0x40, 32, 0xff0000, 0xff00, 0xff, 0},
        {nGfxTexFormat::R5G6B5, 0x40, 16, 0xf800, 0x7e0, 0x1f, 0},
        {nGfxTexFormat::A1R5G5B5, 0x41, 16, 0x7c00, 0x3e0, 0x1f, 0x8000},
        {nGfxTexFormat::A4R4G4B4, 0x41, 16, 0xf00, 0xf0, 0xf, 0xf000},
        {nGfxTexFormat::A8, 0x2, 8, 0, 0, 0, 0xff},
        {nGfxTexFormat::P8, 0x20, 8, 0, 0, 0, 0},
    };
    if (nGfxTexFormatIsCompressed(f))
    {
        Put32(s, 80, 0x4);
        const int i = int(f) - int(nGfxTexFormat::DXT1);
        for (int k = 0; k < 4; k++) s[84 + k] = fourcc[i][k];
    }
    else if (f >= nGfxTexFormat::R16F && f <= nGfxTexFormat::A32B32G32R32F)
    {
        Put32(s, 80, 0x4);
        Put32(s, 84, 111 + uint32_t(int(f) - int(nGfxTexFormat::R16F)));
    }
    else
    {
        for (const Masks& m : masks)
        {
            if (m.f != f) continue;
            Put32(s, 80, m.flags);
            Put32(s, 88, m.bits);
            Put32(s, 92, m.r);
            Put32(s, 96, m.g);
            Put32(s, 100, m.b);
            Put32(s, 104, m.a);
        }
    }
    Put32(s, 108, 0x1000 | (mips > 1 ? 0x400008 : 0) | (cube ? 0x8 : 0));
    Put32(s, 112, cube ? 0xFE00 : 0);
    const int levels = std::max(1, mips);
    for (int face = 0; face < (cube ? 6 : 1); face++)
    {
        for (int level = 0; level < levels; level++)
        {
            const int lw = std::max(1, w >> level);
            const int lh = std::max(1, h >> level);
            s += fill ? fill(face, level, lw, lh) : MarkedLevel(f, face, level, lw, lh);
        }
    }
    return s;
}

/// the colour of the pattern's quadrant at x, y of a w x h image, as RGBA
inline void QuadrantColor(int x, int y, int w, int h, unsigned char rgba[4])
{
    static const unsigned char colors[4][4] = {
        {255, 0, 0, 255}, {0, 255, 0, 200}, {0, 0, 255, 128}, {255, 255, 255, 255}};
    const int q = ((y >= h / 2) ? 2 : 0) + ((x >= w / 2) ? 1 : 0);
    std::copy(colors[q], colors[q] + 4, rgba);
}

/// the pattern with 'comp' channels (3 or 4)
inline std::vector<unsigned char> Pattern(int w, int h, int comp)
{
    std::vector<unsigned char> px;
    for (int y = 0; y < h; y++)
    {
        for (int x = 0; x < w; x++)
        {
            unsigned char c[4];
            QuadrantColor(x, y, w, h, c);
            px.insert(px.end(), c, c + comp);
        }
    }
    return px;
}

inline void AppendBytes(void* ctx, void* data, int size)
{
    static_cast<std::string*>(ctx)->append(static_cast<const char*>(data), size_t(size));
}

/// the pattern as an image file of the kind ("png", "jpg", "tga", "bmp")
inline std::string EncodePattern(const std::string& kind, int w, int h, int comp)
{
    const std::vector<unsigned char> px = Pattern(w, h, comp);
    std::string out;
    if ("png" == kind) stbi_write_png_to_func(AppendBytes, &out, w, h, comp, px.data(), w * comp);
    if ("jpg" == kind) stbi_write_jpg_to_func(AppendBytes, &out, w, h, comp, px.data(), 95);
    if ("tga" == kind) stbi_write_tga_to_func(AppendBytes, &out, w, h, comp, px.data());
    if ("bmp" == kind) stbi_write_bmp_to_func(AppendBytes, &out, w, h, comp, px.data());
    return out;
}

}  // namespace teximg
#endif
