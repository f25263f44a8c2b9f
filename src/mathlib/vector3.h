#ifndef N_VECTOR3_H
#define N_VECTOR3_H
//------------------------------------------------------------------------------
/**
    @class vector3
    @ingroup Math

    A three-component float vector, zero by default. '%' is the dot
    product and '*' between two vectors the cross product.
*/
#include "mathlib/nmath.h"

class vector3
{
public:
    /// the zero vector
    vector3() : x(0.0f), y(0.0f), z(0.0f) {}
    /// a vector from components
    vector3(float _x, float _y, float _z) : x(_x), y(_y), z(_z) {}

    /// set the components
    void set(float _x, float _y, float _z);
    /// the length
    float len() const;
    /// the squared length
    float lensquared() const;
    /// scale to length 1 (the zero vector stays zero)
    void norm();
    /// whether every component differs from v's by at most tol
    bool isequal(const vector3& v, float tol) const;
    /// move toward v by the fraction t
    void lerp(const vector3& v, float t);
    /// the componentwise minimum with v
    void minimum(const vector3& v);
    /// the componentwise maximum with v
    void maximum(const vector3& v);

    vector3& operator+=(const vector3& v) { this->x += v.x; this->y += v.y; this->z += v.z; return *this; }
    vector3& operator-=(const vector3& v) { this->x -= v.x; this->y -= v.y; this->z -= v.z; return *this; }
    vector3& operator*=(float s) { this->x *= s; this->y *= s; this->z *= s; return *this; }
    vector3& operator/=(float s) { this->x /= s; this->y /= s; this->z /= s; return *this; }

    float x;
    float y;
    float z;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces the components.
*/
inline
void
vector3::set(float _x, float _y, float _z)
{
    this->x = _x;
    this->y = _y;
    this->z = _z;
}

//------------------------------------------------------------------------------
/**
    Results: the Euclidean length. Side effects: none.
*/
inline
float
vector3::len() const
{
    return n_sqrt(this->lensquared());
}

//------------------------------------------------------------------------------
/**
    Results: the squared length, cheaper than len for comparisons.
    Side effects: none.
*/
inline
float
vector3::lensquared() const
{
    return (this->x * this->x) + (this->y * this->y) + (this->z * this->z);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the vector gets length 1 and keeps its direction; the
    zero vector has no direction and stays as it is.
*/
inline
void
vector3::norm()
{
    const float l = this->len();
    if (l > 0.0f)
    {
        this->x /= l;
        this->y /= l;
        this->z /= l;
    }
}

//------------------------------------------------------------------------------
/**
    Results: true when all components are within tol of v's.
    Side effects: none.
*/
inline
bool
vector3::isequal(const vector3& v, float tol) const
{
    return n_fequal(this->x, v.x, tol) && n_fequal(this->y, v.y, tol) && n_fequal(this->z, v.z, tol);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: this becomes this + (v - this) x t.
*/
inline
void
vector3::lerp(const vector3& v, float t)
{
    this->x = n_lerp(this->x, v.x, t);
    this->y = n_lerp(this->y, v.y, t);
    this->z = n_lerp(this->z, v.z, t);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: each component becomes the smaller of its
    own and v's.
*/
inline
void
vector3::minimum(const vector3& v)
{
    if (v.x < this->x) this->x = v.x;
    if (v.y < this->y) this->y = v.y;
    if (v.z < this->z) this->z = v.z;
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: each component becomes the larger of its
    own and v's.
*/
inline
void
vector3::maximum(const vector3& v)
{
    if (v.x > this->x) this->x = v.x;
    if (v.y > this->y) this->y = v.y;
    if (v.z > this->z) this->z = v.z;
}

//------------------------------------------------------------------------------
inline vector3 operator+(const vector3& a, const vector3& b) { return vector3(a.x + b.x, a.y + b.y, a.z + b.z); }
inline vector3 operator-(const vector3& a, const vector3& b) { return vector3(a.x - b.x, a.y - b.y, a.z - b.z); }
inline vector3 operator-(const vector3& a) { return vector3(-a.x, -a.y, -a.z); }
inline vector3 operator*(const vector3& a, float s) { return vector3(a.x * s, a.y * s, a.z * s); }
inline vector3 operator*(float s, const vector3& a) { return vector3(a.x * s, a.y * s, a.z * s); }
inline vector3 operator/(const vector3& a, float s) { return vector3(a.x / s, a.y / s, a.z / s); }
/// dot product
inline float operator%(const vector3& a, const vector3& b) { return (a.x * b.x) + (a.y * b.y) + (a.z * b.z); }
/// cross product (right-handed: x * y = z)
inline vector3 operator*(const vector3& a, const vector3& b)
{
    return vector3((a.y * b.z) - (a.z * b.y), (a.z * b.x) - (a.x * b.z), (a.x * b.y) - (a.y * b.x));
}
/// exact comparison; use isequal for a tolerance
inline bool operator==(const vector3& a, const vector3& b) { return (a.x == b.x) && (a.y == b.y) && (a.z == b.z); }
inline bool operator!=(const vector3& a, const vector3& b) { return !(a == b); }

//------------------------------------------------------------------------------
#endif
