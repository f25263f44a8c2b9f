//------------------------------------------------------------------------------
//  The world: its settings, saving them, and the three step commands.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "opende/nopendeworld.h"

namespace
{

/// a raw ODE body falling freely in the world; the world's tests need a
/// body before the body class exists
class FallingBody
{
public:
    explicit FallingBody(nOpendeWorld* w) : body(dBodyCreate(w->id())) { dBodySetLinearVel(body, 1, 0, 0); }
    ~FallingBody() { dBodyDestroy(this->body); }
    vector3 Position() const { return nOpendeLayer::ToVector3(dBodyGetPosition(this->body)); }

private:
    dBodyID body;
};

}  // namespace

TEST_F(PhysTest, WorldExistsWithTheObject)
{
    Ok("new nopendeworld /sys/servers/phys/world");
    EXPECT_FLOATS(Floats("/sys/servers/phys/world.GetGravity"), {0, 0, 0});
    Ok("/sys/servers/phys/world.SetGravity 0 -9.8 0");
    EXPECT_FLOATS(Floats("/sys/servers/phys/world.GetGravity"), {0, -9.8f, 0});
    EXPECT_FLOATS(Floats("/sys/servers/phys/world.ImpulseToForce 0.5 1 0 0"), {2, 0, 0});
    Ok("/sys/servers/phys/world.SetQuickStepNumIterations 10");
    EXPECT_EQ(Ok("/sys/servers/phys/world.GetQuickStepNumIterations"), "10");
}

TEST_F(PhysTest, WorldSavesItsSettingsAndReloadsThem)
{
    const std::string w = "/sys/servers/phys/world";
    Ok("new nopendeworld " + w);
    Ok(w + ".SetGravity 0 -9.8 0; " + w + ".SetERP 0.4; " + w + ".SetCFM 0.001; " + w +
       ".SetQuickStepNumIterations 10");
    Ok(w + ".SetAutoDisableFlag 1; " + w + ".SetAutoDisableLinearThreshold 0.008; " + w +
       ".SetAutoDisableAngularThreshold 0.008; " + w + ".SetAutoDisableSteps 10; " + w + ".SetAutoDisableTime 2.5");
    const std::string ask = "set r {}; foreach c {GetGravity GetERP GetCFM GetQuickStepNumIterations "
                            "GetAutoDisableFlag GetAutoDisableLinearThreshold GetAutoDisableAngularThreshold "
                            "GetAutoDisableSteps GetAutoDisableTime} { lappend r [" + w + ".$c] }; set r";
    const std::string before = Ok(ask);
    std::string saved;
    ASSERT_NE(SaveAndReload(w, &saved), nullptr);
    ExpectSameValues(Ok(ask), before);
    // the gravity comes first after the object's own header
    const size_t gravity = saved.find(".SetGravity 0.000000 -9.800000 0.000000");
    ASSERT_NE(gravity, std::string::npos) << saved;
    for (const char* c : {"SetERP", "SetCFM", "SetQuickStepNumIterations", "SetAutoDisableFlag",
                          "SetAutoDisableLinearThreshold", "SetAutoDisableAngularThreshold", "SetAutoDisableSteps",
                          "SetAutoDisableTime"})
    {
        EXPECT_GT(saved.find(c), gravity) << c;
    }
    EXPECT_EQ(saved.find("Step "), std::string::npos);
}

TEST_F(PhysTest, TheThreeStepsMoveBodiesAndStepFast1KeepsTheIterationCount)
{
    const std::string w = "/sys/servers/phys/world";
    Ok("new nopendeworld " + w + "; " + w + ".SetGravity 0 -10 0; " + w + ".SetQuickStepNumIterations 10");
    nOpendeWorld* world = static_cast<nOpendeWorld*>(ks->Lookup(w.c_str()));
    FallingBody body(world);
    float lastY = 0.0f;
    for (const char* step : {".Step 0.1", ".QuickStep 0.1", ".StepFast1 0.1 3"})
    {
        Ok(w + step);
        EXPECT_LT(body.Position().y, lastY) << step;
        lastY = body.Position().y;
    }
    EXPECT_NEAR(body.Position().x, 0.3f, 1e-5f);
    EXPECT_EQ(Ok(w + ".GetQuickStepNumIterations"), "10");
}

TEST_F(PhysTest, WorldCommandsRefuseStepsOdeWouldAbortOn)
{
    const std::string w = "/sys/servers/phys/world";
    Ok("new nopendeworld " + w);
    for (const char* c : {".Step 0", ".QuickStep -1", ".StepFast1 0.1 0", ".StepFast1 nan 5", ".ImpulseToForce 0 1 0 0",
                          ".SetQuickStepNumIterations 0", ".SetGravity 0 inf 0", ".SetAutoDisableSteps -1"})
    {
        EXPECT_FALSE(Fails(w + c).empty()) << c;
    }
}

TEST_F(PhysTest, AStepThatWouldDriveABodyOutOfRangeIsRefusedAndChangesNothing)
{
    Ok("new nopendeworld /w; new nopendebody /w/a; /w/a.Create /w; /w/a.SetBoxMass 1 1 2 3");
    Ok("new nopendeworld /v; new nopendebody /v/calm; /v/calm.Create /v");
    Ok("/w/a.AddTorque 1e30 2e30 3e30");
    // a huge step turns the torque into a spin ODE cannot normalise; the
    // world of the body refuses every kind of step and nothing moves
    for (const char* step : {"/w.Step 3e38", "/w.QuickStep 3e38", "/w.StepFast1 3e38 4"})
    {
        EXPECT_NE(Fails(step).find("body '/w/a': its angular velocity"), std::string::npos) << step;
    }
    EXPECT_FLOATS(Floats("/w/a.GetAngularVel"), {0, 0, 0});
    EXPECT_FLOATS(Floats("/w/a.GetTorque"), {1e30f, 2e30f, 3e30f});
    // another world is not held back, and neither is this one once the
    // body is gone
    Ok("/v.Step 3e38");
    Ok("/w/a.SetLinearVel 3e38 0 0");
    EXPECT_NE(Fails("/w.Step 10").find("its position"), std::string::npos);
    ks->Lookup("/w/a")->Release();
    Ok("/w.Step 3e38");
}
