//------------------------------------------------------------------------------
//  nd3d9server.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9server.h"
#include "gfx2/nmesh2.h"
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9text.h"
#include "resource/nresourceserver.h"

#include <algorithm>
#include <string>

namespace
{

/// one row of the buffer format table, tried in order
struct FormatRow
{
    nGfxFormat display;
    nGfxFormat back;
    nGfxFormat depth;
};

const FormatRow formatTable[] = {
    {nGfxFormat::X8R8G8B8, nGfxFormat::X8R8G8B8, nGfxFormat::D24S8},
    {nGfxFormat::X8R8G8B8, nGfxFormat::X8R8G8B8, nGfxFormat::D24X4S4},
    {nGfxFormat::X8R8G8B8, nGfxFormat::X8R8G8B8, nGfxFormat::D24X8},
    {nGfxFormat::X8R8G8B8, nGfxFormat::X8R8G8B8, nGfxFormat::D16},
    {nGfxFormat::R5G6B5, nGfxFormat::R5G6B5, nGfxFormat::D16},
};

/// the resource types that live on the device
const int deviceResourceMask = nResource::Mesh | nResource::Texture | nResource::Shader | nResource::Font;

/// the largest back-buffer side; the script command clamps to the same
const int MaxBackBufferSize = 16384;

}  // namespace

/*
 * nD3D9Server --
 *     Side effects: makes the OpenGL device (no context yet) and detects
 *     the feature set; no window is made.
 */
nD3D9Server::nD3D9Server() :
    osVersion(2),
    windowHandler(this),
    deviceBehaviourFlags(0),
    featureSet(InvalidFeatureSet),
    deviceSurfacesValid(false),
    device(nNewGLDevice()),
    text(std::make_unique<nD3D9Text>(this))
{
    this->UpdateFeatureSet();
}

/*
 * ~nD3D9Server --
 *     Side effects: closes the display if it is open, releases the device
 *     and closes the window.
 */
nD3D9Server::~nD3D9Server()
{
    if (this->displayOpen)
    {
        this->CloseDisplay();
    }
    n_assert(0 == this->GetNumTextNodes());
    this->OnTextDeviceLost();
    this->device.reset();
    if (this->windowHandler.IsWindowOpen())
    {
        this->windowHandler.CloseWindow();
    }
    this->refDefaultFont.reset();
    this->ReleaseShapeMeshes();
    this->refShapeShader.reset();
    this->refSharedShader.reset();
}

/*
 * SetDevice --
 *     Side effects: the new device replaces the old one, whose display
 *     must be closed, and the services replace the old stand-ins (none:
 *     the window's own serve); the feature set is detected again.
 */
void nD3D9Server::SetDevice(std::unique_ptr<nGfxDevice> dev, std::unique_ptr<nWindowServices> services)
{
    n_assert(!this->displayOpen);
    n_assert(dev);
    this->device = std::move(dev);
    this->windowServices = std::move(services);
    this->UpdateFeatureSet();
}

nWindowServices* nD3D9Server::GetWindowServices() const
{
    return this->windowServices ? this->windowServices.get() : this->windowHandler.GetWindowServices();
}

/*
 * UpdateFeatureSet --
 *     Side effects: the feature set from the device's vertex program model
 *     and its depth and float formats; prints it.
 */
void nD3D9Server::UpdateFeatureSet()
{
    this->devCaps = this->device->GetCaps();
    const int v = this->devCaps.vertexShaderVersion;
    if (v < 0x0101)
    {
        this->featureSet = DX7;
    }
    else if (v < 0x0200)
    {
        this->featureSet = this->device->CheckDepthFormat(nGfxFormat::X8R8G8B8, nGfxFormat::D24S8) ? DX8SB : DX8;
    }
    else
    {
        this->featureSet = this->device->CheckTextureFormat(nGfxTexFormat::A16B16G16R16F, true) ? DX9FLT : DX9;
    }
    n_printf("nD3D9Server detected feature set '%s' (pre-override)\n", FeatureSetToString(this->featureSet));
}

//--- formats ----------------------------------------------------------------------

bool nD3D9Server::CheckFormats(nGfxFormat dispFormat, nGfxFormat backFormat, nGfxFormat depthFormat) const
{
    return this->device->CheckDepthFormat(dispFormat, depthFormat) &&
           this->device->CheckDepthStencilMatch(dispFormat, backFormat, depthFormat);
}

/*
 * FindBufferFormats --
 *     Results: the display, back-buffer and depth formats of the first row
 *     that passes. Full screen walks the table (with bppAll 0 only rows of
 *     16 bits or less); windowed keeps the desktop's format and walks the
 *     depth formats. No row passing is a fatal error.
 */
void nD3D9Server::FindBufferFormats(int bppAll, nGfxFormat& dispFormat, nGfxFormat& backFormat,
                                    nGfxFormat& depthFormat)
{
    if (nDisplayMode2::Fullscreen == this->GetDisplayMode().GetType())
    {
        for (const FormatRow& row : formatTable)
        {
            dispFormat = row.display;
            backFormat = row.back;
            depthFormat = row.depth;
            if (0 == bppAll && nGfxFormatBits(row.display) > 16)
            {
                continue;
            }
            if (this->CheckFormats(dispFormat, backFormat, depthFormat))
            {
                return;
            }
        }
    }
    else
    {
        dispFormat = this->device->GetDesktopFormat();
        const bool trueColor = nGfxFormat::R8G8B8 == dispFormat || nGfxFormat::A8R8G8B8 == dispFormat ||
                               nGfxFormat::X8R8G8B8 == dispFormat;
        backFormat = trueColor ? nGfxFormat::X8R8G8B8 : dispFormat;
        for (const FormatRow& row : formatTable)
        {
            depthFormat = row.depth;
            if (this->CheckFormats(dispFormat, backFormat, depthFormat))
            {
                return;
            }
        }
    }
    n_error("nD3D9Server: No valid Direct3D display format found!\n");
}

/*
 * FillPresentParams --
 *     Side effects: presentParams from the display mode (its size clamped
 *     to 1..16384, so that no mode makes an empty or giant back buffer)
 *     and the formats.
 */
void nD3D9Server::FillPresentParams(nGfxFormat backFormat, nGfxFormat depthFormat)
{
    const nDisplayMode2& mode = this->GetDisplayMode();
    nGfxPresentParams& p = this->presentParams;
    p.width = std::clamp((int)mode.GetWidth(), 1, MaxBackBufferSize);
    p.height = std::clamp((int)mode.GetHeight(), 1, MaxBackBufferSize);
    p.backBufferFormat = backFormat;
    p.depthStencilFormat = depthFormat;
    p.windowed = (nDisplayMode2::Fullscreen != mode.GetType());
    p.vsync = mode.GetVerticalSync();
    p.lockableBackBuffer = mode.GetDialogBoxMode();
}

//--- device life --------------------------------------------------------------------

/*
 * DeviceOpen --
 *     Results: true (a device that cannot be made is a fatal error that
 *     carries the reason).
 *     Side effects: formats, vertex processing and present parameters;
 *     the device opens on the window; resources are loaded; the window is
 *     shown at the display mode's place and size.
 */
bool nD3D9Server::DeviceOpen()
{
    n_assert(this->device);
    n_assert(!this->device->IsOpen());
    n_assert(this->windowHandler.IsWindowOpen());
    n_assert(this->windowHandler.IsWindowMinimized());
    n_assert(!this->inBeginScene);
    n_assert(!this->deviceSurfacesValid);
    n_printf("nD3D9Server::DeviceOpen()\n");

    this->windowHandler.AdjustWindowStyle();
    nGfxFormat dispFormat, backFormat, depthFormat;
    this->FindBufferFormats(this->GetDisplayMode().GetBpp(), dispFormat, backFormat, depthFormat);

    this->deviceBehaviourFlags = FpuPreserve | Multithreaded;
    if (!this->devCaps.hardwareTransformAndLight)
    {
        this->deviceBehaviourFlags |= SoftwareVertexProcessing;
        n_printf("nD3D9Server: using software vertex processing\n");
    }
    else if (this->GetFeatureSet() < DX9)
    {
        this->deviceBehaviourFlags |= MixedVertexProcessing;
        n_printf("nD3D9Server: using mixed vertex processing\n");
    }
    else
    {
        this->deviceBehaviourFlags |= HardwareVertexProcessing;
        n_printf("nD3D9Server: using hardware vertex processing\n");
        if (this->devCaps.pureDevice)
        {
            this->deviceBehaviourFlags |= PureDevice;
        }
    }

    this->FillPresentParams(backFormat, depthFormat);
    std::string error;
    if (!this->device->Open(&this->windowHandler.GetPlatformWindow(), this->presentParams, error))
    {
        n_error("nD3D9Server: Could not create d3d device!\nDirectX Error is: %s\n", error.c_str());
    }
    // The effect pool, the line drawer and the five shape meshes are made
    // here once their classes exist on the device.

    this->OnRestoreDevice(true);
    this->InitDeviceState();
    this->windowHandler.RestoreWindow();
    return true;
}

/*
 * DeviceClose --
 *     Side effects: unloads the device's resources, closes the device and
 *     minimises the window.
 */
void nD3D9Server::DeviceClose()
{
    n_assert(this->device && this->device->IsOpen());
    n_assert(this->windowHandler.IsWindowOpen());
    n_assert(this->windowHandler.GetHwnd());
    n_printf("nD3D9Server::DeviceClose()\n");
    if (this->GetMesh()) this->SetMesh(nullptr);
    if (this->GetMeshArray()) this->SetMeshArray(nullptr);
    this->ReleaseShapeMeshes();
    this->OnDeviceLost(true);
    this->device->Close();
    this->windowHandler.MinimizeWindow();
}

/*
 * OnRestoreDevice --
 *     Side effects: takes the device's surfaces; loads (load true) or
 *     restores the shared resources; makes the default font current and
 *     loads the "shape" and "shared" shaders, once the graphics server can
 *     make fonts and shaders (until then the factories make none and
 *     these steps are skipped); marks the cursor for an update; sets the
 *     camera again.
 */
void nD3D9Server::OnRestoreDevice(bool load)
{
    n_assert(!this->refSharedShader.isvalid());
    n_assert(!this->deviceSurfacesValid);
    this->deviceSurfacesValid = true;

    if (this->refResourceServer.isvalid())
    {
        if (load)
        {
            this->refResourceServer->LoadResources(deviceResourceMask);
        }
        else
        {
            this->refResourceServer->OnRestored(deviceResourceMask);
        }
    }

    if (!this->refDefaultFont.isvalid())
    {
        nFontDesc fontDesc;
        fontDesc.typeFace = "Arial";
        fontDesc.height = 16;
        fontDesc.weight = nFontDesc::WeightBold;
        fontDesc.antiAliased = true;
        nFont2* font = this->NewFont("Default", fontDesc);
        if (font)
        {
            if (!font->IsLoaded() && !font->Load())
            {
                n_error("nD3D9Server: Failed to load default font!");
            }
            this->refDefaultFont.adopt(font);
        }
    }
    if (this->refDefaultFont.isvalid())
    {
        this->SetFont(this->refDefaultFont.get());
    }

    this->cursorDirty = true;

    nShader2* shape = this->NewShader("shape");
    if (shape)
    {
        if (!shape->IsValid())
        {
            shape->SetFilename("shaders:shape.fx");
            shape->Load();
        }
        this->refShapeShader.adopt(shape);
    }
    nShader2* shared = this->NewShader("shared");
    if (shared)
    {
        if (!shared->IsValid())
        {
            shared->SetFilename("shaders:shared.fx");
            shared->Load();
        }
        this->refSharedShader.adopt(shared);
    }
    this->SetCamera(this->camera);
}

/*
 * OnDeviceLost --
 *     Side effects: unloads (unload true) or marks lost the shared
 *     resources; gives back the two server shaders and the device's
 *     surfaces.
 */
void nD3D9Server::OnDeviceLost(bool unload)
{
    if (this->refResourceServer.isvalid())
    {
        if (unload)
        {
            this->refResourceServer->UnloadResources(deviceResourceMask);
        }
        else
        {
            this->refResourceServer->OnLost(deviceResourceMask);
        }
    }
    this->refShapeShader.reset();
    this->refSharedShader.reset();
    this->OnTextDeviceLost();
    this->deviceSurfacesValid = false;
}

/*
 * InitDeviceState --
 *     Side effects: the server's viewport is the device's (the whole back
 *     buffer); the camera's projection is set again; the caps are read
 *     again; faces wound clockwise on the screen are culled, so the
 *     engine's counter-clockwise front faces show under an effect that
 *     sets no cull mode of its own.
 */
void nD3D9Server::InitDeviceState()
{
    n_assert(this->device && this->device->IsOpen());
    int x, y, w, h;
    float minZ, maxZ;
    this->device->GetViewport(x, y, w, h, minZ, maxZ);
    this->viewport = nViewport((float)x, (float)y, (float)w, (float)h, minZ, maxZ);
    this->SetCamera(this->camera);
    this->devCaps = this->device->GetCaps();
    this->device->SetRenderState(nGfxRS::CullMode, nGfxRS::CullCW);
}

/*
 * TestResetDevice --
 *     Results: true when the device can draw. A device that can be reset
 *     is: its resources are marked lost, the formats found again, the
 *     device reset and everything restored (false when the reset fails).
 *     A device still lost gives false, so the frame is skipped.
 */
bool nD3D9Server::TestResetDevice()
{
    n_assert(this->device && this->device->IsOpen());
    switch (this->device->TestCooperativeLevel())
    {
        case nGfxDeviceState::Ok:
            return true;
        case nGfxDeviceState::NotReset:
        {
            if (this->deviceSurfacesValid)
            {
                this->OnDeviceLost(false);
            }
            nGfxFormat dispFormat, backFormat, depthFormat;
            this->FindBufferFormats(this->GetDisplayMode().GetBpp(), dispFormat, backFormat, depthFormat);
            this->FillPresentParams(backFormat, depthFormat);
            if (!this->device->Reset(this->presentParams))
            {
                n_printf("nD3D9Server: Failed to reset d3d device!\n");
                return false;
            }
            n_printf("nD3D9Server: Device reset!\n");
            this->OnRestoreDevice(false);
            this->InitDeviceState();
            return true;
        }
        default:
            return false;
    }
}

//--- display ------------------------------------------------------------------------

/*
 * OpenDisplay --
 *     Results: true when the display opened.
 *     Side effects: opens the window if needed (an OpenGL window for the
 *     OpenGL device), the device, and shows one black frame.
 */
bool nD3D9Server::OpenDisplay()
{
    n_assert(!this->displayOpen);
    if (!this->windowHandler.IsWindowOpen())
    {
        this->windowHandler.SetOpenGLWindow(this->device->NeedsGLWindow());
        this->windowHandler.OpenWindow();
    }
    if (!this->DeviceOpen())
    {
        return false;
    }
    nGfxServer2::OpenDisplay();
    if (this->BeginScene())
    {
        this->Clear(AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        this->EndScene();
        this->PresentScene();
    }
    return true;
}

void nD3D9Server::CloseDisplay()
{
    n_assert(this->displayOpen);
    this->DeviceClose();
    nGfxServer2::CloseDisplay();
}

bool nD3D9Server::Trigger()
{
    return this->windowHandler.Trigger();
}

void nD3D9Server::SetDisplayMode(const nDisplayMode2& mode)
{
    this->windowHandler.SetDisplayMode(mode);
}

const nDisplayMode2& nD3D9Server::GetDisplayMode() const
{
    return this->windowHandler.GetDisplayMode();
}

void nD3D9Server::SetWindowTitle(const char* title)
{
    this->windowHandler.SetWindowTitle(title);
}

int nD3D9Server::GetFeatureSet()
{
    return (0 != this->featureSetOverride) ? this->featureSetOverride : this->featureSet;
}

bool nD3D9Server::AreVertexShadersEmulated()
{
    n_assert(this->IsDeviceOpen());
    return 0 == (this->deviceBehaviourFlags & HardwareVertexProcessing);
}

int nD3D9Server::GetNumStencilBits() const
{
    n_assert(this->device && this->device->IsOpen());
    switch (this->presentParams.depthStencilFormat)
    {
        case nGfxFormat::D24S8: return 8;
        case nGfxFormat::D24X4S4: return 4;
        default: return 0;
    }
}

int nD3D9Server::GetNumDepthBits() const
{
    n_assert(this->device && this->device->IsOpen());
    switch (this->presentParams.depthStencilFormat)
    {
        case nGfxFormat::D24S8:
        case nGfxFormat::D24X8:
        case nGfxFormat::D24X4S4: return 24;
        default: return 16;
    }
}

/*
 * EnterDialogBoxMode, LeaveDialogBoxMode --
 *     Side effects: the base state only; a window-system dialog shows
 *     above an OpenGL window without the device's help.
 */
void nD3D9Server::EnterDialogBoxMode()
{
    n_assert(this->windowHandler.GetDisplayMode().GetDialogBoxMode());
    n_assert(this->IsDeviceOpen());
    nGfxServer2::EnterDialogBoxMode();
}

void nD3D9Server::LeaveDialogBoxMode()
{
    n_assert(this->windowHandler.GetDisplayMode().GetDialogBoxMode());
    n_assert(this->IsDeviceOpen());
    nGfxServer2::LeaveDialogBoxMode();
}

void nD3D9Server::SetSkipMsgLoop(bool skip)
{
    this->windowHandler.SetSkipMsgLoop(skip);
}

//--- frame ----------------------------------------------------------------------------

void nD3D9Server::PresentDevice()
{
    if (this->IsDeviceOpen())
    {
        this->device->Present();
    }
}

/*
 * NewMesh --
 *     Results: the mesh resource of that name, made (Unloaded) when it
 *     does not exist yet, with one more reference; null without a
 *     resource server.
 */
nMesh2* nD3D9Server::NewMesh(const char* rsrcName)
{
    nResourceServer* rs = this->ResourceServer();
    return rs ? static_cast<nMesh2*>(rs->NewResource("nd3d9mesh", rsrcName, nResource::Mesh)) : nullptr;
}

//--- textures and render targets --------------------------------------------------------

nTexture2* nD3D9Server::NewTexture(const char* rsrcName)
{
    nResourceServer* rs = this->ResourceServer();
    return rs ? static_cast<nTexture2*>(rs->NewResource("nd3d9texture", rsrcName, nResource::Texture)) : nullptr;
}

/*
 * NewRenderTarget --
 *     Results: the valid texture of that name as it is, or a new render
 *     target loaded at once; null (the reference given back) when the load
 *     fails, or when an object of another class holds the pooled name.
 */
nTexture2* nD3D9Server::NewRenderTarget(const char* rsrcName, int width, int height, nTexture2::Format format,
                                        int usageFlags)
{
    nTexture2* renderTarget = this->NewTexture(rsrcName);
    if (!renderTarget)
    {
        return nullptr;
    }
    if (renderTarget->IsValid())
    {
        return renderTarget;
    }
    n_assert(0 != (usageFlags & (nTexture2::RenderTargetColor | nTexture2::RenderTargetDepth |
                                 nTexture2::RenderTargetStencil)));
    renderTarget->SetUsage(usageFlags);
    renderTarget->SetWidth(width);
    renderTarget->SetHeight(height);
    renderTarget->SetDepth(1);
    renderTarget->SetFormat(format);
    renderTarget->SetType(nTexture2::TEXTURE_2D);
    if (!renderTarget->Load())
    {
        renderTarget->Release();
        return nullptr;
    }
    return renderTarget;
}

/*
 * SetRenderTarget --
 *     Side effects: the device draws into the target's colour texture and
 *     depth surface from now on (the back buffer for null or a target
 *     that is not loaded).
 */
void nD3D9Server::SetRenderTarget(nTexture2* t)
{
    nGfxServer2::SetRenderTarget(t);
    if (!this->IsDeviceOpen())
    {
        return;
    }
    nD3D9Texture* tex = dynamic_cast<nD3D9Texture*>(t);
    if (tex && tex->IsLoaded())
    {
        if (!this->device->SetRenderTarget(tex->GetRenderTargetSurface(), tex->GetDepthStencilSurface()))
        {
            n_printf("nD3D9Server: SetRenderTarget() failed\n");
        }
    }
    else
    {
        this->device->SetRenderTarget(nGfxTextureHandle(), nGfxDepthSurfaceHandle());
    }
}

/*
 * NewShader --
 *     Results: the shared shader resource of that name (made unloaded
 *     when new), null without a resource server.
 */
nShader2* nD3D9Server::NewShader(const char* rsrcName)
{
    nResourceServer* rs = this->ResourceServer();
    return rs ? static_cast<nShader2*>(rs->NewResource("nd3d9shader", rsrcName, nResource::Shader)) : nullptr;
}
