//------------------------------------------------------------------------------
//  ntexture2.cc
//------------------------------------------------------------------------------
#include "gfx2/ntexture2.h"
#include "kernel/nfile.h"

#include <atomic>
#include <cstring>

namespace
{

const char* const formatNames[] = {
    "NOFORMAT", "X8R8G8B8", "A8R8G8B8", "R5G6B5", "A1R5G5B5", "A4R4G4B4", "P8",
    "DXT1", "DXT2", "DXT3", "DXT4", "DXT5", "R16F", "G16R16F", "A16B16G16R16F",
    "R32F", "G32R32F", "A32B32G32R32F", "A8",
};
const int numFormats = int(sizeof(formatNames) / sizeof(formatNames[0]));

}  // namespace

/*
 * nTexture2 --
 *     Side effects: takes the next serial, so that shader values can tell
 *     a new texture at a freed texture's address from the old one.
 */
nTexture2::nTexture2()
{
    static std::atomic<unsigned int> nextSerial{1};
    this->serial = nextSerial++;
}

/*
 * ~nTexture2 --
 *     Side effects: unloads a loaded texture and gives back the compound
 *     file.
 */
nTexture2::~nTexture2()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
    this->SetCompoundFile(nullptr);
}

bool nTexture2::Lock(LockType /*lockType*/, int /*level*/, LockInfo& /*lockInfo*/)
{
    return false;
}

void nTexture2::Unlock(int /*level*/)
{
}

bool nTexture2::LockCubeFace(LockType /*lockType*/, int /*face*/, int /*level*/, LockInfo& /*lockInfo*/)
{
    return false;
}

void nTexture2::UnlockCubeFace(int /*face*/, int /*level*/)
{
}

void nTexture2::GetSurfaceLevel(const char* /*objectPath*/, int /*level*/, nSurface** /*surface*/)
{
}

void nTexture2::GenerateMipMaps()
{
}

/*
 * SetCompoundFile --
 *     Side effects: holds one reference to the new file and gives back
 *     the old one's.
 */
void nTexture2::SetCompoundFile(nFile* file)
{
    if (file)
    {
        file->AddRef();
    }
    if (this->compoundFile)
    {
        this->compoundFile->Release();
    }
    this->compoundFile = file;
}

void nTexture2::SetCompoundFileData(int offset, int size)
{
    this->compoundFileDataOffset = offset;
    this->compoundFileDataSize = size;
}

/*
 * GetBytesPerPixel --
 *     Results: the bytes of one pixel of the format; a compressed or
 *     unknown format is a fatal error (the caller asked a question that
 *     has no answer).
 */
int nTexture2::GetBytesPerPixel() const
{
    switch (this->format)
    {
        case X8R8G8B8:
        case A8R8G8B8:
        case G16R16F:
        case R32F: return 4;
        case R5G6B5:
        case A1R5G5B5:
        case A4R4G4B4:
        case R16F: return 2;
        case P8:
        case A8: return 1;
        case A16B16G16R16F:
        case G32R32F: return 8;
        case A32B32G32R32F: return 16;
        case DXT1:
        case DXT2:
        case DXT3:
        case DXT4:
        case DXT5: n_error("nTexture2::GetBytesPerPixel(): compressed pixel format!");
        default: n_error("nTexture2::GetBytesPerPixel(): invalid pixel format!");
    }
}

/*
 * ComputeByteSize --
 *     Results: width x height (x depth for 3D, x 6 for cube), one third
 *     more for a 2D or cube mip chain and one seventh more for a 3D one,
 *     times the format's bytes (half a byte for DXT1, one byte for the
 *     other compressed formats, 0 outside the table).
 */
int nTexture2::ComputeByteSize() const
{
    long long size = (long long)this->width * this->height;
    if (TEXTURE_3D == this->textureType)
    {
        size *= this->depth;
    }
    else if (TEXTURE_CUBE == this->textureType)
    {
        size *= 6;
    }
    if (this->numMipLevels > 1)
    {
        size += size / ((TEXTURE_3D == this->textureType) ? 7 : 3);
    }
    switch (this->format)
    {
        case X8R8G8B8:
        case A8R8G8B8:
        case G16R16F:
        case R32F: size *= 4; break;
        case R5G6B5:
        case A1R5G5B5:
        case A4R4G4B4:
        case R16F: size *= 2; break;
        case DXT1: size /= 2; break;
        case A16B16G16R16F:
        case G32R32F: size *= 8; break;
        case A32B32G32R32F: size *= 16; break;
        default:
            if (this->format < X8R8G8B8 || this->format > A8)
            {
                size = 0;
            }
            break;
    }
    return (size > 0x7fffffff) ? 0x7fffffff : int(size);
}

nTexture2::Format nTexture2::StringToFormat(const char* name)
{
    for (int i = 1; name && i < numFormats; i++)
    {
        if (0 == strcmp(name, formatNames[i]))
        {
            return Format(i);
        }
    }
    return NOFORMAT;
}

const char* nTexture2::FormatToString(Format f)
{
    return (f >= 0 && f < numFormats) ? formatNames[f] : formatNames[0];
}
