#ifndef TESTS_SCREENSHOTIMAGE_H
#define TESTS_SCREENSHOTIMAGE_H
//------------------------------------------------------------------------------
//  A screenshot read back for the graphics tests' pixel checks: RGBA, row 0
//  at the top. Only programs that link the graphics area (which carries the
//  image reader) may include it.
//------------------------------------------------------------------------------
#include <stb_image.h>

#include <string>
#include <vector>

/// an RGBA image read back from a screenshot file
struct ScreenshotImage
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    const unsigned char* At(int x, int y) const { return &this->pixels[(size_t(y) * size_t(this->width) + size_t(x)) * 4]; }
};

/// the image of the file, empty (size 0) when it does not read
inline ScreenshotImage ReadScreenshot(const std::string& path)
{
    ScreenshotImage img;
    int comp = 0;
    unsigned char* data = stbi_load(path.c_str(), &img.width, &img.height, &comp, 4);
    if (!data) return img;
    img.pixels.assign(data, data + size_t(img.width) * size_t(img.height) * 4);
    stbi_image_free(data);
    return img;
}
#endif
