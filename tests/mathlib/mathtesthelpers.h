#ifndef N_TEST_MATHTESTHELPERS_H
#define N_TEST_MATHTESTHELPERS_H
//------------------------------------------------------------------------------
/**
    Near-equality checks for the math types, printing both sides on
    failure.
*/
#include <gtest/gtest.h>
#include "mathlib/vector.h"
#include "mathlib/matrix.h"
#include "mathlib/quaternion.h"

/// tolerance of the single-precision comparisons
const float kTol = 1.0e-5f;

inline ::testing::AssertionResult
NearVec(const vector3& a, const vector3& b, float tol = kTol)
{
    if (a.isequal(b, tol))
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

inline ::testing::AssertionResult
NearMat(const matrix44& a, const matrix44& b, float tol = kTol)
{
    if (a.isequal(b, tol))
    {
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult r = ::testing::AssertionFailure();
    for (int i = 0; i < 4; i++)
    {
        r << "\n[" << a.m[i][0] << " " << a.m[i][1] << " " << a.m[i][2] << " " << a.m[i][3] << "]  vs  ["
          << b.m[i][0] << " " << b.m[i][1] << " " << b.m[i][2] << " " << b.m[i][3] << "]";
    }
    return r;
}

inline ::testing::AssertionResult
NearQuat(const quaternion& a, const quaternion& b, float tol = kTol)
{
    if (a.isequal(b, tol))
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ", " << b.w << ")";
}

#endif
