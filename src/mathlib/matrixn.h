#ifndef N_MATRIXN_H
#define N_MATRIXN_H
//------------------------------------------------------------------------------
/**
    @class matrixn
    @ingroup Math

    The element runs matrix33 and matrix44 share, written once over an
    N x N row-major array. Rotations and scaling multiply from the right,
    as both matrix types document: they act on the columns of every row.
*/
#include "mathlib/nmath.h"
#include "mathlib/vector3.h"

template <int N>
class matrixn
{
public:
    using elements = float[N][N];

    /// swap rows and columns
    static void transpose(elements& m);
    /// then rotate by a radians: column 'from' turns toward column 'toward'
    static void rotate(elements& m, int from, int toward, float a);
    /// then scale the x, y and z columns by s
    static void scale(elements& m, const vector3& s);
    /// whether every element of a differs from b's by at most tol
    static bool isequal(const elements& a, const elements& b, float tol);
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: element (r, c) and (c, r) trade places.
*/
template <int N>
inline
void
matrixn<N>::transpose(elements& m)
{
    for (int r = 0; r < N; r++)
    {
        for (int c = r + 1; c < N; c++)
        {
            const float t = m[r][c];
            m[r][c] = m[c][r];
            m[c][r] = t;
        }
    }
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: in every row, the elements f and t of the columns from
    and toward become f cos a - t sin a and f sin a + t cos a.
*/
template <int N>
inline
void
matrixn<N>::rotate(elements& m, int from, int toward, float a)
{
    const float c = cosf(a);
    const float s = sinf(a);
    for (int r = 0; r < N; r++)
    {
        const float f = m[r][from];
        const float t = m[r][toward];
        m[r][from] = (f * c) - (t * s);
        m[r][toward] = (f * s) + (t * c);
    }
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the x, y and z columns are multiplied by s.x, s.y and s.z.
*/
template <int N>
inline
void
matrixn<N>::scale(elements& m, const vector3& s)
{
    for (int r = 0; r < N; r++)
    {
        m[r][0] *= s.x;
        m[r][1] *= s.y;
        m[r][2] *= s.z;
    }
}

//------------------------------------------------------------------------------
/**
    Results: true when every element is within tol of the other's.
    Side effects: none.
*/
template <int N>
inline
bool
matrixn<N>::isequal(const elements& a, const elements& b, float tol)
{
    for (int r = 0; r < N; r++)
    {
        for (int c = 0; c < N; c++)
        {
            if (!n_fequal(a[r][c], b[r][c], tol))
            {
                return false;
            }
        }
    }
    return true;
}

//------------------------------------------------------------------------------
#endif
