//------------------------------------------------------------------------------
//  Whole matches on the game application itself: the program's kernel and
//  servers, headless, with the clock locked to 1/60 s a frame, the random
//  generator seeded and the mouse driven frame by frame (forward, a
//  punch every 20 frames). The data's procedures record their calls.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "headlessgame.h"

#include "audio3/nsound3.h"
#include "game/nai.h"
#include "game/nbar.h"
#include "game/nfist2.h"
#include "game/ngame.h"
#include "game/nplayer.h"
#include "mathlib/nmath.h"
#include "game/ntimerserver.h"
#include "gfx2/ngfxserver2.h"
#include "gui/nguiserver.h"
#include "gui/nguitextureview.h"
#include "gui/nguiwindow.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "nopenal/nopenalserver.h"
#include "resource/nresource.h"
#include "resource/nresourceserver.h"

#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <link.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

/// the player's prototype and where the match's gains go
const char* const Me = "/usr/players/me";

int Count(const std::vector<std::string>& v, const char* s)
{
    return (int)std::count(v.begin(), v.end(), std::string(s));
}

nEnv* Env(nKernelServer* ks, const std::string& path)
{
    return static_cast<nEnv*>(ks->Lookup(path.c_str()));
}

/// an int or a float nenv as a number
float Number(nKernelServer* ks, const std::string& path)
{
    nEnv* e = Env(ks, path);
    if (!e) return NAN;
    return e->GetType() == nArg::Int ? (float)e->GetI() : e->GetF();
}

/*
 * PinLoadedLibraries --
 *     Side effects: every shared library loaded now stays loaded for the
 *     rest of the process. The OpenGL driver unloads its modules when the
 *     last context goes; what they leaked would then be reported from an
 *     unknown module that no suppression can name.
 */
void PinLoadedLibraries()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0]) dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

bool InMatch()
{
    return nGame::HasInstance() && nGame::Instance()->IsMatchRunning() && nPlayer::HasInstance() &&
           nAI::HasInstance();
}

/// what one frame of a match showed
struct Punch
{
    int frame;
    float scaledTime;
    float energyBefore;
    float energyAfter;
    float expected;
};

/// the player's input and what the match did, frame by frame
class MatchDriver
{
public:
    explicit MatchDriver(HeadlessGame& game) : game(game)
    {
        game.App()->beforeFrame = [this](int f) { this->Before(f); };
        game.App()->afterFrame = [this](int f) { this->After(f); };
    }

    void Before(int f)
    {
        this->game.PlayerInput(f);
        this->wasIdle = InMatch() && nPlayer::Instance()->GetLeftFist()->GetState() == nFist2::Idle;
        this->energy = InMatch() ? nPlayer::Instance()->GetEnergy() : 0.0f;
    }

    void After(int f)
    {
        this->frameTimes.push_back(this->game.App()->GetFrameTime());
        for (const std::string& c : this->game.TakeCalls())
        {
            this->calls.push_back(c);
            this->trace.push_back(std::to_string(f) + " " + c);
        }
        if (!InMatch()) return;
        nGame* match = nGame::Instance();
        nPlayer* p = nPlayer::Instance();
        nAI* ai = nAI::Instance();
        this->scaled += match->GetFrameDt();
        if (this->wasIdle && p->GetLeftFist()->GetState() != nFist2::Idle)
        {
            // the boxer's frame recovers energy before the input punches
            const float rate = Number(this->game.Kernel(), std::string(Me) + "/energy-rec-rate");
            const float recovered = std::min(this->energy + rate * match->GetFrameDt(), p->GetEnergyMax());
            const float cost = p->GetStrength() * p->GetFistMass() * 0.1f;
            this->punches.push_back(Punch{f, this->scaled, this->energy, p->GetEnergy(), recovered - cost});
        }
        if (match->IsSlowMotion() && this->finalBlow < 0) this->finalBlow = f;
        if (this->finalBlow >= 0 && this->stopped < 0 && match->GetTimeMultiplier() == 0.0f) this->stopped = f;
        if (f % 30 == 0)
        {
            char text[160];
            snprintf(text, sizeof(text), "%d state %.3f %.3f %.3f %.3f", f, p->GetHealth(), p->GetEnergy(),
                     ai->GetHealth(), ai->GetTransform().gettranslation().x);
            this->trace.push_back(text);
        }
    }

    HeadlessGame& game;
    std::vector<double> frameTimes;
    std::vector<std::string> calls;
    std::vector<std::string> trace;
    std::vector<Punch> punches;
    float scaled = 0.0f;
    int finalBlow = -1;
    int stopped = -1;

private:
    bool wasIdle = false;
    float energy = 0.0f;
};

class HeadlessMatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->home = HeadlessGame::MakeHome();
        ASSERT_FALSE(this->home.empty());
    }
    void TearDown() override { std::filesystem::remove_all(this->home); }

    /// a game on the home, open, seeded
    std::unique_ptr<HeadlessGame> OpenGame(unsigned seed)
    {
        auto game = std::make_unique<HeadlessGame>(this->home);
        EXPECT_TRUE(game->Open()) << game->log.text;
        PinLoadedLibraries();
        n_srand(seed);
        return game;
    }

    /// the trace of a seeded match of a fixed length
    std::vector<std::string> Trace(unsigned seed, int frames)
    {
        std::filesystem::remove(this->home + "players.n2");
        std::filesystem::copy_file(std::string(HEADLESS_DATA_DIR) + "/players.n2", this->home + "players.n2");
        auto game = this->OpenGame(seed);
        MatchDriver driver(*game);
        game->Run(frames);
        return driver.trace;
    }

    std::string home;
};

}  // namespace

TEST_F(HeadlessMatchTest, AWonMatchOnTheGameApplication)
{
    auto game = this->OpenGame(5);
    ASSERT_TRUE(game->App()->IsOpen());
    MatchDriver driver(*game);
    // into the match and on until the opponent is down and time stands
    for (int i = 0; i < 120 && driver.stopped < 0; i++) game->Run(30);
    std::string seen;
    for (const std::string& t : driver.trace) seen += t + "\n";
    ASSERT_GE(driver.finalBlow, 0) << "no final blow in 3600 frames:\n" << seen << game->log.text.substr(0, 3000);
    ASSERT_GE(driver.stopped, 0);
    game->Run(30);
    ASSERT_TRUE(InMatch());
    EXPECT_TRUE(nPlayer::Instance()->HasWon());

    // the clock: every frame 1/60 s
    for (double dt : driver.frameTimes) ASSERT_NEAR(dt, 1.0 / 60.0, 1e-6);
    // the scripts: the menu led into the match, the match was won once
    EXPECT_EQ(Count(driver.calls, "ShowMainMenu"), 1);
    EXPECT_EQ(Count(driver.calls, "MapGameInput"), 1);
    EXPECT_EQ(Count(driver.calls, "OnGameStateEnter"), 1);
    EXPECT_EQ(Count(driver.calls, "ShowYouWon"), 1);
    EXPECT_EQ(Count(driver.calls, "ShowYouLost"), 0);
    // no punch in the start phase; each punch paid its cost
    ASSERT_FALSE(driver.punches.empty());
    for (const Punch& p : driver.punches)
    {
        SCOPED_TRACE(p.frame);
        EXPECT_GE(p.scaledTime, 1.5f);
        EXPECT_NEAR(p.energyAfter, p.expected, 1e-3f);
        EXPECT_LT(p.energyAfter, p.energyBefore);
    }
    // time runs out within 40 frames of the final blow
    EXPECT_LE(driver.stopped - driver.finalBlow, 40);
    // nothing stopped the player with a box, with a sound device or without
    EXPECT_EQ(game->log.messages, 0) << game->log.text.substr(0, 3000);

    // the player leaves for the menu, as its button would
    const int scoreBefore = (int)Number(game->Kernel(), std::string(Me) + "/score");
    game->Script("/theApp.setstate main_menu");
    game->Run(2);
    EXPECT_FALSE(nPlayer::HasInstance());
    EXPECT_FALSE(nAI::HasInstance());
    EXPECT_EQ(Count(driver.calls, "ShowPreStartWindow"), 1);
    nKernelServer* ks = game->Kernel();
    ASSERT_NE(ks->Lookup(nPlayer::BufferPath), nullptr);
    const float gained = Number(ks, std::string(nPlayer::BufferPath) + "/score");
    EXPECT_GT(gained, 0.0f);
    EXPECT_EQ(Number(ks, std::string(Me) + "/score"), scoreBefore + gained);
    EXPECT_EQ(Number(ks, std::string(Me) + "/next-enemy"), 1.0f);
    float steps = 0.0f;
    for (const char* k : {"health", "energy", "energy-rec-rate", "strike-length", "strength", "fist-mass",
                          "move-speed", "lightness", "accuracy"})
    {
        const float v = Number(ks, std::string(nPlayer::BufferPath) + "/" + k);
        EXPECT_NEAR(v, std::round(v), 1e-3) << k;
        steps += v;
    }
    EXPECT_NEAR(steps, 5.0f, 1e-3);
    const float strength = Number(ks, std::string(Me) + "/strength");
    game.reset();

    // the match state saved the players; the next game loads them and boxes the next opponent
    ASSERT_TRUE(std::filesystem::exists(this->home + "players.n2"));
    auto next = this->OpenGame(5);
    MatchDriver nextDriver(*next);
    next->Run(5);
    ks = next->Kernel();
    EXPECT_EQ(Number(ks, std::string(Me) + "/next-enemy"), 1.0f);
    EXPECT_EQ(Number(ks, std::string(Me) + "/score"), scoreBefore + gained);
    EXPECT_FLOAT_EQ(Number(ks, std::string(Me) + "/strength"), strength);
    ASSERT_TRUE(InMatch());
    EXPECT_STREQ(nAI::Instance()->GetProto()->GetName(), "_ai1");
}

TEST_F(HeadlessMatchTest, TheSameSeedGivesTheSameMatchAndAnotherSeedAnotherOne)
{
    const auto a = this->Trace(11, 300);
    const auto b = this->Trace(11, 300);
    const auto c = this->Trace(12, 300);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST_F(HeadlessMatchTest, ThirtyRestartsLeaveTheResourceAndSoundCountsWhereTheyWere)
{
    auto game = this->OpenGame(3);
    MatchDriver driver(*game);
    game->Run(10);
    ASSERT_TRUE(InMatch());
    nResourceServer* rs = nResourceServer::Instance();
    nOpenALServer* audio = static_cast<nOpenALServer*>(game->Kernel()->Lookup("/sys/servers/audio"));
    ASSERT_NE(audio, nullptr);
    auto counts = [&] {
        std::vector<int> n;
        for (int type = 1; type <= nResource::Other; type <<= 1) n.push_back(rs->GetNumResources(type));
        n.push_back(audio->GetNumSources());
        n.push_back(audio->GetNumBuffers());
        n.push_back(nTimerServer::Instance()->GetNumTimers());
        int widgets = 0;
        for (nRoot* c = nGuiServer::Instance()->GetRootWindowPointer()->GetHead(); c; c = c->GetSucc()) widgets++;
        n.push_back(widgets);
        return n;
    };
    const std::vector<int> before = counts();
    for (int i = 0; i < 30; i++)
    {
        game->Script("/theApp/appstates/game.restart");
        game->Run(3);
    }
    ASSERT_TRUE(InMatch());
    EXPECT_EQ(counts(), before);
}

TEST_F(HeadlessMatchTest, ACursorThatIsNoImageAndAMissingBarTextureAreReportedAndTheMatchGoesOn)
{
    // the health bar's fill is missing, the energy bar's is a text file
    std::filesystem::remove(this->home + "textures/health-bar.png");
    {
        std::ofstream text(this->home + "textures/energy-bar.png");
        text << "not a picture\n";
    }
    auto game = this->OpenGame(7);
    MatchDriver driver(*game);
    game->Run(10);
    ASSERT_TRUE(InMatch()) << game->log.text.substr(0, 3000);
    const std::string& log = game->log.text;
    for (const char* file : {"textures:health-bar.png", "textures:energy-bar.png"})
    {
        SCOPED_TRACE(file);
        const std::string line = std::string("nBar: failed to load texture '") + file + "'";
        const size_t first = log.find(line);
        EXPECT_NE(first, std::string::npos);
        EXPECT_EQ(log.find(line, first + 1), std::string::npos);
        EXPECT_NE(log.find(std::string("could not load texture file '") + file + "'"), std::string::npos);
    }
    // the bars draw nothing of their own but their frames and trails still show
    nPlayer* player = nPlayer::Instance();
    EXPECT_EQ(player->GetHealthBar()->GetBar()->GetTexture(), nullptr);
    EXPECT_EQ(player->GetEnergyBar()->GetBar()->GetTexture(), nullptr);
    EXPECT_NE(player->GetHealthBar()->GetTrail()->GetTexture(), nullptr);

    // a cursor file that is not an image, as a person at the console might give
    const std::string cursor = this->home + "startup.tcl";
    game->Script("/sys/servers/gfx.setmousecursor " + cursor + " 0 0");
    game->Script("/sys/servers/gfx.setcursorvisibility custom");
    const int before = game->App()->GetFrame();
    game->Run(20);
    EXPECT_EQ(game->App()->GetFrame(), before + 20);
    ASSERT_TRUE(InMatch());
    EXPECT_NE(game->Script("/sys/servers/time.gettime").find_first_of("0123456789"), std::string::npos);
    const std::string line = "could not load the mouse cursor '" + cursor + "'";
    const size_t first = log.find(line);
    EXPECT_NE(first, std::string::npos) << log.substr(0, 3000);
    EXPECT_EQ(log.find(line, first + 1), std::string::npos);
    EXPECT_EQ(nGfxServer2::Instance()->GetCursorVisibility(), nGfxServer2::Custom);
    EXPECT_FALSE(nGfxServer2::Instance()->GetMouseCursor().IsLoaded());
}

TEST_F(HeadlessMatchTest, AnOpponentPrototypeCutShortIsReportedAndTheMatchGoesOnAgainstAnUnbuiltOpponent)
{
    // the file ends inside a quoted text: a script error while the library loads
    const std::string file = this->home + "objects/_ai0.n2";
    std::string text;
    {
        std::ifstream in(file);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const size_t quote = text.find('"');
    ASSERT_NE(quote, std::string::npos);
    std::ofstream(file, std::ios::trunc) << text.substr(0, quote + 2);
    auto game = this->OpenGame(9);
    ASSERT_TRUE(game->App()->IsOpen());
    MatchDriver driver(*game);
    game->Run(40);
    ASSERT_TRUE(InMatch()) << game->log.text.substr(0, 3000);
    EXPECT_NE(game->log.text.find("_ai0.n2"), std::string::npos) << game->log.text.substr(0, 3000);
    EXPECT_NE(game->log.text.find("'/usr/lib/objects/_ai0' is not usable"), std::string::npos);
    EXPECT_EQ(nAI::Instance()->GetLeftFist(), nullptr);
    EXPECT_TRUE(std::isfinite(nPlayer::Instance()->GetHealth()));
}
