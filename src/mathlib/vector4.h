#ifndef N_VECTOR4_H
#define N_VECTOR4_H
//------------------------------------------------------------------------------
/**
    @class vector4
    @ingroup Math

    A four-component float vector, zero by default: homogeneous points,
    colours and shader constants.
*/
#include "mathlib/nmath.h"
#include "mathlib/vector3.h"

class vector4
{
public:
    /// the zero vector
    vector4() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}
    /// a vector from components
    vector4(float _x, float _y, float _z, float _w) : x(_x), y(_y), z(_z), w(_w) {}
    /// a vector3 with a w component
    vector4(const vector3& v, float _w) : x(v.x), y(v.y), z(v.z), w(_w) {}

    /// set the components
    void set(float _x, float _y, float _z, float _w);
    /// the x, y and z components
    vector3 xyz() const;
    /// the length over all four components
    float len() const;
    /// scale to length 1 (the zero vector stays zero)
    void norm();
    /// whether every component differs from v's by at most tol
    bool isequal(const vector4& v, float tol) const;
    /// move toward v by the fraction t
    void lerp(const vector4& v, float t);

    vector4& operator+=(const vector4& v) { this->x += v.x; this->y += v.y; this->z += v.z; this->w += v.w; return *this; }
    vector4& operator-=(const vector4& v) { this->x -= v.x; this->y -= v.y; this->z -= v.z; this->w -= v.w; return *this; }
    vector4& operator*=(float s) { this->x *= s; this->y *= s; this->z *= s; this->w *= s; return *this; }

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
vector4::set(float _x, float _y, float _z, float _w)
{
    this->x = _x;
    this->y = _y;
    this->z = _z;
    this->w = _w;
}

//------------------------------------------------------------------------------
/**
    Results: the first three components. Side effects: none.
*/
inline
vector3
vector4::xyz() const
{
    return vector3(this->x, this->y, this->z);
}

//------------------------------------------------------------------------------
/**
    Results: the Euclidean length over four components. Side effects: none.
*/
inline
float
vector4::len() const
{
    return n_sqrt((this->x * this->x) + (this->y * this->y) + (this->z * this->z) + (this->w * this->w));
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the vector gets length 1; the zero vector stays zero.
*/
inline
void
vector4::norm()
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
    Results: true when every component differs from v's by at most tol.
    Side effects: none.
*/
inline
bool
vector4::isequal(const vector4& v, float tol) const
{
    return n_fequal(this->x, v.x, tol) && n_fequal(this->y, v.y, tol) &&
           n_fequal(this->z, v.z, tol) && n_fequal(this->w, v.w, tol);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: this becomes this + (v - this) x t.
*/
inline
void
vector4::lerp(const vector4& v, float t)
{
    this->x = n_lerp(this->x, v.x, t);
    this->y = n_lerp(this->y, v.y, t);
    this->z = n_lerp(this->z, v.z, t);
    this->w = n_lerp(this->w, v.w, t);
}

//------------------------------------------------------------------------------
inline vector4 operator+(const vector4& a, const vector4& b) { return vector4(a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w); }
inline vector4 operator-(const vector4& a, const vector4& b) { return vector4(a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w); }
inline vector4 operator-(const vector4& a) { return vector4(-a.x, -a.y, -a.z, -a.w); }
inline vector4 operator*(const vector4& a, float s) { return vector4(a.x * s, a.y * s, a.z * s, a.w * s); }
inline vector4 operator*(float s, const vector4& a) { return vector4(a.x * s, a.y * s, a.z * s, a.w * s); }
/// dot product over four components
inline float operator%(const vector4& a, const vector4& b) { return (a.x * b.x) + (a.y * b.y) + (a.z * b.z) + (a.w * b.w); }
/// exact comparison; use isequal for a tolerance
inline bool operator==(const vector4& a, const vector4& b) { return (a.x == b.x) && (a.y == b.y) && (a.z == b.z) && (a.w == b.w); }
inline bool operator!=(const vector4& a, const vector4& b) { return !(a == b); }

//------------------------------------------------------------------------------
#endif
