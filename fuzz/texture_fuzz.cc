//------------------------------------------------------------------------------
//  texture_fuzz.cc
//
//  Arbitrary bytes as an image file (PNG, JPEG, TGA, BMP and the other
//  kinds stb_image reads) through the texture's decoder, on a device that
//  takes 16384 pixels a side: a refused size must come before any pixel
//  memory, no image may hold more than a texture's bound of pixels, and a
//  decoded image must hold every pixel it claims.
//------------------------------------------------------------------------------
#include "gfx2/nd3d9texture.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    nD3D9Texture::Image image;
    bool readable = false;
    std::string error;
    if (!nD3D9Texture::DecodeImage(bytes, 16384, image, readable, error))
    {
        if (error.empty()) abort();
        return 0;
    }
    if (image.width <= 0 || image.height <= 0 || image.width > 16384 || image.height > 16384 || !image.pixels ||
        (long long)image.width * image.height > nD3D9Texture::MaxImagePixels)
    {
        abort();
    }
    // the last pixel must be inside the decoded block
    const size_t last = (size_t(image.width) * size_t(image.height) - 1) * 4;
    volatile unsigned char sink = image.pixels.get()[last + 3];
    (void)sink;
    return 0;
}
