//------------------------------------------------------------------------------
//  Tests of quaternion: its matrix, products, rotation of vectors and
//  spherical interpolation.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "mathlib/quaternion.h"
#include "mathlib/matrix.h"
#include "mathtesthelpers.h"

TEST(QuaternionTest, IdentityByDefault)
{
    const quaternion q;
    EXPECT_EQ(q, quaternion(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(NearMat(matrix44(q), matrix44(), 0.0f));
}

TEST(QuaternionTest, MatrixEqualsTheMatchingRotation)
{
    const float angles[] = { 0.5f, N_PI * 0.5f, -2.0f, 3.0f };
    for (int axis = 0; axis < 3; axis++)
    {
        for (float angle : angles)
        {
            vector3 v;
            matrix44 expected;
            switch (axis)
            {
                case 0: v.set(1.0f, 0.0f, 0.0f); expected.rotate_x(angle); break;
                case 1: v.set(0.0f, 1.0f, 0.0f); expected.rotate_y(angle); break;
                default: v.set(0.0f, 0.0f, 1.0f); expected.rotate_z(angle); break;
            }
            quaternion q;
            q.set_rotate_axis_angle(v, angle);
            EXPECT_TRUE(NearMat(matrix44(q), expected)) << "axis " << axis << ", angle " << angle;
            EXPECT_EQ(matrix44(q).pos_component(), vector3());
        }
    }
}

TEST(QuaternionTest, QuarterTurnAboutZHasTheYAxisAsFirstRow)
{
    const quaternion q(0.0f, 0.0f, 0.7071068f, 0.7071068f);
    const matrix33 m(q);
    EXPECT_TRUE(NearVec(m.x_component(), vector3(0.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(NearVec(m.y_component(), vector3(-1.0f, 0.0f, 0.0f)));
    EXPECT_TRUE(NearVec(m.z_component(), vector3(0.0f, 0.0f, 1.0f)));
}

TEST(QuaternionTest, ProductRotatesByTheRightFactorFirst)
{
    quaternion a;
    a.set_rotate_axis_angle(vector3(1.0f, 0.0f, 0.0f), 0.4f);
    quaternion b;
    b.set_rotate_axis_angle(vector3(0.0f, 1.0f, 1.0f), 1.3f);
    EXPECT_TRUE(NearMat(matrix44(a * b), matrix44(b) * matrix44(a)));
    const vector3 p(1.0f, 2.0f, 3.0f);
    EXPECT_TRUE(NearVec((a * b).rotate(p), a.rotate(b.rotate(p))));
}

TEST(QuaternionTest, RotateAgreesWithTheMatrix)
{
    quaternion q;
    q.set_rotate_axis_angle(vector3(1.0f, -2.0f, 0.5f), 2.2f);
    EXPECT_NEAR(q.len(), 1.0f, kTol);
    const vector3 p(0.3f, -4.0f, 2.0f);
    EXPECT_TRUE(NearVec(q.rotate(p), matrix44(q) * p));
    quaternion inverse(q);
    inverse.conjugate();
    EXPECT_TRUE(NearVec(inverse.rotate(q.rotate(p)), p));
}

TEST(QuaternionTest, MatrixBackToQuaternion)
{
    const float angles[] = { 0.1f, 1.0f, 2.5f, 3.1f };
    const vector3 axes[] = { vector3(1, 0, 0), vector3(0, 1, 0), vector3(0, 0, 1), vector3(1, 2, -3) };
    for (const vector3& axis : axes)
    {
        for (float angle : angles)
        {
            quaternion q;
            q.set_rotate_axis_angle(axis, angle);
            const quaternion back = matrix44(q).get_quaternion();
            // q and -q are the same rotation; either may come back
            const quaternion negQ(-q.x, -q.y, -q.z, -q.w);
            EXPECT_TRUE(NearQuat(back, q, 1.0e-4f) || NearQuat(back, negQ, 1.0e-4f)) << "angle " << angle;
            EXPECT_NEAR(back.len(), 1.0f, 1.0e-4f);
        }
    }
}

TEST(QuaternionTest, SlerpEndsAndMiddle)
{
    const quaternion a;
    quaternion b;
    b.set_rotate_axis_angle(vector3(0.0f, 0.0f, 1.0f), N_PI * 0.5f);
    quaternion half;
    half.set_rotate_axis_angle(vector3(0.0f, 0.0f, 1.0f), N_PI * 0.25f);

    quaternion q;
    q.slerp(a, b, 0.0f);
    EXPECT_TRUE(NearQuat(q, a));
    q.slerp(a, b, 1.0f);
    EXPECT_TRUE(NearQuat(q, b));
    q.slerp(a, b, 0.5f);
    EXPECT_TRUE(NearQuat(q, half));
}

TEST(QuaternionTest, SlerpTakesTheShorterArc)
{
    const quaternion a;
    quaternion b;
    b.set_rotate_axis_angle(vector3(0.0f, 0.0f, 1.0f), N_PI * 0.5f);
    const quaternion negB(-b.x, -b.y, -b.z, -b.w);

    quaternion direct;
    direct.slerp(a, b, 0.5f);
    quaternion viaNegated;
    viaNegated.slerp(a, negB, 0.5f);
    // a is negated, so the result is the same rotation with opposite sign
    EXPECT_TRUE(NearQuat(viaNegated, quaternion(-direct.x, -direct.y, -direct.z, -direct.w)));
    EXPECT_TRUE(NearMat(matrix44(viaNegated), matrix44(direct)));
}

TEST(QuaternionTest, NearlyEqualRotationsBlendLinearly)
{
    const quaternion a;
    quaternion b;
    b.set_rotate_axis_angle(vector3(1.0f, 0.0f, 0.0f), 0.2f);
    ASSERT_LT(1.0f - b.w, 0.05f);
    quaternion q;
    q.slerp(a, b, 0.25f);
    EXPECT_TRUE(NearQuat(q, quaternion(0.25f * b.x, 0.25f * b.y, 0.25f * b.z, 0.75f + 0.25f * b.w)));
}
