//------------------------------------------------------------------------------
//  Joints: every type between two bodies or a body and the world, the
//  named parameters per axis, saving and reloading, refused arguments, and
//  the joint-group helpers.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "opende/nopendebody.h"
#include "opende/nopendehinge2joint.h"
#include "opende/nopendeworld.h"
#include "util/assertdeath.h"

namespace
{

class JointTest : public PhysTest
{
protected:
    void SetUp() override
    {
        PhysTest::SetUp();
        Ok("new nopendeworld /w");
        Ok("new nopendebody /w/a; /w/a.Create /w; /w/a.SetSphereMass 1 0.5; /w/a.SetPosition 0 0 0");
        Ok("new nopendebody /w/b; /w/b.Create /w; /w/b.SetSphereMass 1 0.5; /w/b.SetPosition 1 0 0");
    }
    /// a joint of the class at /w/j, created and attached to a and b
    void MakeJoint(const std::string& cls, const std::string& b1 = "/w/a", const std::string& b2 = "/w/b")
    {
        Ok("new " + cls + " /w/j; /w/j.Create /w; /w/j.AttachTo " + b1 + " " + b2);
    }
};

}  // namespace

TEST_F(JointTest, EveryTypeConnectsTwoBodiesOrABodyAndTheWorld)
{
    const char* types[][2] = {{"nopendeballjoint", "ball"},         {"nopendehingejoint", "hinge"},
                              {"nopendesliderjoint", "slider"},     {"nopendehinge2joint", "hinge2"},
                              {"nopendeuniversaljoint", "universal"}, {"nopendefixedjoint", "fixed"},
                              {"nopendeamotorjoint", "amotor"}};
    for (const auto& t : types)
    {
        SCOPED_TRACE(t[0]);
        MakeJoint(t[0]);
        EXPECT_EQ(Ok("/w/j.GetJointType"), t[1]);
        EXPECT_EQ(Ok("/w/a.IsConnectedTo /w/b"), "true");
        EXPECT_EQ(Ok("/w/a.GetNumJoints"), "1");
        EXPECT_EQ(Ok("/w/j.GetBodyName 0"), "/w/a");
        EXPECT_EQ(Ok("/w/j.GetBodyName 1"), "/w/b");
        if (std::string(t[1]) != "hinge2")
        {
            // the world and a body; the pair is no longer connected
            Ok("/w/j.AttachTo none /w/b");
            EXPECT_EQ(Ok("/w/j.GetBodyName 0"), "none");
            EXPECT_EQ(Ok("/w/j.GetBodyName 1"), "/w/b");
            EXPECT_EQ(Ok("/w/a.IsConnectedTo /w/b"), "false");
            EXPECT_EQ(Ok("/w/b.GetNumJoints"), "1");
        }
        else
        {
            EXPECT_NE(Fails("/w/j.AttachTo none /w/b").find("needs two bodies"), std::string::npos);
        }
        ks->Lookup("/w/j")->Release();
        EXPECT_EQ(Ok("/w/b.GetNumJoints"), "0");
    }
}

TEST_F(JointTest, ParametersByNameOnEachAxis)
{
    MakeJoint("nopendehinge2joint");
    nOpendeHinge2Joint* j = static_cast<nOpendeHinge2Joint*>(ks->Lookup("/w/j"));
    Ok("/w/j.SetParam fmax 1 5.0");
    EXPECT_FLOAT_EQ(Floats("/w/j.GetParam fmax 1")[0], 5.0f);
    // the name and axis become ODE's number: axis x 256 + index
    EXPECT_FLOAT_EQ(j->GetParam(259), 5.0f);
    EXPECT_FLOAT_EQ(Floats("/w/j.GetParam fmax 0")[0], 0.0f);
    const char* names[] = {"lostop", "histop", "vel", "fmax", "fudgefactor", "bounce", "cfm", "stoperp", "stopcfm",
                           "suspensionerp", "suspensioncfm"};
    for (int i = 0; i < 11; i++)
    {
        EXPECT_EQ(nOpendeJoint::ParamIndex(names[i]), i);
        EXPECT_STREQ(nOpendeJoint::ParamName(i), names[i]);
    }
    EXPECT_EQ(nOpendeJoint::ParamIndex("nosuch"), -1);
    Ok("/w/j.SetParam vel 0 1.5; /w/j.SetParam suspensionerp 0 0.4");
    EXPECT_FLOAT_EQ(j->GetParam("vel", 0), 1.5f);
    EXPECT_NEAR(j->GetParam("suspensionerp", 0), 0.4f, 1e-6f);
    EXPECT_NE(Fails("/w/j.SetParam lostop 3 0").find("axis"), std::string::npos);
    EXPECT_NE(Fails("/w/j.SetParam nosuch 0 0").find("unknown joint parameter"), std::string::npos);
    Fails("/w/j.GetParam fmax -1");
}

TEST_F(JointTest, BallAndFixedHaveNoParameters)
{
    MakeJoint("nopendeballjoint");
    Ok("/w/j.SetParam fmax 0 5");
    EXPECT_NE(log.text.find("Pure virtual method nOpendeJoint::SetParam() called!"), std::string::npos);
    EXPECT_EQ(Floats("/w/j.GetParam fmax 0")[0], 0.0f);
    EXPECT_NE(log.text.find("Pure virtual method nOpendeJoint::GetParam() called!"), std::string::npos);
    Ok("/w/j.SetAnchor 0.5 0 0");
    EXPECT_FLOATS(Floats("/w/j.GetAnchor"), {0.5f, 0, 0});
    EXPECT_FLOATS(Floats("/w/j.GetAnchor2"), {0.5f, 0, 0});
    ks->Lookup("/w/j")->Release();
    MakeJoint("nopendefixedjoint");
    Ok("/w/j.Fix");
}

TEST_F(JointTest, HingeSliderAndUniversalGeometry)
{
    MakeJoint("nopendehingejoint");
    Ok("/w/j.SetAnchor 0.5 0 0; /w/j.SetAxis 0 0 2");
    EXPECT_FLOATS(Floats("/w/j.GetAnchor"), {0.5f, 0, 0});
    EXPECT_FLOATS(Floats("/w/j.GetAxis"), {0, 0, 1});
    Ok("/w/b.SetAngularVel 0 0 -2");
    EXPECT_NEAR(Floats("/w/j.GetAngleRate")[0], 2.0f, 1e-5f);
    Fails("/w/j.SetAxis 0 0 0");
    ks->Lookup("/w/j")->Release();

    Ok("new nopendesliderjoint /w/j; /w/j.Create /w");
    EXPECT_NE(Fails("/w/j.GetPosition").find("attached to no body"), std::string::npos);
    Ok("/w/j.AttachTo /w/a /w/b; /w/j.SetAxis 1 0 0; /w/b.SetLinearVel 3 0 0");
    EXPECT_FLOATS(Floats("/w/j.GetAxis"), {1, 0, 0});
    EXPECT_NEAR(std::fabs(Floats("/w/j.GetPositionRate")[0]), 3.0f, 1e-5f);
    ks->Lookup("/w/j")->Release();

    MakeJoint("nopendeuniversaljoint");
    Ok("/w/j.SetAnchor 0.5 0 0; /w/j.SetAxis1 0 1 0; /w/j.SetAxis2 0 0 1");
    EXPECT_FLOATS(Floats("/w/j.GetAxis1"), {0, 1, 0});
    EXPECT_FLOATS(Floats("/w/j.GetAxis2"), {0, 0, 1});
    Fails("/w/j.SetAxis1 0 0 0");
}

TEST_F(JointTest, Hinge2SavesAndReloadsWithTheSameSettings)
{
    MakeJoint("nopendehinge2joint");
    Ok("/w/j.SetAnchor 1 0 0; /w/j.SetAxis1 0 1 0; /w/j.SetAxis2 1 0 0");
    Ok("/w/j.SetParam fmax 1 5; /w/j.SetParam suspensionerp 0 0.4; /w/j.SetParam lostop 2 -0.5");
    EXPECT_FLOATS(Floats("/w/j.GetAxis1"), {0, 1, 0});
    EXPECT_FLOATS(Floats("/w/j.GetAxis2"), {1, 0, 0});
    const std::string ask = "set r [/w/j.GetAnchor]; lappend r {*}[/w/j.GetAxis1] {*}[/w/j.GetAxis2]; "
                            "foreach a {0 1 2} { foreach p {lostop histop vel fmax fudgefactor bounce cfm stoperp "
                            "stopcfm suspensionerp suspensioncfm} { lappend r [/w/j.GetParam $p $a] } }; "
                            "lappend r [/w/j.GetBodyName 0] [/w/j.GetBodyName 1]; set r";
    const std::string before = Ok(ask);
    std::string saved;
    ASSERT_NE(SaveAndReload("/w/j", &saved), nullptr);
    ExpectSameValues(Ok(ask), before);
    EXPECT_NE(saved.find(".SetAxis1 0.000000 1.000000 0.000000"), std::string::npos) << saved;
    EXPECT_NE(saved.find(".SetAxis2 1.000000 0.000000 0.000000"), std::string::npos) << saved;
    EXPECT_LT(saved.find(".SetAnchor"), saved.find(".SetAxis1"));
    EXPECT_NE(saved.find(".SetParam \"suspensioncfm\" 2"), std::string::npos) << saved;
}

TEST_F(JointTest, Hinge2AxesNeedBothBodiesAndNeverGoParallel)
{
    Ok("new nopendehinge2joint /w/j; /w/j.Create /w");
    // without bodies the axis waits for them
    Ok("/w/j.SetAxis1 0 2 0");
    EXPECT_FLOATS(Floats("/w/j.GetAxis1"), {0, 1, 0});
    EXPECT_FLOATS(Floats("/w/j.GetAxis2"), {0, 0, 0});
    Ok("/w/j.AttachTo /w/a /w/b");
    EXPECT_FLOATS(Floats("/w/j.GetAxis1"), {0, 1, 0});
    Ok("/w/j.SetAxis2 0 0 1");
    // axis 1 onto axis 2: axis 2 moves to a perpendicular
    Ok("/w/j.SetAxis1 0 0 1");
    EXPECT_FLOATS(Floats("/w/j.GetAxis1"), {0, 0, 1});
    EXPECT_NEAR(Floats("/w/j.GetAxis2")[2], 0.0f, 1e-5f);
    EXPECT_NE(log.text.find("was parallel"), std::string::npos) << log.text;
}

TEST_F(JointTest, AMotorSavesAndReloadsWithTheSameSettings)
{
    MakeJoint("nopendeamotorjoint");
    Ok("/w/j.SetNumAxes 2; /w/j.SetAxis 0 1 0 0 1; /w/j.SetAxis 1 0 1 0 0");
    Ok("/w/j.SetAngle 0 0.25; /w/j.SetParam fmax 0 3; /w/j.SetParam vel 1 -2");
    EXPECT_EQ(Ok("/w/j.GetMode"), "user");
    EXPECT_EQ(Ok("/w/j.GetAxisRel 0"), "1");
    const std::string ask = "set r [/w/j.GetNumAxes]; lappend r [/w/j.GetMode]; foreach a {0 1} { lappend r "
                            "{*}[/w/j.GetAxis $a] [/w/j.GetAxisRel $a] [/w/j.GetAngle $a] [/w/j.GetParam fmax $a] "
                            "[/w/j.GetParam vel $a] }; set r";
    const std::string before = Ok(ask);
    std::string saved;
    ASSERT_NE(SaveAndReload("/w/j", &saved), nullptr);
    ExpectSameValues(Ok(ask), before);
    EXPECT_NE(saved.find(".SetNumAxes 2"), std::string::npos) << saved;
    EXPECT_LT(saved.find(".SetNumAxes"), saved.find(".SetMode \"user\""));
    // the unused third axis is not written: a zero axis would not reload
    EXPECT_EQ(saved.find(".SetAxis 2"), std::string::npos) << saved;
    EXPECT_EQ(saved.find(".SetParam \"lostop\" 2"), std::string::npos) << saved;
}

TEST_F(JointTest, AMotorWithOneAxisAndAnEulerMotorReload)
{
    MakeJoint("nopendeamotorjoint");
    Ok("/w/j.SetNumAxes 1; /w/j.SetAxis 0 0 0 1 0");
    ASSERT_NE(SaveAndReload("/w/j"), nullptr);
    EXPECT_EQ(Ok("/w/j.GetNumAxes"), "1");
    EXPECT_FLOATS(Floats("/w/j.GetAxis 0"), {0, 1, 0});
    ks->Lookup("/w/j")->Release();

    MakeJoint("nopendeamotorjoint");
    Ok("/w/j.SetMode euler");
    Fails("/w/j.SetAngle 0 0.5");
    // ODE cannot derive the euler axes yet: the motor waits in user mode,
    // so a step does not stop the program
    EXPECT_EQ(Ok("/w/j.GetMode"), "euler");
    Ok("/w.Step 0.01");
    EXPECT_NE(Fails("/w/j.GetAxis 1").find("axes 0 and 2"), std::string::npos);
    Ok("/w/j.SetAxis 0 1 1 0 0; /w/j.SetAxis 2 2 0 0 1");
    const std::vector<float> derived = Floats("/w/j.GetAxis 1");
    ASSERT_NE(SaveAndReload("/w/j"), nullptr);
    EXPECT_EQ(Ok("/w/j.GetMode"), "euler");
    EXPECT_FLOATS(Floats("/w/j.GetAxis 1"), derived);
}

TEST_F(JointTest, AMotorAxesRelativeToABodyWaitForTheAttach)
{
    // attached to the world on the first side: the first body is missing
    for (const char* attach : {"", "/w/j.AttachTo none /w/b"})
    {
        SCOPED_TRACE(attach);
        Ok("new nopendeamotorjoint /w/j; /w/j.Create /w");
        if (*attach) Ok(attach);
        Ok("/w/j.SetNumAxes 3; /w/j.SetAxis 0 1 2 0 0; /w/j.SetAxis 1 2 0 0 1; /w/j.SetAxis 2 0 0 1 0");
        EXPECT_EQ(Ok("list [/w/j.GetAxisRel 0] [/w/j.GetAxisRel 1] [/w/j.GetAxisRel 2]"), "1 2 0");
        EXPECT_NE(Fails("/w/j.GetAxis 0").find("not attached"), std::string::npos);
        EXPECT_FLOATS(Floats("/w/j.GetAxis 2"), {0, 1, 0});
        Ok("/w.Step 0.01");
        Ok("/w/a.SetQuaternion 0 0 0.7071068 0.7071068; /w/j.AttachTo /w/a /w/b");
        // given in the world frame, kept relative to the body from now on
        EXPECT_FLOATS(Floats("/w/j.GetAxis 0"), {1, 0, 0});
        EXPECT_FLOATS(Floats("/w/j.GetAxis 1"), {0, 0, 1});
        Ok("/w/a.SetQuaternion 0 0 0 1");
        EXPECT_FLOATS(Floats("/w/j.GetAxis 0"), {0, -1, 0});
        Ok("/w.Step 0.01");
        ks->Lookup("/w/j")->Release();
    }
    // an euler motor takes its axes once the body is there
    Ok("new nopendeamotorjoint /w/e; /w/e.Create /w; /w/e.SetMode euler");
    Ok("/w/e.SetAxis 0 1 1 0 0; /w/e.SetAxis 2 2 0 0 1; /w.Step 0.01; /w/e.AttachTo /w/a /w/b");
    EXPECT_FLOATS(Floats("/w/e.GetAxis 1"), {0, 1, 0});
    Ok("/w.Step 0.01");
}

TEST_F(JointTest, AMotorAngleRate)
{
    MakeJoint("nopendeamotorjoint");
    Ok("/w/j.SetNumAxes 1; /w/j.SetAxis 0 1 0 0 1; /w/a.SetAngularVel 0 0 2");
    EXPECT_NEAR(Floats("/w/j.GetAngleRate 0")[0], 2.0f, 1e-5f);
    Ok("new nopendeamotorjoint /w/k; /w/k.Create /w");
    EXPECT_NE(Fails("/w/k.GetAngleRate 0").find("no body"), std::string::npos);
}

TEST_F(JointTest, ArgumentsOdeWouldAbortOnAreRefused)
{
    Ok("new nopendeamotorjoint /w/j");
    EXPECT_NE(Fails("/w/j.SetNumAxes 1").find("call Create first"), std::string::npos);
    Fails("/w/j.Create /nosuchworld");
    Fails("/w/j.Create /w/a");
    Ok("/w/j.Create /w");
    Fails("/w/j.Create /w");
    Fails("/w/j.AttachTo /w/a /w/a");
    Fails("/w/j.AttachTo /w/a /nobody");
    Fails("/w/j.AttachTo /w /w/a");
    Ok("new nopendeworld /w2; new nopendebody /w2/c; /w2/c.Create /w2");
    EXPECT_NE(Fails("/w/j.AttachTo /w/a /w2/c").find("another world"), std::string::npos);
    for (const char* c : {"SetNumAxes 4", "SetNumAxes -1", "SetAxis 3 0 1 0 0", "SetAxis 0 3 1 0 0",
                          "SetAxis 0 0 0 0 0", "GetAxis 5", "SetAngle 3 1", "GetAngle -1",
                          "SetMode fancy", "GetFeedback", "GetBodyName 2"})
    {
        SCOPED_TRACE(c);
        Fails(std::string("/w/j.") + c);
    }
    EXPECT_EQ(Ok("/w/j.IsFeedbackEnabled"), "false");
    Ok("new nopendejoint /plain");
    EXPECT_NE(Fails("/plain.Create /w").find("joint types"), std::string::npos);
}

TEST_F(JointTest, FeedbackFromCode)
{
    MakeJoint("nopendeballjoint");
    nOpendeJoint* j = static_cast<nOpendeJoint*>(ks->Lookup("/w/j"));
    dJointFeedback fb = {};
    fb.f1[1] = 2;
    fb.t2[0] = 3;
    j->SetFeedback(&fb);
    EXPECT_EQ(Ok("/w/j.IsFeedbackEnabled"), "true");
    EXPECT_FLOATS(Floats("/w/j.GetFeedback"), {0, 2, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0});
    j->SetFeedback(nullptr);
}

TEST_F(JointTest, AJointWhoseWorldIsGoneLeavesTheOdeJointAlone)
{
    Ok("new nopendehingejoint /outside; /outside.Create /w; /outside.AttachTo /w/a /w/b");
    ks->Lookup("/w")->Release();
    Fails("/outside.GetAngle");
    Fails("/outside.AttachTo none none");
    // a new world at the same path takes a fresh joint
    Ok("new nopendeworld /w; /outside.Create /w; /outside.SetAxis 0 1 0");
    ks->Lookup("/outside")->Release();
    EXPECT_EQ(ks->Lookup("/outside"), nullptr);
}

TEST_F(JointTest, JointGroupsHoldContactJoints)
{
    nOpendeWorld* world = static_cast<nOpendeWorld*>(ks->Lookup("/w"));
    nOpendeBody* a = static_cast<nOpendeBody*>(ks->Lookup("/w/a"));
    dJointGroupID group = nOpendeLayer::CreateJointGroup(0);
    dContact contact = {};
    dJointAttach(dJointCreateContact(world->id(), group, &contact), a->id(), 0);
    EXPECT_EQ(a->GetNumJoints(), 1);
    nOpendeLayer::EmptyJointGroup(group);
    EXPECT_EQ(a->GetNumJoints(), 0);
    dJointAttach(dJointCreateContact(world->id(), group, &contact), a->id(), 0);
    nOpendeLayer::DestroyJointGroup(group);
    EXPECT_EQ(a->GetNumJoints(), 0);
}

TEST_F(JointTest, UnknownNamesAndBadAxesAreFatalInCode)
{
    MakeJoint("nopendehingejoint");
    nOpendeJoint* j = static_cast<nOpendeJoint*>(ks->Lookup("/w/j"));
    EXPECT_FATAL(j->SetParam("nosuch", 0, 1.0f), "nOpendeJoint::SetParam\\(\\): Unknown param nosuch!");
    EXPECT_DEATH(j->GetParam("lostop", 3), AssertionMessage("(0 <= axis) && (axis < 3)"));
    EXPECT_DEATH(j->GetBodyName(2), AssertionMessage("(0 == index) || (1 == index)"));
    nOpendeJoint* fresh = static_cast<nOpendeJoint*>(ks->New("nopendeballjoint", "/fresh"));
    EXPECT_FATAL(fresh->GetType(), "nOpendeJoint::id not valid!");
}
