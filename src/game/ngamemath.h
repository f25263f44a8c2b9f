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

/// the share of a remaining gap closed in one frame of a relaxation; never
/// more than all of it, so a long frame cannot overshoot and diverge
inline float n_relax(float rate, float dt)
{
    const float f = rate * dt;
    return f < 1.0f ? (f > 0.0f ? f : 0.0f) : 1.0f;
}
#endif
