//------------------------------------------------------------------------------
//  nd3d9texture_load.cc -- image files to nD3D9Texture: the file read whole,
//  a DDS file's images or a decoded image uploaded, the mip chain made
//------------------------------------------------------------------------------
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nddsreader.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

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

/// whether the bytes begin like a DDS file
bool IsDDS(const std::vector<unsigned char>& bytes)
{
    return bytes.size() >= 4 && 0 == memcmp(bytes.data(), "DDS ", 4);
}

}  // namespace

/*
 * Refuse --
 *     Results: false.
 *     Side effects: one line naming the file and why it gave no texture;
 *     a texture file is outside data, so its faults end only the load.
 */
bool nD3D9Texture::Refuse(const char* name, const std::string& reason)
{
    n_printf("nD3D9Texture: could not load texture file '%s': %s\n", name, reason.c_str());
    return false;
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
