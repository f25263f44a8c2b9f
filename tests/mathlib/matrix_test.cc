//------------------------------------------------------------------------------
//  Tests of matrix33 and matrix44: the row-vector conventions, the
//  rotation directions, products and inversion.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "mathlib/matrix.h"
#include "mathtesthelpers.h"

namespace
{

const float kQuarterTurn = N_PI * 0.5f;

/// a placement that scales, turns about all three axes and moves
matrix44
SomeAffineMatrix()
{
    matrix44 m;
    m.scale(vector3(2.0f, 0.5f, 3.0f));
    m.rotate_x(0.3f);
    m.rotate_y(-1.1f);
    m.rotate_z(2.0f);
    m.translate(vector3(4.0f, -5.0f, 6.0f));
    return m;
}

/// a right-handed perspective projection (its last column is not 0, 0, 0, 1)
matrix44
SomeProjection()
{
    const float nearPlane = 0.1f;
    const float farPlane = 100.0f;
    const float yScale = 1.0f / tanf(0.5f);
    return matrix44(yScale / 1.5f, 0.0f, 0.0f, 0.0f,
                    0.0f, yScale, 0.0f, 0.0f,
                    0.0f, 0.0f, farPlane / (nearPlane - farPlane), -1.0f,
                    0.0f, 0.0f, nearPlane * farPlane / (nearPlane - farPlane), 0.0f);
}

} // namespace

TEST(Matrix44Test, IdentityByDefault)
{
    const matrix44 m;
    for (int r = 0; r < 4; r++)
    {
        for (int c = 0; c < 4; c++)
        {
            EXPECT_EQ(m.m[r][c], (r == c) ? 1.0f : 0.0f);
        }
    }
    EXPECT_EQ(matrix33().m[2][2], 1.0f);
    EXPECT_EQ(matrix33().m[0][1], 0.0f);
}

TEST(Matrix44Test, TranslationIsRowThree)
{
    matrix44 m;
    m.translate(vector3(1.0f, 2.0f, 3.0f));
    const float* elements = &m.m[0][0];
    EXPECT_EQ(elements[12], 1.0f);
    EXPECT_EQ(elements[13], 2.0f);
    EXPECT_EQ(elements[14], 3.0f);
    EXPECT_EQ(m.pos_component(), vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(m * vector3(0.0f, 0.0f, 0.0f), vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(m * vector3(1.0f, 1.0f, 1.0f), vector3(2.0f, 3.0f, 4.0f));
    // a direction (w = 0) is not moved
    EXPECT_EQ(m * vector4(1.0f, 0.0f, 0.0f, 0.0f), vector4(1.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(m * vector4(1.0f, 0.0f, 0.0f, 1.0f), vector4(2.0f, 2.0f, 3.0f, 1.0f));
    EXPECT_EQ(m.transform_normal(vector3(1.0f, 0.0f, 0.0f)), vector3(1.0f, 0.0f, 0.0f));
}

TEST(Matrix44Test, PointsAreRowsTimesTheMatrix)
{
    const matrix44 m(1.0f, 2.0f, 3.0f, 0.0f,
                     4.0f, 5.0f, 6.0f, 0.0f,
                     7.0f, 8.0f, 9.0f, 0.0f,
                     10.0f, 11.0f, 12.0f, 1.0f);
    // x times row 0 + y times row 1 + z times row 2 + row 3
    EXPECT_EQ(m * vector3(1.0f, 0.0f, 0.0f), vector3(11.0f, 13.0f, 15.0f));
    EXPECT_EQ(m * vector3(0.0f, 2.0f, 0.0f), vector3(18.0f, 21.0f, 24.0f));
    EXPECT_EQ(m * vector3(1.0f, 1.0f, 1.0f), vector3(22.0f, 26.0f, 30.0f));
    EXPECT_EQ(m.x_component(), vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(m.y_component(), vector3(4.0f, 5.0f, 6.0f));
    EXPECT_EQ(m.z_component(), vector3(7.0f, 8.0f, 9.0f));
}

TEST(Matrix44Test, RotationsTurnCounterClockwiseAboutTheirAxis)
{
    const vector3 x(1.0f, 0.0f, 0.0f);
    const vector3 y(0.0f, 1.0f, 0.0f);
    const vector3 z(0.0f, 0.0f, 1.0f);
    const struct { int axis; vector3 from; vector3 to; } cases[] = {
        { 0, y, z }, { 0, z, -y },
        { 1, z, x }, { 1, x, -z },
        { 2, x, y }, { 2, y, -x },
    };
    for (const auto& c : cases)
    {
        matrix44 m;
        matrix33 m33;
        switch (c.axis)
        {
            case 0: m.rotate_x(kQuarterTurn); m33.rotate_x(kQuarterTurn); break;
            case 1: m.rotate_y(kQuarterTurn); m33.rotate_y(kQuarterTurn); break;
            default: m.rotate_z(kQuarterTurn); m33.rotate_z(kQuarterTurn); break;
        }
        EXPECT_TRUE(NearVec(m * c.from, c.to)) << "axis " << c.axis;
        EXPECT_TRUE(NearVec(m33 * c.from, c.to)) << "axis " << c.axis;
    }
}

TEST(Matrix44Test, OperationsApplyAfterWhatTheMatrixAlreadyDoes)
{
    // scale, then turn, then move: (1, 0, 0) -> (2, 0, 0) -> (0, 2, 0) -> (10, 2, 0)
    matrix44 m;
    m.scale(vector3(2.0f, 2.0f, 2.0f));
    m.rotate_z(kQuarterTurn);
    m.translate(vector3(10.0f, 0.0f, 0.0f));
    EXPECT_TRUE(NearVec(m * vector3(1.0f, 0.0f, 0.0f), vector3(10.0f, 2.0f, 0.0f)));

    // moving first turns the translation as well
    matrix44 moved;
    moved.translate(vector3(10.0f, 0.0f, 0.0f));
    moved.rotate_z(kQuarterTurn);
    EXPECT_TRUE(NearVec(moved * vector3(0.0f, 0.0f, 0.0f), vector3(0.0f, 10.0f, 0.0f)));
}

TEST(Matrix44Test, ProductTransformsByTheLeftMatrixFirst)
{
    matrix44 a;
    a.rotate_z(kQuarterTurn);
    matrix44 b;
    b.translate(vector3(5.0f, 0.0f, 0.0f));
    const vector3 p(1.0f, 0.0f, 0.0f);
    EXPECT_TRUE(NearVec((a * b) * p, b * (a * p)));
    EXPECT_TRUE(NearVec((a * b) * p, vector3(5.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(NearVec((b * a) * p, vector3(0.0f, 6.0f, 0.0f)));

    matrix44 c(a);
    c *= b;
    EXPECT_EQ(c, a * b);
}

TEST(Matrix44Test, MultSimpleIsTheAffineProduct)
{
    const matrix44 a = SomeAffineMatrix();
    matrix44 b;
    b.rotate_y(0.7f);
    b.translate(vector3(-1.0f, 2.0f, 0.5f));
    matrix44 simple(a);
    simple.mult_simple(b);
    EXPECT_TRUE(NearMat(simple, a * b));

    // whatever the last columns hold, the result's is 0, 0, 0, 1
    matrix44 p = SomeProjection();
    p.mult_simple(b);
    EXPECT_EQ(p.m[0][3], 0.0f);
    EXPECT_EQ(p.m[1][3], 0.0f);
    EXPECT_EQ(p.m[2][3], 0.0f);
    EXPECT_EQ(p.m[3][3], 1.0f);
}

TEST(Matrix44Test, TransformCoordDividesByW)
{
    const matrix44 m(2.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 2.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 2.0f, 1.0f,
                     0.0f, 0.0f, 0.0f, 1.0f);
    // w = z + 1 = 4
    EXPECT_TRUE(NearVec(m.transform_coord(vector3(1.0f, 2.0f, 3.0f)), vector3(0.5f, 1.0f, 1.5f)));
    // the plain product skips the divide
    EXPECT_EQ(m * vector3(1.0f, 2.0f, 3.0f), vector3(2.0f, 4.0f, 6.0f));
}

TEST(Matrix44Test, InverseTimesMatrixIsIdentity)
{
    matrix44 shear(1.0f, 0.5f, 0.0f, 0.1f,
                   0.0f, 2.0f, 0.3f, 0.0f,
                   0.2f, 0.0f, 1.0f, 0.0f,
                   3.0f, 4.0f, 5.0f, 1.0f);
    const matrix44 cases[] = { matrix44(), SomeAffineMatrix(), SomeProjection(), shear };
    for (const matrix44& m : cases)
    {
        matrix44 inv(m);
        ASSERT_TRUE(inv.invert());
        EXPECT_TRUE(NearMat(inv * m, matrix44(), 1.0e-4f));
        EXPECT_TRUE(NearMat(m * inv, matrix44(), 1.0e-4f));
    }
}

TEST(Matrix44Test, SimpleInverseOfAnAffineMatrix)
{
    const matrix44 m = SomeAffineMatrix();
    matrix44 simple(m);
    ASSERT_TRUE(simple.invert_simple());
    matrix44 full(m);
    ASSERT_TRUE(full.invert());
    EXPECT_TRUE(NearMat(simple, full, 1.0e-4f));
    EXPECT_TRUE(NearMat(simple * m, matrix44(), 1.0e-4f));
    const vector3 p(0.5f, -2.0f, 7.0f);
    EXPECT_TRUE(NearVec(simple * (m * p), p, 1.0e-4f));
}

TEST(Matrix44Test, SingularMatricesAreLeftUnchanged)
{
    matrix44 flat;
    flat.scale(vector3(1.0f, 0.0f, 1.0f));
    flat.translate(vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(flat.det(), 0.0f);

    matrix44 m(flat);
    EXPECT_FALSE(m.invert());
    EXPECT_EQ(m, flat);
    EXPECT_FALSE(m.invert_simple());
    EXPECT_EQ(m, flat);
}

TEST(Matrix44Test, DeterminantAndTranspose)
{
    matrix44 m;
    m.scale(vector3(2.0f, 3.0f, 4.0f));
    EXPECT_EQ(m.det(), 24.0f);
    EXPECT_NEAR(SomeAffineMatrix().det(), 3.0f, 1.0e-4f);

    matrix44 t = SomeProjection();
    t.transpose();
    EXPECT_EQ(t.m[3][2], -1.0f);
    EXPECT_EQ(t.m[2][3], SomeProjection().m[3][2]);
    t.transpose();
    EXPECT_EQ(t, SomeProjection());
}

TEST(Matrix44Test, LookAtPointsZFromTheTargetToThePosition)
{
    matrix44 m;
    m.translate(vector3(0.0f, 0.0f, 10.0f));
    m.lookat(vector3(0.0f, 0.0f, 0.0f), vector3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(m.pos_component(), vector3(0.0f, 0.0f, 10.0f));
    EXPECT_TRUE(NearVec(m.z_component(), vector3(0.0f, 0.0f, 1.0f)));
    EXPECT_TRUE(NearVec(m.y_component(), vector3(0.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(NearVec(m.x_component(), vector3(1.0f, 0.0f, 0.0f)));

    matrix44 side;
    side.translate(vector3(5.0f, 3.0f, 0.0f));
    side.lookat(vector3(0.0f, 3.0f, 0.0f), vector3(0.0f, 1.0f, 0.0f));
    EXPECT_TRUE(NearVec(side.z_component(), vector3(1.0f, 0.0f, 0.0f)));
    EXPECT_TRUE(NearVec(side.y_component(), vector3(0.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(NearVec(side.x_component(), vector3(0.0f, 0.0f, -1.0f)));
    EXPECT_NEAR(side.det(), 1.0f, kTol);
}

TEST(Matrix44Test, ComponentSetters)
{
    matrix44 m;
    m.set_x_component(vector3(1.0f, 2.0f, 3.0f));
    m.set_pos_component(vector3(7.0f, 8.0f, 9.0f));
    EXPECT_EQ(m.x_component(), vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(m.m[0][3], 0.0f);
    EXPECT_EQ(m.pos_component(), vector3(7.0f, 8.0f, 9.0f));
    EXPECT_EQ(m.m[3][3], 1.0f);

    const matrix44 rows(vector4(1, 2, 3, 4), vector4(5, 6, 7, 8), vector4(9, 10, 11, 12), vector4(13, 14, 15, 16));
    EXPECT_EQ(rows.m[2][3], 12.0f);
    EXPECT_EQ(rows.m[3][0], 13.0f);
}
