//------------------------------------------------------------------------------
//  A match of the game's own data drawn on the real OpenGL device (SDL's
//  offscreen driver) through data/shaders/renderpath.xml, seen from the
//  match's overview camera: the lit ring, the player in red before the
//  camera and the opponent in blue facing it; then the player's straight
//  right at the moment it lands; then the near ropes as the overview camera
//  sways, which must stay white; then a played match, where no canvas may
//  show between a boxer's trunks and legs or shoulders and gloves in any
//  sampled frame, and a landed punch, whose sparks must cover a patch
//  over the struck boxer; and the overview again through a two-pass path,
//  which must look the same. A few pixels are checked where the projection
//  puts the canvas, the boxers, the limbs and the sparks; the frames are
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
#include "game/nboxer.h"
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

#include <cmath>
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

/// the canvas itself, warm pale grey (about 193, 186, 172 lit): not the ropes' or the boxers' cooler whites
bool Floor(const unsigned char* p)
{
    const int r = p[0];
    return r > 120 && 100 * p[1] > 92 * r && p[1] <= r && 100 * p[2] > 84 * r && 100 * p[2] < 91 * r;
}

/// a hit spark: bright yellow to orange, a colour found nowhere else in the ring
bool Spark(const unsigned char* p)
{
    return p[0] >= 230 && p[1] >= 100 && 100 * p[2] <= 55 * p[1];
}

/// a world point of a part: the local point placed by the part's transform
vector3 At(nGameObject* part, const vector3& local)
{
    return part->GetTransform().getmatrix().transform_coord(local);
}

/// where a limb must join its body in a frame: the two ends of the line it covers
struct Join
{
    const char* what;
    vector3 from;
    vector3 to;
};

/// a boxer's four joins as its meshes make them: each leg from the ankle in the
/// boot's top to the hip inside the trunks, each arm from the glove's middle to
/// the shoulder (the shirt never turns to the heading: the boxer's left is -x
/// for the player facing -z, +x for the opponent)
std::vector<Join> Joins(nBoxer* b)
{
    nGameObject* pants = b->GetPart("pants");
    nGameObject* shirt = b->GetPart("shirt");
    const float left = std::cos(b->GetPlacement().geteuler().y) > 0.0f ? -1.0f : 1.0f;
    return {
        {"left leg", At(b->GetPart("leftboot"), vector3(0.0f, 0.9f, 0.0f)), At(pants, vector3(-0.5f, -0.6f, 0.0f))},
        {"right leg", At(b->GetPart("rightboot"), vector3(0.0f, 0.9f, 0.0f)), At(pants, vector3(0.5f, -0.6f, 0.0f))},
        {"left arm", b->GetLeftFist()->GetTransform().gettranslation(), At(shirt, vector3(1.2f * left, 1.95f, 0.0f))},
        {"right arm", b->GetRightFist()->GetTransform().gettranslation(),
         At(shirt, vector3(-1.2f * left, 1.95f, 0.0f))},
    };
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

    /// frames until the start phase is over
    static void PastTheStart()
    {
        nGame* game = nGame::Instance();
        while (game->IsStarting()) game->RunFrame(1.0f / 60.0f);
    }

    /// the player's straight right at the opponent, its guard taken away, run to the frame in
    /// which it landed; false when none of five did
    static bool LandStraightRight()
    {
        nPlayer* player = nPlayer::Instance();
        nAI* ai = nAI::Instance();
        const float health = ai->GetHealth();
        ai->SetVulnerable(5.0f);
        for (int punch = 0; punch < 5; punch++)
        {
            if (!DataMatch::StraightRight(player, ai, [&] { return ai->GetHealth() < health; })) return false;
            if (ai->GetHealth() < health) return true;
        }
        return false;
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

    /// how many pixels along the line between the world points (its ends left out) pass the test
    int CountAlong(const Image& img, const vector3& from, const vector3& to, bool (*test)(const unsigned char*)) const
    {
        int n = 0;
        for (int i = 4; i <= 36; i++)
        {
            const vector2 s = this->Project(from + (to - from) * (float(i) / 40.0f));
            const int x = int(s.x);
            const int y = int(s.y);
            if (x >= 0 && y >= 0 && x < img.width && y < img.height && test(img.At(x, y))) n++;
        }
        return n;
    }

    /// how many pixels of the whole frame pass the test
    static int CountAll(const Image& img, bool (*test)(const unsigned char*))
    {
        int n = 0;
        for (int y = 0; y < img.height; y++)
        {
            for (int x = 0; x < img.width; x++) n += test(img.At(x, y)) ? 1 : 0;
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
    PastTheStart();
    nPlayer* player = nPlayer::Instance();
    nAI* ai = nAI::Instance();
    ASSERT_TRUE(LandStraightRight());
    const Image img = this->Render("match-punch.png");
    ASSERT_EQ(img.width, Width);
    // the red glove where the fist is (the landing's first sparks cover its front), and that place
    // next to the opponent's head on the screen
    const vector3 fist = player->GetRightFist()->GetTransform().gettranslation();
    const vector3 head = ai->GetTransform().gettranslation();
    EXPECT_GE(this->CountAround(img, fist, 6, Red), 12);
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
    // a step to the side done: the boots stand on the footwork's new anchor, away from under the boxer
    DataMatch::MoveMouse(0.9f, 0.5f);
    for (int i = 0; i < 60; i++) game->RunFrame(1.0f / 60.0f);
    nPlayer* player = nPlayer::Instance();
    ASSERT_GT(std::fabs(player->GetFootAnchor().x), 1.0f);
    nGameObject* boot = player->GetPart("rightboot");
    const vector3 ankle = At(boot, vector3(0.0f, 0.9f, 0.0f));
    const vector3 hip = At(player->GetPart("pants"), vector3(0.5f, -0.6f, 0.0f));
    nGameCamera* cam = nApp::Instance()->GetCamera();
    cam->SetPosition(vector3(ankle.x + 2.0f, 3.0f, ankle.z + 6.0f));
    cam->SetEuler(vector3(0.0f, 0.0f, 0.0f));
    const Image img = this->Render("match-legs.png");
    ASSERT_EQ(img.width, Width);
    // from behind, all along the right leg: skin or trunks from above the sock into the pants
    for (int i = 2; i <= 9; i++)
    {
        const vector3 p = ankle + (hip - ankle) * (float(i) / 10.0f);
        EXPECT_GE(this->CountAround(img, p, 1, SkinOrTrunks), 5) << i;
    }
}

TEST_F(MatchGLTest, BoxersStayWholeWhileTheyStepAndPunch)
{
    this->EnterMatch();
    PastTheStart();
    nGame* game = nGame::Instance();
    nPlayer* player = nPlayer::Instance();
    nAI* ai = nAI::Instance();
    // a long enough match: nobody falls while the frames are sampled
    player->SetHealth(1.0e6f);
    ai->SetHealth(1.0e6f);
    // no sparks where punches land (a match spawns none without the effect in the library): the
    // rims of blended sparks may take any colour, the canvas's too
    nRoot* sparks = this->ks->Lookup("/usr/lib/models/hit_fx");
    ASSERT_NE(sparks, nullptr);
    sparks->Release();
    // the mouse walks the player from side to side in the front half of his square, within the opponent's reach
    const vector2 path[] = {{0.5f, 0.3f}, {0.95f, 0.3f}, {0.95f, 0.05f}, {0.05f, 0.05f},
                            {0.05f, 0.4f}, {0.95f, 0.15f}, {0.5f, 0.5f}};
    nBoxer* const boxers[] = {player, ai};
    int samples = 0;
    int stepping[2] = {0, 0};
    int punching[2] = {0, 0};
    vector3 lastBoots[2];
    bool punchShot = false;
    for (int frame = 0; frame < 420; frame++)
    {
        const vector2& m = path[(frame / 60) % 7];
        DataMatch::MoveMouse(m.x, m.y);
        // punches of every kind from both sides: the player's as its buttons would throw them, the
        // opponent's besides those it chooses itself (it mostly guards against a player this busy)
        if (frame % 25 == 0)
        {
            const int k = frame / 25;
            player->SetHookHeld(k % 3 == 1);
            player->SetUppercutHeld(k % 3 == 2);
            player->Punch(ai, 1 + k % 2);
        }
        if (frame % 25 == 12)
        {
            const int k = frame / 25;
            ai->SetDefence(false);
            ai->SetHookHeld(k % 2 == 1);
            ai->Punch(player, 2 - k % 2);
        }
        game->RunFrame(1.0f / 60.0f);
        ASSERT_TRUE(nPlayer::HasInstance() && nAI::HasInstance());
        if (frame % 14 != 0) continue;

        bool inFlight = false;
        for (int b = 0; b < 2; b++)
        {
            const vector3 boots = boxers[b]->GetPart("leftboot")->GetTransform().gettranslation() +
                                  boxers[b]->GetPart("rightboot")->GetTransform().gettranslation();
            if (samples > 0 && (boots - lastBoots[b]).len() > 0.05f) stepping[b]++;
            lastBoots[b] = boots;
            for (nFist2* f : {boxers[b]->GetLeftFist(), boxers[b]->GetRightFist()})
            {
                const int st = f->GetState();
                if (st != nFist2::Idle && st != nFist2::Return)
                {
                    punching[b]++;
                    inFlight = true;
                }
            }
        }
        const bool firstPunch = inFlight && !punchShot;
        punchShot = punchShot || inFlight;
        const Image img = this->Render(firstPunch ? "match-whole-punch.png" : "match-whole.png");
        ASSERT_EQ(img.width, Width);
        samples++;
        // the test itself sees the canvas beside the boxers as floor
        EXPECT_GE(this->CountAround(img, vector3(7.0f, 0.0f, 0.0f), 2, Floor), 20) << frame;
        for (nBoxer* b : boxers)
        {
            for (const Join& j : Joins(b))
            {
                EXPECT_EQ(this->CountAlong(img, j.from, j.to, Floor), 0)
                    << b->GetName() << " " << j.what << ": the canvas shows between part and body in frame " << frame;
            }
        }
    }
    EXPECT_EQ(samples, 30);
    // both boxers stepped and punched while the frames were taken
    for (int b = 0; b < 2; b++)
    {
        EXPECT_GE(stepping[b], 3) << b;
        EXPECT_GE(punching[b], 3) << b;
    }
}

TEST_F(MatchGLTest, ALandedPunchThrowsSparksOverTheStruckBoxer)
{
    this->EnterMatch();
    PastTheStart();
    nGame* game = nGame::Instance();
    nAI* ai = nAI::Instance();
    const Image before = this->Render("match-before-hit.png");
    ASSERT_EQ(before.width, Width);
    EXPECT_LE(CountAll(before, Spark), 5);
    ASSERT_TRUE(LandStraightRight());
    // the frames after the one the punch landed in, a tenth of a second: a patch of sparks over the opponent's head
    for (int frame = 1; frame <= 6; frame++)
    {
        game->RunFrame(1.0f / 60.0f);
        const Image img = this->Render(frame == 1 ? "match-sparks.png" : "match-sparks-later.png");
        ASSERT_EQ(img.width, Width);
        const vector3 head = ai->GetTransform().gettranslation();
        const int near = this->CountAround(img, head, 40, Spark);
        EXPECT_GE(near, 150) << "frame " << frame;
        EXPECT_GE(near * 10, CountAll(img, Spark) * 9) << "frame " << frame;
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
