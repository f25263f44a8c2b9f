//------------------------------------------------------------------------------
//  A scene set up from Tcl and drawn on the real OpenGL device: the display
//  mode, a camera node, a textured quad mesh with an effect and a light.
//  The frame is saved through the graphics server's screenshot command in
//  every format it knows, and the saved pixels are compared at a few
//  places with a reference the test computes (texel x light colour); the
//  statistics count what was drawn.
//------------------------------------------------------------------------------
#include "tclrun.h"
#include "capturelog.h"
#include "opende/meshfiles.h"
#include "usertempdir.h"

#include "file/nfilepackage.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/ngfx2package.h"
#include "input/ninputpackage.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "resource/nresourcepackage.h"
#include "scene/nrendercontext.h"
#include "scene/nscenenode.h"
#include "scene/nscenepackage.h"
#include "scene/nsceneserver.h"
#include "scene/ntransformnode.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"
#include "variable/nvariableserver.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace
{

/// the render pass every shape is drawn with ("colr")
const nFourCC ColrPass = 0x726C6F63;

/// the texture's quadrant colours: top left, top right, bottom left, bottom right
const unsigned char texels[4][4] = {
    {200, 40, 40, 255}, {40, 200, 40, 255}, {40, 40, 200, 255}, {200, 200, 40, 255}};

/// the light's diffuse colour the effect multiplies with
const float lightDiffuse[4] = {1.0f, 0.5f, 1.0f, 1.0f};

const char* const litFx = R"(shared float4x4 ModelViewProjection;
shared float4 LightDiffuse;
texture DiffMap0;
sampler2D DiffSampler = sampler_state { Texture = <DiffMap0>; AddressU = Clamp; AddressV = Clamp;
    MinFilter = Point; MagFilter = Point; };
vertex vs { out vec2 uv; void main() { gl_Position = ModelViewProjection * nPosition; uv = nUv0; } }
fragment ps { in vec2 uv; void main() { nFragColor = texture(DiffSampler, uv) * LightDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; } }
)";

class SceneGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->dir = MakeTempDir("sceneglt");
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nfile_package, nsignals_package, nscript_package, nvariable_package, nresource_package, ngfx2_package,
            ninput_package, nscene_package});
        nd3d9_package();
        this->ks->SetLogHandler(&this->log);
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->vars = static_cast<nVariableServer*>(this->ks->New("nvariableserver", "/sys/servers/variable"));
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        this->scene = static_cast<nSceneServer*>(this->ks->New("nsceneserver", "/sys/servers/scene"));
        nFileServer2* fs = this->ks->GetFileServer();
        fs->SetAssign("tst", (this->dir + "/").c_str());
        WriteWholeFile(this->dir + "/renderpath.xml",
                       R"(<RenderPath name="t" shaderpath="tst:"><Pass name="p"/></RenderPath>)");
        this->scene->SetRenderPathFilename("tst:renderpath.xml");
        this->WriteData();
    }

    void TearDown() override
    {
        if (this->scene->IsOpen()) this->scene->Close();
        if (this->gfx->IsDisplayOpen()) this->gfx->CloseDisplay();
        this->ks.reset();
        std::filesystem::remove_all(this->dir);
    }

    /// the quad mesh, the texture and the effect in "tst:"
    void WriteData()
    {
        TestMesh m;
        m.components = 1 | 4;  // coord, uv0
        m.vertexWidth = 5;
        const float corners[4][5] = {{-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0}, {-1, -1, 0, 0, 1}, {1, -1, 0, 1, 1}};
        for (const auto& c : corners) m.vertices.insert(m.vertices.end(), c, c + 5);
        m.indices = {0, 1, 2, 1, 3, 2};
        m.groups = {{0, 4, 0, 2, 0, 0}};
        WriteWholeFile(this->dir + "/quad.n3d2", m.N3d2());
        unsigned char img[2 * 2 * 4];
        for (int i = 0; i < 4; i++) std::copy(texels[i], texels[i] + 4, img + i * 4);
        ASSERT_TRUE(stbi_write_bmp((this->dir + "/tex.bmp").c_str(), 2, 2, 4, img));
        WriteWholeFile(this->dir + "/lit.fx", litFx);
        // the render path points "shaders:" here; the server's own effects come along
        for (const char* fx : {"shape.fx", "shared.fx"})
        {
            WriteWholeFile(this->dir + "/" + fx, ReadWholeFile(std::string(ENGINE_SHADERS_DIR) + fx));
        }
    }

    /// one frame of the scene below "/usr/scene" seen from "/usr/camera",
    /// the way the render path's shape phase draws it
    void DrawFrame()
    {
        auto* root = static_cast<nSceneNode*>(this->ks->Lookup("/usr/scene"));
        auto* camera = static_cast<nTransformNode*>(this->ks->Lookup("/usr/camera"));
        ASSERT_NE(root, nullptr);
        ASSERT_NE(camera, nullptr);
        nRenderContext ctx;
        ctx.SetRootNode(root);
        ctx.AddVariable(nVariable(this->vars->GetVariableHandleByName("time"), 0.0f));
        root->RenderContextCreated(&ctx);
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        this->scene->BeginScene(camera->GetTransform());
        this->scene->Attach(&ctx);
        for (int i = 0; i < this->scene->GetNumGroups(); i++)
        {
            const nSceneServer::Group& group = this->scene->GetGroupAt(i);
            nSceneNode* node = group.sceneNode;
            if (!node->AreResourcesValid()) node->LoadResources();
            if (node->HasLight()) node->RenderLight(this->scene, &ctx, group.modelTransform);
        }
        for (int i = 0; i < this->scene->GetNumGroups(); i++)
        {
            const nSceneServer::Group& group = this->scene->GetGroupAt(i);
            nSceneNode* node = group.sceneNode;
            if (!node->HasGeometry() || !node->ApplyShader(ColrPass, this->scene)) continue;
            this->gfx->SetTransform(nGfxServer2::Model, group.modelTransform);
            node->RenderShader(ColrPass, this->scene, &ctx);
            nShader2* shader = this->gfx->GetShader();
            const int passes = shader->Begin(false);
            for (int p = 0; p < passes; p++)
            {
                shader->BeginPass(p);
                if (node->ApplyGeometry(this->scene)) node->RenderGeometry(this->scene, &ctx);
                shader->EndPass();
            }
            shader->End();
        }
        this->scene->EndScene();
        this->gfx->EndScene();
        this->gfx->PresentScene();
        root->RenderContextDestroyed(&ctx);
    }

    int StatI(const char* name)
    {
        nEnv* env = static_cast<nEnv*>(this->ks->Lookup((std::string("/sys/var/") + name).c_str()));
        return env ? env->GetI() : -1;
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nVariableServer* vars = nullptr;
    nD3D9Server* gfx = nullptr;
    nSceneServer* scene = nullptr;
    std::string dir;
};

TEST_F(SceneGLTest, ATclSceneRendersAndItsScreenshotMatchesTheReference)
{
    TclOk(this->script, R"(
        /sys/servers/gfx.setdisplaymode "scene" "windowed" 0 0 64 48 false
    )");
    // the scene server opens the display in the mode the script set
    ASSERT_TRUE(this->scene->Open()) << this->log.text;
    ASSERT_TRUE(this->gfx->IsDisplayOpen());
    TclOk(this->script, R"(
        new ntransformnode /usr/camera
        /usr/camera.setposition 0 0 3
        new ntransformnode /usr/scene
        new nlightnode /usr/scene/light
        /usr/scene/light.setvector LightDiffuse 1 0.5 1 1
        new nshapenode /usr/scene/quad
        /usr/scene/quad.setmesh "tst:quad.n3d2"
        /usr/scene/quad.setshader colr "tst:lit.fx"
        /usr/scene/quad.settexture DiffMap0 "tst:tex.bmp"
    )");
    this->DrawFrame();
    EXPECT_EQ(this->StatI("gfxNumDrawCalls"), 1);
    EXPECT_EQ(this->StatI("gfxNumPrimitives"), 2);
    EXPECT_GE(this->StatI("gfxNumTextureChanges"), 1);
    EXPECT_GE(this->StatI("gfxNumRenderStateChanges"), 1);

    // the quad fills the middle of the frame; each quarter of it shows its texel
    const int w = 64, h = 48, cx = w / 2, cy = h / 2;
    struct Probe
    {
        int x, y, texel;
    };
    const Probe probes[] = {{cx - 4, cy - 4, 0}, {cx + 4, cy - 4, 1}, {cx - 4, cy + 4, 2}, {cx + 4, cy + 4, 3}};
    int n = 0;
    for (const char* ext : {"png", "bmp", "tga", "dib", "jpg", "xyz"})
    {
        SCOPED_TRACE(ext);
        const std::string name = std::string("tst:shot.") + ext;
        TclOk(this->script, "/sys/servers/gfx.savescreenshot " + name);
        int iw = 0, ih = 0;
        const std::string path = this->dir + "/shot." + ext;
        unsigned char* img = stbi_load(path.c_str(), &iw, &ih, &n, 4);
        ASSERT_NE(img, nullptr) << stbi_failure_reason();
        EXPECT_EQ(iw, w);
        EXPECT_EQ(ih, h);
        const int tol = (std::string(ext) == "jpg") ? 24 : 2;
        for (const Probe& p : probes)
        {
            const unsigned char* px = img + (p.y * iw + p.x) * 4;
            for (int c = 0; c < 3; c++)
            {
                const int expected = (int)(texels[p.texel][c] * lightDiffuse[c] + 0.5f);
                EXPECT_NEAR(px[c], expected, tol) << "pixel " << p.x << "," << p.y << " channel " << c;
            }
        }
        const unsigned char* corner = img;
        EXPECT_NEAR(corner[0] + corner[1] + corner[2], 0, tol * 3);
        stbi_image_free(img);
    }
    // the float formats: a Radiance file stb reads back, and a float map of three floats a pixel
    TclOk(this->script, "/sys/servers/gfx.savescreenshot tst:shot.hdr");
    float* hdr = stbi_loadf((this->dir + "/shot.hdr").c_str(), &n, &n, &n, 3);
    EXPECT_NE(hdr, nullptr);
    stbi_image_free(hdr);
    TclOk(this->script, "/sys/servers/gfx.savescreenshot tst:shot.pfm");
    const std::string pfm = ReadWholeFile(this->dir + "/shot.pfm");
    EXPECT_EQ(pfm.rfind("PF\n64 48\n-1.0\n", 0), 0u);
    EXPECT_EQ(pfm.size(), std::string("PF\n64 48\n-1.0\n").size() + (size_t)(w * h * 12));
    EXPECT_NE(this->log.text.find("Unknown extension -- saving as bitmap"), std::string::npos);
}

}  // namespace
