//------------------------------------------------------------------------------
//  nd3d9texture.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9surface.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nddsreader.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"

#include <stb_image.h>

#include <algorithm>
#include <vector>
#include <cstring>
#include <memory>

namespace
{

/// the key of a face and level in the lock table
int LockKey(int face, int level)
{
    return face * 16 + level;
}

/// the levels of a full mip chain down to 1x1
int FullChain(int w, int h)
{
    int levels = 1;
    for (int s = std::max(w, h); s > 1; s >>= 1)
    {
        levels++;
    }
    return levels;
}

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

/*
 * ReadWholeFile --
 *     Results: false when the file cannot be opened or read whole; the
 *     bytes otherwise (an empty file gives true and no bytes).
 */
bool ReadWholeFile(const char* name, std::vector<unsigned char>& bytes)
{
    nFile* file = nFileServer2::Instance()->NewFileObject();
    bool ok = file->Open(name, "rb");
    if (ok)
    {
        const int size = file->GetSize();
        bytes.resize(size > 0 ? size_t(size) : 0);
        ok = size >= 0 && (0 == size || file->Read(bytes.data(), size) == size);
        file->Close();
    }
    file->Release();
    return ok;
}

/// whether the file name ends in ".dds", in any case
bool HasDDSExtension(const nString& name)
{
    const char* ext = name.GetExtension();
    return ext && 0 == strcasecmp(ext, "dds");
}

/// whether the bytes begin like a DDS file
bool IsDDS(const std::vector<unsigned char>& bytes)
{
    return bytes.size() >= 4 && 0 == memcmp(bytes.data(), "DDS ", 4);
}


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

/*
 * Refuse --
 *     Results: false.
 *     Side effects: one line naming the file and why it gave no texture;
 *     a texture file is outside data, so its faults end only the load.
 */
bool Refuse(const char* name, const std::string& reason)
{
    n_printf("nD3D9Texture: could not load texture file '%s': %s\n", name, reason.c_str());
    return false;
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

nD3D9Texture::nD3D9Texture() :
    refGfxServer("/sys/servers/gfx", "ngfxserver2")
{
}

/*
 * ~nD3D9Texture --
 *     Side effects: unloads here, while the device calls are still this
 *     class's.
 */
nD3D9Texture::~nD3D9Texture()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

/*
 * GetDevice --
 *     Results: the device of the graphics server when it is the Direct3D
 *     server with its display open, null otherwise.
 */
nGfxDevice* nD3D9Texture::GetDevice()
{
    if (!this->refGfxServer.isvalid())
    {
        return nullptr;
    }
    nD3D9Server* server = dynamic_cast<nD3D9Server*>(this->refGfxServer.get());
    return (server && server->IsDeviceOpen()) ? server->GetDevice() : nullptr;
}

//--- loading ------------------------------------------------------------------------

/*
 * LoadResource --
 *     Results: true when the texture was made: a render target, compound
 *     data, an empty texture (state Empty) or an image file (state Valid).
 *     Without an open device nothing can be made: false with a message.
 */
bool nD3D9Texture::LoadResource()
{
    n_assert(!this->IsLoaded());
    if (!this->GetDevice())
    {
        n_printf("nD3D9Texture: no open graphics device to load '%s'\n", this->GetFilename().Get());
        return false;
    }
    bool ok = false;
    if (this->IsRenderTarget())
    {
        ok = this->CreateRenderTarget();
    }
    else if (this->GetUsage() & CreateFromRawCompoundFile)
    {
        ok = this->LoadFromRawCompoundFile();
    }
    else if (this->GetUsage() & CreateFromDDSCompoundFile)
    {
        ok = this->LoadFromDDSCompoundFile();
    }
    else if (this->GetUsage() & CreateEmpty)
    {
        ok = this->CreateEmptyTexture();
        if (ok)
        {
            this->SetState(Empty);
        }
        return ok;
    }
    else
    {
        ok = this->LoadD3DXFile(!HasDDSExtension(this->GetFilename()));
    }
    if (ok)
    {
        this->SetState(Valid);
    }
    return ok;
}

/*
 * Load --
 *     Results: nResource::Load's.
 *     Side effects: before a background load is queued, notes the device's
 *     size limit, which the loader thread may not ask the device for.
 */
bool nD3D9Texture::Load()
{
    if (this->GetAsyncEnabled() && this->IsUnloaded() && !this->IsPending())
    {
        nGfxDevice* dev = this->GetDevice();
        const int maxSize = dev ? dev->GetMaxTextureSize() : 0;
        this->LockMutex();
        this->readMaxSize = maxSize;
        this->UnlockMutex();
    }
    return nTexture2::Load();
}

/*
 * ReadResource --
 *     Results: true.
 *     Side effects: on the loader thread, an image file (not a render
 *     target, an empty or a compound-file texture) is read and decoded
 *     for UploadResource. A file that does not decode whole leaves
 *     nothing: the upload loads it again and reports as a load at once.
 */
bool nD3D9Texture::ReadResource()
{
    this->readDecoded.reset();
    if (this->readMaxSize > 0 && !this->IsRenderTarget() &&
        !(this->GetUsage() & (CreateFromRawCompoundFile | CreateFromDDSCompoundFile | CreateEmpty)))
    {
        auto decoded = std::make_unique<Decoded>();
        if (DecodeFile(this->GetFilename().Get(), this->readMaxSize, *decoded))
        {
            this->readDecoded = std::move(decoded);
        }
    }
    return true;
}

/*
 * UploadResource --
 *     Results: LoadResource's, on the main thread, from the image decoded
 *     (when the loader thread decoded one).
 *     Side effects: the decoded image is freed.
 */
bool nD3D9Texture::UploadResource()
{
    const std::unique_ptr<Decoded> decoded = std::move(this->readDecoded);
    this->uploading = decoded.get();
    const bool ok = this->LoadResource();
    this->uploading = nullptr;
    return ok;
}

/*
 * DecodeFile --
 *     Results: true with the file's bytes and its DDS images or decoded
 *     pixels in out; false when the file cannot be read, is empty, or does
 *     not parse or decode within maxSize. Nothing is logged.
 */
bool nD3D9Texture::DecodeFile(const char* name, int maxSize, Decoded& out)
{
    out.maxSize = maxSize;
    if (!ReadWholeFile(name, out.bytes) || out.bytes.empty())
    {
        return false;
    }
    out.isDDS = IsDDS(out.bytes);
    bool readable = false;
    std::string error;
    return out.isDDS ? out.dds.Parse(out.bytes.data(), out.bytes.size(), error)
                     : DecodeImage(out.bytes, maxSize, out.image, readable, error);
}

/*
 * CreateDeviceTexture --
 *     Results: false when the device refuses the texture.
 *     Side effects: baseTexture is the new device texture.
 */
bool nD3D9Texture::CreateDeviceTexture(bool renderTarget)
{
    nGfxTextureDesc desc;
    desc.cube = (TEXTURE_CUBE == this->GetType());
    desc.format = nGfxTexFormat(this->GetFormat());
    desc.width = this->GetWidth();
    desc.height = this->GetHeight();
    desc.levels = std::max(1, this->GetNumMipLevels());
    desc.renderTarget = renderTarget;
    this->baseTexture = this->GetDevice()->CreateTexture(desc);
    return this->baseTexture.IsValid();
}

/*
 * CreateRenderTarget --
 *     Results: true when the colour texture and/or depth surface the usage
 *     asks for were made. A colour format the device cannot draw into, or
 *     one the device refuses, is a fatal error.
 */
bool nD3D9Texture::CreateRenderTarget()
{
    n_assert(this->GetWidth() > 0);
    n_assert(this->GetHeight() > 0);
    n_assert(!this->baseTexture);
    n_assert(!this->depthStencilSurface);
    n_assert(this->IsRenderTarget());
    nGfxDevice* dev = this->GetDevice();
    n_assert(dev);
    if (this->GetUsage() & RenderTargetColor)
    {
        switch (this->GetFormat())
        {
            case X8R8G8B8:
            case A8R8G8B8:
            case R16F:
            case G16R16F:
            case A16B16G16R16F:
            case R32F:
            case G32R32F:
            case A32B32G32R32F: break;
            default: n_error("nD3D9Texture: invalid render target pixel format!\n");
        }
        if (!dev->CheckTextureFormat(nGfxTexFormat(this->GetFormat()), true))
        {
            n_error("nD3D9Texture: Could not create render target surface!\n");
        }
        this->SetType(TEXTURE_2D);
        this->SetDepth(1);
        this->SetNumMipLevels(1);
        if (!this->CreateDeviceTexture(true))
        {
            n_printf("CreateTexture() failed in nD3D9Texture::CreateRenderTarget()\n");
            return false;
        }
    }
    if (this->GetUsage() & RenderTargetDepth)
    {
        this->depthStencilSurface = dev->CreateDepthSurface(this->GetWidth(), this->GetHeight());
        if (!this->depthStencilSurface)
        {
            n_printf("CreateDepthStencilSurface() failed\n");
            this->ReleaseDeviceObjects();
            return false;
        }
    }
    return true;
}

/*
 * LoadD3DXFile --
 *     Results: true when the image file loaded; false, with one line
 *     naming the file and the reason, when it cannot be opened, is empty,
 *     is not an image, is cut short, claims a size beyond the device's or
 *     beyond its own bytes, or the device refuses it.
 *     Side effects: type, format, size and mip levels are the image's;
 *     with genMipMaps the full chain is generated.
 */
bool nD3D9Texture::LoadD3DXFile(bool genMipMaps)
{
    n_assert(!this->baseTexture);
    n_assert(this->GetDevice());
    const nString name = this->GetFilename();
    const Decoded* decoded = this->uploading;
    if (decoded && decoded->maxSize == this->GetDevice()->GetMaxTextureSize())
    {
        return decoded->isDDS ? this->UploadDDS(decoded->dds, name.Get())
                              : this->UploadImage(decoded->image, genMipMaps, name.Get());
    }
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(name.Get(), bytes))
    {
        return Refuse(name.Get(), "it does not exist or cannot be read");
    }
    if (bytes.empty())
    {
        return Refuse(name.Get(), "it is empty");
    }
    if (!IsDDS(bytes))
    {
        return this->CreateFromImage(bytes, genMipMaps, name.Get());
    }
    nDDSReader dds;
    std::string error;
    if (!dds.Parse(bytes.data(), bytes.size(), error))
    {
        return Refuse(name.Get(), error);
    }
    return this->UploadDDS(dds, name.Get());
}

/*
 * UploadDDS --
 *     Results: true when the parsed DDS file's texture was made; false,
 *     reported with the file's name, when it is too large for the device
 *     or the device refuses it.
 */
bool nD3D9Texture::UploadDDS(const nDDSReader& dds, const char* name)
{
    std::string error;
    return this->CreateFromDDS(dds, error) || Refuse(name, error);
}

/*
 * DecodeImage --
 *     Results: true with the image in out. False with the reason in error
 *     when the bytes are no image stb_image knows (readable false), or
 *     when the header claims a size beyond maxSize or beyond what the
 *     file's bytes can hold, or the pixels do not decode (readable true).
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

/*
 * CreateFromImage --
 *     Results: see LoadD3DXFile; the decoded image goes to UploadImage.
 */
bool nD3D9Texture::CreateFromImage(const std::vector<unsigned char>& bytes, bool genMipMaps, const char* name)
{
    Image image;
    bool readable = false;
    std::string error;
    if (!DecodeImage(bytes, this->GetDevice()->GetMaxTextureSize(), image, readable, error))
    {
        return Refuse(name, readable ? error : "it is no image (" + error + ")");
    }
    return this->UploadImage(image, genMipMaps, name);
}

/*
 * UploadImage --
 *     Results: true when the decoded image became the texture; false,
 *     reported with the file's name, when the device refuses it. Images with alpha
 *     become A8R8G8B8, the others X8R8G8B8.
 */
bool nD3D9Texture::UploadImage(const Image& image, bool genMipMaps, const char* name)
{
    const int w = image.width;
    const int h = image.height;
    const int comp = image.channels;
    const size_t numPixels = size_t(w) * size_t(h);
    this->SetType(TEXTURE_2D);
    this->SetFormat((2 == comp || 4 == comp) ? A8R8G8B8 : X8R8G8B8);
    this->SetWidth(w);
    this->SetHeight(h);
    this->SetDepth(1);
    this->SetNumMipLevels(genMipMaps ? FullChain(w, h) : 1);
    if (!this->CreateDeviceTexture(false) ||
        !this->GetDevice()->UploadTexture(this->baseTexture, 0, 0, image.pixels.get(), numPixels * 4))
    {
        this->ReleaseDeviceObjects();
        return Refuse(name, "the device refused a " + std::to_string(w) + "x" + std::to_string(h) + " texture");
    }
    // The chain is filtered here rather than by the driver: a software
    // rasteriser compiles its blit shaders at the first mipmap generation of
    // a context, which cost a third of a second of the game's start.
    if (genMipMaps && !this->UploadMipChain(image.pixels.get(), w, h))
    {
        this->ReleaseDeviceObjects();
        return Refuse(name, "the device refused a mip level of a " + std::to_string(w) + "x" + std::to_string(h) +
                                " texture");
    }
    return true;
}

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

/*
 * CreateFromDDS --
 *     Results: false with the reason when the texture is larger than the
 *     device takes or the device refuses it or one of its images (nothing
 *     is left made then).
 *     Side effects: type, format, size and levels are the file's.
 */
bool nD3D9Texture::CreateFromDDS(const nDDSReader& dds, std::string& error)
{
    this->SetType(dds.GetType());
    this->SetFormat(dds.GetFormat());
    this->SetWidth(dds.GetWidth());
    this->SetHeight(dds.GetHeight());
    this->SetDepth(1);
    this->SetNumMipLevels(dds.GetNumMipLevels());
    const int maxSize = this->GetDevice()->GetMaxTextureSize();
    const std::string size = std::to_string(dds.GetWidth()) + "x" + std::to_string(dds.GetHeight());
    if (dds.GetWidth() > maxSize || dds.GetHeight() > maxSize)
    {
        error = "the image is " + size + ", the device takes up to " + std::to_string(maxSize);
        return false;
    }
    if (!this->CreateDeviceTexture(false))
    {
        error = "the device refused a " + size + (TEXTURE_CUBE == dds.GetType() ? " cube" : "") + " texture";
        return false;
    }
    for (const nDDSReader::Image& img : dds.GetImages())
    {
        if (!this->GetDevice()->UploadTexture(this->baseTexture, img.face, img.level, img.data, img.size))
        {
            this->ReleaseDeviceObjects();
            error = "the device refused the image of face " + std::to_string(img.face) + ", level " +
                    std::to_string(img.level);
            return false;
        }
    }
    return true;
}

/*
 * LoadFromRawCompoundFile --
 *     Results: true when width x height pixels were read from the compound
 *     file's data offset into an empty texture; a short read is reported
 *     with the texture's name and leaves nothing made.
 */
bool nD3D9Texture::LoadFromRawCompoundFile()
{
    if (!this->CreateEmptyTexture())
    {
        return false;
    }
    LockInfo lockInfo;
    if (!this->Lock(WriteOnly, 0, lockInfo))
    {
        this->ReleaseDeviceObjects();
        return false;
    }
    const int bytesToRead = this->GetWidth() * this->GetHeight() * this->GetBytesPerPixel();
    n_assert(lockInfo.surfPitch == (this->GetWidth() * this->GetBytesPerPixel()));
    n_assert(this->GetCompoundFile());
    nFile* file = this->GetCompoundFile();
    const bool ok = file->Seek(this->GetCompoundFileDataOffset(), nFile::START) &&
                    file->Read(lockInfo.surfPointer, bytesToRead) == bytesToRead;
    this->Unlock(0);
    if (!ok)
    {
        this->ReleaseDeviceObjects();
        return Refuse(this->GetName(), "the compound file does not hold its " + std::to_string(bytesToRead) +
                                           " bytes of pixels");
    }
    return true;
}

/*
 * LoadFromDDSCompoundFile --
 *     Results: true when the compound file's data is a 2D DDS image that
 *     loaded; a short read or data that is not one is reported with the
 *     texture's name and leaves nothing made.
 */
bool nD3D9Texture::LoadFromDDSCompoundFile()
{
    n_assert(this->GetCompoundFile());
    n_assert(this->GetDevice());
    nFile* file = this->GetCompoundFile();
    const int size = this->GetCompoundFileDataSize();
    std::vector<unsigned char> buffer(size_t(std::max(0, size)));
    const bool readOk = size > 0 && file->Seek(this->GetCompoundFileDataOffset(), nFile::START) &&
                        file->Read(buffer.data(), size) == size;
    nDDSReader dds;
    std::string error;
    if (!readOk)
    {
        return Refuse(this->GetName(), "the compound file does not hold its " + std::to_string(size) + " bytes");
    }
    if (!dds.Parse(buffer.data(), buffer.size(), error))
    {
        return Refuse(this->GetName(), error);
    }
    if (TEXTURE_2D != dds.GetType())
    {
        return Refuse(this->GetName(), "the compound file's image is no 2D texture");
    }
    return this->CreateFromDDS(dds, error) || Refuse(this->GetName(), error);
}

/*
 * CreateEmptyTexture --
 *     Results: true when a one-level texture of the set type, format and
 *     size was made; a texture the device refuses is a fatal error.
 */
bool nD3D9Texture::CreateEmptyTexture()
{
    n_assert(this->GetWidth() > 0);
    n_assert(this->GetHeight() > 0);
    n_assert(this->GetType() != TEXTURE_NOTYPE);
    n_assert(this->GetFormat() != NOFORMAT);
    n_assert(!this->baseTexture);
    n_assert(this->GetDevice());
    this->SetNumMipLevels(1);
    this->SetDepth(1);
    if (TEXTURE_2D == this->GetType())
    {
        if (!this->CreateDeviceTexture(false))
        {
            n_error("nD3D9Texture::CreateEmptyTexture(): Failed to create 2D texture!\n");
        }
    }
    else if (TEXTURE_CUBE == this->GetType())
    {
        n_assert(this->GetWidth() == this->GetHeight());
        if (!this->CreateDeviceTexture(false))
        {
            n_error("nD3D9Texture::CreateEmptyTexture(): Failed to create cube texture!\n");
        }
    }
    else
    {
        n_error("nD3D9Texture::CreateEmptyTexture(): Unsupported texture type (cube texture?!\n");
    }
    return true;
}

//--- unloading, loss ------------------------------------------------------------------

void nD3D9Texture::ReleaseDeviceObjects()
{
    nGfxDevice* dev = this->GetDevice();
    if (dev && this->depthStencilSurface)
    {
        dev->ReleaseDepthSurface(this->depthStencilSurface);
    }
    if (dev && this->baseTexture)
    {
        dev->ReleaseTexture(this->baseTexture);
    }
    this->depthStencilSurface = nGfxDepthSurfaceHandle();
    this->baseTexture = nGfxTextureHandle();
    this->locked.clear();
}

/*
 * UnloadResource --
 *     Side effects: the server stops drawing into this target and drops
 *     it from its texture stages; the device objects are released (a
 *     closed device has dropped them already); state Unloaded.
 */
void nD3D9Texture::UnloadResource()
{
    n_assert(this->IsLoaded());
    if (this->refGfxServer.isvalid())
    {
        nGfxServer2* gfx = this->refGfxServer.get();
        if (this->IsRenderTarget() && gfx->GetRenderTarget() == this && !gfx->InBeginScene())
        {
            gfx->SetRenderTarget(nullptr);
        }
        for (int stage = 0; stage < nGfxServer2::MaxTextureStages; stage++)
        {
            if (gfx->GetTexture(stage) == this)
            {
                gfx->SetTexture(stage, nullptr);
            }
        }
    }
    this->ReleaseDeviceObjects();
    this->readDecoded.reset();
    this->SetState(Unloaded);
}

/*
 * OnLost --
 *     Side effects: render targets and dynamic textures are unloaded and
 *     marked Lost; other textures survive a reset.
 */
void nD3D9Texture::OnLost()
{
    if (this->IsRenderTarget() || (this->GetUsage() & Dynamic))
    {
        if (this->IsLoaded())
        {
            this->UnloadResource();
        }
        this->SetState(Lost);
    }
}

/*
 * OnRestored --
 *     Side effects: render targets and dynamic textures are made again:
 *     Empty for an empty texture, Valid otherwise (Unloaded when the load
 *     fails).
 */
void nD3D9Texture::OnRestored()
{
    if (this->IsRenderTarget() || (this->GetUsage() & Dynamic))
    {
        this->SetState(Unloaded);
        if (this->LoadResource())
        {
            this->SetState((this->GetUsage() & CreateEmpty) ? Empty : Valid);
        }
    }
}

int nD3D9Texture::GetByteSize()
{
    return this->IsValid() ? this->ComputeByteSize() : 0;
}

//--- device objects -----------------------------------------------------------------------

nGfxTextureHandle nD3D9Texture::GetBaseTexture() const
{
    n_assert(this->IsLoaded());
    return this->baseTexture;
}

nGfxTextureHandle nD3D9Texture::GetDeviceTexture() const
{
    return this->IsLoaded() ? this->baseTexture : nGfxTextureHandle();
}

nGfxTextureHandle nD3D9Texture::GetTexture2D() const
{
    n_assert(this->IsLoaded());
    return (TEXTURE_2D == this->GetType()) ? this->baseTexture : nGfxTextureHandle();
}

nGfxTextureHandle nD3D9Texture::GetRenderTargetSurface() const
{
    n_assert(this->IsLoaded());
    return (this->GetUsage() & RenderTargetColor) ? this->baseTexture : nGfxTextureHandle();
}

nGfxDepthSurfaceHandle nD3D9Texture::GetDepthStencilSurface() const
{
    n_assert(this->IsLoaded());
    return this->depthStencilSurface;
}

//--- locking ------------------------------------------------------------------------------

/*
 * LockLevel --
 *     Results: false when the level does not exist, is locked already or
 *     cannot be read from the device; the copy's pointer and pitch (a row
 *     of pixels, or of 4x4 blocks) otherwise.
 */
bool nD3D9Texture::LockLevel(LockType lockType, int face, int level, LockInfo& lockInfo)
{
    nGfxDevice* dev = this->GetDevice();
    if (!dev || !this->baseTexture || level < 0 || level >= std::max(1, this->GetNumMipLevels()) ||
        this->locked.count(LockKey(face, level)))
    {
        return false;
    }
    const nGfxTexFormat f = nGfxTexFormat(this->GetFormat());
    const int w = std::max(1, this->GetWidth() >> level);
    const int h = std::max(1, this->GetHeight() >> level);
    LockedLevel& l = this->locked[LockKey(face, level)];
    l.lockType = lockType;
    l.bytes.resize(nGfxTexLevelSize(f, w, h));
    if (!dev->ReadTexture(this->baseTexture, face, level, l.bytes.data(), l.bytes.size()))
    {
        this->locked.erase(LockKey(face, level));
        return false;
    }
    lockInfo.surfPointer = l.bytes.data();
    lockInfo.surfPitch = int(nGfxTexPitch(f, w));
    return true;
}

/*
 * UnlockLevel --
 *     Side effects: a lock that may have written uploads its copy; the
 *     copy is dropped. Unlocking a level that is not locked does nothing.
 */
void nD3D9Texture::UnlockLevel(int face, int level)
{
    auto it = this->locked.find(LockKey(face, level));
    if (it == this->locked.end())
    {
        n_printf("UnlockRect() on %s failed\n", (TEXTURE_CUBE == this->GetType()) ? "cube surface" : "2d texture");
        return;
    }
    nGfxDevice* dev = this->GetDevice();
    if (dev && it->second.lockType != ReadOnly)
    {
        dev->UploadTexture(this->baseTexture, face, level, it->second.bytes.data(), it->second.bytes.size());
    }
    this->locked.erase(it);
}

bool nD3D9Texture::Lock(LockType lockType, int level, LockInfo& lockInfo)
{
    this->LockMutex();
    n_assert(this->GetType() == TEXTURE_2D);
    n_assert(this->baseTexture);
    const bool ok = this->LockLevel(lockType, 0, level, lockInfo);
    this->UnlockMutex();
    return ok;
}

void nD3D9Texture::Unlock(int level)
{
    this->LockMutex();
    n_assert(this->GetType() == TEXTURE_2D);
    this->UnlockLevel(0, level);
    this->UnlockMutex();
}

bool nD3D9Texture::LockCubeFace(LockType lockType, int face, int level, LockInfo& lockInfo)
{
    this->LockMutex();
    n_assert(this->GetType() == TEXTURE_CUBE);
    n_assert(this->baseTexture);
    const bool ok = (face >= 0 && face < 6) && this->LockLevel(lockType, face, level, lockInfo);
    this->UnlockMutex();
    return ok;
}

void nD3D9Texture::UnlockCubeFace(int face, int level)
{
    this->LockMutex();
    n_assert(this->GetType() == TEXTURE_CUBE);
    this->UnlockLevel(face, level);
    this->UnlockMutex();
}

/*
 * GenerateMipMaps --
 *     Side effects: the device fills the lower levels from level 0.
 */
void nD3D9Texture::GenerateMipMaps()
{
    n_assert(this->baseTexture);
    nGfxDevice* dev = this->GetDevice();
    if (dev)
    {
        dev->GenerateTextureMipMaps(this->baseTexture);
    }
}

/*
 * GetSurfaceLevel --
 *     Side effects: *surface is a new "nd3d9surface" object at objectPath
 *     standing for the level (asserted to be made); the caller owns it.
 */
void nD3D9Texture::GetSurfaceLevel(const char* objectPath, int level, nSurface** surface)
{
    n_assert(this->GetTexture2D());
    n_assert(surface);
    auto* s = static_cast<nD3D9Surface*>(nKernelServer::Instance()->New("nd3d9surface", objectPath));
    *surface = s;
    n_assert(*surface != NULL);
    s->SetBaseSurface(this, level);
}
