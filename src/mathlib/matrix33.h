#ifndef N_MATRIX33_H
#define N_MATRIX33_H
//------------------------------------------------------------------------------
/**
    @class matrix33
    @ingroup Math

    A 3x3 float matrix, row-major, the identity by default. Vectors are
    rows multiplied from the left, so the rows are the images of the x, y
    and z axes; 'm * v' is written for that product (v as a row, times m).
    The rotate_ and scale operations multiply from the right, so each one
    acts after everything the matrix did before.
*/
#include "mathlib/nmath.h"
#include "mathlib/matrixn.h"
#include "mathlib/vector3.h"
#include "mathlib/quaternion.h"

class matrix33
{
public:
    /// the identity
    matrix33();
    /// a matrix from its elements, row by row
    matrix33(float m11, float m12, float m13,
             float m21, float m22, float m23,
             float m31, float m32, float m33);
    /// a matrix from its rows
    matrix33(const vector3& row0, const vector3& row1, const vector3& row2);
    /// the rotation of a unit quaternion
    explicit matrix33(const quaternion& q);

    /// set the elements, row by row
    void set(float m11, float m12, float m13,
             float m21, float m22, float m23,
             float m31, float m32, float m33);
    /// make this the rotation of a unit quaternion
    void set(const quaternion& q);
    /// make this the identity
    void ident();
    /// swap rows and columns
    void transpose();
    /// the determinant
    float det() const;
    /// then rotate about the x axis by a radians
    void rotate_x(float a);
    /// then rotate about the y axis by a radians
    void rotate_y(float a);
    /// then rotate about the z axis by a radians
    void rotate_z(float a);
    /// then scale the axes by s
    void scale(const vector3& s);
    /// the image of the x axis (row 0)
    vector3 x_component() const;
    /// the image of the y axis (row 1)
    vector3 y_component() const;
    /// the image of the z axis (row 2)
    vector3 z_component() const;
    /// the rotation of this orthonormal matrix as a quaternion
    quaternion get_quaternion() const;
    /// whether every element differs from m1's by at most tol
    bool isequal(const matrix33& m1, float tol) const;

    float m[3][3];
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix33::matrix33()
{
    this->ident();
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix33::matrix33(float m11, float m12, float m13,
                   float m21, float m22, float m23,
                   float m31, float m32, float m33)
{
    this->set(m11, m12, m13, m21, m22, m23, m31, m32, m33);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix33::matrix33(const vector3& row0, const vector3& row1, const vector3& row2)
{
    this->set(row0.x, row0.y, row0.z, row1.x, row1.y, row1.z, row2.x, row2.y, row2.z);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix33::matrix33(const quaternion& q)
{
    this->set(q);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces all nine elements.
*/
inline
void
matrix33::set(float m11, float m12, float m13,
              float m21, float m22, float m23,
              float m31, float m32, float m33)
{
    this->m[0][0] = m11; this->m[0][1] = m12; this->m[0][2] = m13;
    this->m[1][0] = m21; this->m[1][1] = m22; this->m[1][2] = m23;
    this->m[2][0] = m31; this->m[2][1] = m32; this->m[2][2] = m33;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: becomes the usual rotation matrix of the unit quaternion
    q, written for row vectors (the transpose of the column-vector form).
*/
inline
void
matrix33::set(const quaternion& q)
{
    const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    this->set(1.0f - 2.0f * (yy + zz), 2.0f * (xy + wz), 2.0f * (xz - wy),
              2.0f * (xy - wz), 1.0f - 2.0f * (xx + zz), 2.0f * (yz + wx),
              2.0f * (xz + wy), 2.0f * (yz - wx), 1.0f - 2.0f * (xx + yy));
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: becomes the identity.
*/
inline
void
matrix33::ident()
{
    this->set(1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f);
}

//------------------------------------------------------------------------------
/**
    Results: none; isequal: true when every element is within tol of m1's.
    Side effects: transpose swaps elements (r, c) and (c, r). The rotations
    make this this x R(a): rotate_x turns y toward z, rotate_y z toward x,
    rotate_z x toward y. scale makes this this x S: the x, y and z columns
    are multiplied by s.x, s.y and s.z.
*/
inline void matrix33::transpose() { matrixn<3>::transpose(this->m); }
inline void matrix33::rotate_x(float a) { matrixn<3>::rotate(this->m, 1, 2, a); }
inline void matrix33::rotate_y(float a) { matrixn<3>::rotate(this->m, 2, 0, a); }
inline void matrix33::rotate_z(float a) { matrixn<3>::rotate(this->m, 0, 1, a); }
inline void matrix33::scale(const vector3& s) { matrixn<3>::scale(this->m, s); }
inline bool matrix33::isequal(const matrix33& m1, float tol) const { return matrixn<3>::isequal(this->m, m1.m, tol); }

//------------------------------------------------------------------------------
/**
    Results: the determinant. Side effects: none.
*/
inline
float
matrix33::det() const
{
    return this->m[0][0] * ((this->m[1][1] * this->m[2][2]) - (this->m[1][2] * this->m[2][1])) -
           this->m[0][1] * ((this->m[1][0] * this->m[2][2]) - (this->m[1][2] * this->m[2][0])) +
           this->m[0][2] * ((this->m[1][0] * this->m[2][1]) - (this->m[1][1] * this->m[2][0]));
}

//------------------------------------------------------------------------------
/**
    Results: row 0, row 1 and row 2. Side effects: none.
*/
inline vector3 matrix33::x_component() const { return vector3(this->m[0][0], this->m[0][1], this->m[0][2]); }
inline vector3 matrix33::y_component() const { return vector3(this->m[1][0], this->m[1][1], this->m[1][2]); }
inline vector3 matrix33::z_component() const { return vector3(this->m[2][0], this->m[2][1], this->m[2][2]); }

//------------------------------------------------------------------------------
/**
    Results: the unit quaternion whose matrix this is (the matrix must be
    a pure rotation). The largest of the four components is derived from
    the diagonal first, to keep the division well away from 0.
    Side effects: none.
*/
inline
quaternion
matrix33::get_quaternion() const
{
    const float trace = this->m[0][0] + this->m[1][1] + this->m[2][2];
    quaternion q;
    if (trace > 0.0f)
    {
        const float s = 2.0f * n_sqrt(trace + 1.0f);
        q.set((this->m[1][2] - this->m[2][1]) / s, (this->m[2][0] - this->m[0][2]) / s,
              (this->m[0][1] - this->m[1][0]) / s, 0.25f * s);
    }
    else if ((this->m[0][0] > this->m[1][1]) && (this->m[0][0] > this->m[2][2]))
    {
        const float s = 2.0f * n_sqrt(1.0f + this->m[0][0] - this->m[1][1] - this->m[2][2]);
        q.set(0.25f * s, (this->m[0][1] + this->m[1][0]) / s,
              (this->m[2][0] + this->m[0][2]) / s, (this->m[1][2] - this->m[2][1]) / s);
    }
    else if (this->m[1][1] > this->m[2][2])
    {
        const float s = 2.0f * n_sqrt(1.0f + this->m[1][1] - this->m[0][0] - this->m[2][2]);
        q.set((this->m[0][1] + this->m[1][0]) / s, 0.25f * s,
              (this->m[1][2] + this->m[2][1]) / s, (this->m[2][0] - this->m[0][2]) / s);
    }
    else
    {
        const float s = 2.0f * n_sqrt(1.0f + this->m[2][2] - this->m[0][0] - this->m[1][1]);
        q.set((this->m[2][0] + this->m[0][2]) / s, (this->m[1][2] + this->m[2][1]) / s,
              0.25f * s, (this->m[0][1] - this->m[1][0]) / s);
    }
    return q;
}

//------------------------------------------------------------------------------
/**
    Results: the product m0 x m1: transforming by it is transforming by
    m0 and then by m1.
    Side effects: none.
*/
inline
matrix33
operator*(const matrix33& m0, const matrix33& m1)
{
    matrix33 p;
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++)
        {
            p.m[r][c] = (m0.m[r][0] * m1.m[0][c]) + (m0.m[r][1] * m1.m[1][c]) + (m0.m[r][2] * m1.m[2][c]);
        }
    }
    return p;
}

//------------------------------------------------------------------------------
/**
    Results: the row vector v transformed by m: v.x x row 0 + v.y x row 1
    + v.z x row 2.
    Side effects: none.
*/
inline
vector3
operator*(const matrix33& m, const vector3& v)
{
    return vector3((v.x * m.m[0][0]) + (v.y * m.m[1][0]) + (v.z * m.m[2][0]),
                   (v.x * m.m[0][1]) + (v.y * m.m[1][1]) + (v.z * m.m[2][1]),
                   (v.x * m.m[0][2]) + (v.y * m.m[1][2]) + (v.z * m.m[2][2]));
}

//------------------------------------------------------------------------------
#endif
