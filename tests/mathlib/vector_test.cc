//------------------------------------------------------------------------------
//  Tests of vector2, vector3 and vector4.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "mathlib/vector.h"
#include "mathtesthelpers.h"

TEST(VectorTest, ZeroByDefault)
{
    EXPECT_EQ(vector2(), vector2(0.0f, 0.0f));
    EXPECT_EQ(vector3(), vector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(vector4(), vector4(0.0f, 0.0f, 0.0f, 0.0f));
}

TEST(VectorTest, Vector3Arithmetic)
{
    const vector3 a(1.0f, 2.0f, 3.0f);
    const vector3 b(4.0f, -5.0f, 6.0f);
    EXPECT_EQ(a + b, vector3(5.0f, -3.0f, 9.0f));
    EXPECT_EQ(a - b, vector3(-3.0f, 7.0f, -3.0f));
    EXPECT_EQ(-a, vector3(-1.0f, -2.0f, -3.0f));
    EXPECT_EQ(a * 2.0f, vector3(2.0f, 4.0f, 6.0f));
    EXPECT_EQ(2.0f * a, a * 2.0f);
    EXPECT_EQ(a / 2.0f, vector3(0.5f, 1.0f, 1.5f));
    EXPECT_EQ(a % b, 4.0f - 10.0f + 18.0f);

    vector3 c(a);
    c += b;
    c -= a;
    c *= 3.0f;
    EXPECT_EQ(c, b * 3.0f);
}

TEST(VectorTest, CrossProductIsRightHanded)
{
    const vector3 x(1.0f, 0.0f, 0.0f);
    const vector3 y(0.0f, 1.0f, 0.0f);
    const vector3 z(0.0f, 0.0f, 1.0f);
    EXPECT_EQ(x * y, z);
    EXPECT_EQ(y * z, x);
    EXPECT_EQ(z * x, y);
    EXPECT_EQ(y * x, -z);
    const vector3 a(1.0f, 2.0f, 3.0f);
    const vector3 b(-2.0f, 0.5f, 4.0f);
    EXPECT_NEAR((a * b) % a, 0.0f, kTol);
    EXPECT_NEAR((a * b) % b, 0.0f, kTol);
}

TEST(VectorTest, LengthAndNormalisation)
{
    vector3 v(3.0f, 4.0f, 12.0f);
    EXPECT_EQ(v.len(), 13.0f);
    EXPECT_EQ(v.lensquared(), 169.0f);
    v.norm();
    EXPECT_NEAR(v.len(), 1.0f, kTol);
    EXPECT_TRUE(NearVec(v, vector3(3.0f / 13.0f, 4.0f / 13.0f, 12.0f / 13.0f)));

    vector3 zero;
    zero.norm();
    EXPECT_EQ(zero, vector3());

    vector2 v2(3.0f, 4.0f);
    EXPECT_EQ(v2.len(), 5.0f);
    v2.norm();
    EXPECT_TRUE(v2.isequal(vector2(0.6f, 0.8f), kTol));

    vector4 v4(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(v4.len(), 2.0f);
    v4.norm();
    EXPECT_EQ(v4, vector4(0.5f, 0.5f, 0.5f, 0.5f));
}

TEST(VectorTest, Lerp)
{
    vector3 a(0.0f, 10.0f, -2.0f);
    a.lerp(vector3(10.0f, 20.0f, 2.0f), 0.25f);
    EXPECT_EQ(a, vector3(2.5f, 12.5f, -1.0f));
    vector2 b(1.0f, 1.0f);
    b.lerp(vector2(3.0f, -1.0f), 0.5f);
    EXPECT_EQ(b, vector2(2.0f, 0.0f));
    vector4 c(0.0f, 0.0f, 0.0f, 0.0f);
    c.lerp(vector4(4.0f, 8.0f, -4.0f, 1.0f), 0.5f);
    EXPECT_EQ(c, vector4(2.0f, 4.0f, -2.0f, 0.5f));
}

TEST(VectorTest, Vector4IsEqualChecksEveryComponentAgainstTheTolerance)
{
    const vector4 base(1.0f, 1.0f, 1.0f, 1.0f);
    const struct { vector4 other; float tol; bool equal; } cases[] = {
        { vector4(1.0f, 1.0f, 1.0f, 1.0f), 0.0f, true },
        { vector4(1.5f, 1.0f, 1.0f, 1.0f), 0.5f, true },
        { vector4(1.5f, 1.0f, 1.0f, 1.0f), 0.25f, false },
        { vector4(1.0f, 0.5f, 1.0f, 1.0f), 0.25f, false },
        { vector4(1.0f, 1.0f, 1.5f, 1.0f), 0.25f, false },
        { vector4(1.0f, 1.0f, 1.0f, 0.5f), 0.25f, false },
        { vector4(1.25f, 0.75f, 1.25f, 0.75f), 0.25f, true },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(base.isequal(c.other, c.tol), c.equal)
            << c.other.x << " " << c.other.y << " " << c.other.z << " " << c.other.w << " tol " << c.tol;
        EXPECT_EQ(c.other.isequal(base, c.tol), c.equal);
    }
}

TEST(VectorTest, Vector4FromVector3)
{
    const vector4 v(vector3(1.0f, 2.0f, 3.0f), 1.0f);
    EXPECT_EQ(v, vector4(1.0f, 2.0f, 3.0f, 1.0f));
    EXPECT_EQ(v.xyz(), vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(v % v, 15.0f);
}
