#ifndef N_MATH_H
#define N_MATH_H
//------------------------------------------------------------------------------
/**
    @file nmath.h
    @ingroup Math

    Scalar helpers shared by the math types, and the engine's own random
    number generator.
*/
#include <cmath>

#ifndef N_PI
#define N_PI (3.14159265358979323846f)
#endif

//------------------------------------------------------------------------------
/**
    Results: the angle d (degrees) in radians. Side effects: none.
*/
inline
float
n_deg2rad(float d)
{
    return (d * N_PI) / 180.0f;
}

//------------------------------------------------------------------------------
/**
    Results: the angle r (radians) in degrees. Side effects: none.
*/
inline
float
n_rad2deg(float r)
{
    return (r * 180.0f) / N_PI;
}

//------------------------------------------------------------------------------
/**
    Results: the square root of x; a negative x, which rounding can produce
    where 0 was meant, is taken as 0. Side effects: none.
*/
inline
float
n_sqrt(float x)
{
    if (x < 0.0f)
    {
        x = 0.0f;
    }
    return sqrtf(x);
}

//------------------------------------------------------------------------------
/**
    Results: the absolute value of a. Side effects: none.
*/
inline
float
n_abs(float a)
{
    return (a < 0.0f) ? -a : a;
}

//------------------------------------------------------------------------------
/**
    Results: val limited to the range lower..upper. Side effects: none.
*/
template<class TYPE>
inline
TYPE
n_clamp(TYPE val, TYPE lower, TYPE upper)
{
    if (val < lower)
    {
        return lower;
    }
    if (val > upper)
    {
        return upper;
    }
    return val;
}

//------------------------------------------------------------------------------
/**
    Results: val limited to 0..1. Side effects: none.
*/
inline
float
n_saturate(float val)
{
    return n_clamp(val, 0.0f, 1.0f);
}

//------------------------------------------------------------------------------
/**
    Results: the linear blend of a and b, a at t = 0 and b at t = 1.
    Side effects: none.
*/
inline
float
n_lerp(float a, float b, float t)
{
    return a + ((b - a) * t);
}

//------------------------------------------------------------------------------
/**
    Results: whether a and b differ by at most tol. Side effects: none.
*/
inline
bool
n_fequal(float a, float b, float tol)
{
    return n_abs(a - b) <= tol;
}

//------------------------------------------------------------------------------
/**
    Results: the arc cosine of x, with x first clamped to -1..1 so that a
    rounding error just outside the range gives 0 or pi rather than NaN.
    Side effects: none.
*/
inline
float
n_acos(float x)
{
    return acosf(n_clamp(x, -1.0f, 1.0f));
}

//------------------------------------------------------------------------------
/**
    The generator's state. One per program, like the C library's, but of
    our own so that its range (15 bits) and sequence are the same on every
    platform.
*/
inline unsigned int n_randState = 1;

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: restarts the random sequence; equal seeds give equal
    sequences.
*/
inline
void
n_srand(unsigned int seed)
{
    n_randState = seed;
}

//------------------------------------------------------------------------------
/**
    Results: the next number of the sequence, from 0 to 32767.
    Side effects: advances the generator (a linear congruential one whose
    upper bits are used, the lower ones of such a generator being poor).
*/
inline
int
n_rand15()
{
    n_randState = (n_randState * 1103515245u) + 12345u;
    return (int) ((n_randState >> 16) & 0x7fff);
}

//------------------------------------------------------------------------------
/**
    Results: a random float from 0 to 1, both ends included.
    Side effects: advances the generator.
*/
inline
float
n_rand()
{
    return float(n_rand15()) / 32767.0f;
}

//------------------------------------------------------------------------------
#endif
