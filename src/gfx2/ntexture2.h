#ifndef N_TEXTURE2_H
#define N_TEXTURE2_H
//------------------------------------------------------------------------------
/**
    @class nTexture2
    @ingroup Gfx2

    A texture resource: an image, an empty texture its owner fills, or a
    render target.
*/
#include "resource/nresource.h"

class nTexture2 : public nResource
{
public:
    nTexture2() = default;
    enum Type
    {
        TEXTURE_NOTYPE = 0,
        TEXTURE_2D = 1,
        TEXTURE_3D = 2,
        TEXTURE_CUBE = 3,
    };

    enum Format
    {
        NOFORMAT = 0,
        X8R8G8B8 = 1,
        A8R8G8B8 = 2,
        R5G6B5 = 3,
        A1R5G5B5 = 4,
        A4R4G4B4 = 5,
        P8 = 6,
        DXT1 = 7,
        DXT2 = 8,
        DXT3 = 9,
        DXT4 = 10,
        DXT5 = 11,
        R16F = 12,
        G16R16F = 13,
        A16B16G16R16F = 14,
        R32F = 15,
        G32R32F = 16,
        A32B32G32R32F = 17,
        A8 = 18,
    };

    enum Usage
    {
        CreateEmpty = (1 << 0),
        CreateFromRawCompoundFile = (1 << 1),
        CreateFromDDSCompoundFile = (1 << 2),
        RenderTargetColor = (1 << 3),
        RenderTargetDepth = (1 << 4),
        RenderTargetStencil = (1 << 5),
        Dynamic = (1 << 6),
    };

    /// the format of a name ("X8R8G8B8" ...); NOFORMAT with ok false for an unknown name
    static Format StringToFormat(const char* str, bool& ok);

    void SetFormat(Format f) { this->format = f; }
    Format GetFormat() const { return this->format; }
    void SetWidth(ushort w) { this->width = w; }
    ushort GetWidth() const { return this->width; }
    void SetHeight(ushort h) { this->height = h; }
    ushort GetHeight() const { return this->height; }

protected:
    /// a loaded resource unloads before it dies
    ~nTexture2() override;

    Format format = NOFORMAT;
    ushort width = 0;
    ushort height = 0;
};
#endif
