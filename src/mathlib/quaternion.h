#ifndef N_QUATERNION_H
#define N_QUATERNION_H
//------------------------------------------------------------------------------
/**
    @class quaternion
    @ingroup Math

    A rotation quaternion (x, y, z, w), the identity (0, 0, 0, 1) by
    default. The product a * b is the Hamilton product: it rotates by b
    first and then by a. A positive angle turns counter-clockwise when
    looking down the axis toward the origin, as matrix44's rotate_x/y/z do.
*/
#include "mathlib/nmath.h"
#include "mathlib/vector3.h"

class quaternion
{
public:
    /// the identity rotation
    quaternion() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}
    /// a quaternion from components
    quaternion(float _x, float _y, float _z, float _w) : x(_x), y(_y), z(_z), w(_w) {}

    /// set the components
    void set(float _x, float _y, float _z, float _w);
    /// make this the identity rotation
    void ident();
    /// the rotation by angle (radians) about axis
    void set_rotate_axis_angle(const vector3& axis, float angle);
    /// the length over all four components
    float len() const;
    /// scale to length 1 (the zero quaternion stays zero)
    void norm();
    /// negate the vector part (the inverse rotation of a unit quaternion)
    void conjugate();
    /// whether every component differs from q's by at most tol
    bool isequal(const quaternion& q, float tol) const;
    /// a vector turned by this (unit) rotation
    vector3 rotate(const vector3& v) const;
    /// spherical interpolation between a and b at fraction f
    void slerp(const quaternion& a, const quaternion& b, float f);

    float x;
    float y;
    float z;
    float w;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces the components.
*/
inline
void
quaternion::set(float _x, float _y, float _z, float _w)
{
    this->x = _x;
    this->y = _y;
    this->z = _z;
    this->w = _w;
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: becomes (0, 0, 0, 1).
*/
inline
void
quaternion::ident()
{
    this->set(0.0f, 0.0f, 0.0f, 1.0f);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: becomes the unit rotation by angle radians about axis
    (which need not have length 1; a zero axis gives the identity).
*/
inline
void
quaternion::set_rotate_axis_angle(const vector3& axis, float angle)
{
    vector3 a(axis);
    a.norm();
    const float s = sinf(angle * 0.5f);
    this->set(a.x * s, a.y * s, a.z * s, cosf(angle * 0.5f));
}

//------------------------------------------------------------------------------
/**
    Results: the length over four components. Side effects: none.
*/
inline
float
quaternion::len() const
{
    return n_sqrt((this->x * this->x) + (this->y * this->y) + (this->z * this->z) + (this->w * this->w));
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: scales to length 1 unless zero.
*/
inline
void
quaternion::norm()
{
    const float l = this->len();
    if (l > 0.0f)
    {
        this->x /= l;
        this->y /= l;
        this->z /= l;
        this->w /= l;
    }
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: the vector part changes sign.
*/
inline
void
quaternion::conjugate()
{
    this->x = -this->x;
    this->y = -this->y;
    this->z = -this->z;
}

//------------------------------------------------------------------------------
/**
    Results: true when every component is within tol of q's. Note that q
    and -q are the same rotation but do not compare equal here.
    Side effects: none.
*/
inline
bool
quaternion::isequal(const quaternion& q, float tol) const
{
    return n_fequal(this->x, q.x, tol) && n_fequal(this->y, q.y, tol) &&
           n_fequal(this->z, q.z, tol) && n_fequal(this->w, q.w, tol);
}

//------------------------------------------------------------------------------
/**
    Results: v turned by this rotation (the quaternion must have length 1);
    the same as transforming v by the quaternion's matrix.
    Side effects: none.
*/
inline
vector3
quaternion::rotate(const vector3& v) const
{
    const vector3 u(this->x, this->y, this->z);
    const vector3 t = (u * v) * 2.0f;
    return v + (t * this->w) + (u * t);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: becomes the interpolation of a and b at f along the
    shorter arc (a is negated when the two lie more than half a turn
    apart). Nearly equal rotations blend linearly, where the sine weights
    would divide by almost 0. The result is not normalised.
*/
inline
void
quaternion::slerp(const quaternion& a, const quaternion& b, float f)
{
    float cosine = (a.x * b.x) + (a.y * b.y) + (a.z * b.z) + (a.w * b.w);
    quaternion from(a);
    if (cosine < 0.0f)
    {
        cosine = -cosine;
        from.set(-a.x, -a.y, -a.z, -a.w);
    }
    float w0;
    float w1;
    if ((1.0f - cosine) < 0.05f)
    {
        w0 = 1.0f - f;
        w1 = f;
    }
    else
    {
        const float omega = n_acos(cosine);
        const float sinOmega = sinf(omega);
        w0 = sinf((1.0f - f) * omega) / sinOmega;
        w1 = sinf(f * omega) / sinOmega;
    }
    this->set((w0 * from.x) + (w1 * b.x), (w0 * from.y) + (w1 * b.y),
              (w0 * from.z) + (w1 * b.z), (w0 * from.w) + (w1 * b.w));
}

//------------------------------------------------------------------------------
/**
    Results: the Hamilton product a * b, the rotation by b followed by a.
    Side effects: none.
*/
inline
quaternion
operator*(const quaternion& a, const quaternion& b)
{
    return quaternion((a.w * b.x) + (a.x * b.w) + (a.y * b.z) - (a.z * b.y),
                      (a.w * b.y) - (a.x * b.z) + (a.y * b.w) + (a.z * b.x),
                      (a.w * b.z) + (a.x * b.y) - (a.y * b.x) + (a.z * b.w),
                      (a.w * b.w) - (a.x * b.x) - (a.y * b.y) - (a.z * b.z));
}

/// exact comparison; use isequal for a tolerance
inline bool operator==(const quaternion& a, const quaternion& b)
{
    return (a.x == b.x) && (a.y == b.y) && (a.z == b.z) && (a.w == b.w);
}
inline bool operator!=(const quaternion& a, const quaternion& b) { return !(a == b); }

//------------------------------------------------------------------------------
#endif
