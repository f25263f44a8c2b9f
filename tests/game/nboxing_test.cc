//------------------------------------------------------------------------------
//  nboxing_test.cc: the match of the game's own logic "l01": the player, the
//  AI opponent, their HUD, bonuses, progression and the cameras.
//------------------------------------------------------------------------------
#include "matchfixture.h"

#include "application/standins.h"
#include "game/nai.h"
#include "game/nbar.h"
#include "game/nbonusicon.h"
#include "game/ngamecamera.h"
#include "game/ngameplay2.h"
#include "game/nguiclientwindow2.h"
#include "game/nguifloattextlabel.h"
#include "game/nplayer.h"
#include "game/nplayerfile.h"
#include "game/nfx.h"
#include "game/nparticleshapenode.h"
#include "mathlib/nmath.h"
#include "game/ntimerserver.h"
#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "input/ninputserver.h"
#include "input/ninputstate.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "util/assertdeath.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <cmath>
#include <string>
#include <vector>

namespace
{

/// the AI tuning keys with the values an opponent of the tests starts with
const std::pair<const char*, float> Tuning[] = {
    {"reaction-time", 0.2f},
    {"follow-timer-base", 0.3f},
    {"follow-timer-scat", 1.0f},
    {"keeppos-timer-base", 0.2f},
    {"keeppos-timer-scat", 0.5f},
    {"dodge-amplitude", 2.0f},
    {"hook-probability", 0.5f},
    {"hook-range", 0.75f},
    {"attack-timer-base", 0.75f},
    {"attack-timer-scat", 1.25f},
    {"attack-stirke-timer-base", 0.0f},
    {"attack-stirke-timer-scat", 0.75f},
    {"defense-timer-base", 1.5f},
    {"defense-timer-scat", 2.0f},
    {"defense-stirke-timer-base", 0.0f},
    {"defense-stirke-timer-scat", 0.75f},
    {"defense-stirke-probability", 0.25f},
};

/// the script procedures the match ran, in order
std::vector<std::string> Scripts()
{
    std::vector<std::string> out;
    const std::string prefix = "script.RunFunction ";
    for (const std::string& t : Trace())
    {
        if (t.rfind(prefix, 0) == 0) out.push_back(t.substr(prefix.size()));
    }
    return out;
}

int Count(const std::vector<std::string>& v, const char* s)
{
    return (int)std::count(v.begin(), v.end(), std::string(s));
}

}  // namespace

class BoxingTest : public MatchTest
{
protected:
    void SetUp() override
    {
        MatchTest::SetUp();
        this->Write("sound/bonus-notification.n2", SoundDesc("sound:data.wav"));
        this->ks->Lookup("/usr/lib/levels/l01")->Release();
        this->ks->New("ngameplay2", "/usr/lib/levels/l01");
        this->Proto("ring");
        this->me = this->BoxerProto("/usr/players/me");
        this->Var(this->me, "score")->SetI(0);
        this->Var(this->me, "next-enemy")->SetI(0);
        this->Var(this->me, "name")->SetS("Me");
        for (int i = 0; i < 2; i++) this->AIProto(i);
        this->game->SetPlayerProto(nString("/usr/players/me"));
        n_srand(1);
    }

    /// a boxer prototype at the path, with the fixture's statistics and parts
    nRoot* BoxerProto(const char* path)
    {
        const std::string p(path);
        const std::string dirPath = p.substr(0, p.rfind('/'));
        nRoot* dirNode = this->ks->Lookup(dirPath.c_str());
        if (!dirNode) dirNode = static_cast<nRoot*>(this->ks->New("nroot", dirPath.c_str()));
        this->ks->PushCwd(dirNode);
        nRoot* proto = static_cast<nRoot*>(this->boxerProto->Clone(p.substr(p.rfind('/') + 1).c_str()));
        this->ks->PopCwd();
        return proto;
    }

    /// the opponent "_ai<i>" with the tuning above
    nRoot* AIProto(int i)
    {
        const std::string path = "/usr/lib/objects/_ai" + std::to_string(i);
        nRoot* proto = this->BoxerProto(path.c_str());
        this->Var(proto, "name")->SetS(("AI " + std::to_string(i)).c_str());
        for (const auto& t : Tuning) this->Var(proto, t.first)->SetF(t.second);
        return proto;
    }

    void SetTuning(const char* proto, const char* key, float value)
    {
        nEnv* e = static_cast<nEnv*>(this->ks->Lookup((std::string(proto) + "/" + key).c_str()));
        ASSERT_NE(e, nullptr) << key;
        e->SetF(value);
    }

    nGameplay2* Logic2() { return static_cast<nGameplay2*>(this->ks->Lookup("/usr/lib/levels/l01")); }
    nPlayer* ThePlayer() { return nPlayer::Instance(); }
    nAI* TheAI() { return nAI::Instance(); }

    /// the input state's button for the coming frames
    void Button(const char* name, bool on)
    {
        nInputServer* input = nInputServer::Instance();
        nInputState* s = input->FindInputState(name);
        if (!s) s = input->CreateInputState(name);
        ASSERT_NE(s, nullptr);
        s->SetButton(on);
    }

    /// whether a fist of the boxer is on its way out
    static bool Punching(nBoxer* b)
    {
        for (nFist2* f : {b->GetLeftFist(), b->GetRightFist()})
        {
            if (f && f->GetState() != nFist2::Idle && f->GetState() != nFist2::Return) return true;
        }
        return false;
    }

    /// frames of 1/60 s; the number of frames in which the AI started a punch
    int AIPunches(int frames)
    {
        int n = 0;
        bool was = Punching(this->TheAI());
        for (int i = 0; i < frames; i++)
        {
            this->Frame(1.0f / 60.0f);
            if (!nAI::HasInstance()) break;
            const bool is = Punching(this->TheAI());
            if (is && !was) n++;
            was = is;
        }
        return n;
    }

    nRoot* me = nullptr;
};

//--- the match logic ------------------------------------------------------------

TEST_F(BoxingTest, StartPlacesRingPlayerAndTheOpponentOfTheNextEnemyIndex)
{
    static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/next-enemy"))->SetI(1);
    this->Enter();
    ASSERT_TRUE(nPlayer::HasInstance());
    ASSERT_TRUE(nAI::HasInstance());
    EXPECT_EQ(this->Logic2()->GetPlayer(), this->ThePlayer());
    EXPECT_STREQ(this->TheAI()->GetProto()->GetName(), "_ai1");
    EXPECT_FLOAT_EQ(this->ThePlayer()->GetPlacement().gettranslation().z, 3.5f);
    EXPECT_FLOAT_EQ(this->TheAI()->GetPlacement().gettranslation().z, -3.5f);
    EXPECT_NEAR(this->TheAI()->GetPlacement().geteuler().y, N_PI, 1e-5);
    EXPECT_STREQ(this->TheAI()->GetGuiName()->GetText(), "AI 1");
    EXPECT_FALSE(this->TheAI()->GetGuiName()->IsShown());
    EXPECT_STREQ(this->ThePlayer()->GetGuiName()->GetText(), "Me");
    const vector3 camPos = this->app->GetCamera()->GetPosition();
    EXPECT_FLOAT_EQ(camPos.y, 24.0f);
    EXPECT_FLOAT_EQ(camPos.z, 12.0f);
    EXPECT_EQ(this->Logic2()->GetCameraMode(), 0);
}

TEST_F(BoxingTest, PastTheLastOpponentTheHighestExistingOneBoxesAndTheIndexStays)
{
    static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/next-enemy"))->SetI(5);
    this->Enter();
    ASSERT_TRUE(nAI::HasInstance());
    EXPECT_STREQ(this->TheAI()->GetProto()->GetName(), "_ai1");
    EXPECT_NE(this->log.text.find("_ai5"), std::string::npos);
    EXPECT_EQ(this->ThePlayer()->GetNextEnemy(), 5);
}

TEST_F(BoxingTest, NextCameraThreeTimesReturnsToTheOverview)
{
    this->Enter();
    std::vector<int> modes;
    for (int i = 0; i < 3; i++)
    {
        this->Button("next-camera", true);
        this->Frame(1.0f / 60.0f);
        this->Button("next-camera", false);
        this->Frame(1.0f / 60.0f);
        modes.push_back(this->Logic2()->GetCameraMode());
    }
    EXPECT_EQ(modes, (std::vector<int>{1, 2, 0}));
    EXPECT_FLOAT_EQ(this->app->GetCamera()->GetPosition().y, 24.0f);
}

TEST_F(BoxingTest, EyeViewSitsOneUnitInFrontOfThePlayerAndTurnsWithIt)
{
    this->Enter();
    for (int i = 0; i < 2; i++)
    {
        this->Button("next-camera", true);
        this->Frame(1.0f / 60.0f);
    }
    this->Button("next-camera", false);
    this->Frames(10, 1.0f / 60.0f);
    ASSERT_EQ(this->Logic2()->GetCameraMode(), 2);
    // the camera follows the player as it stands when the logic runs
    this->Logic2()->Trigger(nullptr);
    const vector3 p = this->ThePlayer()->GetTransform().gettranslation();
    const vector3 c = this->app->GetCamera()->GetPosition();
    EXPECT_FLOAT_EQ(c.x, p.x);
    EXPECT_FLOAT_EQ(c.y, p.y);
    EXPECT_FLOAT_EQ(c.z, p.z - 1.0f);
    const vector3 e = this->ThePlayer()->GetTransform().geteuler();
    EXPECT_FLOAT_EQ(this->app->GetCamera()->GetEuler().y, e.y);
}

TEST_F(BoxingTest, TheOverviewSwaysWithinItsBoundsAndNotInTheFinalSlowMotion)
{
    this->Enter();
    this->ThePlayer()->GetTransform().seteuler(vector3(0.0f, 1.0f, 0.0f));
    float lo = 10.0f, hi = -10.0f;
    for (int i = 0; i < 200; i++)
    {
        this->Logic2()->Trigger(nullptr);
        const float y = this->app->GetCamera()->GetEuler().y;
        lo = std::min(lo, y);
        hi = std::max(hi, y);
    }
    EXPECT_GE(lo, 0.3f * 0.6f - 1e-5f);
    EXPECT_LE(hi, 0.3f * 1.4f + 1e-5f);
    EXPECT_LT(lo, hi);
    this->game->StartFinalSlowMotion();
    for (int i = 0; i < 20; i++)
    {
        this->Logic2()->Trigger(nullptr);
        EXPECT_FLOAT_EQ(this->app->GetCamera()->GetEuler().y, 0.3f);
    }
}

//--- the player -----------------------------------------------------------------

TEST_F(BoxingTest, HudBarsRunOverThePartsOfTheirLength)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    nBar* health = this->ThePlayer()->GetHealthBar();
    ASSERT_TRUE(health->HasWidgets());
    EXPECT_FLOAT_EQ(health->GetBar()->GetRect().v0.x, 0.81f);
    EXPECT_FLOAT_EQ(health->GetBar()->GetRect().v1.x, 0.81f + 0.168f);
    health->SetValue(0.5f);
    EXPECT_FLOAT_EQ(health->GetBar()->GetRect().v1.x, 0.894f);
    EXPECT_FLOAT_EQ(health->GetTrail()->GetRect().v0.x, 0.81f);
    EXPECT_FLOAT_EQ(health->GetTrail()->GetRect().v1.x, 0.978f);
    EXPECT_STREQ(health->GetTextLabel()->GetText(), "Health");
    EXPECT_STREQ(this->ThePlayer()->GetEnergyBar()->GetTextLabel()->GetText(), "Energy");
    EXPECT_FLOAT_EQ(this->ThePlayer()->GetEnergyBar()->GetBar()->GetRect().v0.y, 0.959f);
    // the bar follows the health every frame
    this->ThePlayer()->SetHealth(250.0f);
    this->Frame(1.0f / 60.0f);
    EXPECT_NEAR(health->GetBar()->GetRect().v1.x, 0.81f + 0.168f * 0.25f, 1e-5);
    // a negative value hides the bar for good
    health->SetValue(-0.1f);
    EXPECT_FALSE(health->GetBar()->IsShown());
    health->SetValue(0.7f);
    EXPECT_FALSE(health->GetBar()->IsShown());
    // its widgets live in the GUI root window and go with the bar
    nRef<nRoot> bar;
    bar = health->GetBar();
    EXPECT_EQ(bar->GetParent(), nGuiServer::Instance()->GetRootWindowPointer());
    // drawn in child order: the trail behind the fill, the label over both
    EXPECT_EQ(health->GetFrame()->GetSucc(), health->GetTrail());
    EXPECT_EQ(health->GetTrail()->GetSucc(), health->GetBar());
    EXPECT_EQ(health->GetBar()->GetSucc(), health->GetTextLabel());
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_FALSE(bar.isvalid());
}

TEST_F(BoxingTest, ScoreTurnsIntoBonusesTakenOneAtATime)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    nPlayer* p = this->ThePlayer();
    ASSERT_EQ(p->GetBonusValue(), 200);  // a fifth of the opponent's 1000 health
    Trace().clear();
    p->AddScore(150);
    p->AddScore(50);  // 200 is not more than 200
    EXPECT_EQ(p->GetPendingBonuses(), 0);
    p->AddScore(1);
    EXPECT_EQ(p->GetPendingBonuses(), 1);
    p->AddScore(201);
    EXPECT_EQ(p->GetPendingBonuses(), 2);
    EXPECT_EQ(Count(Scripts(), "ShowBonusNotification"), 2);
    p->TakeBonus();
    EXPECT_EQ(p->GetPendingBonuses(), 1);
    EXPECT_EQ(Count(Scripts(), "HideBonusNotification"), 0);
    Trace().clear();
    n_srand(3);
    p->TakeBonus();
    EXPECT_EQ(p->GetPendingBonuses(), 0);
    const auto s = Scripts();
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front(), "HideBonusNotification");
    p->TakeBonus();  // none pending: nothing
    EXPECT_EQ(p->GetPendingBonuses(), 0);
}

TEST_F(BoxingTest, EachBonusDoesWhatItsRangeSays)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    std::vector<bool> seen(5, false);
    for (unsigned seed = 1; seed < 400 && std::count(seen.begin(), seen.end(), false) > 0; seed++)
    {
        n_srand(seed);
        const float r = n_rand();
        const int range = std::min(4, (int)(r / 0.2f));
        if (seen[range]) continue;
        seen[range] = true;
        SCOPED_TRACE(range);
        this->game->Restart();
        this->Frames(2, 1.0f / 60.0f);
        nPlayer* p = this->ThePlayer();
        nAI* ai = this->TheAI();
        p->SetEnergy(100.0f);
        p->SetHealth(900.0f);
        p->AddScore(1000);
        Trace().clear();
        n_srand(seed);
        p->TakeBonus();
        const auto s = Scripts();
        switch (range)
        {
            case 0: EXPECT_FLOAT_EQ(p->GetEnergy(), 100.0f + 250.0f); break;
            case 1: EXPECT_FLOAT_EQ(p->GetHealth(), 1000.0f); break;  // capped
            case 2:
                EXPECT_EQ(this->game->GetBonusTimeMode(), 1);
                EXPECT_EQ(Count(s, "ShowSlowModeIcon"), 1);
                break;
            case 3:
                EXPECT_TRUE(ai->IsVulnerable());
                EXPECT_EQ(Count(s, "ShowVulnerableAIIcon"), 1);
                break;
            default:
                EXPECT_TRUE(this->game->IsFatalPunch());
                EXPECT_EQ(Count(s, "ShowFatalPunchIcon"), 1);
                break;
        }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 5);
}

TEST_F(BoxingTest, AWeakOpponentStillMakesABonusValueOfOne)
{
    this->Enter();
    this->TheAI()->SetHealth(4.0f);
    this->Frame(1.0f / 60.0f);
    EXPECT_EQ(this->ThePlayer()->GetBonusValue(), 1);
    this->ThePlayer()->AddScore(2);
    EXPECT_EQ(this->ThePlayer()->GetPendingBonuses(), 1);
}

TEST_F(BoxingTest, ALostMatchWritesZeroGainsAndLeavesTheProgressionAlone)
{
    static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/score"))->SetI(7);
    this->Enter();
    this->Frame(1.0f / 60.0f);
    this->ThePlayer()->AddScore(30);
    this->game->OnStateLeave(nString("main_menu"));
    nRoot* buf = this->ks->Lookup(nPlayer::BufferPath);
    ASSERT_NE(buf, nullptr);
    EXPECT_EQ(static_cast<nEnv*>(buf->Find("score"))->GetI(), 0);
    for (const char* k : {"health", "energy", "strength", "accuracy"})
    {
        EXPECT_FLOAT_EQ(static_cast<nEnv*>(buf->Find(k))->GetF(), 0.0f) << k;
    }
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/score"))->GetI(), 7);
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/next-enemy"))->GetI(), 0);
    EXPECT_FALSE(nPlayer::HasInstance());
    EXPECT_FALSE(nAI::HasInstance());
}

TEST_F(BoxingTest, AWonMatchAddsTheAverageScoreTheNextEnemyAndFiveStatSteps)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    for (int s : {30, 50, 70}) this->ThePlayer()->AddScore(s);
    this->ThePlayer()->SetWon();
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/score"))->GetI(), 50);
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/next-enemy"))->GetI(), 1);
    nRoot* buf = this->ks->Lookup(nPlayer::BufferPath);
    ASSERT_NE(buf, nullptr);
    EXPECT_EQ(static_cast<nEnv*>(buf->Find("score"))->GetI(), 50);
    float steps = 0.0f;
    for (const char* k : {"health", "energy", "energy-rec-rate", "strike-length", "strength", "fist-mass",
                          "move-speed", "lightness", "accuracy"})
    {
        const float v = static_cast<nEnv*>(buf->Find(k))->GetF();
        EXPECT_NEAR(v, std::round(v), 1e-3) << k;
        steps += v;
    }
    EXPECT_NEAR(steps, 5.0f, 1e-3);
}

TEST_F(BoxingTest, BothMouseButtonsThrowRightPunchesOnly)
{
    this->Enter();
    this->PastStart();
    this->Button("btn0_down", true);
    this->Button("btn1_down", true);
    this->Frame(1.0f / 60.0f);
    EXPECT_NE(this->ThePlayer()->GetRightFist()->GetState(), nFist2::Idle);
    EXPECT_EQ(this->ThePlayer()->GetLeftFist()->GetState(), nFist2::Idle);
    EXPECT_TRUE(this->TheAI()->IsReacting());
}

//--- the AI ---------------------------------------------------------------------

TEST_F(BoxingTest, TheDamageLabelShowsTheTruncatedDifferenceAndThePlayerScoresIt)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    nAI* ai = this->TheAI();
    nGuiFloatTextLabel* label = ai->GetLabel();
    ASSERT_TRUE(label->HasLabel());
    EXPECT_FALSE(label->GetLabel()->IsShown());
    ai->SetHealth(1000.0f);
    ai->OnHit(vector3(73.0f, 0.0f, 0.0f));
    const int shown = 1000 - (int)ai->GetHealth();
    EXPECT_STREQ(label->GetLabel()->GetText(), std::to_string(shown).c_str());
    EXPECT_EQ(this->ThePlayer()->GetBonusProgress(), shown);
    EXPECT_TRUE(label->GetLabel()->IsShown());
    EXPECT_FLOAT_EQ(label->GetDrift(), 73.0f * 0.025f);
}

TEST_F(BoxingTest, TheFinalBlowWinsOnceForThePlayer)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    Trace().clear();
    this->TheAI()->SetHealth(0.5f);
    // down to a health whose truncation is still 0, then further
    this->TheAI()->OnHit(vector3(2.0f, 0.0f, 0.0f));
    this->TheAI()->OnHit(vector3(100.0f, 0.0f, 0.0f));
    this->TheAI()->OnHit(vector3(100.0f, 0.0f, 0.0f));
    EXPECT_TRUE(this->ThePlayer()->HasWon());
    EXPECT_EQ(Count(Scripts(), "ShowYouWon"), 1);
    EXPECT_TRUE(this->game->IsSlowMotion());
}

TEST_F(BoxingTest, APlayerDownIsNoLongerHitAndTheAIIsNoLongerScored)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    Trace().clear();
    this->ThePlayer()->SetHealth(5.0f);
    this->ThePlayer()->OnHit(vector3(100.0f, 0.0f, 0.0f));
    EXPECT_EQ(Count(Scripts(), "ShowYouLost"), 1);
    const float h = this->TheAI()->GetHealth();
    this->TheAI()->OnHit(vector3(100.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(this->TheAI()->GetHealth(), h);
}

struct TuningCase
{
    const char* name;
    std::vector<std::pair<const char*, float>> tuning;
    bool playerGuards;
    bool expectPunches;
};

class AITuningTest : public BoxingTest, public ::testing::WithParamInterface<TuningCase>
{
};

TEST_P(AITuningTest, ChoicesFollowTheTuning)
{
    const TuningCase& c = GetParam();
    for (const auto& t : c.tuning) this->SetTuning("/usr/lib/objects/_ai0", t.first, t.second);
    this->Enter();
    this->PastStart();
    if (c.playerGuards) this->Button("space_down", true);
    // the player stands still at the centre of the mouse
    const int punches = this->AIPunches(600);
    if (c.expectPunches) EXPECT_GT(punches, 0) << c.name;
    else EXPECT_EQ(punches, 0) << c.name;
}

// the phase timer starts finished and attacking false: a long first defence keeps the AI defending
const std::vector<std::pair<const char*, float>> Defending = {{"defense-timer-base", 1000.0f},
                                                              {"defense-timer-scat", 0.0f}};

std::vector<std::pair<const char*, float>> With(std::vector<std::pair<const char*, float>> v,
                                                std::pair<const char*, float> more)
{
    v.push_back(more);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AITuningTest,
    ::testing::Values(
        TuningCase{"out of reach", {{"strike-length", 0.5f}, {"dodge-amplitude", 0.0f}}, false, false},
        TuningCase{"defending against a guard", With(Defending, {"defense-stirke-probability", 1.0f}), true, false},
        TuningCase{"never counters", With(Defending, {"defense-stirke-probability", 0.0f}), false, false},
        TuningCase{"always counters", With(Defending, {"defense-stirke-probability", 1.0f}), false, true},
        TuningCase{"attacks", {{"attack-timer-base", 1000.0f}, {"defense-timer-base", 0.0f}, {"defense-timer-scat", 0.0f}},
                   false, true}),
    [](const ::testing::TestParamInfo<TuningCase>& info) {
        std::string n = info.param.name;
        std::replace(n.begin(), n.end(), ' ', '_');
        return n;
    });

TEST_F(BoxingTest, KeepingPositionTheAIDodgesWithinItsAmplitude)
{
    this->SetTuning("/usr/lib/objects/_ai0", "dodge-amplitude", 1.0f);
    this->Enter();
    this->PastStart();
    float maxDodge = 0.0f;
    bool kept = false;
    for (int i = 0; i < 300; i++)
    {
        const vector3 before = this->TheAI()->GetDodgeOffset();
        this->Frame(1.0f / 60.0f);
        if (!this->TheAI()->IsFollowing()) kept = true;
        const vector3 d = this->TheAI()->GetDodgeOffset() - before;
        maxDodge = std::max(maxDodge, std::max(std::fabs(d.x), std::fabs(d.z)));
    }
    EXPECT_TRUE(kept);
    EXPECT_GT(maxDodge, 0.0f);
    EXPECT_LE(maxDodge, 1.0f + 1e-4f);
}

TEST_F(BoxingTest, UnusableTuningValuesAreReportedAndTheDefaultsKept)
{
    // missing, an int where a float is read, out of range, not finite
    this->ks->Lookup("/usr/lib/objects/_ai0/hook-range")->Release();
    this->ks->Lookup("/usr/lib/objects/_ai0/dodge-amplitude")->Release();
    this->Var(this->ks->Lookup("/usr/lib/objects/_ai0"), "dodge-amplitude")->SetI(3);
    this->SetTuning("/usr/lib/objects/_ai0", "hook-probability", 5.0f);
    this->SetTuning("/usr/lib/objects/_ai0", "reaction-time", -1.0f);
    this->SetTuning("/usr/lib/objects/_ai0", "defense-timer-base", NAN);
    this->ks->Lookup("/usr/lib/objects/_ai0/name")->Release();
    this->Var(this->ks->Lookup("/usr/lib/objects/_ai0"), "name")->SetF(1.0f);
    this->Enter();
    ASSERT_TRUE(nAI::HasInstance());
    for (const char* key : {"hook-range", "dodge-amplitude", "hook-probability", "reaction-time", "defense-timer-base"})
    {
        EXPECT_NE(this->log.text.find(std::string("float '") + key + "'"), std::string::npos) << key;
    }
    EXPECT_NE(this->log.text.find("no text \"name\""), std::string::npos);
    EXPECT_STREQ(this->TheAI()->GetGuiName()->GetText(), "");
    this->PastStart();
    this->Frames(120, 1.0f / 60.0f);
    EXPECT_TRUE(std::isfinite(this->TheAI()->GetTransform().gettranslation().x));
}

TEST_F(BoxingTest, UnusablePlayerValuesAreReportedAndTheMatchGoesOnAndEnds)
{
    nRoot* me = this->me;
    for (const char* key : {"score", "next-enemy", "name", "accuracy"}) me->Find(key)->Release();
    this->Var(me, "score")->SetF(12.5f);  // a float score
    this->Var(me, "next-enemy")->SetI(-3);
    this->Enter();
    ASSERT_TRUE(nPlayer::HasInstance());
    EXPECT_EQ(this->ThePlayer()->GetNextEnemy(), 0);
    EXPECT_STREQ(this->TheAI()->GetProto()->GetName(), "_ai0");
    EXPECT_NE(this->log.text.find("count 'score'"), std::string::npos);
    EXPECT_NE(this->log.text.find("count 'next-enemy'"), std::string::npos);
    this->Frame(1.0f / 60.0f);
    this->ThePlayer()->AddScore(30);
    this->ThePlayer()->SetWon();
    // leaving writes the progression into a prototype without "accuracy"
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_NE(this->log.text.find("no number 'accuracy'"), std::string::npos);
    ASSERT_NE(this->ks->Lookup(nPlayer::BufferPath), nullptr);
}

TEST_F(BoxingTest, APrototypeThatCannotBeUsedLeavesItsBoxerUnbuiltAndTheMatchGoesOn)
{
    const struct
    {
        const char* what;
        std::function<void()> spoil;
    } cases[] = {
        {"no player prototype", [this] { this->game->SetPlayerProto(nString("/usr/players/nobody")); }},
        {"player model no scene node",
         [this] { static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/model"))->SetO(this->ks->Lookup("/usr")); }},
        {"opponent model missing", [this] { this->ks->Lookup("/usr/lib/objects/_ai0/model")->Release(); }},
        {"glove of negative radius",
         [this] { static_cast<nEnv*>(this->ks->Lookup("/usr/lib/objects/fist/radius"))->SetF(-1.0f); }},
        {"ring without model", [this] { this->ks->Lookup("/usr/lib/objects/ring/model")->Release(); }},
        {"no opponent at all",
         [this] {
             this->ks->Lookup("/usr/lib/objects/_ai0")->Release();
             this->ks->Lookup("/usr/lib/objects/_ai1")->Release();
         }},
    };
    bool first = true;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (!first)
        {
            // a fresh kernel, application and data for each case
            this->TearDown();
            this->SetUp();
        }
        first = false;
        c.spoil();
        this->Enter();
        EXPECT_NE(this->log.text.find("not usable"), std::string::npos);
        this->PastStart();
        this->Frames(30, 1.0f / 60.0f);
        this->game->OnStateLeave(nString("main_menu"));
    }
}

TEST_F(BoxingTest, NoPlayerPrototypeAtAllGivesAPlayerWithoutBody)
{
    // a script entering the match before it chose a player
    this->BoxerProto(nPlayerFile::LibraryPlayer);
    this->game->Release();
    this->game = static_cast<nGame*>(this->ks->New("ngame", "/usr/teststate"));
    ASSERT_FALSE(this->game->HasPlayerProto());
    this->Enter();
    ASSERT_TRUE(nPlayer::HasInstance());
    EXPECT_EQ(this->ThePlayer()->GetRoot(), nullptr);
    // only saved players are mended from the library's: nothing else grows its values
    EXPECT_EQ(this->ks->Lookup("/score"), nullptr);
    EXPECT_EQ(this->ks->Lookup("/usr/teststate/score"), nullptr);
    this->PastStart();
    this->Frames(30, 1.0f / 60.0f);
    EXPECT_NE(this->log.text.find("no player prototype"), std::string::npos);
}

TEST_F(BoxingTest, AHugeNextEnemyFindsTheLastOpponentAtOnceAndAWinDoesNotWrapIt)
{
    static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/next-enemy"))->SetI(INT_MAX);
    static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/score"))->SetI(INT_MAX - 1);
    this->ks->New("nroot", "/usr/lib/objects/_ai07");  // not what index 7 names
    this->Enter();
    EXPECT_STREQ(this->TheAI()->GetProto()->GetName(), "_ai1");
    this->Frame(1.0f / 60.0f);
    this->ThePlayer()->AddScore(30);
    this->ThePlayer()->SetWon();
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/next-enemy"))->GetI(), INT_MAX);
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/score"))->GetI(), INT_MAX);
}

TEST_F(BoxingTest, ObjectsAScriptPutsIntoTheMatchAreLeftAlone)
{
    this->Enter();
    this->PastStart();
    // a glove and an effect the match did not make, and a guard point gone from under its glove
    this->ks->New("nfist2", "/usr/scene/x");
    this->ks->New("nfx", "/usr/fx_scene/x");
    nFist2* glove = this->ThePlayer()->GetLeftFist();
    ASSERT_NE(glove, nullptr);
    this->ThePlayer()->GetPart("leftguard")->Release();
    for (int i = 0; i < 30; i++)
    {
        this->Frame(1.0f / 60.0f);
        this->game->OnRender3D();
    }
    EXPECT_NE(this->ks->Lookup("/usr/scene/x"), nullptr);
    EXPECT_NE(this->ks->Lookup("/usr/fx_scene/x"), nullptr);
    EXPECT_TRUE(std::isfinite(glove->GetTransform().gettranslation().x));
}

//--- HUD widgets ----------------------------------------------------------------

class HudTest : public BoxingTest
{
protected:
    nBonusIcon* Icon()
    {
        this->ks->PushCwd(nGuiServer::Instance()->GetRootWindowPointer());
        nBonusIcon* icon = static_cast<nBonusIcon*>(this->ks->New("nbonusicon", "icon"));
        this->ks->PopCwd();
        return icon;
    }
};

TEST_F(HudTest, ABonusIconSlidesUpFastThenAtLeastOneUnitPerSecond)
{
    this->Enter();
    nBonusIcon* icon = this->Icon();
    icon->SetRect(rectangle(vector2(0.4f, 0.8f), vector2(0.2f, 0.1f)));
    icon->UpdateRect();
    EXPECT_FLOAT_EQ(icon->GetRect().v0.x, 0.4f);
    EXPECT_FLOAT_EQ(icon->GetRect().v0.y, 1.0f);
    EXPECT_FLOAT_EQ(icon->GetRect().v1.x, 0.6f);
    EXPECT_FLOAT_EQ(icon->GetRect().v1.y, 1.1f);
    EXPECT_FLOAT_EQ(icon->GetTargetTop(), 0.8f);
    icon->Show();
    EXPECT_EQ(icon->GetAnimState(), nBonusIcon::SlidingIn);
    icon->Animate(0.01f);
    EXPECT_NEAR(icon->GetRect().v0.y, 1.0f - 0.2f * 20.0f * 0.01f, 1e-5);  // fast at first
    int steps = 0;
    while (icon->GetAnimState() == nBonusIcon::SlidingIn && steps < 1000)
    {
        const float before = icon->GetRect().v0.y;
        icon->Animate(0.01f);
        if (icon->GetAnimState() == nBonusIcon::SlidingIn) EXPECT_GE(before - icon->GetRect().v0.y, 0.01f - 1e-6f);
        steps++;
    }
    EXPECT_EQ(icon->GetAnimState(), nBonusIcon::Progress);
    EXPECT_FLOAT_EQ(icon->GetRect().v0.y, 0.8f);
}

TEST_F(HudTest, AnIconWhoseChildrenAScriptDeletedStillSlidesAndShows)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    for (const char* child : {"bar", "bar-trail", "text"})
    {
        SCOPED_TRACE(child);
        nBonusIcon* icon = this->Icon();
        icon->Find(child)->Release();
        icon->SetRect(rectangle(vector2(0.4f, 0.8f), vector2(0.2f, 0.1f)));
        icon->UpdateRect();
        EXPECT_FLOAT_EQ(icon->GetRect().v0.y, 1.0f);
        icon->Show();
        icon->SetBonus("slow");
        this->game->SetBonusTime(1, 2.0f);
        for (int i = 0; i < 20; i++) icon->Animate(0.1f);
        EXPECT_EQ(icon->GetAnimState(), nBonusIcon::Progress);
        icon->Release();
    }
}

TEST_F(HudTest, SetBonusTakesTheThreeNamesOnly)
{
    this->Enter();
    nBonusIcon* icon = this->Icon();
    const std::pair<const char*, int> cases[] = {
        {"fatalpunch", 2}, {"double", 2}, {"openenemy", 1}, {"", 1}, {"slow", 0}, {"SLOW", 0},
    };
    for (const auto& c : cases)
    {
        icon->SetBonus(c.first);
        EXPECT_EQ(icon->GetBonusType(), c.second) << c.first;
    }
}

TEST_F(HudTest, TheIconBarShowsTheRestAndABonusOfNoLengthOrNoOpponentSlidesOut)
{
    this->Enter();
    this->Frame(1.0f / 60.0f);
    nBonusIcon* icon = this->Icon();
    icon->GetBarTrail()->SetRect(rectangle(vector2(0.1f, 0.0f), vector2(0.5f, 0.1f)));
    icon->GetBar()->SetRect(rectangle(vector2(0.1f, 0.0f), vector2(0.5f, 0.1f)));
    icon->SetRect(rectangle(vector2(0.4f, 0.8f), vector2(0.6f, 0.9f)));
    icon->Show();
    icon->Animate(10.0f);
    ASSERT_EQ(icon->GetAnimState(), nBonusIcon::Progress);
    icon->SetBonus("slow");
    this->game->SetBonusTime(1, 2.0f);
    this->Frames(30, 1.0f / 30.0f);  // scaled: 1 s x 0.75 x 0.5
    icon->Animate(0.0f);
    const float p = this->game->GetSlowProgress();
    EXPECT_NEAR(icon->GetBar()->GetRect().v1.x, 0.1f + 0.4f * (1.0f - p), 1e-5);
    // a bonus of no length is over at once
    icon->SetBonus("fatalpunch");
    this->game->SetFatalPunch(0.0f);
    icon->Animate(0.0f);
    EXPECT_EQ(icon->GetAnimState(), nBonusIcon::SlidingOut);
    // and so is the vulnerable opponent once the opponent is gone
    icon->Show();
    icon->Animate(10.0f);
    icon->SetBonus("openenemy");
    this->game->OnStateLeave(nString("main_menu"));
    icon->Animate(0.0f);
    EXPECT_EQ(icon->GetAnimState(), nBonusIcon::SlidingOut);
    for (int i = 0; i < 300 && icon->IsShown(); i++) icon->Animate(0.1f);
    EXPECT_FALSE(icon->IsShown());
}

TEST_F(HudTest, AFloatLabelFadesOutInHalfASecondWhileItRisesAndItsDriftDecays)
{
    this->Enter();
    this->ks->PushCwd(this->ks->Lookup("/usr"));
    nGuiFloatTextLabel* f = static_cast<nGuiFloatTextLabel*>(this->ks->New("nguifloattextlabel", "f"));
    this->ks->PopCwd();
    ASSERT_TRUE(f->HasLabel());
    nGuiTextLabel* l = f->GetLabel();
    EXPECT_EQ(l->GetAlignment(), (int)nGuiTextLabel::Center);
    EXPECT_STREQ(l->GetFont(), "score");
    EXPECT_STREQ(l->GetText(), "Hello world!\n");
    EXPECT_FALSE(l->IsShown());
    l->SetColor(vector4(1, 1, 1, 1));
    l->Show();
    f->SetDrift(vector3(40.0f, 0.0f, 0.0f));
    const rectangle r0 = l->GetRect();
    for (int i = 0; i < 24; i++) f->Trigger(0.02f);  // 0.48 s
    EXPECT_TRUE(l->IsShown());
    EXPECT_LT(l->GetRect().v0.y, r0.v0.y);
    EXPECT_GT(l->GetRect().v0.x, r0.v0.x);
    EXPECT_GT(f->GetDrift(), 0.0f);
    EXPECT_LT(f->GetDrift(), 1.0f);
    f->Trigger(0.02f);
    f->Trigger(0.001f);
    EXPECT_FALSE(l->IsShown());
    nRef<nRoot> label;
    label = l;
    f->Release();
    EXPECT_FALSE(label.isvalid());
}

TEST_F(HudTest, AFloatLabelNeverRisesIntoTheTopBandOfTheHud)
{
    this->Enter();
    this->ks->PushCwd(this->ks->Lookup("/usr"));
    nGuiFloatTextLabel* f = static_cast<nGuiFloatTextLabel*>(this->ks->New("nguifloattextlabel", "f"));
    this->ks->PopCwd();
    nGuiTextLabel* l = f->GetLabel();
    // placed at points of the screen high and low; each rises for its whole half second
    for (const float top : {0.0f, 0.15f, 0.3f, 0.6f})
    {
        SCOPED_TRACE(top);
        l->SetRect(rectangle(vector2(0.4f, top), vector2(0.6f, top + 0.1f)));
        l->SetColor(vector4(1, 1, 1, 1));
        l->Show();
        for (int i = 0; i < 24; i++)
        {
            f->Trigger(0.02f);
            EXPECT_GE(l->GetRect().v0.y, 0.14f - 1e-6f);
            EXPECT_NEAR(l->GetRect().v1.y - l->GetRect().v0.y, 0.1f, 1e-5f);
        }
        if (top >= 0.6f) EXPECT_LT(l->GetRect().v0.y, top - 0.2f);
    }
    // a point above the top of the screen (an opponent seen from close by) still shows below the band
    f->SetPosition(vector3(0.0f, 1000.0f, 0.0f));
    EXPECT_GE(l->GetRect().v0.y, 0.14f - 1e-6f);
    f->Release();
}

TEST_F(HudTest, AClientWindow2IsFixedAndTitledInItsFont)
{
    this->Enter();
    this->ks->PushCwd(nGuiServer::Instance()->GetRootWindowPointer());
    nGuiClientWindow2* w = static_cast<nGuiClientWindow2*>(this->ks->New("nguiclientwindow2", "w"));
    this->ks->PopCwd();
    EXPECT_FALSE(w->IsMovable());
    EXPECT_FALSE(w->IsResizable());
    EXPECT_FALSE(w->HasCloseButton());
    w->Show();
    if (w->GetTitleBarWidget()) EXPECT_STREQ(w->GetTitleBarWidget()->GetFont(), "wintitle");
}

//--- the whole match -----------------------------------------------------------

class HeadlessMatchTest : public BoxingTest
{
protected:
    /// a match of the seed: forward, a punch every 20 frames; the procedures the match ran
    std::vector<std::string> Play(unsigned seed, int frames)
    {
        n_srand(seed);
        Trace().clear();
        this->Enter();
        nInputServer* input = nInputServer::Instance();
        (void)input;
        for (int i = 0; i < frames && nPlayer::HasInstance(); i++)
        {
            this->Button("btn0_down", i % 20 == 0);
            this->Frame(1.0f / 60.0f);
        }
        return Scripts();
    }
};

TEST_F(HeadlessMatchTest, TheSameSeedGivesTheSameMatchAndAnotherSeedAnotherOne)
{
    auto trace = [this](unsigned seed) {
        std::vector<std::string> out = this->Play(seed, 600);
        char text[160];
        snprintf(text, sizeof(text), "%.4f %.4f %.4f", this->ThePlayer()->GetHealth(), this->TheAI()->GetHealth(),
                 this->TheAI()->GetTransform().gettranslation().x);
        out.push_back(text);
        this->game->OnStateLeave(nString("main_menu"));
        return out;
    };
    const auto a = trace(11);
    const auto b = trace(11);
    const auto c = trace(12);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST_F(HeadlessMatchTest, NoPunchInTheStartPhaseAndEachPunchCostsEnergy)
{
    this->Enter();
    const float cost = this->ThePlayer()->GetStrength() * this->ThePlayer()->GetFistMass() * 0.1f;
    float scaled = 0.0f;
    int punchesInStart = 0, costed = 0, started = 0;
    for (int i = 0; i < 400; i++)
    {
        this->Button("btn0_down", i % 20 == 0);
        const bool idle = this->ThePlayer()->GetLeftFist()->GetState() == nFist2::Idle;
        const float before = this->ThePlayer()->GetEnergy();
        this->Frame(1.0f / 60.0f);
        scaled += this->game->GetFrameDt();
        const bool now = this->ThePlayer()->GetLeftFist()->GetState() != nFist2::Idle;
        if (i % 20 == 0 && idle && now)
        {
            if (scaled < 1.5f) punchesInStart++;
            started++;
            // the recovery of the frame comes before the punch
            const float after = this->ThePlayer()->GetEnergy();
            if (std::fabs(std::min(before + 0.0f, this->ThePlayer()->GetEnergyMax()) - cost - after) < 1.0f ||
                after <= before - cost + 1.0f)
                costed++;
        }
    }
    EXPECT_EQ(punchesInStart, 0);
    EXPECT_GT(started, 0);
    EXPECT_EQ(costed, started);
}

TEST_F(HeadlessMatchTest, AKnockoutWinsOnceStopsTimeAndWritesTheProgression)
{
    this->Enter();
    this->PastStart();
    Trace().clear();
    this->TheAI()->SetHealth(0.5f);
    this->TheAI()->OnHit(vector3(10.0f, 0.0f, 0.0f));
    int frames = 0;
    while (this->game->GetTimeMultiplier() > 0.0f && frames < 100)
    {
        this->Button("btn0_down", frames % 20 == 0);
        this->Frame(1.0f / 60.0f);
        frames++;
    }
    EXPECT_LE(frames, 40);
    this->Frames(60, 1.0f / 60.0f);
    EXPECT_EQ(Count(Scripts(), "ShowYouWon"), 1);
    this->game->OnStateLeave(nString("main_menu"));
    EXPECT_EQ(static_cast<nEnv*>(this->ks->Lookup("/usr/players/me/next-enemy"))->GetI(), 1);
    nRoot* buf = this->ks->Lookup(nPlayer::BufferPath);
    ASSERT_NE(buf, nullptr);
    float steps = 0.0f;
    for (const char* k : {"health", "energy", "energy-rec-rate", "strike-length", "strength", "fist-mass",
                          "move-speed", "lightness", "accuracy"})
    {
        steps += static_cast<nEnv*>(buf->Find(k))->GetF();
    }
    EXPECT_NEAR(steps, 5.0f, 1e-3);
}

TEST_F(HeadlessMatchTest, ThirtyRestartsLeaveTheCountsWhereTheyWere)
{
    this->Enter();
    this->Frames(5, 1.0f / 60.0f);
    auto count = [this](const char* path) {
        int n = 0;
        nRoot* r = this->ks->Lookup(path);
        for (nRoot* c = r ? r->GetHead() : nullptr; c; c = c->GetSucc()) n++;
        return n;
    };
    const int sounds = count("/sys/servers/audio");
    const int widgets = count(nGuiServer::Instance()->GetRootWindowPointer()->GetFullName().Get());
    const int timers = nTimerServer::Instance()->GetNumTimers();
    for (int i = 0; i < 30; i++)
    {
        this->game->Restart();
        this->Frames(3, 1.0f / 60.0f);
    }
    EXPECT_EQ(count("/sys/servers/audio"), sounds);
    EXPECT_EQ(count(nGuiServer::Instance()->GetRootWindowPointer()->GetFullName().Get()), widgets);
    EXPECT_EQ(nTimerServer::Instance()->GetNumTimers(), timers);
}

//--- effects --------------------------------------------------------------------

TEST_F(BoxingTest, AnEffectLivesItsEmissionAndItsLongestParticleThenGoes)
{
    this->Enter();
    nRef<nFX> fx;
    fx = this->game->SpawnFX(nString("/usr/lib/models/hitfx"), vector3(0.0f, 1.0f, 0.0f));
    ASSERT_TRUE(fx.isvalid());
    EXPECT_FLOAT_EQ(fx->GetLifetime(), 1.5f);
    float dt = 0.1f;
    for (int i = 0; i < 14; i++) fx->Trigger(&dt);
    ASSERT_TRUE(fx.isvalid());
    EXPECT_EQ(fx->GetRenderContext().GetFrameId(), 14u);
    EXPECT_FLOAT_EQ(fx->GetRenderContext().GetTransform().m[3][1], 1.0f);
    dt = 0.11f;
    fx->Trigger(&dt);
    EXPECT_FALSE(fx.isvalid());
}

TEST_F(BoxingTest, ASpawnedEffectHasParticlesForItsLifetimeAndThenReleasesItself)
{
    // 40 particles a second for the 1 s emission, each living 0.2 to 0.5 s,
    // growing and fading over its life
    auto* particle = static_cast<nParticleShapeNode*>(this->ks->Lookup("/usr/lib/models/hitfx/particle"));
    nParticleShapeNode::Curve rate, size, alpha;
    for (float& k : rate.keys) k = 40.0f;
    size.keys[0] = 0.1f, size.keys[1] = 0.15f, size.keys[2] = 0.25f, size.keys[3] = 0.3f;
    alpha.keys[0] = 1.0f;
    particle->SetCurve(nParticleShapeNode::EmissionRate, rate);
    particle->SetCurve(nParticleShapeNode::ParticleSize, size);
    particle->SetCurve(nParticleShapeNode::ParticleAlpha, alpha);
    this->Enter();
    nRef<nFX> fx;
    fx = this->game->SpawnFX(nString("/usr/lib/models/hitfx"), vector3(0.0f, 1.0f, 0.0f));
    ASSERT_TRUE(fx.isvalid());
    const int timeVar = this->game->GetTimeVar();
    std::vector<nParticleShapeNode::Particle> alive;
    float dt = 0.1f;
    int frames = 0;
    while (fx.isvalid())
    {
        const float t = fx->GetRenderContext().GetVariable(timeVar)->GetFloat();
        particle->ComputeParticles(t, alive);
        if (t > 0.05f && t < 1.0f)
        {
            EXPECT_FALSE(alive.empty()) << t;
            // a few seconds' worth at most, each within its size and alpha curves
            EXPECT_LE(alive.size(), 40u) << t;
            for (const auto& p : alive)
            {
                EXPECT_GE(p.size, 0.1f - 1e-5f);
                EXPECT_LE(p.size, 0.3f + 1e-5f);
                EXPECT_LE(p.color.w, 1.0f);
            }
        }
        fx->Trigger(&dt);
        frames++;
        ASSERT_LT(frames, 100);
    }
    EXPECT_EQ(frames, 15) << "1 s of emission and 0.5 s for its longest particle";
    particle->ComputeParticles(1.5f, alive);
    EXPECT_TRUE(alive.empty()) << "no particle outlives the effect";
}

TEST_F(BoxingTest, ALoopingEffectGoesOnItsFirstFrameAndTheLoopOverEffectsSurvivesIt)
{
    static_cast<nParticleShapeNode*>(this->ks->Lookup("/usr/lib/models/hitfx/particle"))->SetLoop(true);
    this->Enter();
    nRef<nFX> a, b;
    a = this->game->SpawnFX(nString("/usr/lib/models/hitfx"), vector3(0.0f, 0.0f, 0.0f));
    b = this->game->SpawnFX(nString("/usr/lib/models/hitfx"), vector3(0.0f, 0.0f, 0.0f));
    this->Frame(1.0f / 60.0f);
    EXPECT_FALSE(a.isvalid());
    EXPECT_FALSE(b.isvalid());
    EXPECT_EQ(this->ks->Lookup("/usr/fx_scene")->GetHead(), nullptr);
}

TEST_F(BoxingTest, AnEffectWithoutParticleNodeIsAProgrammingError)
{
    this->Enter();
    EXPECT_ASSERT_DEATH(this->game->SpawnFX(nString("/usr/lib/models/body"), vector3(0.0f, 0.0f, 0.0f)),
                        "m_refParticleShapeNode.isvalid()");
}
