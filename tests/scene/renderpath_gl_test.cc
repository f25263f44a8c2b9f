//------------------------------------------------------------------------------
//  Render paths on the real OpenGL device: the game's path shipped under
//  data/shaders (the scene straight into the back buffer) draws a lit ball
//  and a lit block exactly as a two-pass path made by the test draws them
//  (the scene into an off-screen target of the display's size, then copied
//  to the back buffer by the full-screen quad), which data may still ask
//  for. Both frames are compared through screenshots, pixel by pixel with a
//  small tolerance; the shapes must be there and lit, and where they
//  overlap the nearer one must stay in front in the off-screen target too.
//------------------------------------------------------------------------------
#include "capturelog.h"
#include "screenshotimage.h"
#include "usertempdir.h"

#include "file/nfilepackage.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/ngfx2package.h"
#include "gfx2/ngfxserver2.h"
#include "input/ninputpackage.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "resource/nresourcepackage.h"
#include "scene/nrendercontext.h"
#include "scene/nscenenode.h"
#include "scene/nscenepackage.h"
#include "scene/nsceneserver.h"
#include "renderpath/nrenderpath2.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"
#include "variable/nvariableserver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

namespace
{

const int Width = 160;
const int Height = 120;

using Image = ScreenshotImage;

}  // namespace

class RenderPathGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nfile_package, nsignals_package, nscript_package, nvariable_package, nresource_package, ngfx2_package,
            nd3d9_package, ninput_package, nscene_package});
        this->ks->SetLogHandler(&this->log);
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->ks->New("nvariableserver", "/sys/servers/variable");
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->ks->New("ninputserver", "/sys/servers/input");
        this->gfx = static_cast<nGfxServer2*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        this->gfx->SetDisplayMode(nDisplayMode2("render path", nDisplayMode2::Windowed, 0, 0, Width, Height, false));
        this->scene = static_cast<nSceneServer*>(this->ks->New("nmrtsceneserver", "/sys/servers/scene"));
        nFileServer2* fs = nFileServer2::Instance();
        fs->SetAssign("home", ENGINE_SOURCE_DIR "/");
        fs->SetAssign("meshes", ENGINE_SOURCE_DIR "/data/meshes/");
        this->dir = MakeTempDir("rpgltest");
    }
    void TearDown() override
    {
        this->ctx.reset();
        if (this->scene->IsOpen()) this->scene->Close();
        this->ks.reset();
        std::filesystem::remove_all(this->dir);
    }

    /// a red ball and a blue block under a white light, built from script
    void BuildScene()
    {
        this->Tcl("new ntransformnode /usr/model\n"
                  "sel /usr/model\n"
                  "new nlightnode light\n"
                  "sel light\n"
                  ".setvector LightDiffuse 1 1 1 1\n.setvector LightSpecular 1 1 1 1\n"
                  ".setvector LightAmbient 0.15 0.15 0.15 1\n.setvector LightDiffuse1 0 0 0 1\n"
                  ".setvector LightSpecular1 0 0 0 1\n.setposition 2 6 8\n"
                  "sel ..\n"
                  "new nshapenode ball\n"
                  "sel ball\n"
                  ".setshader colr shaders:static.fx\n.setmesh meshes:sphere.n3d2\n"
                  ".setvector MatDiffuse 1 0.2 0.2 1\n.setint CullMode 2\n.setposition -1.6 0 0\n"
                  "sel ..\n"
                  "new nshapenode block\n"
                  "sel block\n"
                  ".setshader colr shaders:static.fx\n.setmesh meshes:box.n3d2\n"
                  ".setvector MatDiffuse 0.2 0.3 1 1\n.setint CullMode 2\n.setposition 1.6 0 0\n"
                  ".seteuler 25 35 0\n.setscale 1.6 1.6 1.6\n"
                  "sel ..\n"
                  "sel /\n");
        nSceneNode* root = static_cast<nSceneNode*>(this->ks->Lookup("/usr/model"));
        ASSERT_NE(root, nullptr);
        this->ctx = std::make_unique<nRenderContext>();
        this->ctx->SetRootNode(root);
        nVariableServer* vars = nVariableServer::Instance();
        this->ctx->AddVariable(nVariable(vars->GetVariableHandleByName("time"), 0.0f));
        root->RenderContextCreated(this->ctx.get());
    }

    /// opens the scene server on a path file, draws one frame as the
    /// application does and writes a screenshot of it; its pixels
    Image RenderWith(const std::string& pathFile, const std::string& shot)
    {
        if (this->scene->IsOpen()) this->scene->Close();
        this->scene->SetRenderPathFilename(pathFile.c_str());
        EXPECT_TRUE(this->scene->Open()) << this->log.text;
        nCamera2 camera;
        this->gfx->SetCamera(camera);
        matrix44 viewer;
        viewer.translate(vector3(0.0f, 0.0f, 9.0f));
        // as the application's main loop does before every frame
        this->scene->GetRenderPath()->Validate();
        EXPECT_TRUE(this->scene->BeginScene(viewer));
        this->scene->Attach(this->ctx.get());
        this->scene->RenderScene();
        this->scene->EndScene();
        this->scene->PresentScene();
        const std::string file = (this->dir / shot).string();
        EXPECT_TRUE(this->gfx->Screenshot(file.c_str())) << this->log.text;
        return ReadScreenshot(file);
    }

    /// the frame through the game's path and through the two-pass reference path
    std::pair<Image, Image> RenderBothPaths()
    {
        Image game = this->RenderWith("home:data/shaders/renderpath.xml", "game.png");
        return {std::move(game), this->RenderWith(ENGINE_SOURCE_DIR "/tests/scene/data/twopass_renderpath.xml", "reference.png")};
    }

    void Tcl(const std::string& str)
    {
        nString result;
        ASSERT_TRUE(this->script->Run(str.c_str(), result)) << result.Get();
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nGfxServer2* gfx = nullptr;
    nSceneServer* scene = nullptr;
    std::unique_ptr<nRenderContext> ctx;
    std::filesystem::path dir;
};

TEST_F(RenderPathGLTest, TheGamesOnePassPathDrawsWhatTwoPassesDraw)
{
    this->BuildScene();
    const auto [game, reference] = this->RenderBothPaths();
    ASSERT_EQ(game.width, Width);
    ASSERT_EQ(game.height, Height);
    ASSERT_EQ(reference.width, Width);
    ASSERT_EQ(reference.height, Height);

    // the corners show the clear colour, the shapes' centres their lit colours
    const unsigned char* corner = game.At(2, 2);
    EXPECT_NEAR(corner[0], 13, 2);
    EXPECT_NEAR(corner[1], 13, 2);
    EXPECT_NEAR(corner[2], 26, 2);
    int redCount = 0;
    int blueCount = 0;
    for (int y = 0; y < Height; y++)
    {
        for (int x = 0; x < Width; x++)
        {
            const unsigned char* p = game.At(x, y);
            if (p[0] > 100 && p[0] > 2 * p[2]) redCount += x < Width / 2 ? 1 : 0;
            if (p[2] > 100 && p[2] > 2 * p[0]) blueCount += x >= Width / 2 ? 1 : 0;
        }
    }
    EXPECT_GT(redCount, 200) << "the ball is missing from the left half";
    EXPECT_GT(blueCount, 200) << "the block is missing from the right half";

    int worst = 0;
    for (int y = 0; y < Height; y += 3)
    {
        for (int x = 0; x < Width; x += 3)
        {
            for (int c = 0; c < 3; c++)
            {
                worst = std::max(worst, std::abs(int(game.At(x, y)[c]) - int(reference.At(x, y)[c])));
            }
        }
    }
    EXPECT_LE(worst, 3);
}

TEST_F(RenderPathGLTest, TheOffScreenSceneTestsDepthLikeTheBackBuffer)
{
    // the ball before the block: drawn front to back, the block comes later and must stay behind
    this->BuildScene();
    this->Tcl("/usr/model/ball.setposition 0 0 1.5\n/usr/model/block.setposition 0 0 -1.5\n");
    const auto [game, reference] = this->RenderBothPaths();
    ASSERT_EQ(game.width, Width);
    ASSERT_EQ(reference.width, Width);
    for (const Image* img : {&game, &reference})
    {
        const unsigned char* centre = img->At(Width / 2, Height / 2);
        EXPECT_GT(centre[0], 100);
        EXPECT_GT(centre[0], 2 * centre[2]) << "the block covers the ball";
    }
}
