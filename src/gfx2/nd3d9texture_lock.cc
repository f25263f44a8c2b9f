//------------------------------------------------------------------------------
//  nd3d9texture_lock.cc -- locking the levels of nD3D9Texture, its surfaces
//  and the mip levels the device fills
//------------------------------------------------------------------------------
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9surface.h"
#include "gfx2/nd3d9server.h"
#include "kernel/nkernelserver.h"

#include <algorithm>

namespace
{

/// the key of a face and level in the lock table
int LockKey(int face, int level)
{
    return face * 16 + level;
}

}  // namespace

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
