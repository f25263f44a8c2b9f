#ifndef N_VECTOR2_H
#define N_VECTOR2_H
//------------------------------------------------------------------------------
/**
    @class vector2
    @ingroup Math

    A two-component float vector, zero by default.
*/
#include "mathlib/nmath.h"

class vector2
{
public:
    /// the zero vector
    vector2() : x(0.0f), y(0.0f) {}
    /// a vector from components
    vector2(float _x, float _y) : x(_x), y(_y) {}

    /// set the components
    void set(float _x, float _y);
    /// the length
    float len() const;
    /// scale to length 1 (the zero vector stays zero)
    void norm();
    /// whether every component differs from v's by at most tol
    bool isequal(const vector2& v, float tol) const;
    /// move toward v by the fraction t
    void lerp(const vector2& v, float t);

    vector2& operator+=(const vector2& v) { this->x += v.x; this->y += v.y; return *this; }
    vector2& operator-=(const vector2& v) { this->x -= v.x; this->y -= v.y; return *this; }
    vector2& operator*=(float s) { this->x *= s; this->y *= s; return *this; }
    vector2& operator/=(float s) { this->x /= s; this->y /= s; return *this; }

    float x;
    float y;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces the components.
*/
inline
void
vector2::set(float _x, float _y)
{
    this->x = _x;
    this->y = _y;
}

//------------------------------------------------------------------------------
/**
    Results: the Euclidean length. Side effects: none.
*/
inline
float
vector2::len() const
{
    return n_sqrt((this->x * this->x) + (this->y * this->y));
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the vector gets length 1 and keeps its direction; the
    zero vector has no direction and stays as it is.
*/
inline
void
vector2::norm()
{
    const float l = this->len();
    if (l > 0.0f)
    {
        this->x /= l;
        this->y /= l;
    }
}

//------------------------------------------------------------------------------
/**
    Results: true when both components are within tol of v's.
    Side effects: none.
*/
inline
bool
vector2::isequal(const vector2& v, float tol) const
{
    return n_fequal(this->x, v.x, tol) && n_fequal(this->y, v.y, tol);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: this becomes this + (v - this) x t.
*/
inline
void
vector2::lerp(const vector2& v, float t)
{
    this->x = n_lerp(this->x, v.x, t);
    this->y = n_lerp(this->y, v.y, t);
}

//------------------------------------------------------------------------------
inline vector2 operator+(const vector2& a, const vector2& b) { return vector2(a.x + b.x, a.y + b.y); }
inline vector2 operator-(const vector2& a, const vector2& b) { return vector2(a.x - b.x, a.y - b.y); }
inline vector2 operator-(const vector2& a) { return vector2(-a.x, -a.y); }
inline vector2 operator*(const vector2& a, float s) { return vector2(a.x * s, a.y * s); }
inline vector2 operator*(float s, const vector2& a) { return vector2(a.x * s, a.y * s); }
inline vector2 operator/(const vector2& a, float s) { return vector2(a.x / s, a.y / s); }
/// dot product
inline float operator%(const vector2& a, const vector2& b) { return (a.x * b.x) + (a.y * b.y); }
/// exact comparison; use isequal for a tolerance
inline bool operator==(const vector2& a, const vector2& b) { return (a.x == b.x) && (a.y == b.y); }
inline bool operator!=(const vector2& a, const vector2& b) { return !(a == b); }

//------------------------------------------------------------------------------
#endif
