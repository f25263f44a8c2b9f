//------------------------------------------------------------------------------
//  nd3d9texture_compound.cc -- nD3D9Texture from a compound file's data: raw
//  pixels into an empty texture, or a DDS image
//------------------------------------------------------------------------------
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nddsreader.h"
#include "kernel/nfile.h"

#include <algorithm>
#include <string>
#include <vector>

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
