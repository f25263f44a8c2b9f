#ifndef N_PIXELCONVERT_H
#define N_PIXELCONVERT_H
//------------------------------------------------------------------------------
/**
    @class nPixelConvert
    @ingroup Gfx2

    Converts pixels between the uncompressed texture formats, as they lie
    in memory (little-endian words: A8R8G8B8 is the bytes B, G, R, A):
    X8R8G8B8, A8R8G8B8, R5G6B5, A1R5G5B5, A4R4G4B4, A8, R32F, G32R32F and
    A32B32G32R32F. A format without a channel reads it as 1 for alpha and
    0 for colour (1 for the float formats' missing colours, as a sampler
    reads them); a format without alpha is written opaque.
*/
#include "gfx2/ntexture2.h"

class nPixelConvert
{
public:
    /// whether pixels of the format can be read and written
    static bool CanConvert(nTexture2::Format format);
    /// convert a row of 'count' pixels; both formats must be convertible
    static void ConvertRow(const void* src, nTexture2::Format srcFormat, void* dst, nTexture2::Format dstFormat,
                           int count);

private:
    static void Read(const unsigned char* p, nTexture2::Format format, float rgba[4]);
    static void Write(unsigned char* p, nTexture2::Format format, const float rgba[4]);
};
#endif
