//------------------------------------------------------------------------------
//  The match state: set-up and clean-up, scaled time, pause, slow motion,
//  the bonus clocks, restart, the sounds, the script commands and the
//  players' file.
//------------------------------------------------------------------------------
#include "matchfixture.h"

#include "audio3/nsound3.h"
#include "game/nhomelock.h"
#include "game/nscriptprefserver.h"
#include "game/ntimer.h"
#include "game/ntimerserver.h"
#include "game/ngamecamera.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "util/assertdeath.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

nGfxServer2* Gfx()
{
    return static_cast<nGfxServer2*>(nKernelServer::Instance()->Lookup("/sys/servers/gfx"));
}

/// the number of sounds the audio stand-in holds
int NumSounds()
{
    int n = 0;
    nRoot* audio = nKernelServer::Instance()->Lookup("/sys/servers/audio");
    for (nRoot* c = audio->GetHead(); c; c = c->GetSucc()) n++;
    return n;
}

/// runs a command of the match state; false when it ended as a script error
bool RunCmd(nGame* game, const char* name, const std::function<void(nCmd*)>& fill = nullptr, nString* out = nullptr)
{
    nCmdProto* proto = game->GetClass()->FindCmdByName(name);
    EXPECT_NE(proto, nullptr) << name;
    nCmd* cmd = proto->NewCmd();
    if (fill) fill(cmd);
    game->Dispatch(cmd);
    const bool ok = !cmd->HasError();
    if (ok && out) *out = cmd->Out()->GetS();
    proto->RelCmd(cmd);
    return ok;
}

}  // namespace

TEST_F(MatchTest, SetupBuildsTheMatch)
{
    this->game->OnStateEnter(nString("main_menu"));
    EXPECT_NE(this->ks->Lookup("/usr/scene"), nullptr);
    EXPECT_NE(this->ks->Lookup("/usr/fx_scene"), nullptr);
    EXPECT_EQ(this->Logic()->starts, 1);
    ASSERT_TRUE(this->Logic()->player.isvalid());
    EXPECT_TRUE(this->game->IsStarting());
    EXPECT_FLOAT_EQ(this->game->GetTimeMultiplier(), 0.75f);
    EXPECT_EQ(Gfx()->GetCursorVisibility(), nGfxServer2::None);
    EXPECT_FALSE(Gfx()->GetDisplayMode().GetDialogBoxMode());
    const auto calls = TraceBetween("script.RunFunction MapGameInput", "");
    ASSERT_FALSE(calls.empty());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "script.RunFunction OnGameStateEnter"), calls.end());
    // eight match sounds and a swish per glove, the ambient loop playing
    EXPECT_EQ(NumSounds(), 8 + 4);
    EXPECT_TRUE(static_cast<nSound3*>(this->ks->Lookup("/sys/servers/audio")->GetHead())->IsPlaying());
    EXPECT_EQ(GuiCalls().front(), "togglesystemgui");
}

TEST_F(MatchTest, TheStartPhaseLastsOneAndAHalfScaledSeconds)
{
    this->Enter();
    this->Frames(99, 0.02f);  // 1.485 scaled seconds
    EXPECT_TRUE(this->game->IsStarting());
    this->Frame(0.02f);
    this->Frame(0.02f);
    EXPECT_FALSE(this->game->IsStarting());
}

TEST_F(MatchTest, FirstFrameAfterSetupMovesNothing)
{
    for (float dt : {0.02f, 0.5f, 30.0f})
    {
        this->game->OnStateEnter(nString("main_menu"));
        nBoxer* boxer = this->Player();
        this->Player()->SetMoveDirection(vector3(2.0f, 0.0f, 0.0f));
        const vector3 before = boxer->GetTransform().gettranslation();
        this->Frame(dt);
        EXPECT_EQ(this->Logic()->counter->triggers, 0) << dt;
        EXPECT_EQ(boxer->GetTransform().gettranslation(), before) << dt;
        EXPECT_EQ(this->game->GetFrameDt(), 0.0f) << dt;
        EXPECT_TRUE(this->game->IsStarting()) << dt;
        this->Frame(0.02f);
        EXPECT_EQ(this->Logic()->counter->triggers, 1) << dt;
        this->game->OnStateLeave(nString("main_menu"));
    }
}

TEST_F(MatchTest, PauseStopsTimersObjectsAndEffectsButTheSceneRenders)
{
    this->Enter();
    nFX* fx = this->game->SpawnFX(nString("/usr/lib/models/hitfx"), vector3(1.0f, 2.0f, 3.0f));
    ASSERT_NE(fx, nullptr);
    // the effects' own class is not built here: swap in a counting one
    fx->Release();
    this->ks->PushCwd(this->ks->Lookup("/usr/fx_scene"));
    CountingFX* counting = static_cast<CountingFX*>(this->ks->New("countingfx", "fxcount"));
    this->ks->PopCwd();
    CountingObject* counter = this->Logic()->counter.get();
    this->Frame(0.02f);
    const int triggers = counter->triggers;
    const int fxTriggers = counting->triggers;
    const int startTimer = 0;
    const float elapsed = nTimerServer::Instance()->GetTimer(const_cast<int*>(&startTimer))->GetElapsed();

    this->game->SetPause(true);
    EXPECT_EQ(Gfx()->GetCursorVisibility(), nGfxServer2::System);
    EXPECT_FALSE(static_cast<nSound3*>(this->ks->Lookup("/sys/servers/audio")->GetHead())->IsPlaying());
    this->Frames(10, 0.02f);
    EXPECT_EQ(counter->triggers, triggers);
    EXPECT_EQ(counting->triggers, fxTriggers);
    EXPECT_EQ(nTimerServer::Instance()->GetTimer(const_cast<int*>(&startTimer))->GetElapsed(), elapsed);
    const int renders = counter->renders;
    this->game->OnRender3D();
    EXPECT_EQ(counter->renders, renders + 1);
    EXPECT_EQ(counting->renders, 1);

    this->game->SetPause(false);
    EXPECT_EQ(Gfx()->GetCursorVisibility(), nGfxServer2::None);
    this->Frame(0.02f);
    EXPECT_EQ(counter->triggers, triggers + 1);
    EXPECT_EQ(counting->triggers, fxTriggers + 1);
}

TEST_F(MatchTest, ScaledFrameTime)
{
    struct Case
    {
        float multiplier;
        int bonus;
        float expected;
    };
    const Case cases[] = {
        {0.75f, 0, 0.015f},
        {0.75f, 1, 0.0075f},
        {1.0f, 0, 0.02f},
        {0.0f, 0, 0.0f},
    };
    this->Enter();
    for (const Case& c : cases)
    {
        this->game->SetTimeMultiplier(c.multiplier);
        this->game->SetBonusTime(c.bonus, 100.0f);
        this->Frame(0.02f);
        EXPECT_NEAR(this->game->GetFrameDt(), c.expected, 1e-7) << c.multiplier << " " << c.bonus;
    }
}

TEST_F(MatchTest, FinalSlowMotionStopsTimeAfterTwoThirdsOfASecond)
{
    this->Enter();
    this->game->StartFinalSlowMotion();
    EXPECT_TRUE(this->game->IsSlowMotion());
    this->Frames(39, 1.0f / 60.0f);
    EXPECT_GT(this->game->GetTimeMultiplier(), 0.0f);
    this->Frame(1.0f / 60.0f);
    EXPECT_NEAR(this->game->GetTimeMultiplier(), 0.0f, 1e-6);
    this->Frames(60, 1.0f / 60.0f);
    EXPECT_EQ(this->game->GetTimeMultiplier(), 0.0f);
    EXPECT_EQ(this->game->GetFrameDt(), 0.0f);
}

TEST_F(MatchTest, SlowTimeBonusEndsAfterItsScaledDuration)
{
    this->Enter();
    this->game->SetTimeMultiplier(1.0f);
    this->game->SetBonusTime(1, 2.5f);
    this->Frames(250, 0.02f);  // 2.5 scaled seconds, halved
    EXPECT_EQ(this->game->GetBonusTimeMode(), 1);
    EXPECT_NEAR(this->game->GetSlowProgress(), 1.0f, 1e-3);
    this->Frames(2, 0.02f);
    EXPECT_EQ(this->game->GetBonusTimeMode(), 0);
}

TEST_F(MatchTest, FatalPunchBonusEndsAfterItsDuration)
{
    this->Enter();
    this->game->SetTimeMultiplier(1.0f);
    this->game->SetFatalPunch(0.1f);
    this->Frames(5, 0.02f);
    EXPECT_TRUE(this->game->IsFatalPunch());
    this->Frame(0.02f);
    EXPECT_FALSE(this->game->IsFatalPunch());
}

TEST_F(MatchTest, RestartTwiceRebuildsEverythingAndTheStartPhaseRunsAgain)
{
    this->Enter();
    this->PastStart();
    for (int round = 0; round < 2; round++)
    {
        nRef<nBoxer> oldPlayer;
        oldPlayer = this->Player();
        nRef<nRoot> oldScene;
        oldScene = this->ks->Lookup("/usr/scene");
        nRef<nRoot> oldSound;
        oldSound = this->ks->Lookup("/sys/servers/audio")->GetHead();
        this->game->SetTimeMultiplier(2.0f);
        this->game->StartFinalSlowMotion();
        this->game->SetPause(true);
        this->game->Restart();
        EXPECT_FALSE(oldPlayer.isvalid()) << round;
        EXPECT_FALSE(oldScene.isvalid()) << round;
        EXPECT_FALSE(oldSound.isvalid()) << round;
        EXPECT_EQ(NumSounds(), 12) << round;
        EXPECT_TRUE(this->Logic()->player.isvalid()) << round;
        EXPECT_EQ(this->Logic()->starts, 2 + round) << round;
        EXPECT_EQ(this->Logic()->stops, 1 + round) << round;
        EXPECT_TRUE(this->game->IsStarting()) << round;
        EXPECT_FALSE(this->game->IsPaused()) << round;
        EXPECT_FALSE(this->game->IsSlowMotion()) << round;
        EXPECT_FLOAT_EQ(this->game->GetTimeMultiplier(), 0.75f) << round;
        // the first frame of the new match is skipped again
        this->Frame(0.02f);
        EXPECT_EQ(this->Logic()->counter->triggers, 0) << round;
        this->PastStart();
        EXPECT_FALSE(this->game->IsStarting()) << round;
    }
    // back to back, with no frame between them
    this->game->Restart();
    this->game->Restart();
    EXPECT_EQ(this->Logic()->starts, 5);
    EXPECT_EQ(this->Logic()->stops, 4);
    EXPECT_EQ(NumSounds(), 12);
    EXPECT_EQ(nTimerServer::Instance()->GetNumTimers(), 1 + 2);  // the start phase and the two hit timers
    EXPECT_TRUE(this->game->IsStarting());
    this->PastStart();
    EXPECT_TRUE(this->Player()->Punch(this->Opponent(), 0));
}

TEST_F(MatchTest, OutsideAMatchRestartAndPauseAreIgnoredAndCleanupIsIdempotent)
{
    this->game->Restart();
    this->game->SetPause(true);
    EXPECT_EQ(this->ks->Lookup("/usr/scene"), nullptr);
    EXPECT_FALSE(this->game->IsPaused());
    EXPECT_EQ(this->Logic()->starts, 0);
    this->Enter();
    this->game->OnStateLeave(nString("main_menu"));
    this->game->CleanupMatch();
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_EQ(this->Logic()->stops, 1);
    EXPECT_EQ(this->ks->Lookup("/usr/scene"), nullptr);
    EXPECT_EQ(NumSounds(), 0);
    EXPECT_EQ(Gfx()->GetCursorVisibility(), nGfxServer2::System);
    this->Frame(0.02f);  // no match: nothing to run
}

TEST_F(MatchTest, AMatchNotCleanedUpStopsTheNextSetup)
{
    this->Enter();
    EXPECT_ASSERT_DEATH(this->game->SetupMatch(), "m_refScene.isvalid() == false");
}

TEST_F(MatchTest, SoundsThatCannotBeMadeStaySilent)
{
    std::filesystem::remove_all(this->dir / "sound");
    this->Enter();
    this->PastStart();
    const matrix44 m;
    this->game->PlayHitSound(m);
    this->game->PlayHitFaceSound(m);
    this->game->PlayPlayerHitSound(m);
    this->game->PlayAIHitSound(m);
    this->game->PlayGong();
    this->game->PlayWon();
    this->game->PlayExcite();
    this->game->SetPause(true);
    this->game->SetPause(false);
    EXPECT_EQ(NumSounds(), 0);
    EXPECT_TRUE((this->log.text.find("sound:env.n2") != std::string::npos));
}

TEST_F(MatchTest, SoundsWhoseFilesDidNotLoadStaySilent)
{
    std::filesystem::remove(this->dir / "sound" / "data.wav");
    this->Enter();
    this->PastStart();
    EXPECT_EQ(NumSounds(), 12);  // made, but without data
    const matrix44 m;
    this->game->PlayHitSound(m);
    this->game->PlayHitFaceSound(m);
    this->game->PlayPlayerHitSound(m);
    this->game->PlayAIHitSound(m);
    this->game->PlayGong();
    this->game->PlayWon();
    this->game->PlayExcite();
    this->game->SetPause(true);
    this->game->SetPause(false);
    ASSERT_TRUE(this->Player()->Punch(this->Opponent(), 1));
    for (nRoot* s = this->ks->Lookup("/sys/servers/audio")->GetHead(); s; s = s->GetSucc())
    {
        EXPECT_EQ(static_cast<PlayingSound*>(s)->starts, 0) << s->GetName();
    }
}

TEST_F(MatchTest, SoundPlayersPlaceAndRestartTheirSounds)
{
    this->Enter();
    matrix44 m;
    m.translate(vector3(1.0f, 2.0f, 3.0f));
    this->game->PlayHitFaceSound(m);
    PlayingSound* face = static_cast<PlayingSound*>(this->ks->Lookup("/sys/servers/audio")->GetHead()->GetSucc());
    EXPECT_EQ(face->GetTransform().pos_component(), vector3(1.0f, 2.0f, 3.0f));
    EXPECT_TRUE(face->IsPlaying());
    this->game->PlayHitFaceSound(m);
    EXPECT_EQ(face->starts, 2);
    this->game->PlayGong();
    this->game->PlayExcite();
    this->game->PlayExcite();
    PlayingSound* excite = static_cast<PlayingSound*>(this->ks->Lookup("/sys/servers/audio")->GetHead());
    for (int i = 0; i < 6; i++) excite = static_cast<PlayingSound*>(excite->GetSucc());
    EXPECT_EQ(excite->starts, 2);
}

TEST_F(MatchTest, NewObjectAndSpawnFXNumberTheirNames)
{
    this->Enter();
    nRoot* a = this->game->NewObject(nString("ngameobject"));
    nRoot* b = this->game->NewObject(nString("ngameobject"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetParent(), this->ks->Lookup("/usr/scene"));
    EXPECT_NE(nString(a->GetName()), nString(b->GetName()));
    EXPECT_EQ(this->game->NewObject(nString("nosuchclass")), nullptr);
    nFX* fx = this->game->SpawnFX(nString("/usr/lib/models/hitfx"), vector3(1.0f, 2.0f, 3.0f));
    ASSERT_NE(fx, nullptr);
    EXPECT_STREQ(fx->GetName(), "fx1");
    EXPECT_EQ(fx->GetTransform().gettranslation(), vector3(1.0f, 2.0f, 3.0f));
}

TEST_F(MatchTest, ALandedPunchSpawnsTheHitEffectOnlyWhenTheDataHasOne)
{
    this->Enter();
    nRoot* folder = this->ks->Lookup("/usr/fx_scene");
    ASSERT_NE(folder, nullptr);
    this->game->SpawnHitFX(vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(folder->GetHead(), nullptr);
    this->ks->New("ntransformnode", "/usr/lib/models/hit_fx");
    this->game->SpawnHitFX(vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(folder->GetHead(), nullptr) << "a node without particles is no effect";
    this->ks->New("nparticleshapenode", "/usr/lib/models/hit_fx/particle");
    this->game->SpawnHitFX(vector3(1.0f, 2.0f, 3.0f));
    ASSERT_NE(folder->GetHead(), nullptr);
    EXPECT_EQ(static_cast<nFX*>(folder->GetHead())->GetTransform().gettranslation(), vector3(1.0f, 2.0f, 3.0f));
}

TEST_F(MatchTest, TheListenerFollowsTheCamera)
{
    this->Enter();
    this->app->GetCamera()->SetPosition(vector3(4.0f, 5.0f, 6.0f));
    this->Frame(0.02f);
    EXPECT_EQ(this->app->GetListener().GetTransform().pos_component(), vector3(4.0f, 5.0f, 6.0f));
}

TEST_F(MatchTest, ContactRecordsBounceWithInfiniteFriction)
{
    const dContact* c = this->game->GetContacts();
    for (int i = 0; i < nGame::NumContacts; i++)
    {
        EXPECT_EQ(c[i].surface.mode, dContactBounce);
        EXPECT_EQ(c[i].surface.mu, dInfinity);
        EXPECT_EQ(c[i].surface.bounce, 1.0);
        EXPECT_EQ(c[i].surface.bounce_vel, 0.0);
    }
}

TEST_F(MatchTest, ScriptCommandsGuardTheirArguments)
{
    struct Case
    {
        float value;
        bool ok;
        float multiplier;
    };
    const Case cases[] = {
        {0.5f, true, 0.5f}, {-1.0f, true, 0.0f}, {NAN, false, 0.0f}, {INFINITY, false, 0.0f},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(RunCmd(this->game, "settimemultiplier", [&](nCmd* cmd) { cmd->In()->SetF(c.value); }), c.ok) << c.value;
        EXPECT_EQ(this->game->GetTimeMultiplier(), c.multiplier) << c.value;
    }
    nString out;
    EXPECT_FALSE(RunCmd(this->game, "getplayer", nullptr, &out));
    EXPECT_FALSE(RunCmd(this->game, "setplayerproto", [](nCmd* cmd) { cmd->In()->SetS(""); }));
    EXPECT_TRUE(RunCmd(this->game, "setplayerproto", [](nCmd* cmd) { cmd->In()->SetS("/usr/players/me"); }));
    EXPECT_TRUE(RunCmd(this->game, "getplayer", nullptr, &out));
    EXPECT_EQ(out, nString("/usr/players/me"));
    EXPECT_TRUE(RunCmd(this->game, "toggleeyeview"));
    EXPECT_TRUE(this->game->IsEyeView());
    EXPECT_TRUE(RunCmd(this->game, "restart"));
    EXPECT_TRUE(RunCmd(this->game, "setpause", [](nCmd* cmd) { cmd->In()->SetB(true); }));
    EXPECT_FALSE(this->game->IsPaused());  // no match
}

TEST_F(MatchTest, NameLabelsGoIntoTheGuiRootWindow)
{
    this->game->OnStateEnter(nString("main_menu"));
    ASSERT_TRUE(this->Player()->HasGuiName());
    const std::string name = std::string(this->Player()->GetName()) + "_guiname";
    EXPECT_EQ(this->Player()->GetGuiName()->GetParent()->GetName(), nString("matchroot"));
    nGuiTextLabel* label0 = this->Player()->GetGuiName();
    EXPECT_STREQ(label0->GetName(), name.c_str());
    EXPECT_STREQ(label0->GetText(), "Dummy");
    EXPECT_FLOAT_EQ(label0->GetRect().v0.x, 0.2f);
    EXPECT_FLOAT_EQ(label0->GetRect().v1.x, 0.4f);
    EXPECT_FLOAT_EQ(label0->GetRect().v0.y, 0.0f);
    EXPECT_FLOAT_EQ(label0->GetRect().v1.y, 0.1f);
    EXPECT_TRUE(label0->GetVCenter());
    EXPECT_EQ(label0->GetAlignment(), (int)nGuiTextLabel::Left);
    EXPECT_STREQ(label0->GetFont(), "name");
    nRef<nRoot> label;
    label = this->Player()->GetGuiName();
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_FALSE(label.isvalid());
}

//--- the players' file ----------------------------------------------------------

class PlayersFileTest : public MatchTest
{
protected:
    /// "/usr/players" with one player of the score
    void MakePlayers(int score)
    {
        nRoot* me = static_cast<nRoot*>(this->ks->New("nroot", "/usr/players/me"));
        this->ks->PushCwd(me);
        static_cast<nEnv*>(this->ks->New("nenv", "score"))->SetI(score);
        this->ks->PopCwd();
    }
    /// the score the players' file holds, -1 when it does not load or lacks it
    int SavedScore()
    {
        if (nRoot* players = this->ks->Lookup("/usr/players")) players->Release();
        this->ks->PushCwd(this->ks->Lookup("/usr"));
        nObject* loaded = this->ks->LoadAs("home:players.n2", "players");
        this->ks->PopCwd();
        nEnv* score = static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/score"));
        const int value = (loaded && score && score->GetType() == nArg::Int) ? score->GetI() : -1;
        if (loaded) static_cast<nRoot*>(loaded)->Release();
        return value;
    }
    /// a new match state in place of the present one, which goes (and saves) first
    void NewState()
    {
        this->game->Release();
        this->game = static_cast<nGame*>(this->ks->New("ngame", "/usr/teststate"));
    }
    std::filesystem::path File() { return this->dir / "players.n2"; }
};

TEST_F(PlayersFileTest, SavedInBinaryWhenTheStateGoesAndReloadedInANewProcess)
{
    this->MakePlayers(42);
    this->Enter();
    this->app->Close();
    ASSERT_TRUE(std::filesystem::exists(this->File()));
    std::ifstream in(this->File(), std::ios::binary);
    std::string head(2, '\0');
    in.read(head.data(), 2);
    EXPECT_NE(head, std::string("# "));  // not the text format
    EXPECT_EQ(this->SavedScore(), 42);
    const std::string home = this->dir.string() + "/";
    EXPECT_EXIT(
        {
            // a new process: a new kernel and application read the file at start
            RouteStdoutToStderr();
            this->ks.reset();
            ResetStandIns();
            std::unique_ptr<nKernelServer> fresh = NewGameKernel(nmatchtest_package);
            nFileServer2::Instance()->SetAssign("home", home.c_str());
            static_cast<nApp*>(fresh->New("matchgameapp", "/theApp"))->Open();
            nEnv* score = static_cast<nEnv*>(fresh->Lookup("/usr/players/me/score"));
            _exit((score && score->GetType() == nArg::Int && score->GetI() == 42) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(PlayersFileTest, WrittenAfterTheMatchIsCleanedUp)
{
    this->MakePlayers(1);
    this->Enter();
    ASSERT_NE(this->game->NewObject(nString("progressobject")), nullptr);
    this->app->Close();
    EXPECT_EQ(this->SavedScore(), 99);
}

TEST_F(PlayersFileTest, NoPlayersNoFile)
{
    this->app->Close();
    EXPECT_FALSE(std::filesystem::exists(this->File()));
}

TEST_F(PlayersFileTest, BadFilesAreReportedAndThePlayersStartAfresh)
{
    this->MakePlayers(5);
    this->NewState();
    std::string good;
    {
        std::ifstream in(this->File(), std::ios::binary);
        good.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(good.size(), 8u);
    const std::string cases[] = {"", "garbage that is no script\n", good.substr(0, good.size() / 2),
                                 good.substr(0, 5), std::string(64, '\xff')};
    for (const std::string& bytes : cases)
    {
        if (nRoot* players = this->ks->Lookup("/usr/players")) players->Release();
        {
            std::ofstream out(this->File(), std::ios::binary | std::ios::trunc);
            out << bytes;
        }
        this->NewState();
        nRoot* players = this->ks->Lookup("/usr/players");
        nEnv* score = static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/score"));
        EXPECT_TRUE(players == nullptr || score == nullptr || score->GetType() == nArg::Int) << bytes.size();
    }
    // the good file still loads
    if (nRoot* players = this->ks->Lookup("/usr/players")) players->Release();
    std::ofstream(this->File(), std::ios::binary | std::ios::trunc) << good;
    this->NewState();
    EXPECT_NE(this->ks->Lookup("/usr/players/me/score"), nullptr);
    this->game->Release();
}

TEST_F(PlayersFileTest, ProgressIsWrittenWhenAMatchEndsThroughATemporaryFile)
{
    this->MakePlayers(1);
    this->Enter();
    ASSERT_NE(this->game->NewObject(nString("progressobject")), nullptr);
    // a kill after the match must not lose it: no Close, no state released
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_EQ(this->SavedScore(), 99);
    EXPECT_FALSE(std::filesystem::exists(this->dir / "players.n2.tmp"));
}

TEST_F(PlayersFileTest, AnUnreadableFileIsKeptAsideAndThePlayerIsTold)
{
    const std::string cases[] = {"", "garbage that is no script\n", std::string(64, '\xff'), "new nfloat2int x\n"};
    for (const std::string& bytes : cases)
    {
        SCOPED_TRACE(bytes.size());
        std::filesystem::remove(this->dir / "players.n2.broken");
        if (nRoot* players = this->ks->Lookup("/usr/players")) players->Release();
        std::ofstream(this->File(), std::ios::binary | std::ios::trunc) << bytes;
        this->NewState();
        EXPECT_EQ(this->ks->Lookup("/usr/players"), nullptr);
        std::ifstream kept(this->dir / "players.n2.broken", std::ios::binary);
        ASSERT_TRUE(kept.good());
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), bytes);
        EXPECT_NE(std::string(this->game->GetSaveNotice().Get()).find("players.n2.broken"), std::string::npos);
        // the next save replaces the file, the copy stays
        this->MakePlayers(3);
        this->NewState();
        EXPECT_TRUE(std::filesystem::exists(this->dir / "players.n2.broken"));
        EXPECT_EQ(this->SavedScore(), 3);
        EXPECT_STREQ(this->game->GetSaveNotice().Get(), "");
    }
}

/// the whole content of a file, empty when it cannot be read
std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// the inode of what is at the path (not following a link), 0 when nothing is
ino_t InodeOf(const std::filesystem::path& path)
{
    struct stat st;
    return (lstat(path.c_str(), &st) == 0) ? st.st_ino : 0;
}

TEST_F(PlayersFileTest, AnUnreadableFileIsRenamedAsideWhateverStandsAtEitherName)
{
    this->MakePlayers(8);
    this->NewState();
    const std::string good = FileBytes(this->File());
    ASSERT_FALSE(good.empty());
    const std::filesystem::path broken = this->dir / "players.n2.broken";
    const std::filesystem::path victim = this->dir / "victim";
    struct Case
    {
        const char* what;
        std::function<void()> make;  // the players' file and what is at the aside name
    };
    const Case cases[] = {
        {"garbage, the aside name a link to another file",
         [&] {
             std::ofstream(this->File(), std::ios::binary) << "garbage";
             std::filesystem::create_symlink(victim, broken);
         }},
        {"garbage, a FIFO at the aside name",
         [&] {
             std::ofstream(this->File(), std::ios::binary) << "garbage";
             ASSERT_EQ(mkfifo(broken.c_str(), 0600), 0);
         }},
        {"3 MB of garbage: larger than any file the game writes",
         [&] { std::ofstream(this->File(), std::ios::binary) << std::string(3 << 20, 'x'); }},
        {"a good file with a sparse 1 GB tail",
         [&] {
             std::ofstream(this->File(), std::ios::binary) << good;
             std::filesystem::resize_file(this->File(), 1ull << 30);
         }},
        {"a FIFO as the players' file", [&] { ASSERT_EQ(mkfifo(this->File().c_str(), 0600), 0); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(broken);
        std::filesystem::remove(this->File());
        std::ofstream(victim, std::ios::binary) << "the user's own file";
        if (nRoot* players = this->ks->Lookup("/usr/players")) players->Release();
        c.make();
        const ino_t original = InodeOf(this->File());
        this->NewState();
        EXPECT_EQ(this->ks->Lookup("/usr/players"), nullptr);
        // the very file, renamed: no copy, no space needed, nothing followed
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(this->File())));
        EXPECT_EQ(InodeOf(broken), original);
        EXPECT_EQ(FileBytes(victim), "the user's own file");
        EXPECT_NE(std::string(this->game->GetSaveNotice().Get()).find(broken.string()), std::string::npos)
            << this->game->GetSaveNotice().Get();
        // the next save makes a new file; the one aside stays
        this->MakePlayers(3);
        this->NewState();
        EXPECT_EQ(this->SavedScore(), 3);
        EXPECT_EQ(InodeOf(broken), original);
    }
}

TEST_F(PlayersFileTest, AnUnreadableFileThatCannotBeSetAsideIsNeverSavedOver)
{
    // a directory that is not empty takes no file's name
    std::filesystem::create_directories(this->dir / "players.n2.broken" / "full");
    std::ofstream(this->File(), std::ios::binary) << "garbage";
    this->NewState();
    const std::string notice = this->game->GetSaveNotice().Get();
    EXPECT_NE(notice.find("not kept as " + (this->dir / "players.n2.broken").string()), std::string::npos) << notice;
    EXPECT_NE(notice.find("Progress is not saved."), std::string::npos) << notice;
    this->MakePlayers(5);
    this->NewState();
    EXPECT_EQ(FileBytes(this->File()), "garbage");
    EXPECT_NE(this->log.text.find("the players are not saved"), std::string::npos);
}

/*
 * LoadAsUserWhoCannotWrite --
 *     Runs in a child process, on a read-only home: for root, whom
 *     permissions do not stop, as another user. Makes a new match state
 *     and writes its notice to standard error.
 *     Results: 0, or 2 when no user could be taken.
 */
int LoadAsUserWhoCannotWrite(const std::function<void()>& newState)
{
    RouteStdoutToStderr();
    if (geteuid() == 0 && setuid(65534) != 0) return 2;
    newState();
    fprintf(stderr, "notice: %s\n", nGame::Instance()->GetSaveNotice().Get());
    return 0;
}

TEST_F(PlayersFileTest, WhenProgressCannotBeSavedTheMenuSaysWhy)
{
    this->MakePlayers(4);
    this->NewState();
    // a read-only home
    const std::string readOnly = "notice: Progress cannot be saved: " + this->File().string() + ": Permission denied";
    chmod(this->dir.c_str(), 0555);
    EXPECT_EXIT(exit(LoadAsUserWhoCannotWrite([this] { this->NewState(); })), ::testing::ExitedWithCode(0), readOnly);
    chmod(this->dir.c_str(), 0700);
    // the players' file a directory
    std::filesystem::remove(this->File());
    std::filesystem::create_directories(this->File() / "x");
    this->NewState();
    EXPECT_STREQ(this->game->GetSaveNotice().Get(),
                 ("Progress cannot be saved: " + this->File().string() + ": Is a directory").c_str());
    // a save that fails at the end of a match says so when the menu comes back
    std::filesystem::remove_all(this->File());
    this->NewState();
    this->MakePlayers(6);
    this->Enter();
    EXPECT_STREQ(this->game->GetSaveNotice().Get(), "");
    std::filesystem::create_directories(this->dir / "players.n2.saving" / "x");
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_NE(std::string(this->game->GetSaveNotice().Get()).find("Progress could not be saved to " + this->File().string()),
              std::string::npos)
        << this->game->GetSaveNotice().Get();
}

TEST_F(PlayersFileTest, AFifoOrLinkAtTheTemporaryNameNeitherHoldsNorMisdirectsTheSave)
{
    const std::filesystem::path temp = this->dir / "players.n2.saving";
    const std::filesystem::path victim = this->dir / "victim";
    std::ofstream(victim, std::ios::binary) << "the user's own file";
    const std::function<void()> makers[] = {
        [&] { ASSERT_EQ(mkfifo(temp.c_str(), 0600), 0); },
        [&] { std::filesystem::create_symlink(victim, temp); },
    };
    int score = 10;
    for (const auto& make : makers)
    {
        SCOPED_TRACE(score);
        make();
        this->MakePlayers(score);
        this->NewState();  // saves at once, with no reader on the FIFO
        EXPECT_EQ(this->SavedScore(), score);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temp)));
        EXPECT_EQ(FileBytes(victim), "the user's own file");
        score++;
    }
}

TEST_F(PlayersFileTest, ASavedPlayerWithUnusableValuesIsMendedFromTheLibraryPlayer)
{
    nRoot* library = this->Proto("player");
    this->Var(library, "score")->SetI(0);
    this->Var(library, "next-enemy")->SetI(0);
    this->Var(library, "name")->SetS("Rookie");
    this->Var(library, "health")->SetF(1000.0f);
    this->Var(library, "accuracy")->SetF(0.75f);
    this->MakePlayers(5);  // a score, no name, no statistics, no model
    nRoot* me = this->ks->Lookup("/usr/players/me");
    this->Var(me, "next-enemy")->SetF(2.0f);  // wrong type
    this->Var(me, "health")->SetF(-4.0f);     // out of range
    this->Var(me, "accuracy")->SetF(0.5f);    // good, stays
    this->NewState();                          // saves, then loads and mends
    auto env = [this](const char* key) { return static_cast<nEnv*>(this->ks->Lookup((std::string("/usr/players/me/") + key).c_str())); };
    ASSERT_NE(env("score"), nullptr);
    EXPECT_EQ(env("score")->GetI(), 5);
    ASSERT_EQ(env("next-enemy")->GetType(), nArg::Int);
    EXPECT_EQ(env("next-enemy")->GetI(), 0);
    EXPECT_STREQ(env("name")->GetS(), "Rookie");
    EXPECT_FLOAT_EQ(env("health")->GetF(), 1000.0f);
    EXPECT_FLOAT_EQ(env("accuracy")->GetF(), 0.5f);
    EXPECT_EQ(env("model")->GetO(), this->ks->Lookup("/usr/lib/models/body"));
    EXPECT_NE(this->log.text.find("no usable 'next-enemy'"), std::string::npos);
}

TEST_F(PlayersFileTest, ASecondCopyOfTheGameSaysSoAndSavesNothing)
{
    this->MakePlayers(42);
    this->NewState();  // the first copy's file
    this->app->Close();
    this->app->Release();
    this->ks.reset();
    ResetStandIns();
    this->ks = NewGameKernel(nmatchtest_package);
    this->ks->SetLogHandler(&this->log);
    nFileServer2::Instance()->SetAssign("home", (this->dir.string() + "/").c_str());
    // the first copy, still running on the same home
    nHomeLock first;
    ASSERT_TRUE(first.Acquire(nHomeLock::FileName));
    this->app = static_cast<TestGameApp*>(this->ks->New("matchgameapp", "/theApp"));
    ASSERT_TRUE(this->app->Open());
    EXPECT_FALSE(this->app->MaySaveHome());
    EXPECT_NE(std::string(nGame::Instance()->GetSaveNotice().Get()).find("Another copy"), std::string::npos);
    static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/score"))->SetI(7);
    this->ks->Lookup("/sys/servers/pref")->Release();
    nPrefServer* pref = this->app->GamePrefServer();
    pref->WriteString("window-type", "windowed");
    pref->Release();
    this->app->Close();
    EXPECT_FALSE(std::filesystem::exists(this->dir / "prefs.n2"));
    EXPECT_NE(this->log.text.find("not saved"), std::string::npos);
    EXPECT_EQ(this->SavedScore(), 42);
    // once the first copy is gone, the next one saves again
    first.Release();
    ASSERT_TRUE(this->app->Open());
    EXPECT_TRUE(this->app->MaySaveHome());
}
