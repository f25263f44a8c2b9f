//------------------------------------------------------------------------------
//  nd3d9texture.cc -- the life of nD3D9Texture: loading as a resource,
//  the device textures and targets it makes, unloading and device loss
//------------------------------------------------------------------------------
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9server.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace
{

/// whether the file name ends in ".dds", in any case
bool HasDDSExtension(const nString& name)
{
    const char* ext = name.GetExtension();
    return ext && 0 == strcasecmp(ext, "dds");
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
