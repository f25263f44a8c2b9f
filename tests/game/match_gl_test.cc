//------------------------------------------------------------------------------
//  A match of the game's own data drawn on the real OpenGL device (SDL's
//  offscreen driver) through data/shaders/renderpath.xml, seen from the
//  match's overview camera: the lit ring, the player in red before the
//  camera and the opponent in blue facing it; then the player's straight
//  right at the moment it lands; then the near ropes as the overview camera
//  sways, which must stay white; the overview again through a two-pass
//  path, which must look the same. A few pixels are checked where the
//  projection puts the canvas, the boxers and the glove; the frames are
//  also written to <build>/screenshots/ for people to look at.
//------------------------------------------------------------------------------
#include "gameapp.h"
#include "datamatch.h"
#include "screenshotimage.h"

#include "game/nai.h"
#include "game/napp.h"
#include "game/nfist2.h"
#include "game/ngame.h"
#include "game/ngamecamera.h"
#include "game/nplayer.h"
#include "mathlib/nmath.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"
#include "kernel/ntimeserver.h"
#include "renderpath/nrenderpath2.h"
#include "scene/nsceneserver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{

const int Width = 640;
const int Height = 480;

/// the game application with the real graphics and scene servers on the game's render path
class GLGameApp : public TestGameApp
{
public:
    GLGameApp() { this->displayMode = nDisplayMode2("match", nDisplayMode2::Windowed, 0, 0, Width, Height, false); }

protected:
    nGfxServer2* CreateGfxServer() override
    {
        return static_cast<nGfxServer2*>(kernelServer->New("nd3d9server", "/sys/servers/gfx"));
    }
    nSceneServer* CreateSceneServer() override
    {
        nSceneServer* scene = static_cast<nSceneServer*>(kernelServer->New("nmrtsceneserver", "/sys/servers/scene"));
        scene->SetRenderPathFilename(nString("home:data/shaders/renderpath.xml"));
        return scene;
    }
};

N_IMPLEMENT_MODULE(glgameapp, GLGameApp, "testgameapp", nullptr)

void nmatchgl_package()
{
    nd3d9_package();
    N_ADD_MODULE(nKernelServer::Instance(), glgameapp);
}

using Image = ScreenshotImage;

bool Red(const unsigned char* p)
{
    return p[0] > 90 && p[0] > 2 * p[1] && p[0] > 2 * p[2];
}

bool Blue(const unsigned char* p)
{
    return p[2] > 90 && p[2] > 2 * p[0] && 2 * p[2] > 3 * p[1];
}

/// lit canvas: bright and nearly grey
bool Canvas(const unsigned char* p)
{
    return p[0] > 120 && p[1] > 120 && p[2] > 110 && std::abs(int(p[0]) - int(p[2])) < 40;
}

/// a rope face lit by the ambient alone (about 59, 59, 70), not the white of a lit one
bool DarkOnRope(const unsigned char* p)
{
    return p[0] < 120 && p[1] < 120 && p[2] < 130;
}

/// the red corner's skin or trunks, lit or in the shade: reddish, unlike the canvas, the ropes and the dark around the ring
bool SkinOrTrunks(const unsigned char* p)
{
    return p[0] > 40 && 10 * p[1] < 9 * p[0] && 10 * p[2] < 8 * p[0];
}

}  // namespace

class MatchGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetStandIns();
        this->ks = NewGameKernel(nmatchgl_package);
        this->ks->SetLogHandler(&this->log);
        nTimeServer::Instance()->StopTime();
        nTimeServer::Instance()->SetTime(1.0);
        nFileServer2* fs = nFileServer2::Instance();
        fs->SetAssign("home", GAME_SOURCE_DIR "/");
        // the start-up script's assigns (the script server here is a stand-in)
        const std::pair<const char*, const char*> assigns[] = {
            {"gfxlib", "data/gfxlib/"}, {"objects", "data/objects/"}, {"levels", "data/levels/"},
            {"meshes", "data/meshes/"}, {"sound", "data/sounds/"},   {"textures", "data/textures/"},
            {"lights", "data/lights/"},
        };
        for (const auto& a : assigns) fs->SetAssign(a.first, (std::string(GAME_SOURCE_DIR "/") + a.second).c_str());
        this->app = static_cast<GLGameApp*>(this->ks->New("glgameapp", "/theApp"));
        this->app->SetProjDir(GAME_SOURCE_DIR "/");
        ASSERT_TRUE(this->app->Open()) << this->log.text;
        this->gfx = nGfxServer2::Instance();
        this->scene = static_cast<nSceneServer*>(this->ks->Lookup("/sys/servers/scene"));
        std::filesystem::create_directories(ScreenshotDir);
        n_srand(1);
    }

    void TearDown() override
    {
        if (this->app->IsOpen()) this->app->Close();
        this->app->Release();
        this->ks.reset();
        // the home is the source tree here: the application's lock file does not stay in it
        std::filesystem::remove(GAME_SOURCE_DIR "/boxing.lock");
    }

    /// the match of the player against its first opponent, a third of a second in
    void EnterMatch()
    {
        nGame* game = nGame::Instance();
        game->SetPlayerProto(nString(DataMatch::PlayerProto));
        DataMatch::CentreMouse();
        game->OnStateEnter(nString("main_menu"));
        for (int i = 0; i < 20; i++) game->RunFrame(1.0f / 60.0f);
        ASSERT_TRUE(nPlayer::HasInstance());
        ASSERT_TRUE(nAI::HasInstance());
    }

    /// the match's frame drawn from the application camera, as the application's frame does; its pixels
    Image Render(const char* shot)
    {
        this->scene->GetRenderPath()->Validate();
        EXPECT_TRUE(this->scene->BeginScene(nApp::Instance()->GetCamera()->GetTransform()));
        nGame::Instance()->OnRender3D();
        this->scene->RenderScene();
        this->viewProjection = this->gfx->GetTransform(nGfxServer2::ViewProjection);
        this->scene->EndScene();
        this->scene->PresentScene();
        const std::string file = std::string(ScreenshotDir) + "/" + shot;
        EXPECT_TRUE(this->gfx->Screenshot(file.c_str())) << this->log.text;
        Image img = ReadScreenshot(file);
        EXPECT_EQ(img.width, Width);
        EXPECT_EQ(img.height, Height);
        return img;
    }

    /// where the world point lands in the frame, in pixels from the top left
    vector2 Project(const vector3& p) const
    {
        const vector4 c = this->viewProjection * vector4(p.x, p.y, p.z, 1.0f);
        return vector2((c.x / c.w + 1.0f) * 0.5f * Width, (1.0f - c.y / c.w) * 0.5f * Height);
    }

    /// how many pixels within the radius around the world point's place pass the test
    int CountAround(const Image& img, const vector3& p, int radius, bool (*test)(const unsigned char*)) const
    {
        const vector2 s = this->Project(p);
        int n = 0;
        for (int y = int(s.y) - radius; y <= int(s.y) + radius; y++)
        {
            for (int x = int(s.x) - radius; x <= int(s.x) + radius; x++)
            {
                if (x >= 0 && y >= 0 && x < img.width && y < img.height && test(img.At(x, y))) n++;
            }
        }
        return n;
    }

    static constexpr const char* ScreenshotDir = GAME_BINARY_DIR "/screenshots";

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    GLGameApp* app = nullptr;
    nGfxServer2* gfx = nullptr;
    nSceneServer* scene = nullptr;
    matrix44 viewProjection;
};

TEST_F(MatchGLTest, TheOverviewShowsTwoBoxersInTheLitRing)
{
    this->EnterMatch();
    const Image img = this->Render("match-scene.png");
    ASSERT_EQ(img.width, Width);

    // the canvas beside the boxers, lit; the clear colour far above the ring
    for (const vector3& p : {vector3(6.0f, 0.0f, 0.0f), vector3(-6.0f, 0.0f, 0.0f), vector3(5.0f, 0.0f, -7.0f)})
    {
        EXPECT_GE(this->CountAround(img, p, 2, Canvas), 20) << p.x << " " << p.z;
    }
    // the headgear and the vest of each boxer in its corner's colour, none of the other's
    const vector3 player = nPlayer::Instance()->GetTransform().gettranslation();
    const vector3 ai = nAI::Instance()->GetTransform().gettranslation();
    for (float y : {0.0f, 2.5f})
    {
        const vector3 p(player.x, player.y - y, player.z);
        const vector3 a(ai.x, ai.y - y, ai.z);
        EXPECT_GE(this->CountAround(img, p, 6, Red), 30) << y;
        EXPECT_GE(this->CountAround(img, a, 6, Blue), 30) << y;
        EXPECT_EQ(this->CountAround(img, p, 6, Blue), 0) << y;
        EXPECT_EQ(this->CountAround(img, a, 6, Red), 0) << y;
    }
}

TEST_F(MatchGLTest, TheStraightRightVisiblyReachesTheOpponent)
{
    this->EnterMatch();
    nGame* game = nGame::Instance();
    while (game->IsStarting()) game->RunFrame(1.0f / 60.0f);
    nPlayer* player = nPlayer::Instance();
    nAI* ai = nAI::Instance();
    const float health = ai->GetHealth();
    ai->SetVulnerable(5.0f);
    bool landed = false;
    for (int punch = 0; punch < 5 && !landed; punch++)
    {
        ASSERT_TRUE(DataMatch::StraightRight(player, ai, [&] { return ai->GetHealth() < health; }));
        landed = ai->GetHealth() < health;
    }
    ASSERT_TRUE(landed);
    const Image img = this->Render("match-punch.png");
    ASSERT_EQ(img.width, Width);
    // the red glove where the fist is, and that place next to the opponent's head on the screen
    const vector3 fist = player->GetRightFist()->GetTransform().gettranslation();
    const vector3 head = ai->GetTransform().gettranslation();
    EXPECT_GE(this->CountAround(img, fist, 2, Red), 8);
    EXPECT_LT((this->Project(fist) - this->Project(head)).len(), 0.1f * Width);
}

TEST_F(MatchGLTest, TheNearRopesShowNoDarkDashesAsTheCameraSways)
{
    this->EnterMatch();
    nGameCamera* cam = nApp::Instance()->GetCamera();
    // the overview's sway: its pitch and heading around the resting ones
    for (float pitch : {-1.14f, -1.1f, -1.06f})
    {
        for (float yaw : {-0.04f, -0.013f, 0.021f, 0.04f})
        {
            cam->SetEuler(vector3(pitch, yaw, 0.0f));
            const Image img = this->Render("match-ropes.png");
            ASSERT_EQ(img.width, Width);
            // the near side's three ropes, seen almost from above, lie in one band on the screen
            int dark = 0;
            int seen = 0;
            for (float x = -8.0f; x <= 8.0f; x += 0.25f)
            {
                const vector2 top = this->Project(vector3(x, 5.5f, 9.9f));
                const vector2 bottom = this->Project(vector3(x, 2.1f, 10.1f));
                for (int y = int(top.y) - 1; y <= int(bottom.y) + 1; y++)
                {
                    const int px = int(top.x);
                    if (px < 0 || y < 0 || px >= img.width || y >= img.height) continue;
                    seen++;
                    if (DarkOnRope(img.At(px, y))) dark++;
                }
            }
            EXPECT_GT(seen, 200) << pitch << " " << yaw;
            EXPECT_LE(dark, 2) << "pitch " << pitch << " heading " << yaw;
        }
    }
}

TEST_F(MatchGLTest, TheLegsRunFromTheBootsIntoTheTrunks)
{
    this->EnterMatch();
    nGame* game = nGame::Instance();
    // the first steps done: the boots stand on the footwork's anchor, away from under the boxer
    for (int i = 0; i < 60; i++) game->RunFrame(1.0f / 60.0f);
    const nPlayer* player = nPlayer::Instance();
    const vector3 anchor = player->GetFootAnchor();
    const vector3 boot(anchor.x + 1.0f, 0.0f, anchor.z);
    nGameCamera* cam = nApp::Instance()->GetCamera();
    cam->SetPosition(vector3(9.0f, 3.0f, boot.z));
    cam->SetEuler(vector3(0.0f, N_PI / 2.0f, 0.0f));
    const Image img = this->Render("match-legs.png");
    ASSERT_EQ(img.width, Width);
    // from the side, straight up the right leg: skin or trunks all the way from the sock to the pants
    for (float y = 1.5f; y <= 3.3f; y += 0.15f)
    {
        EXPECT_GE(this->CountAround(img, vector3(boot.x, y, boot.z), 1, SkinOrTrunks), 5) << y;
    }
}

TEST_F(MatchGLTest, TheOnePassFrameLooksLikeTheTwoPassFrame)
{
    this->EnterMatch();
    const Image onePass = this->Render("match-scene.png");
    this->scene->Close();
    this->scene->SetRenderPathFilename(nString(GAME_SOURCE_DIR "/tests/scene/data/twopass_renderpath.xml"));
    ASSERT_TRUE(this->scene->Open()) << this->log.text;
    const Image twoPass = this->Render("match-scene-twopass.png");
    ASSERT_EQ(onePass.width, twoPass.width);
    ASSERT_EQ(onePass.height, twoPass.height);
    int worst = 0;
    for (int y = 0; y < Height; y += 4)
    {
        for (int x = 0; x < Width; x += 4)
        {
            for (int c = 0; c < 3; c++)
            {
                worst = std::max(worst, std::abs(int(onePass.At(x, y)[c]) - int(twoPass.At(x, y)[c])));
            }
        }
    }
    EXPECT_LE(worst, 3);
}
