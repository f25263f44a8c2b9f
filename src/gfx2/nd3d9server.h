#ifndef N_D3D9SERVER_H
#define N_D3D9SERVER_H
//------------------------------------------------------------------------------
/**
    @class nD3D9Server
    @ingroup Gfx2

    The graphics server on the platform's graphics device (OpenGL by
    default; tests put a null device in its place before the display
    opens). It owns the render window through its window handler, picks
    the buffer formats, opens and closes the device with the display,
    restores the device-bound resources after a reset or a reopen, and
    runs the lost-device protocol at the start of every scene.

    Registered as "nd3d9server"; creating one opens no window, so scripts
    run without a display until OpenDisplay.
*/
#include "gfx2/ngfxserver2.h"
#include "kernel/nstrongref.h"
#include "gfx2/nd3d9windowhandler.h"
#include "gfx2/nfxpool.h"
#include "platform/ngfxdevice.h"
#include "platform/nwindowservices.h"

class nD3D9Text;
class nPlatformFontRegistry;

#include <memory>

class nD3D9Server : public nGfxServer2
{
public:
    /// device creation flags, by the values Direct3D gave them
    enum BehaviourFlags
    {
        FpuPreserve = 0x02,
        Multithreaded = 0x04,
        PureDevice = 0x10,
        SoftwareVertexProcessing = 0x20,
        HardwareVertexProcessing = 0x40,
        MixedVertexProcessing = 0x80,
    };

    nD3D9Server();

    //--- the device -----------------------------------------------------------------
    /// put another device in place of the current one (the display must be
    /// closed); window services given stand in for the render window's own
    /// with it (a device that draws nowhere records them, say)
    void SetDevice(std::unique_ptr<nGfxDevice> dev, std::unique_ptr<nWindowServices> services = nullptr);
    nGfxDevice* GetDevice() const { return this->device.get(); }
    /// the cursor, gamma and displays: the stand-ins the device came with,
    /// else the open window's; null without either
    nWindowServices* GetWindowServices() const;
    bool IsDeviceOpen() const { return this->device && this->device->IsOpen(); }
    const nGfxPresentParams& GetPresentParams() const { return this->presentParams; }
    int GetDeviceBehaviourFlags() const { return this->deviceBehaviourFlags; }
    /// the window handler (for the window's id and its skip flag)
    nD3D9WindowHandler& GetWindowHandler() { return this->windowHandler; }
    /// show the back buffer again (a repaint of the window)
    void PresentDevice();
    /// the first usable formats of the table; a fatal error when none is
    void FindBufferFormats(int bppAll, nGfxFormat& dispFormat, nGfxFormat& backFormat, nGfxFormat& depthFormat);
    /// whether the device can draw now; resets and restores a lost device
    bool TestResetDevice();

    //--- nGfxServer2 --------------------------------------------------------------------
    bool OpenDisplay() override;
    void CloseDisplay() override;
    bool Trigger() override;
    void SetDisplayMode(const nDisplayMode2& mode) override;
    const nDisplayMode2& GetDisplayMode() const override;
    void SetWindowTitle(const char* title) override;
    int GetFeatureSet() override;
    bool AreVertexShadersEmulated() override;
    int GetNumStencilBits() const override;
    int GetNumDepthBits() const override;
    void EnterDialogBoxMode() override;
    void LeaveDialogBoxMode() override;
    void SetSkipMsgLoop(bool skip) override;
    /// one shader value set, for the frame's render-state statistics
    void CountRenderStateChange() { this->statsNumRenderStateChanges++; }
    /// the X11 window the render window lives in (child-window mode), 0 for none
    int GetParentHwnd() const { return this->windowHandler.GetParentHwnd(); }
    bool BeginScene() override;
    void PresentScene() override;
    void Clear(int bufferFlags, float red, float green, float blue, float alpha, float z, int stencil) override;
    /// a shared "nd3d9mesh" resource of that name
    nMesh2* NewMesh(const char* rsrcName) override;
    //--- textures and render targets ---
    nTexture2* NewTexture(const char* rsrcName) override;
    nTexture2* NewRenderTarget(const char* rsrcName, int width, int height, nTexture2::Format format,
                               int usageFlags) override;
    void SetRenderTarget(nTexture2* t) override;

    //--- shaders ------------------------------------------------------------------------
    nShader2* NewShader(const char* rsrcName) override;
    /// the values of the parameters effects share
    nFxPool& GetEffectPool() { return this->effectPool; }

    //--- text and fonts (nd3d9server_text.cc) ---------------------------------------------
    /// a shared "nd3d9font" resource of that name with the description
    nFont2* NewFont(const char* rsrcName, const nFontDesc& fontDesc) override;
    void DrawText(const nString& text, const vector4& color, const rectangle& rect, uint flags) override;
    vector2 GetTextExtent(const nString& text) override;
    void AddText(const nString& text, const vector4& color, float xPos, float yPos) override;
    void DrawTextBuffer() override;
    void BeginText(std::function<void()> beforeDraw) override;
    void EndText() override;
    /// the font files fonts installed for this process
    nPlatformFontRegistry& GetFontRegistry();
    /// the number of queued texts
    int GetNumTextNodes() const;
    /// the font queued text is drawn with, null before the device opened
    nFont2* GetDefaultFont() const override { return this->refDefaultFont.get_unsafe(); }

    //--- rendering (nd3d9server_render.cc) ---------------------------------------------
    nMeshArray* NewMeshArray(const char* rsrcName) override;
    void SetCamera(const nCamera2& camera) override;
    void SetViewport(const nViewport& vp) override;
    void EndScene() override;
    int AddLight(const nLight& light) override;
    void SetMesh(nMesh2* mesh) override;
    void SetMeshArray(nMeshArray* meshArray) override;
    void SetTexture(int stage, nTexture2* tex) override;
    void SetShader(nShader2* shader) override;
    void SetTransform(TransformType type, const matrix44& matrix) override;
    void BeginLines() override;
    void DrawLines3d(const vector3* vertexList, int numVertices, const vector4& color) override;
    void DrawLines2d(const vector2* vertexList, int numVertices, const vector4& color) override;
    void EndLines() override;
    void BeginShapes() override;
    void DrawShape(ShapeType type, const matrix44& model, const vector4& color) override;
    void EndShapes() override;
    void DrawIndexed(PrimitiveType primType) override;
    void Draw(PrimitiveType primType) override;
    void DrawIndexedNS(PrimitiveType primType) override;
    void DrawNS(PrimitiveType primType) override;
    /// the primitives n indices or vertices give as the type (0 for an unknown type or too few)
    static int GetPrimitiveCount(int primType, int n);
    /// a colour as Direct3D's ARGB, each channel clamped to 0..1 first (NaN counts as 0)
    static unsigned int PackColor(float red, float green, float blue, float alpha);
    /// the shared shader, null while it is not loaded
    nShader2* GetSharedShader() const;

    //--- services (nd3d9server_services.cc) ------------------------------------------------
    /// the window's cursor from the mouse cursor's texture and the visibility, when dirty
    void UpdateCursor();
    /// a new cursor, whose file is tried afresh
    void SetMouseCursor(const nMouseCursor& cursor) override;
    void AdjustGamma() override;
    void RestoreGamma() override;
    /// the ramp AdjustGamma sends for the current gamma, brightness and contrast
    void ComputeGammaRamp(unsigned short ramp[256]) const;
    bool Screenshot(const char* fileName) override;
    /// the adapters and their modes under "/sys/share/display" (once)
    void CreateDisplayModeEnvVars();
    /// publish the frame's statistics under "/sys/var/" and zero the counters
    void UpdateStatistics();

protected:
    ~nD3D9Server() override;

private:
    bool DeviceOpen();
    void DeviceClose();
    void OnDeviceLost(bool unload);
    void OnRestoreDevice(bool load);
    void InitDeviceState();
    void UpdateFeatureSet();
    /// whether a row of formats passes the device's checks
    bool CheckFormats(nGfxFormat dispFormat, nGfxFormat backFormat, nGfxFormat depthFormat) const;
    /// the parameters the display mode and the chosen formats give
    void FillPresentParams(nGfxFormat backFormat, nGfxFormat depthFormat);
    /// drop the text batch's device objects and the queued text
    void OnTextDeviceLost();
    /// the mouse cursor's texture, loaded; null when its file did not load
    nTexture2* LoadCursorTexture();
    /// the texture's pixels become the window's colour cursor with the hotspot
    void CopyCursorImage(nTexture2* tex);
    /// whether the current cursor's file did not load (reported; not tried again)
    bool cursorRefused = false;

    int osVersion;
    nD3D9WindowHandler windowHandler;
    int deviceBehaviourFlags;
    nGfxDeviceCaps devCaps;
    int featureSet;
    nStrongRef<nFont2> refDefaultFont;
    nStrongRef<nShader2> refShapeShader;
    nStrongRef<nShader2> refSharedShader;
    nGfxPresentParams presentParams;
    /// whether the device's back buffer and depth surface are held
    bool deviceSurfacesValid;
    std::unique_ptr<nGfxDevice> device;
    std::unique_ptr<nWindowServices> windowServices;
    nFxPool effectPool;
    std::unique_ptr<nD3D9Text> text;

    //--- rendering state ---
    /// the device layout the bound mesh or mesh array draws with (none when unbound)
    nGfxLayoutHandle curVertexLayout;
    /// the five shape meshes (box, cylinder, sphere, torus, teapot)
    nStrongRef<nMesh2> shapeMeshes[5];
    void CreateShapeMeshes();
    void ReleaseShapeMeshes();
    /// a draw through every pass of the current shader
    void DrawPasses(PrimitiveType primType, bool indexed);
    /// a draw inside the caller's pass (or the instanced replay)
    void DrawOnce(PrimitiveType primType, bool indexed);
    /// the instanced form of the NS draws; true when it ran
    bool DrawInstanced(PrimitiveType primType, bool indexed);
    /// one device draw of the current ranges; the primitives it drew
    int DrawRange(PrimitiveType primType, bool indexed);
    /// "Time" and "DisplayResolution" of the shared shader at the start of a scene
    void UpdateSharedSceneParams();

    //--- statistics ---
    double timeOfLastPresent = 0.0;
    int statsFrameCount = 0;
    int statsNumTextureChanges = 0;
    int statsNumRenderStateChanges = 0;
    int statsNumDrawCalls = 0;
    int statsNumPrimitives = 0;
};
#endif
