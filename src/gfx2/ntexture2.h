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
    nTexture2();
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

    /// a number no other texture object of this process has had
    unsigned int GetSerial() const { return this->serial; }
    /// the graphics device's texture object, 0 while there is none
    virtual unsigned int GetDeviceTexture() const { return 0; }

protected:
    /// a loaded resource unloads before it dies
    ~nTexture2() override;

private:
    unsigned int serial;
};
#endif
