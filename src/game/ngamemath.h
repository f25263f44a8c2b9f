#ifndef N_GAMEMATH_H
#define N_GAMEMATH_H
//------------------------------------------------------------------------------
/**
    @file ngamemath.h
    @ingroup Game

    Small vector helpers the boxers and fists share. Every one of them is
    safe for a zero vector or a zero radius: a NaN that reaches ODE's
    geoms ends the program in ODE's own checks, so none may come out.
*/
#include "mathlib/matrix44.h"
#include "mathlib/vector3.h"

#include <cmath>

/// the vector scaled to length 1, or the zero vector for a (near) zero one
inline vector3 n_safenorm(const vector3& v)
{
    const float l = v.len();
    return (l > 1e-6f && std::isfinite(l)) ? v / l : vector3(0.0f, 0.0f, 0.0f);
}

/// the vector turned about the up axis by the yaw, as a placement with that yaw turns it
inline vector3 n_turny(const vector3& v, float yaw)
{
    // the rows of matrix44::rotate_y applied to the vector (z turns toward x)
    const float c = std::cos(yaw);
    const float s = std::sin(yaw);
    return vector3(v.x * c + v.z * s, v.y, v.z * c - v.x * s);
}

/// the vector turned about a unit axis by the angle (right-handed)
inline vector3 n_rotateabout(const vector3& v, const vector3& axis, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return v * c + (axis * v) * s + axis * ((axis % v) * (1.0f - c));
}

/**
    The matrix (points as rows, p x m) that turns the segment from the
    pivot to restEnd about the pivot onto the segment from the pivot to
    end and stretches it along itself to that length: what a limb made
    from its pivot to restEnd needs to reach end. Points across the
    segment keep their distance from it. The identity when either
    segment has no length or a value is not finite.
*/
inline matrix44 n_limbmatrix(const vector3& pivot, const vector3& restEnd, const vector3& end)
{
    matrix44 m;
    const vector3 rest = restEnd - pivot;
    const vector3 want = end - pivot;
    const float restLen = rest.len();
    const float wantLen = want.len();
    if (!(restLen > 1e-4f) || !(wantLen > 1e-4f) || !std::isfinite(restLen) || !std::isfinite(wantLen) ||
        !std::isfinite(pivot.len()))
    {
        return m;
    }
    const vector3 u = rest / restLen;
    const vector3 w = want / wantLen;
    const float stretch = wantLen / restLen;
    const float cosine = u % w;
    vector3 axis = u * w;
    float angle = std::atan2(axis.len(), cosine);
    if (axis.len() > 1e-6f)
    {
        axis = axis / axis.len();
    }
    else if (cosine > 0.0f)
    {
        angle = 0.0f;
    }
    else
    {
        // turned right round: about any axis across the segment
        axis = n_safenorm(u * vector3(1.0f, 0.0f, 0.0f));
        if (axis.len() < 0.5f) axis = n_safenorm(u * vector3(0.0f, 0.0f, 1.0f));
    }
    // each row is the image of a unit vector: stretched along the rest segment, then turned
    const vector3 units[3] = {vector3(1.0f, 0.0f, 0.0f), vector3(0.0f, 1.0f, 0.0f), vector3(0.0f, 0.0f, 1.0f)};
    const float pivotAt[3] = {pivot.x, pivot.y, pivot.z};
    vector3 moved = pivot;
    for (int i = 0; i < 3; i++)
    {
        const vector3 row = n_rotateabout(units[i] + u * ((u % units[i]) * (stretch - 1.0f)), axis, angle);
        m.m[i][0] = row.x;
        m.m[i][1] = row.y;
        m.m[i][2] = row.z;
        m.m[i][3] = 0.0f;
        moved -= row * pivotAt[i];
    }
    m.m[3][0] = moved.x;
    m.m[3][1] = moved.y;
    m.m[3][2] = moved.z;
    m.m[3][3] = 1.0f;
    return m;
}

/// the share of a remaining gap closed in one frame of a relaxation; never
/// more than all of it, so a long frame cannot overshoot and diverge
inline float n_relax(float rate, float dt)
{
    const float f = rate * dt;
    return f < 1.0f ? (f > 0.0f ? f : 0.0f) : 1.0f;
}
#endif
