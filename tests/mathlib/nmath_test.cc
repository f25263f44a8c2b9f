//------------------------------------------------------------------------------
//  Tests of the scalar helpers and the random generator.
//------------------------------------------------------------------------------
#include <vector>
#include <gtest/gtest.h>
#include "mathlib/nmath.h"

TEST(nMathTest, AngleConversions)
{
    EXPECT_FLOAT_EQ(n_deg2rad(90.0f), 1.5707964f);
    EXPECT_FLOAT_EQ(n_deg2rad(180.0f), N_PI);
    EXPECT_FLOAT_EQ(n_rad2deg(n_deg2rad(90.0f)), 90.0f);
    EXPECT_FLOAT_EQ(n_rad2deg(-N_PI), -180.0f);
}

TEST(nMathTest, ScalarHelpers)
{
    EXPECT_EQ(n_sqrt(4.0f), 2.0f);
    EXPECT_EQ(n_sqrt(-1.0f), 0.0f);
    EXPECT_EQ(n_abs(-2.5f), 2.5f);
    EXPECT_EQ(n_abs(2.5f), 2.5f);
    EXPECT_EQ(n_clamp(5, 0, 3), 3);
    EXPECT_EQ(n_clamp(-5, 0, 3), 0);
    EXPECT_EQ(n_clamp(2, 0, 3), 2);
    EXPECT_EQ(n_clamp(0.5f, 0.0f, 1.0f), 0.5f);
    EXPECT_EQ(n_saturate(1.5f), 1.0f);
    EXPECT_EQ(n_lerp(2.0f, 4.0f, 0.0f), 2.0f);
    EXPECT_EQ(n_lerp(2.0f, 4.0f, 0.5f), 3.0f);
    EXPECT_EQ(n_lerp(2.0f, 4.0f, 1.0f), 4.0f);
    EXPECT_TRUE(n_fequal(1.0f, 1.25f, 0.25f));
    EXPECT_FALSE(n_fequal(1.0f, 1.5f, 0.25f));
    EXPECT_EQ(n_acos(1.0001f), 0.0f);
    EXPECT_FLOAT_EQ(n_acos(-1.0001f), N_PI);
}

TEST(nMathTest, RandomNumbersCoverZeroToOne)
{
    n_srand(1);
    float lo = 1.0f;
    float hi = 0.0f;
    for (int i = 0; i < 100000; i++)
    {
        const int r = n_rand15();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        const float f = n_rand();
        ASSERT_GE(f, 0.0f);
        ASSERT_LE(f, 1.0f);
        lo = (f < lo) ? f : lo;
        hi = (f > hi) ? f : hi;
    }
    EXPECT_LT(lo, 0.001f);
    EXPECT_GT(hi, 0.999f);
}

TEST(nMathTest, SeedsRepeatTheirSequence)
{
    std::vector<int> first;
    std::vector<int> second;
    std::vector<int> other;
    n_srand(42);
    for (int i = 0; i < 50; i++) first.push_back(n_rand15());
    n_srand(43);
    for (int i = 0; i < 50; i++) other.push_back(n_rand15());
    n_srand(42);
    for (int i = 0; i < 50; i++) second.push_back(n_rand15());
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
}
