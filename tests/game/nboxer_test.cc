//------------------------------------------------------------------------------
//  Boxers and fists in a match: walking, footwork, guard, the three
//  punches with their reach, the refusals, the hit test through the
//  contact records, damage, combos and the final blow; the fist's states.
//------------------------------------------------------------------------------
#include "matchfixture.h"

#include "game/ngamemath.h"
#include "game/ntimerserver.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"

#include <cmath>
#include <limits>

namespace
{

bool Finite(const vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

class BoxerTest : public MatchTest
{
protected:
    void SetUp() override
    {
        MatchTest::SetUp();
        this->Enter();
        this->PastStart();
        this->game->SetTimeMultiplier(1.0f);
    }
    /// the fist's state after frames of 10 ms until it leaves the state, at most n frames
    int RunUntilNot(nFist2* fist, int state, int n = 1000)
    {
        for (int i = 0; i < n && fist->GetState() == state; i++) this->Frame(0.01f);
        return fist->GetState();
    }
};

TEST_F(BoxerTest, StatisticsAndPartsFromThePrototype)
{
    nBoxer* b = this->Player();
    EXPECT_EQ(b->GetHealth(), 1000.0f);
    EXPECT_EQ(b->GetHandLength(), 6.0f);
    ASSERT_NE(b->GetLeftFist(), nullptr);
    ASSERT_NE(b->GetRightFist(), nullptr);
    EXPECT_EQ(b->GetLeftFist()->GetSide(), 0);
    EXPECT_EQ(b->GetRightFist()->GetSide(), 1);
    for (const char* part : {"root", "leftguard", "rightguard", "leftdefenceguard", "rightdefenceguard", "leftboot",
                             "rightboot", "pants", "shirt"})
    {
        EXPECT_NE(b->GetPart(part), nullptr) << part;
    }
    EXPECT_TRUE(b->HasGeom());
    EXPECT_TRUE(b->GetLeftFist()->HasGeom());
    // the fist rests at its guard point in front of the boxer
    const vector3 guard = b->GetPart("leftguard")->GetTransform().gettranslation();
    EXPECT_TRUE(b->GetLeftFist()->GetTransform().gettranslation().isequal(guard, 1e-3f));
    EXPECT_NEAR(guard.x, -0.8f, 1e-4);
    EXPECT_NEAR(guard.z, 3.5f - 1.2f, 1e-4);
    // the opponent faces the other way: its guard lies towards the player
    EXPECT_NEAR(this->Opponent()->GetPart("leftguard")->GetTransform().gettranslation().z, -3.5f + 1.2f, 1e-4);
}

TEST_F(BoxerTest, BadPrototypeValuesAreReportedAndDefaultsKept)
{
    this->ks->Lookup("/usr/lib/objects/boxer/health")->Release();
    this->Var(this->boxerProto, "health")->SetS("lots");
    this->ks->Lookup("/usr/lib/objects/boxer/fist-mass")->Release();
    this->Var(this->boxerProto, "fist-mass")->SetF(0.0f);
    this->ks->Lookup("/usr/lib/objects/boxer/strike-length")->Release();
    this->ks->Lookup("/usr/lib/objects/boxer/left_boot")->Release();
    this->ks->Lookup("/usr/lib/objects/boxer/pants")->Release();
    this->Var(this->boxerProto, "pants")->SetS("/usr/lib/objects/nosuchthing");
    this->game->Restart();
    nBoxer* b = this->Player();
    EXPECT_EQ(b->GetHealth(), 1000.0f);
    EXPECT_EQ(b->GetFistMass(), 1.0f);
    EXPECT_EQ(b->GetHandLength(), 6.0f);
    EXPECT_TRUE((this->log.text.find("'health'") != std::string::npos));
    EXPECT_TRUE((this->log.text.find("nosuchthing") != std::string::npos));
    ASSERT_NE(b->GetPart("leftboot"), nullptr);
    EXPECT_FALSE(b->GetPart("leftboot")->HasGeom());
    this->PastStart();
    b->SetMoveDirection(vector3(2.0f, 0.0f, 2.0f));
    EXPECT_TRUE(b->Punch(this->Opponent(), 1));
    this->Frames(100, 0.02f);
    EXPECT_TRUE(Finite(b->GetTransform().gettranslation()));
}

TEST_F(BoxerTest, ABoxerWhosePrototypeCannotBeBuiltStandsWithoutBody)
{
    this->ks->Lookup("/usr/lib/objects/boxer/model")->Release();
    this->game->Restart();
    this->PastStart();
    nBoxer* b = this->Player();
    EXPECT_TRUE(this->log.text.find("'/usr/lib/objects/boxer' is not usable") != std::string::npos);
    EXPECT_EQ(b->GetLeftFist(), nullptr);
    EXPECT_FALSE(b->Punch(this->Opponent(), 0));
    b->SetMoveDirection(vector3(1.0f, 0.0f, 1.0f));
    b->CheckHits(this->Opponent());
    this->Opponent()->CheckHits(b);
    b->OnHit(vector3(0.0f, 0.0f, 10.0f));
    b->SetDefence(true);
    this->Frames(50, 0.02f);
    EXPECT_LT(b->GetHealth(), 1000.0f);
}

TEST_F(BoxerTest, AFistWithoutAPrototypeStaysAtItsGuardButCannotHit)
{
    this->ks->Lookup("/usr/lib/objects/boxer/left_fist")->Release();
    this->game->Restart();
    this->PastStart();
    nFist2* fist = this->Player()->GetLeftFist();
    ASSERT_NE(fist, nullptr);
    EXPECT_FALSE(fist->HasGeom());
    this->Player()->SetFistTargets(this->Opponent()->GetTransform().gettranslation());
    EXPECT_TRUE(this->Player()->Punch(this->Opponent(), 1));
    for (int i = 0; i < 200; i++)
    {
        this->Frame(0.01f);
        this->Player()->CheckHits(this->Opponent());
    }
    EXPECT_EQ(this->Opponent()->GetHealth(), 1000.0f);
}

TEST_F(BoxerTest, PunchIsRefusedInTheStartPhase)
{
    this->game->Restart();
    this->Frame(0.02f);
    EXPECT_TRUE(this->game->IsStarting());
    EXPECT_FALSE(this->Player()->Punch(this->Opponent(), 0));
    EXPECT_EQ(this->Player()->GetLeftFist()->GetState(), nFist2::Idle);
    this->PastStart();
    EXPECT_TRUE(this->Player()->Punch(this->Opponent(), 0));
}

TEST_F(BoxerTest, PunchCostsEnergyAndIsRefusedWithoutIt)
{
    struct Case
    {
        float energy;
        bool started;
    };
    // strength 100, fist mass 1: a punch costs 10
    const Case cases[] = {{0.0f, false}, {9.99f, false}, {10.0f, true}, {1000.0f, true}};
    for (const Case& c : cases)
    {
        this->game->Restart();
        this->PastStart();
        nBoxer* b = this->Player();
        b->SetEnergy(c.energy);
        EXPECT_EQ(b->Punch(this->Opponent(), 0), c.started) << c.energy;
        EXPECT_FLOAT_EQ(b->GetEnergy(), c.started ? c.energy - 10.0f : c.energy) << c.energy;
    }
}

TEST_F(BoxerTest, ForceIsCappedAtTheStrengthAndFallsWithEnergy)
{
    nBoxer* b = this->Player();
    b->SetFistTargets(this->Opponent()->GetTransform().gettranslation());
    ASSERT_TRUE(b->Punch(this->Opponent(), 1));
    this->Frame(0.01f);
    // force 100 / mass 1: the straight accelerates by 100 per second
    EXPECT_NEAR(b->GetLeftFist()->GetVelocity().len(), 1.0f, 1e-4);
    b->SetEnergy(100.0f);  // (0.1 + 0.85) x 100 = 95
    b->GetLeftFist()->Retract();  // the right fist punches while the left one is idle or returning
    ASSERT_TRUE(b->Punch(this->Opponent(), 2));
    this->Frame(0.01f);
    EXPECT_NEAR(b->GetRightFist()->GetVelocity().len(), 0.95f, 1e-3);
}

TEST_F(BoxerTest, SidesChooseTheFist)
{
    struct Case
    {
        int side;
        int leftState;
        int rightState;
    };
    const Case cases[] = {
        {0, nFist2::Straight, nFist2::Idle},
        {1, nFist2::Straight, nFist2::Idle},
        {2, nFist2::Idle, nFist2::Straight},
    };
    for (const Case& c : cases)
    {
        this->game->Restart();
        this->PastStart();
        nBoxer* b = this->Player();
        EXPECT_TRUE(b->Punch(this->Opponent(), c.side));
        EXPECT_EQ(b->GetLeftFist()->GetState(), c.leftState) << c.side;
        EXPECT_EQ(b->GetRightFist()->GetState(), c.rightState) << c.side;
    }
    // the right fist waits while the left one is on its way out
    this->game->Restart();
    this->PastStart();
    nBoxer* b = this->Player();
    EXPECT_TRUE(b->Punch(this->Opponent(), 1));
    const float energy = b->GetEnergy();
    EXPECT_FALSE(b->Punch(this->Opponent(), 0));
    EXPECT_FALSE(b->Punch(this->Opponent(), 2));
    EXPECT_EQ(b->GetEnergy(), energy);
    // side 0 with the left fist returning falls back to the right
    b->GetLeftFist()->Retract();
    EXPECT_TRUE(b->Punch(this->Opponent(), 0));
    EXPECT_EQ(b->GetRightFist()->GetState(), nFist2::Straight);

}

TEST_F(BoxerTest, HeldKeysChooseHookAndUppercut)
{
    nBoxer* b = this->Player();
    b->SetHookHeld(true);
    EXPECT_TRUE(b->Punch(this->Opponent(), 1));
    EXPECT_EQ(b->GetLeftFist()->GetState(), nFist2::Hook);
    b->SetHookHeld(false);
    b->SetUppercutHeld(true);
    b->GetLeftFist()->Retract();
    EXPECT_TRUE(b->Punch(this->Opponent(), 2));
    EXPECT_EQ(b->GetRightFist()->GetState(), nFist2::Uppercut);
}

TEST_F(BoxerTest, ReachOfThePunches)
{
    struct Case
    {
        const char* what;
        float distance;
        bool hook;
        bool uppercut;
        float reach;
    };
    const Case cases[] = {
        {"straight far", 10.0f, false, false, 6.0f},
        {"straight near", 3.0f, false, false, 3.0f},
        {"hook", 10.0f, true, false, 7.0686f},
        {"uppercut", 10.0f, false, true, 1.25f * N_PI * 0.5f * 0.5f * 6.0f},
    };
    for (const Case& c : cases)
    {
        this->game->Restart();
        this->PastStart();
        nBoxer* b = this->Player();
        nFist2* fist = b->GetLeftFist();
        const vector3 pos = fist->GetTransform().gettranslation();
        b->SetFistTargets(pos + vector3(0.0f, 0.0f, -c.distance));
        b->SetHookHeld(c.hook);
        b->SetUppercutHeld(c.uppercut);
        ASSERT_TRUE(b->Punch(this->Opponent(), 1)) << c.what;
        EXPECT_NEAR(fist->GetReach(), c.reach, 1e-3) << c.what;
    }
}

TEST_F(BoxerTest, StraightPunchReturnsPastItsReachSlowedByHowFarItWent)
{
    struct Case
    {
        float distance;
        float cut;
    };
    const Case cases[] = {{10.0f, 0.05f}, {3.0f, 0.3f}};
    for (const Case& c : cases)
    {
        this->game->Restart();
        this->PastStart();
        nBoxer* b = this->Player();
        nFist2* fist = b->GetLeftFist();
        const vector3 target = fist->GetTransform().gettranslation() + vector3(0.0f, 0.0f, -c.distance);
        b->SetFistTargets(target);
        ASSERT_TRUE(b->Punch(this->Opponent(), 1));
        float speed = 0.0f;
        float travelled = 0.0f;
        while (fist->GetState() == nFist2::Straight)
        {
            speed = fist->GetVelocity().len();
            travelled = fist->GetTravelled();
            this->Frame(0.002f);
            b->SetFistTargets(target);
        }
        EXPECT_EQ(fist->GetState(), nFist2::Return) << c.distance;
        EXPECT_LE(travelled, std::min(c.distance, 6.0f)) << c.distance;
        // the last step's speed grew by 100 x dt before the cut
        EXPECT_NEAR(fist->GetVelocity().len() / (speed + 100.0f * 0.002f), c.cut, 0.02f) << c.distance;
    }
}

TEST_F(BoxerTest, FistsGoThroughTheirFiveStates)
{
    struct Case
    {
        bool hook;
        bool uppercut;
        int moving;
    };
    const Case cases[] = {{false, false, nFist2::Straight}, {true, false, nFist2::Hook}, {false, true, nFist2::Uppercut}};
    for (const Case& c : cases)
    {
        nBoxer* b = this->Player();
        nFist2* fist = b->GetRightFist();
        ASSERT_EQ(fist->GetState(), nFist2::Idle);
        b->SetFistTargets(this->Opponent()->GetTransform().gettranslation());
        b->SetHookHeld(c.hook);
        b->SetUppercutHeld(c.uppercut);
        ASSERT_TRUE(b->Punch(this->Opponent(), 2));
        EXPECT_EQ(fist->GetState(), c.moving);
        EXPECT_FALSE(fist->StartStraight(100.0f));  // not idle: refused
        EXPECT_EQ(this->RunUntilNot(fist, c.moving), nFist2::Return) << c.moving;
        EXPECT_EQ(this->RunUntilNot(fist, nFist2::Return), nFist2::Idle) << c.moving;
        this->Frames(20, 0.01f);
        const vector3 guard = b->GetPart("rightguard")->GetTransform().gettranslation();
        EXPECT_TRUE(fist->GetTransform().gettranslation().isequal(guard, 0.01f)) << c.moving;
    }
}

TEST_F(BoxerTest, HitImpulseTwiceGivesAFifth)
{
    nBoxer* b = this->Player();
    b->SetFistTargets(this->Opponent()->GetTransform().gettranslation());
    ASSERT_TRUE(b->Punch(this->Opponent(), 1));
    this->Frames(3, 0.01f);
    nFist2* fist = b->GetLeftFist();
    const vector3 first = fist->GetHitImpulse();
    const vector3 second = fist->GetHitImpulse();
    EXPECT_GT(first.len(), 0.0f);
    EXPECT_TRUE((first * 0.2f).isequal(second, 1e-5f));
}

TEST_F(BoxerTest, AReturningFistEasesHomeFromFarAway)
{
    nFist2* fist = this->Player()->GetLeftFist();
    ASSERT_TRUE(this->Player()->Punch(this->Opponent(), 1));
    PutFist(fist, vector3(40.0f, 30.0f, -50.0f));
    fist->Retract();
    const vector3 guard = this->Player()->GetPart("leftguard")->GetTransform().gettranslation();
    float lastDistance = (fist->GetTransform().gettranslation() - guard).len();
    int frames = 0;
    while (fist->GetState() == nFist2::Return && frames++ < 2000)
    {
        this->Frame(0.01f);
        const float d = (fist->GetTransform().gettranslation() - guard).len();
        EXPECT_LE(d, lastDistance + 1e-3f);
        lastDistance = d;
    }
    EXPECT_EQ(fist->GetState(), nFist2::Idle);
    EXPECT_LT(lastDistance, 2.0f);
}

TEST_F(BoxerTest, HitOnTheBodyDamagesSnapsTheHeadAndReturnsTheFist)
{
    nBoxer* b = this->Player();
    nBoxer* o = this->Opponent();
    b->SetFistTargets(o->GetTransform().gettranslation());
    ASSERT_TRUE(b->Punch(o, 1));
    this->Frames(5, 0.01f);
    nFist2* fist = b->GetLeftFist();
    const vector3 impulse = fist->GetVelocity() * fist->GetMass();
    const vector3 eulerBefore = o->GetTransform().geteuler();
    PutFist(fist, o->GetTransform().gettranslation());
    SyncGeoms(o);
    b->CheckHits(o);
    EXPECT_EQ(fist->GetState(), nFist2::Return);
    // the opponent stood still at its movement target: damage = |impulse| / 2
    EXPECT_NEAR(o->GetHealth(), 1000.0f - std::max(impulse.len() * 0.5f, 1.0f), 1e-3);
    EXPECT_NE(o->GetTransform().geteuler(), eulerBefore);
    // the contact records hold where it happened
    const vector3 contact = nOpendeLayer::ContactPos(this->game->GetContacts()[0].geom);
    EXPECT_LT((contact - o->GetTransform().gettranslation()).len(), 2.7f);
}

TEST_F(BoxerTest, NoHitWhenTheFistIsElsewhereOrAtRest)
{
    nBoxer* b = this->Player();
    nBoxer* o = this->Opponent();
    SyncGeoms(o);
    // at rest on the opponent's body: an idle fist never hits
    PutFist(b->GetLeftFist(), o->GetTransform().gettranslation());
    b->CheckHits(o);
    EXPECT_EQ(o->GetHealth(), 1000.0f);
    ASSERT_TRUE(b->Punch(o, 2));
    PutFist(b->GetRightFist(), vector3(50.0f, 0.0f, 50.0f));
    b->CheckHits(o);
    EXPECT_EQ(o->GetHealth(), 1000.0f);
    EXPECT_EQ(b->GetRightFist()->GetState(), nFist2::Straight);
}

TEST_F(BoxerTest, ADefendingOpponentTakesATenthAndBlocksWithItsGloves)
{
    nBoxer* b = this->Player();
    nBoxer* o = this->Opponent();
    o->SetDefence(true);
    this->Frames(20, 0.01f);
    ASSERT_TRUE(o->IsDefending());
    EXPECT_EQ(o->GetLeftFist()->GetGuardNode(), o->GetPart("leftdefenceguard"));

    // a glove in the way: the opponent's right glove is knocked aside, no damage
    ASSERT_TRUE(b->Punch(o, 1));
    this->Frames(3, 0.01f);
    nFist2* fist = b->GetLeftFist();
    const vector3 impulse = fist->GetVelocity() * fist->GetMass();
    nFist2* glove = o->GetRightFist();
    const vector3 glovePos(30.0f, 0.0f, 30.0f);
    PutFist(glove, glovePos);
    PutFist(o->GetLeftFist(), vector3(-30.0f, 0.0f, -30.0f));
    o->GetGeom()->SetPosition(vector3(0.0f, -50.0f, 0.0f));
    PutFist(fist, glovePos);
    b->CheckHits(o);
    EXPECT_EQ(o->GetHealth(), 1000.0f);
    EXPECT_EQ(fist->GetState(), nFist2::Return);
    EXPECT_TRUE(glove->GetTransform().gettranslation().isequal(glovePos + impulse * 0.01f, 1e-4f));

    // through the guard onto the body: a tenth of the impulse
    this->Frames(200, 0.01f);
    ASSERT_TRUE(o->IsDefending());
    ASSERT_TRUE(b->Punch(o, 2));
    this->Frames(5, 0.01f);
    nFist2* right = b->GetRightFist();
    const vector3 full = right->GetVelocity() * right->GetMass();
    SyncGeoms(o);
    PutFist(right, o->GetTransform().gettranslation());
    const float health = o->GetHealth();
    b->CheckHits(o);
    EXPECT_NEAR(health - o->GetHealth(), std::max(full.len() * 0.1f * 0.5f, 1.0f), 1e-3);
}

TEST_F(BoxerTest, TheGuardCannotBeRaisedWhileVulnerable)
{
    nBoxer* o = this->Opponent();
    o->SetDefence(true);
    o->SetVulnerable(0.5f);
    EXPECT_FALSE(o->IsDefending());
    o->SetDefence(true);
    EXPECT_FALSE(o->IsDefending());
    this->Frames(30, 0.01f);
    EXPECT_TRUE(o->IsVulnerable());
    EXPECT_NEAR(o->GetVulnerableProgress(), 0.6f, 1e-3);
    this->Frames(30, 0.01f);
    EXPECT_FALSE(o->IsVulnerable());
    o->SetDefence(true);
    this->Frames(20, 0.01f);
    EXPECT_TRUE(o->IsDefending());
}

TEST_F(BoxerTest, DamageCombosAndTheLeastDamage)
{
    nBoxer* o = this->Opponent();
    struct Case
    {
        float pause;
        float multiplier;
    };
    // each hit within a second of the last adds 0.5; a longer pause starts over
    const Case cases[] = {{0.0f, 1.0f}, {0.5f, 1.5f}, {0.5f, 2.0f}, {1.2f, 1.0f}, {0.1f, 1.5f}};
    for (const Case& c : cases)
    {
        this->Frames((int)std::lround(c.pause / 0.01f), 0.01f);
        const float health = o->GetHealth();
        o->OnHit(vector3(0.0f, 0.0f, 100.0f));
        EXPECT_FLOAT_EQ(o->GetComboMultiplier(), c.multiplier) << c.pause;
        EXPECT_NEAR(health - o->GetHealth(), 100.0f * c.multiplier * 0.5f, 0.2f) << c.pause;
    }
    this->Frames(150, 0.01f);
    for (const vector3& tiny : {vector3(0.0f, 0.0f, 0.0f), vector3(0.0f, 0.001f, 0.0f)})
    {
        const float health = o->GetHealth();
        o->OnHit(tiny);
        EXPECT_NEAR(health - o->GetHealth(), 1.0f, 0.2f);
        this->Frames(150, 0.01f);
    }
}

TEST_F(BoxerTest, SteppingIntoThePunchHurtsMore)
{
    nBoxer* o = this->Opponent();
    // the opponent walks towards the player (its own -z is the world's +z)
    o->SetMoveDirection(vector3(0.0f, 0.0f, -2.0f));
    const float health = o->GetHealth();
    o->OnHit(vector3(0.0f, 0.0f, -10.0f));
    EXPECT_NEAR(health - o->GetHealth(), 0.5f * (vector3(0.0f, 0.0f, -10.0f) - vector3(0.0f, 0.0f, 20.0f)).len(), 0.5f);
}

TEST_F(BoxerTest, JustHitBoxersCannotPunch)
{
    nBoxer* b = this->Player();
    b->OnHit(vector3(0.0f, 0.0f, 1.0f));
    EXPECT_FALSE(b->Punch(this->Opponent(), 0));
    this->Frames(19, 0.01f);
    EXPECT_FALSE(b->Punch(this->Opponent(), 0));
    this->Frames(2, 0.01f);
    EXPECT_TRUE(b->Punch(this->Opponent(), 0));
}

TEST_F(BoxerTest, DefendingBoxersCannotPunch)
{
    this->Player()->SetDefence(true);
    EXPECT_FALSE(this->Player()->Punch(this->Opponent(), 0));
    this->Player()->SetDefence(false);
    EXPECT_TRUE(this->Player()->Punch(this->Opponent(), 0));
}

TEST_F(BoxerTest, TheFinalBlowStartsTheSlowMotionOnce)
{
    nBoxer* o = this->Opponent();
    o->SetHealth(5.0f);
    o->OnHit(vector3(0.0f, 0.0f, 4.0f));
    EXPECT_FALSE(this->game->IsSlowMotion());
    o->OnHit(vector3(0.0f, 0.0f, 100.0f));
    EXPECT_LT(o->GetHealth(), 0.0f);
    EXPECT_TRUE(this->game->IsSlowMotion());
    EXPECT_FLOAT_EQ(this->game->GetTimeMultiplier(), 0.5f);
    EXPECT_EQ(static_cast<nGfxServer2*>(this->ks->Lookup("/sys/servers/gfx"))->GetCursorVisibility(),
              nGfxServer2::System);
    this->Frames(20, 1.0f / 60.0f);
    const float m = this->game->GetTimeMultiplier();
    o->OnHit(vector3(0.0f, 0.0f, 100.0f));  // a later blow does not restart it
    EXPECT_EQ(this->game->GetTimeMultiplier(), m);
    this->Frames(40, 1.0f / 60.0f);
    EXPECT_EQ(this->game->GetTimeMultiplier(), 0.0f);
}

TEST_F(BoxerTest, MoveDirectionIsClampedAndPlaced)
{
    struct Case
    {
        vector3 in;
        vector3 stored;
    };
    const Case cases[] = {
        {vector3(5.0f, 3.0f, -3.0f), vector3(2.0f, 0.0f, -2.0f)},
        {vector3(-1.0f, 0.0f, 1.5f), vector3(-1.0f, 0.0f, 1.5f)},
        {vector3(NAN, 0.0f, INFINITY), vector3(0.0f, 0.0f, 0.0f)},
    };
    for (const Case& c : cases)
    {
        this->Player()->SetMoveDirection(c.in);
        EXPECT_EQ(this->Player()->GetMoveDirection(), c.stored);
        EXPECT_TRUE(this->Player()->GetMoveTarget().isequal(c.stored + vector3(0.0f, 0.0f, 3.5f), 1e-5f));
    }
    // the opponent's frame is turned: its forward is the world's +z
    this->Opponent()->SetMoveDirection(vector3(1.0f, 0.0f, -2.0f));
    EXPECT_TRUE(this->Opponent()->GetMoveTarget().isequal(vector3(-1.0f, 0.0f, -1.5f), 1e-5f));
}

TEST_F(BoxerTest, WalkingTowardsTheTargetAtNoMoreThanTheMoveSpeed)
{
    nBoxer* b = this->Player();
    b->SetMoveDirection(vector3(2.0f, 0.0f, 0.0f));
    float maxSpeed = 0.0f;
    for (int i = 0; i < 300; i++)
    {
        this->Frame(0.01f);
        maxSpeed = std::max(maxSpeed, b->GetVelocity().len());
    }
    EXPECT_LE(maxSpeed, 20.0f + 1e-3f);
    const vector3 root = b->GetRoot()->GetTransform().gettranslation();
    EXPECT_NEAR(root.x, 2.0f, 0.05f);
    EXPECT_NEAR(root.z, 3.5f, 0.05f);
    // the boxer rides on its root, 7.5 above it
    EXPECT_NEAR(b->GetTransform().gettranslation().x, root.x, 0.2f);
    EXPECT_GT(b->GetEnergy(), 999.0f);
}

TEST_F(BoxerTest, FeetStepInStepsOfTwoOrFour)
{
    nBoxer* b = this->Player();
    struct Case
    {
        vector3 direction;
        float anchorX;
    };
    // the anchor starts at the home position (0, 0, 3.5): the boots stand there from the first
    // frame on and never walk off towards the ring's centre
    EXPECT_TRUE(b->GetFootAnchor().isequal(vector3(0.0f, 0.0f, 3.5f), 1e-6f));
    this->Frames(300, 0.01f);
    EXPECT_TRUE(b->GetFootAnchor().isequal(vector3(0.0f, 0.0f, 3.5f), 1e-6f));
    EXPECT_TRUE(b->GetPart("leftboot")->GetTransform().gettranslation().isequal(vector3(-1.0f, 0.0f, 3.5f), 1e-3f));
    EXPECT_TRUE(b->GetPart("rightboot")->GetTransform().gettranslation().isequal(vector3(1.0f, 0.0f, 3.5f), 1e-3f));
    // within two units on both axes: no new anchor
    b->SetMoveDirection(vector3(1.5f, 0.0f, 0.0f));
    const vector3 before = b->GetFootAnchor();
    this->Frames(100, 0.01f);
    EXPECT_EQ(b->GetFootAnchor().x, before.x);
    EXPECT_EQ(b->GetFootAnchor().z, before.z);
    // two units or more: a step of two, then the boots stand beside the new anchor
    b->SetMoveDirection(vector3(2.0f, 0.0f, 0.0f));
    this->Frames(100, 0.01f);
    const vector3 anchor = b->GetFootAnchor();
    EXPECT_FLOAT_EQ(anchor.x, 2.0f);
    EXPECT_FLOAT_EQ(anchor.z, 3.5f);
    const vector3 left = b->GetPart("leftboot")->GetTransform().gettranslation();
    const vector3 right = b->GetPart("rightboot")->GetTransform().gettranslation();
    EXPECT_NEAR((right - left).len(), 2.0f, 1e-3);
    EXPECT_TRUE(((left + right) * 0.5f - vector3(anchor.x, left.y, anchor.z)).len() < 1e-3f);
}

TEST_F(BoxerTest, TorsoBetweenTheBoots)
{
    nBoxer* b = this->Player();
    this->Frames(50, 0.01f);
    const vector3 left = b->GetPart("leftboot")->GetTransform().gettranslation();
    const vector3 right = b->GetPart("rightboot")->GetTransform().gettranslation();
    vector3 p = b->GetTransform().gettranslation();
    p.y *= 1.1f;
    const vector3 pants = (p + (left + right) * 0.5f) * 0.5f;
    EXPECT_TRUE(b->GetPart("pants")->GetTransform().gettranslation().isequal(pants, 1e-4f));
    EXPECT_TRUE(b->GetPart("shirt")->GetTransform().gettranslation().isequal(pants + vector3(0.0f, 0.2f, 0.0f), 1e-4f));
}

TEST_F(BoxerTest, SlowFramesNeverMakeFistsOrBoxersDiverge)
{
    for (float dt : {0.05f, 0.1f, 0.2f})
    {
        this->game->Restart();
        this->PastStart();
        this->game->SetTimeMultiplier(1.0f);
        nBoxer* b = this->Player();
        b->SetMoveDirection(vector3(2.0f, 0.0f, -2.0f));
        b->SetFistTargets(this->Opponent()->GetTransform().gettranslation());
        ASSERT_TRUE(b->Punch(this->Opponent(), 1));
        for (int i = 0; i < 50; i++)
        {
            this->Frame(dt);
            b->CheckHits(this->Opponent());
            this->Opponent()->CheckHits(b);
        }
        for (nGameObject* obj : {(nGameObject*)b, (nGameObject*)b->GetLeftFist(), (nGameObject*)b->GetRightFist()})
        {
            EXPECT_TRUE(Finite(obj->GetTransform().gettranslation())) << dt;
            EXPECT_LT(obj->GetTransform().gettranslation().len(), 100.0f) << dt;
        }
        // an idle fist sits on its guard point after one slow frame
        nFist2* right = b->GetRightFist();
        EXPECT_TRUE(right->GetTransform().gettranslation().isequal(
            b->GetPart("rightguard")->GetTransform().gettranslation(), 0.5f)) << dt;
    }
}

TEST_F(BoxerTest, PunchesAtTheFistItselfStayFinite)
{
    for (int kind = 0; kind < 3; kind++)
    {
        this->game->Restart();
        this->PastStart();
        nBoxer* b = this->Player();
        nFist2* fist = b->GetLeftFist();
        b->SetFistTargets(fist->GetTransform().gettranslation());
        b->SetHookHeld(kind == 1);
        b->SetUppercutHeld(kind == 2);
        ASSERT_TRUE(b->Punch(this->Opponent(), 1));
        for (int i = 0; i < 100; i++)
        {
            this->Frame(0.01f);
            b->SetFistTargets(fist->GetTransform().gettranslation());
            b->CheckHits(this->Opponent());
        }
        EXPECT_TRUE(Finite(fist->GetTransform().gettranslation())) << kind;
        EXPECT_TRUE(Finite(fist->GetTransform().geteuler())) << kind;
        EXPECT_TRUE(Finite(fist->GetVelocity())) << kind;
    }
}

TEST_F(BoxerTest, AimFollowsTheTargetByAccuracyDuringAMove)
{
    nBoxer* b = this->Player();
    nFist2* fist = b->GetLeftFist();
    const vector3 aim(0.0f, 7.5f, -3.5f);
    b->SetFistTargets(aim);
    ASSERT_TRUE(b->Punch(this->Opponent(), 1));
    b->SetEnergy(0.0f);  // accuracy 0.2 of 1
    EXPECT_NEAR(b->GetAccuracy(), 0.2f, 1e-6);
    b->SetFistTargets(aim + vector3(10.0f, 0.0f, 0.0f));
    EXPECT_TRUE(fist->GetTarget().isequal(aim + vector3(2.0f, 0.0f, 0.0f), 1e-5f));
}

TEST_F(BoxerTest, BoxersMadeOutsideAMatchAreHarmless)
{
    // the command sweep and scripts make objects of every class
    nRoot* loose = static_cast<nRoot*>(this->ks->New("nboxer", "/loose"));
    nRoot* fist = static_cast<nRoot*>(this->ks->New("nfist2", "/loosefist"));
    loose->Release();
    fist->Release();
    this->Frames(200, 0.01f);
}

//--- the limbs' joint matrix ----------------------------------------------------

TEST(LimbMatrixTest, TurnsAndStretchesTheRestSegmentOntoTheWantedOne)
{
    struct Case
    {
        const char* name;
        vector3 pivot;
        vector3 restEnd;
        vector3 end;
    };
    const Case cases[] = {
        {"a leg leaning sideways", {0.0f, 0.9f, 0.0f}, {0.0f, 3.4f, 0.0f}, {-1.5f, 3.1f, 0.5f}},
        {"an arm stretched to four times its length", {0.0f, 0.0f, 0.1f}, {0.0f, 0.8f, 1.3f}, {0.3f, 1.0f, 6.0f}},
        {"the same direction, shorter", {1.0f, 2.0f, 3.0f}, {1.0f, 4.0f, 3.0f}, {1.0f, 3.0f, 3.0f}},
        {"turned right round", {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, -2.0f, 0.0f}},
    };
    for (const Case& c : cases)
    {
        const matrix44 m = n_limbmatrix(c.pivot, c.restEnd, c.end);
        EXPECT_TRUE(m.transform_coord(c.pivot).isequal(c.pivot, 1e-4f)) << c.name;
        EXPECT_TRUE(m.transform_coord(c.restEnd).isequal(c.end, 1e-4f)) << c.name;
        // a point beside the rest segment stays as far beside the new one: the limb keeps its thickness
        const vector3 axis = n_safenorm(c.restEnd - c.pivot);
        vector3 across = n_safenorm(axis * vector3(0.3f, 0.5f, 0.8f));
        const vector3 beside = c.pivot + (c.restEnd - c.pivot) * 0.5f + across * 0.3f;
        const vector3 moved = m.transform_coord(beside);
        const vector3 mid = c.pivot + (c.end - c.pivot) * 0.5f;
        EXPECT_NEAR((moved - mid).len(), 0.3f, 1e-4f) << c.name;
        EXPECT_NEAR((moved - mid) % n_safenorm(c.end - c.pivot), 0.0f, 1e-4f) << c.name;
    }
}

TEST(LimbMatrixTest, ASegmentOfNoLengthOrNotFiniteGivesTheIdentity)
{
    const float inf = std::numeric_limits<float>::infinity();
    const vector3 p(1.0f, 2.0f, 3.0f);
    const struct
    {
        vector3 restEnd;
        vector3 end;
    } cases[] = {{p, {1.0f, 5.0f, 3.0f}}, {{1.0f, 5.0f, 3.0f}, p}, {{1.0f, 5.0f, 3.0f}, {inf, 0.0f, 0.0f}},
                 {{1.0f, 5.0f, 3.0f}, {std::nanf(""), 0.0f, 0.0f}}};
    for (const auto& c : cases)
    {
        const matrix44 m = n_limbmatrix(p, c.restEnd, c.end);
        const vector3 q(0.5f, -0.25f, 2.0f);
        EXPECT_TRUE(m.transform_coord(q).isequal(q, 1e-6f));
    }
}

TEST_F(BoxerTest, EachLegIsDrawnFromItsBootToItsHipEvenAfterItsPrototypeIsGone)
{
    nBoxer* b = this->Player();
    nGameObject* boots[] = {b->GetPart("leftboot"), b->GetPart("rightboot")};
    nGameObject* pants = b->GetPart("pants");
    // without limb values in the prototypes a part keeps its limb as modelled
    b->Render();
    for (nGameObject* boot : boots)
    {
        EXPECT_FALSE(boot->GetRenderContext().GetShaderOverrides().IsParameterValid(nShaderState::JointPalette));
    }
    const vector3 pivot(0.0f, 0.9f, 0.0f);
    const vector3 restEnd(0.0f, 3.4f, 0.0f);
    this->Var(this->ks->Lookup("/usr/lib/objects/boot"), "limb-pivot")->SetF4(nFloat4{pivot.x, pivot.y, pivot.z, 0.0f});
    this->Var(this->ks->Lookup("/usr/lib/objects/boot"), "limb-end")->SetF4(nFloat4{restEnd.x, restEnd.y, restEnd.z, 0.0f});
    this->Var(this->ks->Lookup("/usr/lib/objects/pants"), "limb-joint")->SetF4(nFloat4{0.5f, -0.6f, 0.0f, 0.0f});
    // halfway through a step to the side the boots stand apart from under the pants
    b->SetMoveDirection(vector3(2.0f, 0.0f, 2.0f));
    this->Frames(8, 0.01f);
    b->Render();
    const float hips[] = {-0.5f, 0.5f};
    for (int i = 0; i < 2; i++)
    {
        nRenderContext& rc = boots[i]->GetRenderContext();
        ASSERT_TRUE(rc.GetShaderOverrides().IsParameterValid(nShaderState::JointPalette)) << i;
        const matrix44 joint = rc.GetShaderOverrides().GetArg(nShaderState::JointPalette).GetMatrix44();
        const matrix44& place = boots[i]->GetTransform().getmatrix();
        const vector3 hip = pants->GetTransform().getmatrix().transform_coord(vector3(hips[i], -0.6f, 0.0f));
        EXPECT_GT((hip - place.transform_coord(restEnd)).len(), 0.5f) << i;
        // the ankle stays in the boot, the leg's top reaches the hip on the boot's own side
        EXPECT_TRUE(place.transform_coord(joint.transform_coord(pivot)).isequal(place.transform_coord(pivot), 1e-4f));
        EXPECT_TRUE(place.transform_coord(joint.transform_coord(restEnd)).isequal(hip, 1e-4f)) << i;
    }
    // a script deletes the boots' prototype: the legs keep their last joint and the frame goes on
    this->ks->Lookup("/usr/lib/objects/boot")->Release();
    this->Frame(0.01f);
    b->Render();
    EXPECT_TRUE(boots[0]->GetRenderContext().GetShaderOverrides().IsParameterValid(nShaderState::JointPalette));
}
