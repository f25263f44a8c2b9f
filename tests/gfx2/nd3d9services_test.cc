//------------------------------------------------------------------------------
//  The Direct3D 9 server's services and per-frame state on the null
//  device and recording window services: gamma ramps (also for gamma 0, negative and NaN), the cursor
//  set by script, the display-mode tree, frame statistics, screenshots,
//  the shared shader values transforms and lights set, instance streams
//  replayed per instance, and mesh arrays.
//------------------------------------------------------------------------------
#include "windowfixture.h"
#include "opende/meshfiles.h"
#include "usertempdir.h"
#include "util/assertdeath.h"

#include "gfx2/nd3d9mesharray.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9shader.h"
#include "gfx2/nd3d9texture.h"
#include "gfx2/nsurface.h"
#include "gfx2/ndynamicmesh.h"
#include "kernel/nenv.h"
#include "kernel/ntimeserver.h"
#include "platform/nnulldevice.h"
#include "recordingwindowservices.h"
#include "resource/nresourceserver.h"

#include <stb_image_write.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

namespace
{

class ServicesTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        nd3d9_package();
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        auto dev = std::make_unique<nNullDevice>();
        this->dev = dev.get();
        auto window = std::make_unique<RecordingWindowServices>();
        this->window = window.get();
        this->gfx->SetDevice(std::move(dev), std::move(window));
        this->gfx->SetDisplayMode(nDisplayMode2("test", nDisplayMode2::Windowed, 0, 0, 64, 48, false));
        ASSERT_TRUE(this->gfx->OpenDisplay());
        this->dev->calls.clear();
        this->window->calls.clear();
        this->dir = MakeTempDir("gfxservices");
    }

    void TearDown() override
    {
        for (nResource* r : this->resources) r->Release();
        if (this->gfx->IsDisplayOpen()) this->gfx->CloseDisplay();
        WindowTest::TearDown();
        std::filesystem::remove_all(this->dir);
    }

    /// the device calls that start with one of the prefixes, then all forgotten
    std::vector<std::string> Calls(std::initializer_list<const char*> prefixes)
    {
        return Take(this->dev->calls, prefixes);
    }

    /// the same of the window services' calls
    std::vector<std::string> WindowCalls(std::initializer_list<const char*> prefixes)
    {
        return Take(this->window->calls, prefixes);
    }

    static std::vector<std::string> Take(std::vector<std::string>& calls, std::initializer_list<const char*> prefixes)
    {
        std::vector<std::string> out;
        for (const std::string& c : calls)
        {
            for (const char* p : prefixes)
            {
                if (c.rfind(p, 0) == 0) out.push_back(c);
            }
        }
        calls.clear();
        return out;
    }

    void Frame()
    {
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->EndScene();
        this->gfx->PresentScene();
    }

    /// the floats of a shared value, empty when the shared effect lacks it
    std::vector<float> Shared(const char* name)
    {
        auto* shared = static_cast<nD3D9Shader*>(this->gfx->GetSharedShader());
        const nFxValue* v = shared ? shared->GetValue(name) : nullptr;
        return v ? v->floats : std::vector<float>();
    }

    template <class T> T* Keep(T* r)
    {
        this->resources.push_back(r);
        return r;
    }

    /// a loaded empty 1x1 texture of the name (its one count the caller's)
    nTexture2* NewSmallTexture(const char* name)
    {
        nTexture2* t = this->gfx->NewTexture(name);
        t->SetUsage(nTexture2::CreateEmpty);
        t->SetType(nTexture2::TEXTURE_2D);
        t->SetFormat(nTexture2::A8R8G8B8);
        t->SetWidth(1);
        t->SetHeight(1);
        EXPECT_TRUE(t->Load());
        return t;
    }

    /// a loaded effect whose one sampler reads DiffMap0, kept until the test ends
    nShader2* NewSampledEffect(const char* name)
    {
        const std::string path = this->dir + "/" + name + ".fx";
        WriteWholeFile(path, R"(texture DiffMap0;
sampler2D S = sampler_state { Texture = <DiffMap0>; };
vertex vs { void main() { gl_Position = nPosition; } }
fragment ps { void main() { nFragColor = texture(S, vec2(0.0)); } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; } }
)");
        nShader2* fx = Keep(this->gfx->NewShader(name));
        fx->SetFilename(path.c_str());
        EXPECT_TRUE(fx->Load());
        return fx;
    }

    nD3D9Server* gfx = nullptr;
    nNullDevice* dev = nullptr;
    RecordingWindowServices* window = nullptr;
    std::string dir;
    std::vector<nResource*> resources;
};

//--- gamma ------------------------------------------------------------------------------------

TEST_F(ServicesTest, RestoreGammaSendsTheIdentityRamp)
{
    this->gfx->RestoreGamma();
    EXPECT_EQ(this->window->gammaRamp[0][255], 65280);
    EXPECT_EQ(this->window->gammaRamp[2][1], 256);
}

TEST_F(ServicesTest, DefaultGammaIsNearlyTheIdentity)
{
    this->gfx->AdjustGamma();
    for (int i = 0; i < 256; i++)
    {
        EXPECT_NEAR(this->window->gammaRamp[1][i], i * 256, 1.0) << i;
    }
}

TEST_F(ServicesTest, GammaOfZeroNegativeOrNaNIsClampedBeforeConversion)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float g : {0.0f, -1.0f, nan, -INFINITY, 1e-30f, INFINITY})
    {
        SCOPED_TRACE(g);
        this->gfx->SetGamma(g);
        unsigned short ramp[256];
        this->gfx->ComputeGammaRamp(ramp);
        for (int i = 1; i < 256; i++) EXPECT_GE(ramp[i], ramp[i - 1]) << i;
    }
    // a NaN brightness gives entries of 0, never a wrapped conversion
    this->gfx->SetGamma(1.0f);
    this->gfx->SetBrightness(nan);
    unsigned short ramp[256];
    this->gfx->ComputeGammaRamp(ramp);
    EXPECT_EQ(ramp[128], 0);
}

TEST_F(ServicesTest, ARefusedRampIsOnlyReported)
{
    this->window->gammaResult = false;
    this->log.text.clear();
    this->gfx->AdjustGamma();
    EXPECT_NE(this->log.text.find("gamma ramp could not be set"), std::string::npos);
}

//--- where the window services come from ------------------------------------------------------

TEST_F(ServicesTest, TheWindowsOwnServicesServeUnlessTheDeviceCameWithStandIns)
{
    EXPECT_EQ(this->gfx->GetWindowServices(), this->window);
    this->gfx->AdjustGamma();
    EXPECT_EQ(this->WindowCalls({"GammaRamp"}).size(), 1u);

    // a device given alone drops the stand-ins: the window's own services
    // on SDL's dummy driver, which refuses gamma and knows its one display
    this->gfx->CloseDisplay();
    this->window = nullptr;
    auto dev = std::make_unique<nNullDevice>();
    this->dev = dev.get();
    this->gfx->SetDevice(std::move(dev));
    EXPECT_EQ(this->gfx->GetWindowServices(), this->gfx->GetWindowHandler().GetWindowServices());
    ASSERT_TRUE(this->gfx->OpenDisplay());
    ASSERT_NE(this->gfx->GetWindowServices(), nullptr);
    this->log.text.clear();
    this->gfx->AdjustGamma();
    EXPECT_NE(this->log.text.find("gamma ramp could not be set"), std::string::npos);
    this->gfx->CreateDisplayModeEnvVars();
    auto* description = static_cast<nEnv*>(this->ks->Lookup("/sys/share/display/adapter0/description"));
    ASSERT_NE(description, nullptr);
    EXPECT_STREQ(description->GetS(), "OpenGL on dummy");
}

//--- cursor -----------------------------------------------------------------------------------

TEST_F(ServicesTest, TheScriptsCursorLoadsAndShowsByVisibility)
{
    const unsigned char px[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 0};
    ASSERT_TRUE(stbi_write_png((this->dir + "/arrow.png").c_str(), 2, 2, 4, px, 8));
    this->Tcl("/sys/servers/gfx.setmousecursor " + this->dir + "/arrow.png 1 0");
    this->Tcl("/sys/servers/gfx.setcursorvisibility custom");
    this->Frame();
    const std::vector<std::string> custom = this->WindowCalls({"CursorImage", "Show"});
    ASSERT_FALSE(custom.empty());
    EXPECT_EQ(custom[0], "CursorImage 2x2 hot 1 0");
    EXPECT_EQ(std::vector<unsigned char>(px, px + 16), this->window->cursorPixels);
    EXPECT_EQ(custom.back(), "ShowCursor 1");
    EXPECT_NE(std::find(custom.begin(), custom.end(), "ShowImageCursor 1"), custom.end());

    this->Tcl("/sys/servers/gfx.setcursorvisibility system");
    this->Frame();
    const std::vector<std::string> system = this->WindowCalls({"Show"});
    EXPECT_EQ(system, (std::vector<std::string>{"ShowImageCursor 0", "ShowCursor 1"}));

    this->Tcl("/sys/servers/gfx.setcursorvisibility none");
    this->Frame();
    EXPECT_EQ(this->WindowCalls({"Show"}), (std::vector<std::string>{"ShowImageCursor 0", "ShowCursor 0"}));
    // nothing changes without a change
    this->Frame();
    EXPECT_TRUE(this->WindowCalls({"Show", "CursorImage"}).empty());
}

TEST_F(ServicesTest, TheMouseEnteringTheWindowKeepsTheCursorItsVisibilityAsksFor)
{
    const unsigned char px[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 0};
    ASSERT_TRUE(stbi_write_png((this->dir + "/arrow.png").c_str(), 2, 2, 4, px, 8));
    this->Tcl("/sys/servers/gfx.setmousecursor " + this->dir + "/arrow.png 1 0");
    const struct
    {
        const char* visibility;
        const char* shown;
    } cases[] = {{"custom", "ShowCursor 1"}, {"system", "ShowCursor 1"}, {"none", "ShowCursor 0"}};
    for (const auto& c : cases)
    {
        this->Tcl(std::string("/sys/servers/gfx.setcursorvisibility ") + c.visibility);
        this->Frame();
        this->window->calls.clear();
        SDL_Event enter = {};
        enter.type = SDL_WINDOWEVENT;
        enter.window.event = SDL_WINDOWEVENT_ENTER;
        enter.window.windowID = static_cast<Uint32>(this->gfx->GetWindowHandler().GetHwnd());
        ASSERT_EQ(SDL_PushEvent(&enter), 1) << SDL_GetError();
        this->gfx->Trigger();
        EXPECT_EQ(this->WindowCalls({"Show"}), (std::vector<std::string>{c.shown})) << c.visibility;
    }
}

TEST_F(ServicesTest, ACursorFileThatDoesNotLoadIsReported)
{
    this->Tcl("/sys/servers/gfx.setmousecursor " + this->dir + "/missing.png 0 0");
    this->log.text.clear();
    this->Frame();
    EXPECT_NE(this->log.text.find("could not load the mouse cursor"), std::string::npos);
    EXPECT_TRUE(this->WindowCalls({"CursorImage"}).empty());
}

TEST_F(ServicesTest, ACursorFileThatIsNoImageIsReportedOnceAndThePreviousImageStays)
{
    const unsigned char px[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 0};
    ASSERT_TRUE(stbi_write_png((this->dir + "/arrow.png").c_str(), 2, 2, 4, px, 8));
    {
        std::ofstream text(this->dir + "/notes.png");
        text << "not a picture\n";
    }
    this->Tcl("/sys/servers/gfx.setmousecursor " + this->dir + "/arrow.png 0 0");
    this->Tcl("/sys/servers/gfx.setcursorvisibility custom");
    this->Frame();
    ASSERT_EQ(this->WindowCalls({"CursorImage"}).size(), 1u);

    this->log.text.clear();
    this->Tcl("/sys/servers/gfx.setmousecursor " + this->dir + "/notes.png 0 0");
    this->Frame();
    this->Tcl("/sys/servers/gfx.setcursorvisibility none");
    this->Frame();
    this->Frame();
    // the image is not replaced, the visibility still follows the script
    EXPECT_EQ(this->WindowCalls({"CursorImage", "Show"}), (std::vector<std::string>{"ShowImageCursor 1", "ShowCursor 1",
                                                                               "ShowImageCursor 0", "ShowCursor 0"}));
    EXPECT_EQ(this->window->cursorPixels, std::vector<unsigned char>(px, px + 16));
    const std::string line = "could not load the mouse cursor '" + this->dir + "/notes.png'";
    const size_t first = this->log.text.find(line);
    EXPECT_NE(first, std::string::npos) << this->log.text;
    EXPECT_EQ(this->log.text.find(line, first + 1), std::string::npos) << this->log.text;
    EXPECT_NE(this->log.text.find("notes.png': it is no image"), std::string::npos) << this->log.text;
    EXPECT_FALSE(this->gfx->GetMouseCursor().IsLoaded());

    // a cursor set anew is tried anew
    this->Tcl("/sys/servers/gfx.setmousecursor " + this->dir + "/arrow.png 1 1");
    this->Frame();
    EXPECT_EQ(this->WindowCalls({"CursorImage"}), (std::vector<std::string>{"CursorImage 2x2 hot 1 1"}));
}

//--- display modes, statistics, screenshots ------------------------------------------------------

TEST_F(ServicesTest, TheDisplayModeTreeIsMadeOnce)
{
    this->dev->caps.vertexShaderVersion = 0x0101;
    this->dev->caps.pixelShaderVersion = 0x0204;
    this->gfx->CreateDisplayModeEnvVars();
    auto* w = static_cast<nEnv*>(this->ks->Lookup("/sys/share/display/adapter0/modes/mode2/width"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetI(), 1024);
    auto* name = static_cast<nEnv*>(this->ks->Lookup("/sys/share/display/adapter0/deviceName"));
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name->GetS(), "null");
    const auto capI = [this](const char* name) {
        auto* e = static_cast<nEnv*>(this->ks->Lookup((std::string("/sys/share/display/adapter0/caps/") + name).c_str()));
        return e ? e->GetI() : -1;
    };
    EXPECT_EQ(capI("vertexShader/majorVerNum"), 1);
    EXPECT_EQ(capI("vertexShader/minorVerNum"), 1);
    EXPECT_EQ(capI("pixelShader/majorVerNum"), 2);
    EXPECT_EQ(capI("pixelShader/minorVerNum"), 4);
    this->window->modes.push_back({1920, 1080, 60});
    this->gfx->CreateDisplayModeEnvVars();
    EXPECT_EQ(this->ks->Lookup("/sys/share/display/adapter0/modes/mode3"), nullptr);
}

TEST_F(ServicesTest, TwoPresentsAtOneTimeReportAMillionFramesASecond)
{
    nTimeServer* time = nTimeServer::Instance();
    time->StopTime();
    this->Frame();
    this->Frame();
    auto* fps = static_cast<nEnv*>(this->ks->Lookup("/sys/var/gfxFPS"));
    ASSERT_NE(fps, nullptr);
    EXPECT_FLOAT_EQ(fps->GetF(), 1000000.0f);
    for (const char* name : {"gfxTexTrashing", "gfxTexTotalBytes", "gfxNumTextureChanges"})
    {
        EXPECT_NE(this->ks->Lookup((std::string("/sys/var/") + name).c_str()), nullptr) << name;
    }
}

TEST_F(ServicesTest, ATgaScreenshotIsWrittenAndUnknownExtensionsSaveABitmap)
{
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->Clear(nGfxServer2::ColorBuffer, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
    this->gfx->EndScene();
    this->gfx->PresentScene();
    EXPECT_TRUE(this->gfx->Screenshot((this->dir + "/s.tga").c_str()));
    const std::string tga = ReadWholeFile(this->dir + "/s.tga");
    ASSERT_GT(tga.size(), 18u);
    EXPECT_EQ(tga[12], 64);  // width, little endian
    this->log.text.clear();
    EXPECT_TRUE(this->gfx->Screenshot((this->dir + "/s.what").c_str()));
    EXPECT_EQ(ReadWholeFile(this->dir + "/s.what").substr(0, 2), "BM");
    EXPECT_NE(this->log.text.find("Unknown extension -- saving as bitmap."), std::string::npos);
    EXPECT_FALSE(this->gfx->Screenshot((this->dir + "/no/such/dir/s.png").c_str()));
    EXPECT_NE(this->log.text.find("Failed to save file"), std::string::npos);
}

//--- viewport and clear -------------------------------------------------------------------------

TEST_F(ServicesTest, TheViewportReachesTheDeviceInWholePixels)
{
    this->gfx->SetViewport(nViewport(1.5f, 2.0f, 30.9f, 40.0f, 0.0f, 1.0f));
    EXPECT_EQ(this->Calls({"Viewport"}), (std::vector<std::string>{"Viewport 1 2 30 40"}));
    this->gfx->SetViewport(nViewport(std::nanf(""), 0.0f, INFINITY, 1e30f, 0.0f, 1.0f));
    EXPECT_EQ(this->Calls({"Viewport"}), (std::vector<std::string>{"Viewport 0 0 0 0"}));
}

TEST_F(ServicesTest, AClearOfAllBuffersSparesTheStencilOfADepthFormatWithoutOne)
{
    this->gfx->CloseDisplay();
    this->dev->RefuseFormat(nGfxFormat::D24S8);
    this->dev->RefuseFormat(nGfxFormat::D24X4S4);
    ASSERT_TRUE(this->gfx->OpenDisplay());
    ASSERT_EQ(this->gfx->GetPresentParams().depthStencilFormat, nGfxFormat::D24X8);
    this->dev->calls.clear();
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
    this->gfx->EndScene();
    EXPECT_EQ(this->Calls({"Clear"}), (std::vector<std::string>{"Clear 3"}));
}

//--- shared values ------------------------------------------------------------------------------

TEST_F(ServicesTest, TransformsAndTheFirstLightReachTheSharedValues)
{
    ASSERT_NE(this->gfx->GetSharedShader(), nullptr);
    matrix44 view;
    view.set_pos_component(vector3(1.0f, 2.0f, 3.0f));
    const std::vector<float> lightPosBefore = this->Shared("LightPos");
    const std::vector<float> tex0Before = this->Shared("TextureTransform0");
    this->gfx->SetTransform(nGfxServer2::View, view);
    std::vector<float> eye = this->Shared("EyePos");
    ASSERT_GE(eye.size(), 3u);
    // the eye sits at the translation of the inverse view
    EXPECT_FLOAT_EQ(eye[0], -1.0f);
    EXPECT_FLOAT_EQ(eye[2], -3.0f);
    EXPECT_EQ(this->Shared("LightPos"), lightPosBefore);

    matrix44 t1;
    t1.scale(vector3(2.0f, 2.0f, 2.0f));
    this->gfx->SetTransform(nGfxServer2::Texture1, t1);
    EXPECT_FLOAT_EQ(this->Shared("TextureTransform1")[0], 2.0f);
    EXPECT_EQ(this->Shared("TextureTransform0"), tex0Before);

    ASSERT_TRUE(this->gfx->BeginScene());
    nLight first, second;
    first.diffuse = vector4(0.25f, 0.5f, 0.75f, 1.0f);
    second.diffuse = vector4(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(this->gfx->AddLight(first), 1);
    EXPECT_EQ(this->gfx->AddLight(second), 2);
    EXPECT_EQ(this->Shared("LightDiffuse"), (std::vector<float>{0.25f, 0.5f, 0.75f, 1.0f}));
    this->gfx->EndScene();
}

//--- instance streams -------------------------------------------------------------------------

TEST_F(ServicesTest, AnInstanceDeclarationGivesStrideAndOffsets)
{
    nInstanceStream* s = Keep(this->gfx->NewInstanceStream("inst"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetNumInstances(), 0);  // not loaded: no division by a zero stride
    nInstanceStream::Declaration decl;
    decl.Append(nInstanceStream::Component(nShaderState::Float4, nShaderState::MatDiffuse));
    decl.Append(nInstanceStream::Component(nShaderState::Matrix44, nShaderState::Model));
    s->SetDeclaration(decl);
    ASSERT_TRUE(s->Load());
    EXPECT_EQ(s->GetStride(), 20);
    EXPECT_EQ(s->GetDeclaration()[0].offset, 0);
    EXPECT_EQ(s->GetDeclaration()[1].offset, 4);
    s->Lock(nInstanceStream::Write);
    for (int i = 0; i < 100; i++) s->WriteFloat((float)i);
    s->Unlock();
    EXPECT_EQ(s->GetNumInstances(), 5);
    // the allocated floats, each counted once in bytes
    EXPECT_GE(s->GetByteSize(), 400);
    EXPECT_LT(s->GetByteSize(), 400 * 4);
    EXPECT_ASSERT_DEATH(s->Lock(nInstanceStream::Read | nInstanceStream::Append), "0 == (flags & Append)");
    s->Unload();
    EXPECT_EQ(s->GetNumInstances(), 0);
    EXPECT_EQ(s->GetByteSize(), 0);
}

TEST_F(ServicesTest, AnInstancedDrawReplaysEveryInstanceAsOneDrawCall)
{
    const std::string path = this->dir + "/flat.fx";
    WriteWholeFile(path, R"(float4 MatDiffuse = {1,1,1,1};
vertex vs { void main() { gl_Position = nPosition; } }
fragment ps { void main() { nFragColor = MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; } }
)");
    nShader2* fx = Keep(this->gfx->NewShader("flat"));
    fx->SetFilename(path.c_str());
    ASSERT_TRUE(fx->Load());
    nInstanceStream* s = Keep(this->gfx->NewInstanceStream("inst"));
    nInstanceStream::Declaration decl;
    decl.Append(nInstanceStream::Component(nShaderState::Float4, nShaderState::MatDiffuse));
    s->SetDeclaration(decl);
    ASSERT_TRUE(s->Load());
    s->Lock(nInstanceStream::Write);
    for (int i = 0; i < 3; i++) s->WriteFloat4({(float)i, 0.0f, 0.0f, 1.0f});
    s->Unlock();

    nDynamicMesh dm;
    ASSERT_TRUE(dm.Initialize(nGfxServer2::TriangleList, nMesh2::Coord, 0, true));
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->SetShader(fx);
    fx->Begin(false);
    fx->BeginPass(0);
    float* v;
    ushort* ix;
    int mv, mi;
    dm.BeginIndexed(v, ix, mv, mi);
    for (int i = 0; i < 3; i++) ix[i] = (ushort)i;
    this->gfx->SetInstanceStream(s);
    dm.EndIndexed(3, 3);
    this->gfx->SetInstanceStream(nullptr);
    fx->EndPass();
    fx->End();
    this->gfx->EndScene();
    this->gfx->PresentScene();
    EXPECT_EQ(this->Calls({"DrawIndexed"}).size(), 3u);
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/sys/var/gfxNumDrawCalls"))->GetI(), 1);
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/sys/var/gfxNumPrimitives"))->GetI(), 3);
    EXPECT_FLOAT_EQ(static_cast<nD3D9Shader*>(fx)->GetValue("MatDiffuse")->floats[0], 2.0f);
}

//--- mesh arrays --------------------------------------------------------------------------------

TEST_F(ServicesTest, AMeshArrayDeclaresEveryStreamAndUnloadsOnANewFile)
{
    TestMesh m;
    m.components = nMesh2::Coord | nMesh2::Uv0;
    m.vertexWidth = 5;
    m.vertices = {0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    m.indices = {0, 1, 2};
    m.groups = {{0, 3, 0, 1, 0, 0}};
    const std::string a = this->dir + "/a.n3d2";
    const std::string b = this->dir + "/b.n3d2";
    WriteWholeFile(a, m.N3d2());
    WriteWholeFile(b, m.N3d2());
    auto* arr = static_cast<nD3D9MeshArray*>(Keep(this->gfx->NewMeshArray("arr")));
    ASSERT_NE(arr, nullptr);
    arr->SetFilename(0, a.c_str());
    arr->SetFilename(1, b.c_str());
    ASSERT_TRUE(arr->Load());
    ASSERT_TRUE(arr->GetVertexDeclaration().IsValid());
    std::vector<std::string> positions;
    for (const nD3D9MeshArray::Element& e : arr->GetElements())
    {
        positions.push_back(std::to_string(e.stream) + ":" + std::to_string(e.component) + ":" +
                            std::to_string(e.usageIndex) + "@" + std::to_string(e.offset));
    }
    // coord in both streams (usage 0 and 1), uv0 only in stream 0
    EXPECT_EQ(positions, (std::vector<std::string>{"0:1:0@0", "0:4:0@12", "1:1:1@0"}));

    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->SetMeshArray(arr);
    EXPECT_EQ(this->gfx->GetMeshArray(), arr);
    this->gfx->SetIndexRange(0, 3);
    this->gfx->SetVertexRange(0, 3);
    this->gfx->DrawIndexedNS(nGfxServer2::TriangleList);
    EXPECT_EQ(this->Calls({"DrawIndexed"}).size(), 1u);
    this->gfx->EndScene();

    // a new file name unloads at once (and unbinds), so the next load reads it
    arr->SetFilename(1, a.c_str());
    EXPECT_FALSE(arr->IsLoaded());
    EXPECT_EQ(this->gfx->GetMeshArray(), nullptr);
    ASSERT_TRUE(arr->Load());
    EXPECT_STREQ(arr->GetMeshAt(1)->GetFilename().Get(), a.c_str());

    // a mesh of the bound array that unloads takes the array off the server
    this->gfx->SetMeshArray(arr);
    arr->GetMeshAt(1)->Unload();
    EXPECT_EQ(this->gfx->GetMeshArray(), nullptr);
}

TEST_F(ServicesTest, AMeshArrayWithAFailingMeshIsValidAndReportsFalse)
{
    auto* arr = static_cast<nD3D9MeshArray*>(Keep(this->gfx->NewMeshArray("bad")));
    arr->SetFilename(0, (this->dir + "/missing.n3d2").c_str());
    EXPECT_FALSE(arr->Load());
    EXPECT_TRUE(arr->IsValid());
}

}  // namespace

namespace
{

//--- shapes --------------------------------------------------------------------------------------

TEST_F(ServicesTest, ShapesDrawTheirMeshesInTheirColourOnlyBetweenBeginAndEnd)
{
    ASSERT_TRUE(this->gfx->BeginScene());
    EXPECT_ASSERT_DEATH(this->gfx->DrawShape(nGfxServer2::Box, matrix44(), vector4(1, 0, 0, 1)),
                        "this->shapeMeshes[type].isvalid()");
    this->gfx->BeginShapes();
    this->dev->calls.clear();
    for (int t = nGfxServer2::Box; t <= nGfxServer2::Teapot; t++)
    {
        this->gfx->DrawShape(nGfxServer2::ShapeType(t), matrix44(), vector4(0.0f, 1.0f, 0.0f, 0.5f));
    }
    this->gfx->EndShapes();
    EXPECT_EQ(this->Calls({"DrawIndexed"}).size(), 5u);
    EXPECT_ASSERT_DEATH(this->gfx->DrawShape(nGfxServer2::Box, matrix44(), vector4(1, 0, 0, 1)),
                        "this->inBeginShapes");
    this->gfx->EndScene();
}

TEST_F(ServicesTest, ShapesMadeWhileTheBoxIsMissingAreHeldOnce)
{
    // a mesh array of the box's name in the shared pool keeps the box from being made
    Keep(this->gfx->NewMeshArray("shape_box"));
    ASSERT_TRUE(this->gfx->BeginScene());
    for (int pass = 0; pass < 3; pass++)
    {
        this->gfx->BeginShapes();
        this->gfx->EndShapes();
    }
    this->gfx->EndScene();
    nResource* cylinder = nResourceServer::Instance()->FindResource("shape_cylinder", nResource::Mesh);
    ASSERT_NE(cylinder, nullptr);
    EXPECT_EQ(cylinder->GetRefCount(), 1);
}

//--- surfaces ------------------------------------------------------------------------------------

TEST_F(ServicesTest, ASurfaceWritesItsTextureLevelFromMemory)
{
    nTexture2* t = Keep(this->gfx->NewTexture("surf"));
    t->SetUsage(nTexture2::CreateEmpty);
    t->SetType(nTexture2::TEXTURE_2D);
    t->SetFormat(nTexture2::A8R8G8B8);
    t->SetWidth(4);
    t->SetHeight(4);
    ASSERT_TRUE(t->Load());
    nSurface* s = nullptr;
    t->GetSurfaceLevel("/usr/surf0", 0, &s);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->IsA("nd3d9surface"));
    // two rows of two pixels with a pitch of 12 bytes (4 unused at each end)
    unsigned char src[24] = {};
    for (int i = 0; i < 8; i++) src[i] = src[12 + i] = (unsigned char)(i + 1);
    s->LoadFromMemory(src, nTexture2::A8R8G8B8, 2, 2, 12);
    nTexture2::LockInfo info;
    ASSERT_TRUE(t->Lock(nTexture2::ReadOnly, 0, info));
    const auto* px = static_cast<const unsigned char*>(info.surfPointer);
    EXPECT_EQ(px[0], 1);
    EXPECT_EQ(px[7], 8);
    EXPECT_EQ(px[info.surfPitch + 4], 5);
    EXPECT_EQ(px[8], 0);  // the third pixel of row 0 was not written
    t->Unlock(0);

    int pitch = 0;
    void* pixels = nullptr;
    s->Lock(pitch, pixels);
    EXPECT_EQ(pitch, 16);
    static_cast<unsigned char*>(pixels)[15] = 99;
    s->Unlock();
    ASSERT_TRUE(t->Lock(nTexture2::ReadOnly, 0, info));
    EXPECT_EQ(static_cast<const unsigned char*>(info.surfPointer)[15], 99);
    t->Unlock(0);

    EXPECT_ASSERT_DEATH(s->LoadFromMemory(src, nTexture2::DXT1, 2, 2, 12), "SUCCEEDED(hr)");
    s->Release();
}

TEST_F(ServicesTest, ASurfaceConvertsPixelsOfAnotherFormat)
{
    // one pixel of a colour in the source format, and the bytes the
    // destination holds afterwards (little-endian words)
    const float f4[4] = {1.0f, 0.5f, 0.0f, 0.25f};
    const float f1 = 0.5f;
    const unsigned short r5g6b5 = 0xF81F;   // magenta
    const unsigned short a4 = 0x8F00;       // half alpha, red
    const unsigned int argb = 0x80FF0000u;  // half alpha, red
    const unsigned char a8 = 0x40;
    const struct
    {
        nTexture2::Format dst;
        nTexture2::Format src;
        const void* pixel;
        std::vector<unsigned char> expected;
    } cases[] = {
        {nTexture2::A8R8G8B8, nTexture2::R5G6B5, &r5g6b5, {0xFF, 0x00, 0xFF, 0xFF}},
        {nTexture2::A8R8G8B8, nTexture2::A4R4G4B4, &a4, {0x00, 0x00, 0xFF, 0x88}},
        {nTexture2::A8R8G8B8, nTexture2::A8, &a8, {0x00, 0x00, 0x00, 0x40}},
        {nTexture2::A8R8G8B8, nTexture2::A32B32G32R32F, f4, {0x00, 0x80, 0xFF, 0x40}},
        {nTexture2::X8R8G8B8, nTexture2::R32F, &f1, {0xFF, 0xFF, 0x80, 0xFF}},
        {nTexture2::R5G6B5, nTexture2::A8R8G8B8, &argb, {0x00, 0xF8}},
        {nTexture2::A1R5G5B5, nTexture2::A8R8G8B8, &argb, {0x00, 0xFC}},
    };
    int n = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(n);
        nTexture2* t = Keep(this->gfx->NewTexture(("conv" + std::to_string(n++)).c_str()));
        t->SetUsage(nTexture2::CreateEmpty);
        t->SetType(nTexture2::TEXTURE_2D);
        t->SetFormat(c.dst);
        t->SetWidth(1);
        t->SetHeight(1);
        ASSERT_TRUE(t->Load());
        nSurface* s = nullptr;
        t->GetSurfaceLevel("/usr/conv", 0, &s);
        ASSERT_NE(s, nullptr);
        s->LoadFromMemory(c.pixel, c.src, 1, 1, 16);
        s->Release();
        nTexture2::LockInfo info;
        ASSERT_TRUE(t->Lock(nTexture2::ReadOnly, 0, info));
        const auto* px = static_cast<const unsigned char*>(info.surfPointer);
        EXPECT_EQ(std::vector<unsigned char>(px, px + c.expected.size()), c.expected);
        t->Unlock(0);
    }
}

TEST_F(ServicesTest, AStageGetsItsTextureBackAfterAnEffectBoundItsSamplerToTheUnit)
{
    nTexture2* mine = Keep(this->NewSmallTexture("mine"));
    nTexture2* effects = Keep(this->NewSmallTexture("effects"));
    nShader2* fx = this->NewSampledEffect("sampled");
    const nGfxTextureHandle mineDev = static_cast<nD3D9Texture*>(mine)->GetDeviceTexture();
    this->gfx->SetTexture(0, mine);
    EXPECT_EQ(this->dev->GetBoundTexture(0), mineDev);
    fx->SetTexture(nShaderState::DiffMap0, effects);
    fx->Begin(false);
    fx->BeginPass(0);
    fx->EndPass();
    fx->End();
    EXPECT_NE(this->dev->GetBoundTexture(0), mineDev);  // the effect's sampler 0 reads unit 0
    this->gfx->SetTexture(0, mine);
    EXPECT_EQ(this->dev->GetBoundTexture(0), mineDev);
    EXPECT_EQ(this->gfx->GetTexture(0), mine);
}

TEST_F(ServicesTest, AnEffectWhoseTexturePoolIsDeletedDrawsWithoutTheTexture)
{
    // held by the effect's value only, as a scene node's texture is while the node draws
    nTexture2* tex = this->NewSmallTexture("pooled");
    nShader2* fx = this->NewSampledEffect("pooled");
    fx->SetTexture(nShaderState::DiffMap0, tex);
    // what "delete /sys/share/rsrc/tex" does: the pool dies with every texture in it
    nRoot* pool = nKernelServer::Instance()->Lookup("/sys/share/rsrc/tex");
    ASSERT_NE(pool, nullptr);
    EXPECT_TRUE(pool->Release());
    fx->Begin(false);
    fx->BeginPass(0);
    EXPECT_EQ(this->dev->GetBoundTexture(0), nGfxTextureHandle());
    fx->EndPass();
    fx->End();
    // a texture made again in the pool is bound as usual
    nTexture2* again = this->NewSmallTexture("pooled");
    fx->SetTexture(nShaderState::DiffMap0, again);
    fx->Begin(false);
    fx->BeginPass(0);
    EXPECT_EQ(this->dev->GetBoundTexture(0), static_cast<nD3D9Texture*>(again)->GetDeviceTexture());
    fx->EndPass();
    fx->End();
    again->Release();
}

}  // namespace

TEST_F(ServicesTest, RenderStateChangesCountTheShaderValuesSetNotTheDeviceStates)
{
    const std::string path = this->dir + "/counted.fx";
    WriteWholeFile(path, R"(float4 MatDiffuse = {1,1,1,1};
int CullMode = 2;
vertex vs { void main() { gl_Position = nPosition; } }
fragment ps { void main() { nFragColor = MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = <CullMode>; ZWriteEnable = false;
    AlphaBlendEnable = true; } }
)");
    nShader2* fx = Keep(this->gfx->NewShader("counted"));
    fx->SetFilename(path.c_str());
    ASSERT_TRUE(fx->Load());
    // a frame that sets 'values' shader values and begins the pass 'passes' times
    const auto frame = [&](int values, int passes) {
        EXPECT_TRUE(this->gfx->BeginScene());
        for (int i = 0; i < values; i++) fx->SetVector4(nShaderState::MatDiffuse, vector4(0, 0, 0, float(i)));
        for (int i = 0; i < passes; i++)
        {
            fx->Begin(true);
            fx->BeginPass(0);
            fx->EndPass();
            fx->End();
        }
        this->gfx->EndScene();
        this->gfx->PresentScene();
        return static_cast<nEnv*>(this->ks->Lookup("/sys/var/gfxNumRenderStateChanges"))->GetI();
    };
    const int base = frame(0, 0);
    EXPECT_EQ(frame(3, 0), base + 3);
    EXPECT_EQ(frame(0, 4), base) << "the pass's device states are not shader values";
}
