//------------------------------------------------------------------------------
//  Tests of transform44: flags, lazy rebuilding and the order of scale,
//  rotation and translation.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "mathlib/transform44.h"
#include "mathtesthelpers.h"

TEST(Transform44Test, Defaults)
{
    transform44 t;
    EXPECT_EQ(t.getflags(), 0);
    EXPECT_EQ(t.gettranslation(), vector3());
    EXPECT_EQ(t.geteuler(), vector3());
    EXPECT_EQ(t.getquat(), quaternion());
    EXPECT_EQ(t.getscale(), vector3(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(t.getmatrix(), matrix44());
}

TEST(Transform44Test, SettersSetTheirFlags)
{
    const int dirty = transform44::Dirty;
    const int euler = transform44::UseEuler;
    const struct { int setter; int flagsBefore; int flagsAfter; } cases[] = {
        { 0, 0, dirty },                      // translation
        { 1, 0, dirty },                      // scale
        { 2, 0, dirty | euler },              // Euler angles
        { 3, 0, dirty },                      // quaternion
        { 0, euler, dirty | euler },
        { 1, euler, dirty | euler },
        { 3, euler, dirty },                  // the quaternion leaves Euler mode
    };
    for (const auto& c : cases)
    {
        transform44 t;
        if (c.flagsBefore & euler)
        {
            t.seteuler(vector3(0.1f, 0.2f, 0.3f));
        }
        t.getmatrix();
        ASSERT_EQ(t.getflags(), c.flagsBefore);
        switch (c.setter)
        {
            case 0: t.settranslation(vector3(1.0f, 2.0f, 3.0f)); break;
            case 1: t.setscale(vector3(2.0f, 2.0f, 2.0f)); break;
            case 2: t.seteuler(vector3(0.5f, 0.0f, 0.0f)); break;
            default: t.setquat(quaternion(0.0f, 0.0f, 0.7071068f, 0.7071068f)); break;
        }
        EXPECT_EQ(t.getflags(), c.flagsAfter) << "setter " << c.setter << ", flags before " << c.flagsBefore;
        EXPECT_TRUE(t.isdirty());
        EXPECT_EQ(t.iseuler(), 0 != (c.flagsAfter & euler));
        t.getmatrix();
        EXPECT_EQ(t.getflags(), c.flagsAfter & ~dirty);
    }
}

TEST(Transform44Test, MatrixScalesThenRotatesThenTranslates)
{
    transform44 t;
    t.settranslation(vector3(10.0f, 0.0f, 0.0f));
    t.seteuler(vector3(0.0f, 0.0f, N_PI * 0.5f));
    t.setscale(vector3(2.0f, 3.0f, 4.0f));
    const matrix44& m = t.getmatrix();
    // (1, 0, 0) -> (2, 0, 0) -> (0, 2, 0) -> (10, 2, 0)
    EXPECT_TRUE(NearVec(m * vector3(1.0f, 0.0f, 0.0f), vector3(10.0f, 2.0f, 0.0f)));
    // (0, 1, 0) -> (0, 3, 0) -> (-3, 0, 0) -> (7, 0, 0)
    EXPECT_TRUE(NearVec(m * vector3(0.0f, 1.0f, 0.0f), vector3(7.0f, 0.0f, 0.0f)));
    EXPECT_EQ(m.pos_component(), vector3(10.0f, 0.0f, 0.0f));
}

TEST(Transform44Test, EulerAnglesTurnAboutXThenYThenZ)
{
    const vector3 angles(0.3f, -0.8f, 1.9f);
    transform44 t;
    t.seteuler(angles);
    matrix44 expected;
    expected.rotate_x(angles.x);
    expected.rotate_y(angles.y);
    expected.rotate_z(angles.z);
    EXPECT_TRUE(NearMat(t.getmatrix(), expected));
}

TEST(Transform44Test, QuaternionModeUsesTheQuaternionsMatrix)
{
    quaternion q;
    q.set_rotate_axis_angle(vector3(1.0f, 1.0f, 0.0f), 0.9f);
    transform44 t;
    t.seteuler(vector3(1.0f, 1.0f, 1.0f));
    t.setquat(q);
    t.setscale(vector3(2.0f, 2.0f, 2.0f));
    t.settranslation(vector3(0.0f, 5.0f, 0.0f));
    matrix44 expected;
    expected.scale(vector3(2.0f, 2.0f, 2.0f));
    expected *= matrix44(q);
    expected.translate(vector3(0.0f, 5.0f, 0.0f));
    EXPECT_TRUE(NearMat(t.getmatrix(), expected));
    // the Euler angles are kept, only not used
    EXPECT_EQ(t.geteuler(), vector3(1.0f, 1.0f, 1.0f));
}

TEST(Transform44Test, EulerAndQuaternionOfTheSameTurnAgree)
{
    transform44 viaEuler;
    viaEuler.seteuler(vector3(0.0f, 0.7f, 0.0f));
    quaternion q;
    q.set_rotate_axis_angle(vector3(0.0f, 1.0f, 0.0f), 0.7f);
    transform44 viaQuat;
    viaQuat.setquat(q);
    EXPECT_TRUE(NearMat(viaEuler.getmatrix(), viaQuat.getmatrix()));
}

TEST(Transform44Test, MatrixIsOnlyRebuiltWhenDirty)
{
    transform44 t;
    t.settranslation(vector3(1.0f, 0.0f, 0.0f));
    const matrix44* first = &t.getmatrix();
    EXPECT_FALSE(t.isdirty());
    EXPECT_EQ(first, &t.getmatrix());
    EXPECT_EQ(t.getmatrix().pos_component(), vector3(1.0f, 0.0f, 0.0f));
    t.settranslation(vector3(2.0f, 0.0f, 0.0f));
    EXPECT_EQ(t.getmatrix().pos_component(), vector3(2.0f, 0.0f, 0.0f));
}
