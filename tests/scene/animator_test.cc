//------------------------------------------------------------------------------
//  Animators driven through the render variable "time": one table of
//  sampling cases for the parameter animators, then the transform
//  animator, the commands and what the animators save.
//------------------------------------------------------------------------------
#include "scenefixture.h"

#include "scene/nipolkeyarray.h"
#include "scene/nshapenode.h"
#include "scene/ntransformanimator.h"

#include <gmock/gmock.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

using ::testing::HasSubstr;
using ::testing::Not;

class AnimatorTest : public SceneTest
{
protected:
    /// a shape (no mesh) with the animator "anim" below it, which animates
    /// the parameter "Intensity0"/"CullMode"/"MatDiffuse" set to a start value
    nShapeNode* MakeAnimatedShape(const char* animClass, const std::string& animScript)
    {
        nShapeNode* shape = New<nShapeNode>("nshapenode", "/s");
        Ok("/s.setshader colr shaders:default.fx");
        Ok("/s.setfloat Intensity0 -1");
        Ok("/s.setint CullMode -1");
        Ok("/s.setvector MatDiffuse -1 -1 -1 -1");
        ks->New(animClass, "/s/anim");
        Ok("/s.addanimator anim");
        Ok(animScript);
        return shape;
    }
};

namespace
{

struct SampleCase
{
    const char* name;
    const char* animClass;
    /// commands for /s/anim: keys, loop type, channel
    const char* setup;
    float time;
    /// the getter run on /s after the frame and its expected result
    const char* getter;
    const char* expected;
    /// text the log must hold after two frames, once ("" for none)
    const char* warning;
};

const float NaN = std::numeric_limits<float>::quiet_NaN();

const SampleCase Cases[] = {
    {"loop wraps 5 into the key range", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 2 10; .setlooptype loop", 5.0f,
     "getfloat Intensity0", "5.0", ""},
    {"oneshot clamps 5 to 1.999", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 2 10; .setlooptype oneshot", 5.0f,
     "getfloat Intensity0", "9.995", ""},
    {"loop wraps negative times too", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 2 10", -1.0f, "getfloat Intensity0", "5.0", ""},
    {"upper-case LOOP is oneshot", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 2 10; .setlooptype LOOP", 5.0f,
     "getfloat Intensity0", "9.995", ""},
    {"a single key gives nothing", "nfloatanimator", "sel /s/anim; .setfloatname Intensity0; .addkey 0 7", 0.5f,
     "getfloat Intensity0", "-1.0", ""},
    {"a span of 0.0005 s never clamps below the first key", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 0.0005 10; .setlooptype oneshot", 5.0f,
     "getfloat Intensity0", "0.0", ""},
    {"unsorted keys give nothing", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 2 10; .addkey 1 5", 0.5f,
     "getfloat Intensity0", "-1.0", "animation keys out of order"},
    {"keys not starting at 0 give nothing", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 1 0; .addkey 2 10", 1.5f, "getfloat Intensity0", "-1.0",
     "animation keys out of order"},
    {"a NaN time gives nothing", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 2 10", NaN, "getfloat Intensity0", "-1.0",
     "time not finite"},
    {"a missing channel uses time 0", "nfloatanimator",
     "sel /s/anim; .setfloatname Intensity0; .addkey 0 3; .addkey 2 10; .setchannel wind", 1.0f,
     "getfloat Intensity0", "3.0", "nFloatAnimator::Animate() ChannelVariable 'wind' not found!"},
    {"int 1.5 rounds to 2", "nintanimator", "sel /s/anim; .setintname CullMode; .addkey 0 0; .addkey 1 3", 0.5f,
     "getint CullMode", "2", ""},
    {"int 0.3 rounds to 0", "nintanimator", "sel /s/anim; .setintname CullMode; .addkey 0 0; .addkey 1 3", 0.1f,
     "getint CullMode", "0", ""},
    {"vectors interpolate per component", "nvectoranimator",
     "sel /s/anim; .setvectorname MatDiffuse; .addkey 0 0 0 0 0; .addkey 2 10 20 30 40", 1.0f,
     "getvector MatDiffuse", "5.0 10.0 15.0 20.0", ""},
    {"an unknown parameter name is the node's warning", "nvectoranimator",
     "sel /s/anim; .setvectorname NoSuchParam; .addkey 0 0 0 0 0; .addkey 2 10 20 30 40", 1.0f,
     "getvector MatDiffuse", "-1.0 -1.0 -1.0 -1.0", "WARNING: invalid shader parameter in object 's'"},
};

void PrintTo(const SampleCase& c, std::ostream* os)
{
    *os << c.name;
}

/// the numbers of a Tcl result
std::vector<double> Numbers(const std::string& text)
{
    std::vector<double> out;
    std::istringstream in(text);
    double d;
    while (in >> d) out.push_back(d);
    return out;
}

class SampleTest : public AnimatorTest, public ::testing::WithParamInterface<SampleCase>
{
};

}  // namespace

TEST_P(SampleTest, TheNodeGetsTheSampledValue)
{
    const SampleCase& c = GetParam();
    nShapeNode* shape = MakeAnimatedShape(c.animClass, c.setup);
    nRenderContext ctx;
    SetupContext(ctx, shape, c.time);
    TakeLog();
    DrawFrame(ctx);
    DrawFrame(ctx);
    const std::vector<double> got = Numbers(Ok(std::string("/s.") + c.getter));
    const std::vector<double> want = Numbers(c.expected);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); i++) EXPECT_NEAR(got[i], want[i], 1e-5) << "component " << i;
    const std::string text = TakeLog();
    if (*c.warning)
    {
        EXPECT_THAT(text, HasSubstr(c.warning));
        EXPECT_EQ(text.find(c.warning), text.rfind(c.warning)) << text;
    }
    else
    {
        EXPECT_THAT(text, Not(HasSubstr("arning")));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SampleTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<SampleCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; p++) name += isalnum(*p) ? *p : '_';
                             return name;
                         });

TEST_F(AnimatorTest, TransformKeysMoveTheNodeAndEulerWinsOverQuaternions)
{
    nTransformNode* node = New<nTransformNode>("ntransformnode", "/t");
    ks->New("ntransformanimator", "/t/anim");
    Ok("/t.addanimator anim");
    Ok("sel /t/anim; .addposkey 0 0 0 0; .addposkey 2 2 4 6; .addscalekey 0 1 1 1; .addscalekey 2 3 3 3");
    Ok("sel /t/anim; .addquatkey 0 0 0 0 1; .addquatkey 2 0 0 0.7071068 0.7071068");
    nRenderContext ctx;
    SetupContext(ctx, node, 1.0f);
    DrawFrame(ctx);
    EXPECT_EQ(Ok("/t.getposition"), "1.0 2.0 3.0");
    EXPECT_EQ(Ok("/t.getscale"), "2.0 2.0 2.0");
    EXPECT_FALSE(node->IsEulerMode());
    EXPECT_NEAR(node->GetQuat().z, 0.3826834f, 1e-6f);
    EXPECT_NEAR(node->GetQuat().w, 0.9238795f, 1e-6f);

    Ok("sel /t/anim; .addeulerkey 0 0 0 0; .addeulerkey 2 0 0 90");
    DrawFrame(ctx);
    EXPECT_TRUE(node->IsEulerMode());
    EXPECT_NEAR(node->GetEuler().z, 0.7853982f, 1e-6f);
    const vector3 pos = GroupTransformOf(node).pos_component();
    EXPECT_FLOAT_EQ(pos.z, 3.0f) << "the animator ran before the model matrix was made";
}

TEST_F(AnimatorTest, QuaternionsTakeTheShorterArc)
{
    nTransformNode* node = New<nTransformNode>("ntransformnode", "/t");
    ks->New("ntransformanimator", "/t/anim");
    Ok("/t.addanimator anim");
    Ok("sel /t/anim; .addquatkey 0 0 0 0 1; .addquatkey 2 0 0 -0.7071068 -0.7071068");
    nRenderContext ctx;
    SetupContext(ctx, node, 1.0f);
    DrawFrame(ctx);
    EXPECT_NEAR(node->GetQuat().z, -0.3826834f, 1e-6f);
    EXPECT_NEAR(node->GetQuat().w, -0.9238795f, 1e-6f);
}

TEST(IpolKeyArrayTest, QuaternionKeysSampleExactlyAsTheMathLibrarySlerps)
{
    struct Case
    {
        const char* name;
        quaternion a;
        quaternion b;
        float t;
    };
    const float h = 0.7071068f;
    const Case cases[] = {
        {"quarter turn", quaternion(), quaternion(0.0f, 0.0f, h, h), 0.7f},
        {"shorter arc through the negated key", quaternion(), quaternion(0.0f, 0.0f, -h, -h), 1.3f},
        {"nearly equal keys blend linearly", quaternion(), quaternion(0.01f, 0.0f, 0.0f, 0.99995f), 0.5f},
        {"not normalised keys", quaternion(0.3f, -1.2f, 0.5f, 0.8f), quaternion(-0.9f, 0.2f, 0.4f, -0.1f), 1.9f},
        {"opposite rotations", quaternion(1.0f, 0.0f, 0.0f, 0.0f), quaternion(0.0f, 1.0f, 0.0f, 0.0f), 0.25f},
    };
    for (const Case& c : cases)
    {
        nIpolKeyArray<quaternion> keys;
        keys.AddKey(0.0f, c.a);
        keys.AddKey(2.0f, c.b);
        quaternion sampled;
        bool warned = false;
        ASSERT_TRUE(keys.Sample(c.t, nAnimator::OneShot, sampled, warned)) << c.name;
        quaternion expected;
        expected.slerp(c.a, c.b, c.t / 2.0f);
        EXPECT_EQ(sampled, expected) << c.name;
    }
}

TEST_F(AnimatorTest, EulerKeysAreDegreesInCommandsAndRadiansInside)
{
    nTransformAnimator* anim = New<nTransformAnimator>("ntransformanimator", "/anim");
    Ok("/anim.addeulerkey 0 90 0 0");
    EXPECT_EQ(anim->GetEulerKeys().At(0).value.x, 1.5707964f);
    EXPECT_EQ(Ok("/anim.geteulerkeyat 0"), "0.0 90.0 0.0 0.0");
    EXPECT_EQ(Ok("/anim.getnumeulerkeys"), "1");
    Fails("/anim.geteulerkeyat 1");
    Fails("/anim.getquatkeyat 0");
    Fails("/anim.addposkey nan 0 0 0");
}

TEST_F(AnimatorTest, AnimatorsSaveTheirKeysAndOnlyEulerWhenBothRotationsExist)
{
    New<nTransformAnimator>("ntransformanimator", "/anim");
    Ok("sel /anim; .setlooptype oneshot; .addposkey 0 1 2 3; .addquatkey 0 0 0 0 1; .addeulerkey 0 90 0 0");
    Ok("sel /anim; .addscalekey 0 1 1 1");
    ASSERT_TRUE(ks->Lookup("/anim")->SaveAs("tst:anim.n2"));
    const std::string text = ReadFile("tst:anim.n2");
    EXPECT_THAT(text, HasSubstr(".setchannel \"time\"\n"));
    EXPECT_THAT(text, HasSubstr(".setlooptype \"oneshot\"\n"));
    EXPECT_THAT(text, HasSubstr(".addeulerkey 0.000000 90.000000 0.000000 0.000000\n"));
    EXPECT_THAT(text, Not(HasSubstr(".addquatkey")));
    EXPECT_LT(text.find(".addposkey"), text.find(".addeulerkey"));
    EXPECT_LT(text.find(".addeulerkey"), text.find(".addscalekey"));

    New<nSceneNode>("nintanimator", "/ints");
    Ok("sel /ints; .setintname CullMode; .addkey 0 1; .addkey 1 3");
    ASSERT_TRUE(ks->Lookup("/ints")->SaveAs("tst:ints.n2"));
    EXPECT_THAT(ReadFile("tst:ints.n2"), HasSubstr(".setintname \"CullMode\"\n.addkey 0.000000 1\n.addkey 1.000000 3\n"));
    EXPECT_EQ(Ok("/ints.getkeyat 1"), "1.0 3");
    EXPECT_EQ(Ok("/ints.getintname"), "CullMode");
}

TEST_F(AnimatorTest, TheChannelIsARenderVariableByName)
{
    New<nSceneNode>("nfloatanimator", "/anim");
    EXPECT_EQ(Ok("/anim.getchannel"), "time");
    Ok("/anim.setchannel wind");
    EXPECT_EQ(Ok("/anim.getchannel"), "wind");
    EXPECT_NE(vars->FindVariableHandleByName("wind"), nVariable::InvalidHandle);
    EXPECT_EQ(Ok("/anim.getlooptype"), "loop");
    Fails("/anim.setchannel \"\"");
}

TEST_F(AnimatorTest, ANodeKeepsTheAnimatorItFoundUntilThatAnimatorDies)
{
    nShapeNode* shape = MakeAnimatedShape("nfloatanimator", "sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 2 10");
    nRenderContext ctx;
    SetupContext(ctx, shape, 1.0f);
    DrawFrame(ctx);
    EXPECT_EQ(Ok("/s.getfloat Intensity0"), "5.0");
    // renamed, the animator is still the node's: the path is not searched again
    nRoot* anim = shape->Find("anim");
    anim->SetName("renamed");
    Ok("/s.setfloat Intensity0 -1");
    DrawFrame(ctx);
    EXPECT_EQ(Ok("/s.getfloat Intensity0"), "5.0");
    // once it is gone, the path finds what now has the name
    anim->Release();
    ks->New("nfloatanimator", "/s/anim");
    Ok("sel /s/anim; .setfloatname Intensity0; .addkey 0 0; .addkey 2 20; sel /");
    DrawFrame(ctx);
    EXPECT_EQ(Ok("/s.getfloat Intensity0"), "10.0");
}
