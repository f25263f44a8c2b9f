#ifndef N_DDSREADER_H
#define N_DDSREADER_H
//------------------------------------------------------------------------------
/**
    @class nDDSReader
    @ingroup Gfx2

    Reads the header of a DDS file held in memory and finds its images:
    2-D textures and complete cube maps, with or without mip chains, in
    DXT1-DXT5, the uncompressed formats the texture class knows (8888,
    565, 1555, 4444, A8, P8) and the float formats. Every size, count and
    data length is checked against the bytes there are; a file that does
    not fit is refused with a message, never read past its end.

    The images point into the caller's buffer, which must outlive them.
*/
#include "gfx2/ntexture2.h"

#include <cstddef>
#include <string>
#include <vector>

class nDDSReader
{
public:
    /// one mip level of one face
    struct Image
    {
        int face = 0;
        int level = 0;
        int width = 0;
        int height = 0;
        const unsigned char* data = nullptr;
        size_t size = 0;
    };

    /// the largest side accepted
    static const int MaxSize = 16384;

    /*
     * Parse --
     *     Results: true when the buffer holds a DDS file whose header and
     *     data fit; false with the reason in 'error' otherwise.
     */
    bool Parse(const unsigned char* bytes, size_t numBytes, std::string& error);

    nTexture2::Type GetType() const { return this->type; }
    nTexture2::Format GetFormat() const { return this->format; }
    int GetWidth() const { return this->width; }
    int GetHeight() const { return this->height; }
    int GetNumMipLevels() const { return this->numMipLevels; }
    int GetNumFaces() const { return (nTexture2::TEXTURE_CUBE == this->type) ? 6 : 1; }
    /// every level of every face, face by face, largest level first
    const std::vector<Image>& GetImages() const { return this->images; }
    /// the image of a face and level, or null
    const Image* GetImage(int face, int level) const;

    /// whether the format is one of the block-compressed ones
    static bool IsCompressed(nTexture2::Format f);
    /// the bytes one level of the format and size takes
    static size_t LevelSize(nTexture2::Format f, int w, int h);

private:
    bool ParsePixelFormat(const unsigned char* pf, std::string& error);

    nTexture2::Type type = nTexture2::TEXTURE_NOTYPE;
    nTexture2::Format format = nTexture2::NOFORMAT;
    int width = 0;
    int height = 0;
    int numMipLevels = 0;
    std::vector<Image> images;
};
#endif
