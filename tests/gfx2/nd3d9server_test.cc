//------------------------------------------------------------------------------
//  The Direct3D 9 server on the null device: creation without a window,
//  the format table, vertex processing, open and close with the window,
//  resources across close and reopen and the full-screen toggle, and the
//  loss and reset protocol with scripted device states.
//------------------------------------------------------------------------------
#include "windowfixture.h"

#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "kernel/nenv.h"
#include "kernel/nmodule.h"
#include "platform/nnulldevice.h"
#include "resource/nresourceserver.h"
#include "util/assertdeath.h"

namespace
{

/// a texture that counts what the server does to it
class CountingTexture : public nTexture2
{
public:
    int GetByteSize() override { return 1; }
    void OnLost() override
    {
        this->lost++;
        if (this->IsValid()) this->SetState(nResource::Lost);
    }
    void OnRestored() override
    {
        this->restored++;
        if (nResource::Lost == this->GetState()) this->SetState(nResource::Valid);
    }
    int loads = 0;
    int unloads = 0;
    int lost = 0;
    int restored = 0;

protected:
    ~CountingTexture() override
    {
        if (!this->IsUnloaded()) this->Unload();
    }
    bool LoadResource() override
    {
        this->loads++;
        this->SetState(nResource::Valid);
        return true;
    }
    void UnloadResource() override
    {
        this->unloads++;
        this->SetState(nResource::Unloaded);
    }
};

N_IMPLEMENT_MODULE(ncountingtexture, CountingTexture, "ntexture2", nullptr)

void countingtexture_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, ncountingtexture);
}

using F = nGfxFormat;
using S = nGfxDeviceState;

class D3D9ServerTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        nd3d9_package();
        countingtexture_package();
        this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        auto dev = std::make_unique<nNullDevice>();
        this->dev = dev.get();
        this->gfx->SetDevice(std::move(dev));
        this->gfx->SetDisplayMode(nDisplayMode2("test", nDisplayMode2::Windowed, 0, 0, 640, 480, false));
    }

    /// a loaded counting texture of the resource server
    CountingTexture* LoadedTexture()
    {
        auto* tex = static_cast<CountingTexture*>(this->rs->NewResource("ncountingtexture", "tex", nResource::Texture));
        EXPECT_TRUE(tex->Load());
        return tex;
    }

    /// the device calls so far, then forgotten
    /// the device calls so far, without those of the server's two effects
    /// (their programs are the shader tests' business), then forgotten
    std::vector<std::string> TakeCalls()
    {
        std::vector<std::string> calls;
        for (const std::string& c : this->dev->calls)
        {
            if (c.rfind("CreateProgram", 0) != 0 && c.rfind("DeleteProgram", 0) != 0)
            {
                calls.push_back(c);
            }
        }
        this->dev->calls.clear();
        return calls;
    }

    nResourceServer* rs = nullptr;
    nD3D9Server* gfx = nullptr;
    nNullDevice* dev = nullptr;
};

struct FormatCase
{
    const char* what;
    nDisplayMode2::Type type;
    int bpp;
    F desktop;
    std::vector<F> refused;
    F display;
    F back;
    F depth;
};

const FormatCase formatCases[] = {
    {"windowed on a 32-bit desktop", nDisplayMode2::Windowed, 32, F::X8R8G8B8, {}, F::X8R8G8B8, F::X8R8G8B8, F::D24S8},
    {"windowed without D24S8", nDisplayMode2::Windowed, 32, F::X8R8G8B8, {F::D24S8}, F::X8R8G8B8, F::X8R8G8B8,
     F::D24X4S4},
    {"windowed with D16 only", nDisplayMode2::Windowed, 32, F::X8R8G8B8, {F::D24S8, F::D24X4S4, F::D24X8},
     F::X8R8G8B8, F::X8R8G8B8, F::D16},
    {"windowed on a 16-bit desktop", nDisplayMode2::Windowed, 32, F::R5G6B5, {}, F::R5G6B5, F::R5G6B5, F::D24S8},
    {"windowed on a 16-bit desktop without D24S8", nDisplayMode2::Windowed, 32, F::R5G6B5, {F::D24S8}, F::R5G6B5,
     F::R5G6B5, F::D24X4S4},
    {"windowed on an A8R8G8B8 desktop", nDisplayMode2::AlwaysOnTop, 32, F::A8R8G8B8, {}, F::A8R8G8B8, F::X8R8G8B8,
     F::D24S8},
    {"full screen", nDisplayMode2::Fullscreen, 32, F::X8R8G8B8, {}, F::X8R8G8B8, F::X8R8G8B8, F::D24S8},
    {"full screen without D24S8 and D24X4S4", nDisplayMode2::Fullscreen, 32, F::R5G6B5, {F::D24S8, F::D24X4S4},
     F::X8R8G8B8, F::X8R8G8B8, F::D24X8},
    {"full screen with bpp 0 tries only row 5", nDisplayMode2::Fullscreen, 0, F::X8R8G8B8, {}, F::R5G6B5,
     F::R5G6B5, F::D16},
    {"full screen without 32 bits", nDisplayMode2::Fullscreen, 32, F::X8R8G8B8, {F::X8R8G8B8}, F::R5G6B5,
     F::R5G6B5, F::D16},
};

}  // namespace

TEST_F(D3D9ServerTest, CreatingTheServerOpensNoWindow)
{
    EXPECT_EQ(this->ks->Lookup("/sys/env/hwnd"), nullptr);
    EXPECT_FALSE(this->gfx->GetWindowHandler().IsWindowOpen());
    EXPECT_FALSE(this->gfx->IsDeviceOpen());
    EXPECT_EQ(this->gfx->GetFeatureSet(), nGfxServer2::DX9FLT);
    EXPECT_NE(this->log.text.find("nD3D9Server detected feature set 'dx9flt' (pre-override)"), std::string::npos);
    EXPECT_TRUE(this->gfx->Trigger());
    EXPECT_EQ(this->Tcl("/sys/servers/gfx.getfeatureset"), "dx9flt");
}

TEST_F(D3D9ServerTest, FeatureSetFollowsTheDeviceAndItsOverride)
{
    struct Case
    {
        int version;
        std::vector<F> refused;
        int featureSet;
        bool refuseFloatTargets = false;
    };
    const Case cases[] = {
        {0x0100, {}, nGfxServer2::DX7},          {0x0101, {}, nGfxServer2::DX8SB},
        {0x0104, {F::D24S8}, nGfxServer2::DX8},  {0x0200, {}, nGfxServer2::DX9FLT},
        {0x0300, {}, nGfxServer2::DX9, true},
    };
    for (const Case& c : cases)
    {
        auto d = std::make_unique<nNullDevice>();
        d->caps.vertexShaderVersion = c.version;
        for (F f : c.refused) d->RefuseFormat(f);
        if (c.refuseFloatTargets) d->RefuseTexFormat(nGfxTexFormat::A16B16G16R16F);
        this->gfx->SetDevice(std::move(d));
        EXPECT_EQ(this->gfx->GetFeatureSet(), c.featureSet) << std::hex << c.version;
    }
}

TEST_F(D3D9ServerTest, FormatTable)
{
    for (const FormatCase& c : formatCases)
    {
        auto d = std::make_unique<nNullDevice>();
        d->desktopFormat = c.desktop;
        for (F f : c.refused) d->RefuseFormat(f);
        this->gfx->SetDevice(std::move(d));
        nDisplayMode2 mode = this->gfx->GetDisplayMode();
        mode.SetType(c.type);
        this->gfx->SetDisplayMode(mode);
        F display, back, depth;
        this->gfx->FindBufferFormats(c.bpp, display, back, depth);
        EXPECT_EQ(display, c.display) << c.what;
        EXPECT_EQ(back, c.back) << c.what;
        EXPECT_EQ(depth, c.depth) << c.what;
    }
}

TEST_F(D3D9ServerTest, NoUsableFormatIsFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    this->dev->RefuseFormat(F::D24S8);
    this->dev->RefuseFormat(F::D24X4S4);
    this->dev->RefuseFormat(F::D24X8);
    this->dev->RefuseFormat(F::D16);
    nD3D9Server* g = this->gfx;
    F display, back, depth;
    EXPECT_DEATH(g->FindBufferFormats(32, display, back, depth), "nD3D9Server: No valid Direct3D display format found!");
}

TEST_F(D3D9ServerTest, OpenDisplayOpensWindowAndDeviceAndShowsOneBlackFrame)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    EXPECT_TRUE(this->gfx->IsDisplayOpen());
    nD3D9WindowHandler& wh = this->gfx->GetWindowHandler();
    EXPECT_TRUE(wh.IsWindowOpen());
    EXPECT_FALSE(wh.IsWindowMinimized());
    nEnv* hwnd = static_cast<nEnv*>(this->ks->Lookup("/sys/env/hwnd"));
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(hwnd->GetI(), wh.GetHwnd());

    // faces wound clockwise on the screen are culled from the start
    const std::vector<std::string> expected = {"Open 640x480 X8R8G8B8 D24S8",
                                               "RenderState " + std::to_string(nGfxRS::CullMode) + " " +
                                                   std::to_string(nGfxRS::CullCW),
                                               "Clear 7", "Present"};
    EXPECT_EQ(this->TakeCalls(), expected);
    unsigned char rgba[4] = {1, 1, 1, 1};
    ASSERT_TRUE(this->dev->ReadPixel(0, 0, rgba));
    EXPECT_EQ(rgba[0] + rgba[1] + rgba[2], 0);
    EXPECT_EQ(rgba[3], 255);

    EXPECT_NE(this->log.text.find("nD3D9Server::DeviceOpen()\n"), std::string::npos);
    EXPECT_NE(this->log.text.find("nD3D9Server: using hardware vertex processing\n"), std::string::npos);
    EXPECT_EQ(this->gfx->GetDeviceBehaviourFlags(), nD3D9Server::FpuPreserve | nD3D9Server::Multithreaded |
                                                        nD3D9Server::HardwareVertexProcessing |
                                                        nD3D9Server::PureDevice);
    EXPECT_FALSE(this->gfx->AreVertexShadersEmulated());
    EXPECT_EQ(this->gfx->GetNumStencilBits(), 8);
    EXPECT_EQ(this->gfx->GetNumDepthBits(), 24);
    const nViewport& vp = this->gfx->GetViewport();
    EXPECT_EQ(vp.width, 640.0f);
    EXPECT_EQ(vp.height, 480.0f);
    EXPECT_EQ(vp.farZ, 1.0f);

    this->gfx->CloseDisplay();
    EXPECT_FALSE(this->gfx->IsDeviceOpen());
    EXPECT_TRUE(wh.IsWindowMinimized());
    EXPECT_TRUE(wh.IsWindowOpen());
    EXPECT_NE(this->log.text.find("nD3D9Server::DeviceClose()\n"), std::string::npos);
}

TEST_F(D3D9ServerTest, VertexProcessingFollowsCapsAndFeatureSet)
{
    struct Case
    {
        bool hardwareTnL;
        int version;
        int flag;
        const char* line;
    };
    const Case cases[] = {
        {false, 0x0300, nD3D9Server::SoftwareVertexProcessing, "using software vertex processing"},
        {true, 0x0101, nD3D9Server::MixedVertexProcessing, "using mixed vertex processing"},
        {true, 0x0300, nD3D9Server::HardwareVertexProcessing, "using hardware vertex processing"},
    };
    for (const Case& c : cases)
    {
        auto d = std::make_unique<nNullDevice>();
        d->caps.hardwareTransformAndLight = c.hardwareTnL;
        d->caps.vertexShaderVersion = c.version;
        this->gfx->SetDevice(std::move(d));
        this->log.text.clear();
        ASSERT_TRUE(this->gfx->OpenDisplay());
        EXPECT_TRUE(this->gfx->GetDeviceBehaviourFlags() & c.flag) << c.line;
        EXPECT_NE(this->log.text.find(c.line), std::string::npos) << c.line;
        EXPECT_EQ(this->gfx->AreVertexShadersEmulated(), c.flag != nD3D9Server::HardwareVertexProcessing);
        this->gfx->CloseDisplay();
    }
}

TEST_F(D3D9ServerTest, DisplayModeReachesThePresentParameters)
{
    nDisplayMode2 mode("t", nDisplayMode2::Windowed, 0, 0, 320, 200, true);
    mode.SetDialogBoxMode(true);
    this->gfx->SetDisplayMode(mode);
    ASSERT_TRUE(this->gfx->OpenDisplay());
    const nGfxPresentParams& p = this->dev->GetPresentParams();
    EXPECT_EQ(p.width, 320);
    EXPECT_EQ(p.height, 200);
    EXPECT_TRUE(p.vsync);
    EXPECT_TRUE(p.lockableBackBuffer);
    EXPECT_TRUE(p.windowed);
    this->gfx->EnterDialogBoxMode();
    EXPECT_TRUE(this->gfx->InDialogBoxMode());
    this->gfx->LeaveDialogBoxMode();
    this->gfx->CloseDisplay();

    mode.SetVerticalSync(false);
    mode.SetDialogBoxMode(false);
    this->gfx->SetDisplayMode(mode);
    ASSERT_TRUE(this->gfx->OpenDisplay());
    EXPECT_FALSE(this->dev->GetPresentParams().vsync);
    EXPECT_FALSE(this->dev->GetPresentParams().lockableBackBuffer);
}

TEST_F(D3D9ServerTest, ClampedScriptSizesReachTheBackBuffer)
{
    this->Tcl("/sys/servers/gfx.setdisplaymode title windowed 0 0 -5 100000 false");
    EXPECT_EQ(this->Tcl("/sys/servers/gfx.getdisplaymode"), "title windowed 0 0 1 16384 false");
    EXPECT_EQ(this->Tcl("/sys/servers/gfx.opendisplay"), "true");
    EXPECT_EQ(this->TakeCalls().front(), "Open 1x16384 X8R8G8B8 D24S8");
    this->Tcl("/sys/servers/gfx.closedisplay");
    this->TakeCalls();

    // a mode made in code with no size still gives a back buffer
    this->gfx->SetDisplayMode(nDisplayMode2("t", nDisplayMode2::Windowed, 0, 0, 0, 0, false));
    ASSERT_TRUE(this->gfx->OpenDisplay());
    EXPECT_EQ(this->TakeCalls().front(), "Open 1x1 X8R8G8B8 D24S8");
}

TEST_F(D3D9ServerTest, CloseAndReopenUnloadAndReloadTheResources)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    CountingTexture* tex = this->LoadedTexture();
    EXPECT_EQ(tex->loads, 1);
    this->gfx->CloseDisplay();
    EXPECT_EQ(tex->unloads, 1);
    EXPECT_FALSE(tex->IsLoaded());
    ASSERT_TRUE(this->gfx->OpenDisplay());
    EXPECT_EQ(tex->loads, 2);
    EXPECT_TRUE(tex->IsValid());
    tex->Release();
}

TEST_F(D3D9ServerTest, ADeletedResourceServerIsMadeAgainAndTakenNamesGiveNull)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    // what a script's delete of the resource server does
    this->rs->Release();
    this->rs = nullptr;
    log.text.clear();
    nTexture2* tex = this->gfx->NewTexture("after.dds");
    ASSERT_NE(tex, nullptr);
    EXPECT_NE(log.text.find("there is no resource server '/sys/servers/resource'; a new one is made"),
              std::string::npos)
        << log.text;
    nRoot* made = this->ks->Lookup("/sys/servers/resource");
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsA("nresourceserver"));
    EXPECT_EQ(tex->GetParent(), this->ks->Lookup("/sys/share/rsrc/tex"));
    tex->Release();

    // an object of a script at a pooled name: no resource, no assertion
    this->ks->New("nroot", "/sys/share/rsrc/tex/target");
    this->ks->New("nroot", "/sys/share/rsrc/font/font");
    log.text.clear();
    EXPECT_EQ(this->gfx->NewRenderTarget("target", 16, 16, nTexture2::A8R8G8B8, nTexture2::RenderTargetColor),
              nullptr);
    EXPECT_EQ(this->gfx->NewFont("font", nFontDesc()), nullptr);
    EXPECT_NE(log.text.find("is a 'nroot', not a 'nd3d9font'"), std::string::npos) << log.text;
}

TEST_F(D3D9ServerTest, AltReturnTogglesFullScreenThroughCloseAndReopen)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    CountingTexture* tex = this->LoadedTexture();
    this->TakeCalls();
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT, 1);
    ASSERT_TRUE(this->gfx->Trigger());
    EXPECT_EQ(this->gfx->GetDisplayMode().GetType(), nDisplayMode2::Fullscreen);
    EXPECT_TRUE(this->gfx->IsDisplayOpen());
    const std::vector<std::string> expected = {"Close", "Open 640x480 X8R8G8B8 D24S8", "Clear 7", "Present"};
    EXPECT_EQ(this->TakeCalls(), expected);
    EXPECT_FALSE(this->dev->GetPresentParams().windowed);
    EXPECT_EQ(tex->unloads, 1);
    EXPECT_EQ(tex->loads, 2);

    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_RALT);
    ASSERT_TRUE(this->gfx->Trigger());
    EXPECT_EQ(this->gfx->GetDisplayMode().GetType(), nDisplayMode2::Windowed);
    EXPECT_TRUE(this->dev->GetPresentParams().windowed);
    EXPECT_EQ(tex->loads, 3);
    tex->Release();
}

TEST_F(D3D9ServerTest, ALostDeviceSkipsFramesUntilItIsResetAndRestored)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    CountingTexture* tex = this->LoadedTexture();
    this->TakeCalls();
    this->dev->ScriptStates({S::Lost, S::Lost, S::NotReset});
    EXPECT_FALSE(this->gfx->BeginScene());
    EXPECT_FALSE(this->gfx->BeginScene());
    EXPECT_EQ(tex->lost, 0);
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->EndScene();
    EXPECT_EQ(tex->lost, 1);
    EXPECT_EQ(tex->restored, 1);
    EXPECT_TRUE(tex->IsValid());
    EXPECT_EQ(tex->loads, 1);  // lost and restored, never reloaded
    EXPECT_NE(this->log.text.find("nD3D9Server: Device reset!\n"), std::string::npos);
    const std::vector<std::string> expected = {"Reset 640x480 X8R8G8B8 D24S8"};
    EXPECT_EQ(this->TakeCalls(), expected);
    tex->Release();
}

TEST_F(D3D9ServerTest, AFailedResetSkipsTheFrameAndIsTriedAgain)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    CountingTexture* tex = this->LoadedTexture();
    this->dev->SetResetResult(false);
    this->dev->ScriptStates({S::NotReset});
    EXPECT_FALSE(this->gfx->BeginScene());
    EXPECT_NE(this->log.text.find("nD3D9Server: Failed to reset d3d device!\n"), std::string::npos);
    EXPECT_EQ(tex->GetState(), nResource::Lost);

    this->dev->SetResetResult(true);
    this->dev->ScriptStates({S::NotReset});
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->EndScene();
    EXPECT_TRUE(tex->IsValid());
    EXPECT_EQ(tex->lost, 1);
    tex->Release();
}

TEST_F(D3D9ServerTest, SkipFlagAndCloseRequestReachTheWindow)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    this->Tcl("/sys/servers/gfx.setskipmsgloop true");
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE, (Uint32)this->gfx->GetWindowHandler().GetHwnd());
    EXPECT_TRUE(this->gfx->Trigger());
    this->Tcl("/sys/servers/gfx.setskipmsgloop false");
    EXPECT_FALSE(this->gfx->Trigger());
}

TEST_F(D3D9ServerTest, ARepaintPresentsAgainWhenWindowed)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    this->TakeCalls();
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED, (Uint32)this->gfx->GetWindowHandler().GetHwnd());
    ASSERT_TRUE(this->gfx->Trigger());
    const std::vector<std::string> expected = {"Present"};
    EXPECT_EQ(this->TakeCalls(), expected);
}

TEST_F(D3D9ServerTest, ReleasingTheServerClosesDisplayAndWindow)
{
    ASSERT_TRUE(this->gfx->OpenDisplay());
    this->gfx->Release();
    this->gfx = nullptr;
    EXPECT_EQ(this->ks->Lookup("/sys/env/hwnd"), nullptr);
}

TEST_F(D3D9ServerTest, ADeviceThatCannotOpenIsFatalWithItsReason)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    this->dev->SetOpenResult(false);
    nD3D9Server* g = this->gfx;
    EXPECT_DEATH(g->OpenDisplay(), "nD3D9Server: Could not create d3d device!\nDirectX Error is: the null device was "
                                   "told to fail");
}

TEST_F(D3D9ServerTest, AWindowThatCannotBeMadeIsFatalWithSDLsReason)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // the dummy video driver has no OpenGL windows
    this->gfx->SetDevice(nNewGLDevice());
    nD3D9Server* g = this->gfx;
    EXPECT_DEATH(g->OpenDisplay(), "nWin32WindowHandler::OpenWindow\\(\\): could not create the window: .+");
}
