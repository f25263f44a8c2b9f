//------------------------------------------------------------------------------
//  nd3d9texture_mips.cc -- the mip chain of nD3D9Texture filtered on the CPU
//------------------------------------------------------------------------------
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9server.h"

#include <algorithm>
#include <vector>

namespace
{

/*
 * HalveImage --
 *     Results: dst (dw x dh, 4 bytes a pixel) is the box-filtered half of
 *     src (w x h); an odd last row or column is averaged with itself.
 */
void HalveImage(const unsigned char* src, int w, int h, unsigned char* dst, int dw, int dh)
{
    for (int y = 0; y < dh; y++)
    {
        const int y0 = std::min(2 * y, h - 1);
        const int y1 = std::min(2 * y + 1, h - 1);
        for (int x = 0; x < dw; x++)
        {
            const int x0 = std::min(2 * x, w - 1);
            const int x1 = std::min(2 * x + 1, w - 1);
            const unsigned char* p[4] = {src + (size_t(y0) * w + x0) * 4, src + (size_t(y0) * w + x1) * 4,
                                         src + (size_t(y1) * w + x0) * 4, src + (size_t(y1) * w + x1) * 4};
            unsigned char* out = dst + (size_t(y) * dw + x) * 4;
            for (int c = 0; c < 4; c++)
            {
                out[c] = (unsigned char)((p[0][c] + p[1][c] + p[2][c] + p[3][c] + 2) / 4);
            }
        }
    }
}

}  // namespace

/*
 * UploadMipChain --
 *     Results: false when the device refuses a level.
 *     Side effects: levels 1 and below of the texture are the successive
 *     halves of the level-0 pixels (w x h, 4 bytes a pixel).
 */
bool nD3D9Texture::UploadMipChain(const unsigned char* pixels, int w, int h)
{
    std::vector<unsigned char> above(pixels, pixels + size_t(w) * size_t(h) * 4);
    std::vector<unsigned char> below;
    const int levels = this->GetNumMipLevels();
    for (int level = 1; level < levels; level++)
    {
        const int lw = std::max(1, w >> 1);
        const int lh = std::max(1, h >> 1);
        below.resize(size_t(lw) * size_t(lh) * 4);
        HalveImage(above.data(), w, h, below.data(), lw, lh);
        if (!this->GetDevice()->UploadTexture(this->baseTexture, 0, level, below.data(), below.size()))
        {
            return false;
        }
        above.swap(below);
        w = lw;
        h = lh;
    }
    return true;
}
