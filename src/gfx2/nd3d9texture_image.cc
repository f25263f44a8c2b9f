//------------------------------------------------------------------------------
//  nd3d9texture_image.cc -- image files decoded for nD3D9Texture through
//  stb_image, their claimed size checked before any pixel memory is taken
//------------------------------------------------------------------------------
#include "gfx2/nd3d9texture.h"

#include <stb_image.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{

/// reads a little-endian value of n bytes; 0 past the end
unsigned long long LoadLE(const std::vector<unsigned char>& b, size_t at, int n)
{
    unsigned long long v = 0;
    for (int i = n - 1; i >= 0; i--)
    {
        v = (v << 8) | ((at + i < b.size()) ? b[at + i] : 0);
    }
    return v;
}

/// stb_image's reason for its last failure; the fallback where it gave
/// none (some of its failures set no reason, or an earlier call's)
std::string FailureReason(const char* fallback)
{
    const char* reason = stbi_failure_reason();
    return (reason && *reason) ? reason : fallback;
}

/// whether the bytes begin with the text
bool StartsWith(const std::vector<unsigned char>& b, const char* text)
{
    const size_t n = strlen(text);
    return b.size() >= n && 0 == memcmp(b.data(), text, n);
}

/*
 * ImageBytesNeeded --
 *     Results: the fewest bytes a file of this kind needs for w x h
 *     pixels: the pixel rows themselves for the uncompressed kinds (BMP,
 *     TGA types 1 to 3, binary PNM); for the compressed kinds the pixels
 *     over the best ratio the coding can reach (JPEG at least a bit per
 *     8x8 block, TGA run length 128 pixels a packet, deflate, LZW and the
 *     other run lengths less than 8 x 1032 pixels a byte).
 */
unsigned long long ImageBytesNeeded(const std::vector<unsigned char>& b, int w, int h, int comp)
{
    const unsigned long long pixels = (unsigned long long)w * (unsigned long long)h;
    if (StartsWith(b, "\x89PNG"))
    {
        return pixels / (8 * 1032);
    }
    if (StartsWith(b, "\xff\xd8"))
    {
        return pixels / 512;
    }
    if (StartsWith(b, "BM"))
    {
        // the bit count sits after 16-bit sizes in the old OS/2 header
        const unsigned long long bits = LoadLE(b, (12 == LoadLE(b, 14, 4)) ? 24 : 28, 2);
        return ((w * bits + 31) / 32) * 4 * (unsigned long long)h;
    }
    if (StartsWith(b, "P5") || StartsWith(b, "P6"))
    {
        return pixels * (unsigned long long)comp;
    }
    const bool otherKind = StartsWith(b, "GIF8") || StartsWith(b, "8BPS") || StartsWith(b, "#?") ||
                           StartsWith(b, "\x53\x80\xf6\x34");
    if (!otherKind && b.size() >= 18)
    {
        const int type = b[2];
        const unsigned long long bytesPerPixel = (b[16] + 7u) / 8u;
        if (type >= 1 && type <= 3)
        {
            return pixels * bytesPerPixel;
        }
        if (type >= 9 && type <= 11)
        {
            return pixels / 128;
        }
    }
    return pixels / (8 * 1032);
}

}  // namespace

/*
 * DecodeImage --
 *     Results: true with the image in out. False with the reason in error
 *     when the bytes are no image stb_image knows (readable false), or
 *     when the header claims a size beyond maxSize, beyond what the
 *     file's bytes can hold or beyond MaxImagePixels, or the pixels do not
 *     decode (readable true).
 *     A size is checked before any pixel memory is taken, so a header of a
 *     few bytes cannot make the decoder allocate and fill gigabytes.
 */
bool nD3D9Texture::DecodeImage(const std::vector<unsigned char>& bytes, int maxSize, Image& out, bool& readable,
                               std::string& error)
{
    int w = 0, h = 0, comp = 0;
    const int len = int(std::min(bytes.size(), size_t(0x7fffffff)));
    readable = stbi_info_from_memory(bytes.data(), len, &w, &h, &comp) != 0;
    if (!readable)
    {
        error = FailureReason("no image stb_image knows");
        return false;
    }
    if (w <= 0 || h <= 0 || w > maxSize || h > maxSize || w > 0xffff || h > 0xffff)
    {
        error = "the image is " + std::to_string(w) + "x" + std::to_string(h) + ", the device takes up to " +
                std::to_string(maxSize);
        return false;
    }
    const unsigned long long needed = ImageBytesNeeded(bytes, w, h, comp);
    if (needed > bytes.size())
    {
        error = "the header claims " + std::to_string(w) + "x" + std::to_string(h) + " pixels, which need " +
                std::to_string(needed) + " bytes; the file has " + std::to_string(bytes.size());
        return false;
    }
    // a file of zeros can declare more pixels than any texture needs and
    // still hold the bytes such a size takes: seconds and gigabytes each
    if ((long long)w * (long long)h > MaxImagePixels)
    {
        error = "the image is " + std::to_string(w) + "x" + std::to_string(h) + ", more than the 4096x4096 (" +
                std::to_string(MaxImagePixels) + ") pixels an image may have";
        return false;
    }
    out.pixels = decltype(out.pixels)(stbi_load_from_memory(bytes.data(), len, &w, &h, &comp, 4), stbi_image_free);
    if (!out.pixels)
    {
        error = "its pixels do not decode (" + FailureReason("no reason given") + ")";
        return false;
    }
    out.width = w;
    out.height = h;
    out.channels = comp;
    unsigned char* p = out.pixels.get();
    const size_t numBytes = size_t(w) * size_t(h) * 4;
    for (size_t i = 0; i < numBytes; i += 4)
    {
        std::swap(p[i], p[i + 2]);
    }
    return true;
}
