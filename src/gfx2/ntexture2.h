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
#include "platform/ngfxhandle.h"

class nFile;
class nSurface;

class nTexture2 : public nResource
{
public:
    nTexture2();
    enum Type : int
    {
        TEXTURE_NOTYPE = 0,
        TEXTURE_2D = 1,
        TEXTURE_3D = 2,
        TEXTURE_CUBE = 3,
    };

    enum Format : int
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

    enum LockType
    {
        ReadOnly = 0,
        WriteOnly = 1,
    };

    /// the face numbers of a cube texture
    enum CubeFace
    {
        PosX = 0,
        NegX = 1,
        PosY = 2,
        NegY = 3,
        PosZ = 4,
        NegZ = 5,
    };

    /// what a successful lock hands out
    struct LockInfo
    {
        void* surfPointer = nullptr;
        int surfPitch = 0;
    };

    /// lock a level of a 2D texture; false when it cannot be locked
    virtual bool Lock(LockType lockType, int level, LockInfo& lockInfo);
    virtual void Unlock(int level);
    /// lock a level of one face of a cube texture
    virtual bool LockCubeFace(LockType lockType, int face, int level, LockInfo& lockInfo);
    virtual void UnlockCubeFace(int face, int level);
    /// make a surface object at objectPath for a level; the caller owns it
    virtual void GetSurfaceLevel(const char* objectPath, int level, nSurface** surface);
    /// fill the lower mip levels from the top one
    virtual void GenerateMipMaps();

    /// the texture type (hides the resource type's accessors of the base)
    void SetType(Type t) { this->textureType = t; }
    Type GetType() const { return this->textureType; }
    void SetFormat(Format f) { this->format = f; }
    Format GetFormat() const { return this->format; }
    void SetUsage(int u) { this->usage = (unsigned short)u; }
    int GetUsage() const { return this->usage; }
    void SetWidth(int w) { this->width = (unsigned short)w; }
    int GetWidth() const { return this->width; }
    void SetHeight(int h) { this->height = (unsigned short)h; }
    int GetHeight() const { return this->height; }
    void SetDepth(int d) { this->depth = (unsigned short)d; }
    int GetDepth() const { return this->depth; }
    void SetNumMipLevels(int n) { this->numMipLevels = (unsigned short)n; }
    int GetNumMipLevels() const { return this->numMipLevels; }
    bool IsRenderTarget() const { return 0 != (this->usage & (RenderTargetColor | RenderTargetDepth | RenderTargetStencil)); }
    /// the open file the compound-file loaders read from (one reference held; null releases)
    void SetCompoundFile(nFile* file);
    nFile* GetCompoundFile() const { return this->compoundFile; }
    void SetCompoundFileData(int offset, int size);
    int GetCompoundFileDataOffset() const { return this->compoundFileDataOffset; }
    int GetCompoundFileDataSize() const { return this->compoundFileDataSize; }
    /// bytes of one pixel; fatal for compressed and invalid formats
    int GetBytesPerPixel() const;

    /// a format by its name ("A8R8G8B8" ...), NOFORMAT for others
    static Format StringToFormat(const char* name);
    /// the name of a format, "NOFORMAT" for values outside the table
    static const char* FormatToString(Format f);
    /// a number no other texture object of this process has had
    unsigned int GetSerial() const { return this->serial; }
    /// the graphics device's texture object, none while there is none
    virtual nGfxTextureHandle GetDeviceTexture() const { return nGfxTextureHandle(); }

protected:
    /// a loaded resource unloads before it dies
    ~nTexture2() override;
    /// the bytes of the texture's data by its type, size, mips and format
    int ComputeByteSize() const;

private:
    Type textureType = TEXTURE_NOTYPE;
    Format format = NOFORMAT;
    unsigned short usage = 0;
    unsigned short width = 0;
    unsigned short height = 0;
    unsigned short depth = 0;
    unsigned short numMipLevels = 0;
    nFile* compoundFile = nullptr;
    int compoundFileDataOffset = 0;
    int compoundFileDataSize = 0;
    unsigned int serial;
};
#endif
