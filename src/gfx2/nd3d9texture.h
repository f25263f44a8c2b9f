#ifndef N_D3D9TEXTURE_H
#define N_D3D9TEXTURE_H
//------------------------------------------------------------------------------
/**
    @class nD3D9Texture
    @ingroup Gfx2

    A texture on the graphics server's device: a render target, raw or
    DDS data inside an open compound file, an empty texture, or an image
    file (PNG, JPEG, TGA, BMP through stb_image, DDS through nDDSReader)
    read through the file server, so that files inside npk archives load.
    Pixels are uploaded on the main thread.

    Image files keep their size: the device takes any size up to its
    limit, so nothing is rounded up to a power of two and the reported
    size is the image's.

    Lock hands out a copy of the level in system memory (read from the
    device); Unlock of a lock that may have written puts it back.

    Files are outside data: one that is missing, no image, cut short or of
    a size the device or the file itself cannot hold is reported in one
    line naming it, and the texture stays unloaded (Load returns false).
    An image whose header claims more pixels than MaxImagePixels is
    refused the same way before it is decoded, whatever the device takes.
*/
#include "gfx2/nddsreader.h"
#include "gfx2/ntexture2.h"
#include "kernel/nautoref.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class nGfxServer2;
class nGfxDevice;
class nDDSReader;

class nD3D9Texture : public nTexture2
{
public:
    /// an image file decoded to 8-bit RGBA in memory order B, G, R, A
    struct Image
    {
        int width = 0;
        int height = 0;
        /// the channels the file holds (2 and 4 carry alpha)
        int channels = 0;
        std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, nullptr};
    };

    /// the most pixels an image file may decode to: 4096 x 4096, the largest
    /// texture the game's data could use (its 32-bit pixels take 64 MB)
    static constexpr long long MaxImagePixels = 4096LL * 4096LL;

    nD3D9Texture();

    /// decode a PNG, JPEG, TGA, BMP (or other stb_image) file no side
    /// longer than maxSize and of no more than MaxImagePixels; false with
    /// the reason, and whether the file could be read at all (else its
    /// size was refused), when it cannot
    static bool DecodeImage(const std::vector<unsigned char>& bytes, int maxSize, Image& out, bool& readable,
                            std::string& error);

    int GetByteSize() override;
    void OnLost() override;
    void OnRestored() override;
    bool Lock(LockType lockType, int level, LockInfo& lockInfo) override;
    void Unlock(int level) override;
    bool LockCubeFace(LockType lockType, int face, int level, LockInfo& lockInfo) override;
    void UnlockCubeFace(int face, int level) override;
    void GenerateMipMaps() override;
    /// a new "nd3d9surface" at objectPath for a level of this 2D texture; the caller owns it
    void GetSurfaceLevel(const char* objectPath, int level, nSurface** surface) override;

    /// the device texture (2D or cube) shaders bind
    nGfxTextureHandle GetBaseTexture() const;
    /// the device texture while loaded, none otherwise
    nGfxTextureHandle GetDeviceTexture() const override;
    /// the device texture of a 2D texture
    nGfxTextureHandle GetTexture2D() const;
    /// the colour surface of a render target (its device texture)
    nGfxTextureHandle GetRenderTargetSurface() const;
    /// the depth surface of a render target
    nGfxDepthSurfaceHandle GetDepthStencilSurface() const;

    /// a texture loads in the background when asked: read there, made on the device here
    bool CanLoadAsync() const override { return true; }
    /// see nResource; a background load first notes the device's size limit for the decode
    bool Load() override;

protected:
    ~nD3D9Texture() override;
    bool LoadResource() override;
    void UnloadResource() override;
    /// on the loader thread: the image file read and decoded (no device call)
    bool ReadResource() override;
    bool HasUpload() const override { return true; }
    /// on the main thread: the texture from the image decoded
    bool UploadResource() override;
    /// whether a background read left a decoded image for the upload
    bool HasDecodedImage() const { return nullptr != this->readDecoded; }

private:
    /// the open device of the graphics server, or null
    nGfxDevice* GetDevice();
    bool CreateRenderTarget();
    bool LoadD3DXFile(bool genMipMaps);
    bool LoadFromRawCompoundFile();
    bool LoadFromDDSCompoundFile();
    bool CreateEmptyTexture();
    /// an image file read and decoded, not yet on the device
    struct Decoded
    {
        /// the file; a DDS file's images point into it
        std::vector<unsigned char> bytes;
        bool isDDS = false;
        nDDSReader dds;
        Image image;
        /// the device's size limit the decode was checked against
        int maxSize = 0;
    };
    /// read and decode the file against maxSize; false, silent, when it does not decode whole
    static bool DecodeFile(const char* name, int maxSize, Decoded& out);
    /// the device's size limit a background read checks against (under the mutex)
    int readMaxSize = 0;
    /// what the loader thread decoded, waiting for UploadResource
    std::unique_ptr<Decoded> readDecoded;
    /// while UploadResource runs: the decoded image it builds from, else null
    const Decoded* uploading = nullptr;
    /// make the device texture and upload every image of a parsed DDS file; false with the reason
    bool CreateFromDDS(const nDDSReader& dds, std::string& error);
    /// CreateFromDDS, a failure reported with the file's name
    bool UploadDDS(const nDDSReader& dds, const char* name);
    /// decode an image with stb_image and upload it, mip chain made when asked
    bool CreateFromImage(const std::vector<unsigned char>& bytes, bool genMipMaps, const char* name);
    /// upload a decoded image, mip chain made when asked
    bool UploadImage(const Image& image, bool genMipMaps, const char* name);
    /// fill the levels below 0 from the level-0 pixels, halving each time
    bool UploadMipChain(const unsigned char* pixels, int w, int h);
    /// make the device texture for the current type, format, size and mip levels
    bool CreateDeviceTexture(bool renderTarget);
    /// the lock of a face and level shared by the 2D and the cube forms
    bool LockLevel(LockType lockType, int face, int level, LockInfo& lockInfo);
    void UnlockLevel(int face, int level);
    /// release every device object; the state is left alone
    void ReleaseDeviceObjects();
    /// false, the file and the reason it gave no texture reported in one line
    static bool Refuse(const char* name, const std::string& reason);

    nAutoRef<nGfxServer2> refGfxServer;
    /// the device texture (the Direct3D base, 2D or cube texture), 0 when none
    nGfxTextureHandle baseTexture;
    nGfxDepthSurfaceHandle depthStencilSurface;
    /// the system-memory copy of each locked level, by face * 16 + level
    struct LockedLevel
    {
        std::vector<unsigned char> bytes;
        LockType lockType = ReadOnly;
    };
    std::map<int, LockedLevel> locked;
};
#endif
