#ifndef N_MATRIX44_H
#define N_MATRIX44_H
//------------------------------------------------------------------------------
/**
    @class matrix44
    @ingroup Math

    A 4x4 float matrix, row-major, the identity by default. Points are row
    vectors multiplied from the left: (x, y, z) goes to x x row 0 + y x
    row 1 + z x row 2 + row 3, so rows 0 to 2 are the images of the axes
    and row 3 (elements 12, 13, 14) is the translation. 'm * v' is written
    for that product.

    rotate_x/y/z, scale and translate multiply from the right, so each acts
    after everything the matrix did before: starting from the identity,
    scale, then rotate, then translate gives the usual placement.
*/
#include "mathlib/nmath.h"
#include "mathlib/matrixn.h"
#include "mathlib/vector3.h"
#include "mathlib/vector4.h"
#include "mathlib/quaternion.h"
#include "mathlib/matrix33.h"

class matrix44
{
public:
    /// the identity
    matrix44();
    /// a matrix from its elements, row by row
    matrix44(float m11, float m12, float m13, float m14,
             float m21, float m22, float m23, float m24,
             float m31, float m32, float m33, float m34,
             float m41, float m42, float m43, float m44);
    /// a matrix from its rows
    matrix44(const vector4& row0, const vector4& row1, const vector4& row2, const vector4& row3);
    /// the rotation of a unit quaternion, without translation
    explicit matrix44(const quaternion& q);
    /// a 3x3 matrix in the upper left of the identity
    explicit matrix44(const matrix33& m33);

    /// set the elements, row by row
    void set(float m11, float m12, float m13, float m14,
             float m21, float m22, float m23, float m24,
             float m31, float m32, float m33, float m34,
             float m41, float m42, float m43, float m44);
    /// set the rows
    void set(const vector4& row0, const vector4& row1, const vector4& row2, const vector4& row3);
    /// make this the rotation of a unit quaternion, without translation
    void set(const quaternion& q);
    /// make this the identity
    void ident();
    /// swap rows and columns
    void transpose();
    /// the determinant
    float det() const;
    /// invert a general matrix
    bool invert();
    /// invert a matrix made of a 3x3 part and a translation
    bool invert_simple();
    /// then rotate about the x axis by a radians
    void rotate_x(float a);
    /// then rotate about the y axis by a radians
    void rotate_y(float a);
    /// then rotate about the z axis by a radians
    void rotate_z(float a);
    /// then scale the axes by s
    void scale(const vector3& s);
    /// then translate by t
    void translate(const vector3& t);
    /// this = this x m1, for two affine matrices
    void mult_simple(const matrix44& m1);
    /// turn the axes so that z points from 'to' back toward the position
    void lookat(const vector3& to, const vector3& up);
    /// a point transformed with the divide by w
    vector3 transform_coord(const vector3& v) const;
    /// a direction transformed by the 3x3 part only (no translation)
    vector3 transform_normal(const vector3& v) const;
    /// the rotation of this matrix's 3x3 part as a quaternion
    quaternion get_quaternion() const;
    /// whether every element differs from m1's by at most tol
    bool isequal(const matrix44& m1, float tol) const;

    /// row 0, the image of the x axis
    vector3 x_component() const;
    /// row 1, the image of the y axis
    vector3 y_component() const;
    /// row 2, the image of the z axis
    vector3 z_component() const;
    /// row 3, the translation
    vector3 pos_component() const;
    /// replace the first three elements of row 0
    void set_x_component(const vector3& v);
    /// replace the first three elements of row 1
    void set_y_component(const vector3& v);
    /// replace the first three elements of row 2
    void set_z_component(const vector3& v);
    /// replace the translation
    void set_pos_component(const vector3& v);

    matrix44& operator*=(const matrix44& m1);

    float m[4][4];

private:
    /// the 2x2 minors of the upper and the lower two rows
    struct minors
    {
        float s[6];
        float c[6];
        /// the determinant they expand to
        float det() const
        {
            return (s[0] * c[5]) - (s[1] * c[4]) + (s[2] * c[3]) + (s[3] * c[2]) - (s[4] * c[1]) + (s[5] * c[0]);
        }
    };
    minors get_minors() const;
    /// the first three elements of a row
    vector3 row3(int r) const;
    /// replace the first three elements of a row
    void set_row3(int r, const vector3& v);
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix44::matrix44()
{
    this->ident();
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix44::matrix44(float m11, float m12, float m13, float m14,
                   float m21, float m22, float m23, float m24,
                   float m31, float m32, float m33, float m34,
                   float m41, float m42, float m43, float m44)
{
    this->set(m11, m12, m13, m14, m21, m22, m23, m24, m31, m32, m33, m34, m41, m42, m43, m44);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix44::matrix44(const vector4& row0, const vector4& row1, const vector4& row2, const vector4& row3)
{
    this->set(row0, row1, row2, row3);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix44::matrix44(const quaternion& q)
{
    this->set(q);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
matrix44::matrix44(const matrix33& m33)
{
    this->ident();
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++)
        {
            this->m[r][c] = m33.m[r][c];
        }
    }
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces all sixteen elements.
*/
inline
void
matrix44::set(float m11, float m12, float m13, float m14,
              float m21, float m22, float m23, float m24,
              float m31, float m32, float m33, float m34,
              float m41, float m42, float m43, float m44)
{
    this->m[0][0] = m11; this->m[0][1] = m12; this->m[0][2] = m13; this->m[0][3] = m14;
    this->m[1][0] = m21; this->m[1][1] = m22; this->m[1][2] = m23; this->m[1][3] = m24;
    this->m[2][0] = m31; this->m[2][1] = m32; this->m[2][2] = m33; this->m[2][3] = m34;
    this->m[3][0] = m41; this->m[3][1] = m42; this->m[3][2] = m43; this->m[3][3] = m44;
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces the four rows.
*/
inline
void
matrix44::set(const vector4& row0, const vector4& row1, const vector4& row2, const vector4& row3)
{
    this->set(row0.x, row0.y, row0.z, row0.w,
              row1.x, row1.y, row1.z, row1.w,
              row2.x, row2.y, row2.z, row2.w,
              row3.x, row3.y, row3.z, row3.w);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: becomes the rotation matrix of the unit quaternion q
    (as matrix33 builds it) with zero translation.
*/
inline
void
matrix44::set(const quaternion& q)
{
    *this = matrix44(matrix33(q));
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: becomes the identity.
*/
inline
void
matrix44::ident()
{
    this->set(1.0f, 0.0f, 0.0f, 0.0f,
              0.0f, 1.0f, 0.0f, 0.0f,
              0.0f, 0.0f, 1.0f, 0.0f,
              0.0f, 0.0f, 0.0f, 1.0f);
}

//------------------------------------------------------------------------------
/**
    Results: none; isequal: true when every element is within tol of m1's.
    Side effects: transpose swaps elements (r, c) and (c, r). The rotations
    make this this x R(a): rotate_x turns y toward z, rotate_y z toward x,
    rotate_z x toward y. scale makes this this x S: the x, y and z columns
    are multiplied by s.x, s.y and s.z.
    The translation row turns and scales as well.
*/
inline void matrix44::transpose() { matrixn<4>::transpose(this->m); }
inline void matrix44::rotate_x(float a) { matrixn<4>::rotate(this->m, 1, 2, a); }
inline void matrix44::rotate_y(float a) { matrixn<4>::rotate(this->m, 2, 0, a); }
inline void matrix44::rotate_z(float a) { matrixn<4>::rotate(this->m, 0, 1, a); }
inline void matrix44::scale(const vector3& s) { matrixn<4>::scale(this->m, s); }
inline bool matrix44::isequal(const matrix44& m1, float tol) const { return matrixn<4>::isequal(this->m, m1.m, tol); }

//------------------------------------------------------------------------------
/**
    Results: the 2x2 minors of the upper two rows (s) and of the lower two
    (c), from which det and invert expand the matrix. Side effects: none.
*/
inline
matrix44::minors
matrix44::get_minors() const
{
    const float (*a)[4] = this->m;
    minors n;
    n.s[0] = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    n.s[1] = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    n.s[2] = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    n.s[3] = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    n.s[4] = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    n.s[5] = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    n.c[5] = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    n.c[4] = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    n.c[3] = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    n.c[2] = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    n.c[1] = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    n.c[0] = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    return n;
}

//------------------------------------------------------------------------------
/**
    Results: the determinant, expanded over 2x2 minors of the upper and the
    lower two rows. Side effects: none.
*/
inline
float
matrix44::det() const
{
    return this->get_minors().det();
}

//------------------------------------------------------------------------------
/**
    Results: true when the matrix was inverted; false when its determinant
    is 0, in which case it is left unchanged.
    Side effects: becomes its inverse, the adjugate (transposed cofactors,
    built from 2x2 minors) divided by the determinant.
*/
inline
bool
matrix44::invert()
{
    const float (*a)[4] = this->m;
    const minors mn = this->get_minors();
    const float* s = mn.s;
    const float* c = mn.c;
    const float d = mn.det();
    if (0.0f == d)
    {
        return false;
    }
    const float i = 1.0f / d;
    const matrix44 inv(
        ( a[1][1] * c[5] - a[1][2] * c[4] + a[1][3] * c[3]) * i,
        (-a[0][1] * c[5] + a[0][2] * c[4] - a[0][3] * c[3]) * i,
        ( a[3][1] * s[5] - a[3][2] * s[4] + a[3][3] * s[3]) * i,
        (-a[2][1] * s[5] + a[2][2] * s[4] - a[2][3] * s[3]) * i,

        (-a[1][0] * c[5] + a[1][2] * c[2] - a[1][3] * c[1]) * i,
        ( a[0][0] * c[5] - a[0][2] * c[2] + a[0][3] * c[1]) * i,
        (-a[3][0] * s[5] + a[3][2] * s[2] - a[3][3] * s[1]) * i,
        ( a[2][0] * s[5] - a[2][2] * s[2] + a[2][3] * s[1]) * i,

        ( a[1][0] * c[4] - a[1][1] * c[2] + a[1][3] * c[0]) * i,
        (-a[0][0] * c[4] + a[0][1] * c[2] - a[0][3] * c[0]) * i,
        ( a[3][0] * s[4] - a[3][1] * s[2] + a[3][3] * s[0]) * i,
        (-a[2][0] * s[4] + a[2][1] * s[2] - a[2][3] * s[0]) * i,

        (-a[1][0] * c[3] + a[1][1] * c[1] - a[1][2] * c[0]) * i,
        ( a[0][0] * c[3] - a[0][1] * c[1] + a[0][2] * c[0]) * i,
        (-a[3][0] * s[3] + a[3][1] * s[1] - a[3][2] * s[0]) * i,
        ( a[2][0] * s[3] - a[2][1] * s[1] + a[2][2] * s[0]) * i);
    *this = inv;
    return true;
}

//------------------------------------------------------------------------------
/**
    Results: true when the matrix was inverted; false when its 3x3 part has
    determinant 0, in which case it is left unchanged.
    Side effects: treats the matrix as a 3x3 part A plus the translation t
    (the last column is ignored): it becomes A^-1 with the translation
    -t x A^-1 and the last column (0, 0, 0, 1). Cheaper than invert for the
    world and camera matrices, which are all of that form.
*/
inline
bool
matrix44::invert_simple()
{
    const matrix33 a(this->x_component(), this->y_component(), this->z_component());
    const float d = a.det();
    if (0.0f == d)
    {
        return false;
    }
    const float i = 1.0f / d;
    const float (*e)[3] = a.m;
    const matrix33 inv(
        (e[1][1] * e[2][2] - e[1][2] * e[2][1]) * i,
        (e[0][2] * e[2][1] - e[0][1] * e[2][2]) * i,
        (e[0][1] * e[1][2] - e[0][2] * e[1][1]) * i,
        (e[1][2] * e[2][0] - e[1][0] * e[2][2]) * i,
        (e[0][0] * e[2][2] - e[0][2] * e[2][0]) * i,
        (e[0][2] * e[1][0] - e[0][0] * e[1][2]) * i,
        (e[1][0] * e[2][1] - e[1][1] * e[2][0]) * i,
        (e[0][1] * e[2][0] - e[0][0] * e[2][1]) * i,
        (e[0][0] * e[1][1] - e[0][1] * e[1][0]) * i);
    const vector3 t = -(inv * this->pos_component());
    *this = matrix44(inv);
    this->set_pos_component(t);
    return true;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: this becomes this x T; for an affine matrix that adds t
    to the translation row.
*/
inline
void
matrix44::translate(const vector3& t)
{
    for (int r = 0; r < 4; r++)
    {
        this->m[r][0] += this->m[r][3] * t.x;
        this->m[r][1] += this->m[r][3] * t.y;
        this->m[r][2] += this->m[r][3] * t.z;
    }
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: this becomes the product this x m1 of the two matrices
    taken as affine (last columns ignored); the last column becomes
    (0, 0, 0, 1).
*/
inline
void
matrix44::mult_simple(const matrix44& m1)
{
    matrix44 p;
    for (int r = 0; r < 4; r++)
    {
        for (int c = 0; c < 3; c++)
        {
            p.m[r][c] = (this->m[r][0] * m1.m[0][c]) + (this->m[r][1] * m1.m[1][c]) + (this->m[r][2] * m1.m[2][c]);
        }
    }
    p.m[3][0] += m1.m[3][0];
    p.m[3][1] += m1.m[3][1];
    p.m[3][2] += m1.m[3][2];
    *this = p;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: keeps the translation and replaces the axes by an
    orthonormal right-handed set whose z axis points from 'to' toward the
    position (a camera placed this way looks down its -z axis at 'to')
    and whose y axis lies in the plane of z and up. Nothing changes when
    'to' is the position or up is parallel to the viewing direction.
*/
inline
void
matrix44::lookat(const vector3& to, const vector3& up)
{
    vector3 zAxis = this->pos_component() - to;
    vector3 xAxis = up * zAxis;
    if ((0.0f == zAxis.lensquared()) || (0.0f == xAxis.lensquared()))
    {
        return;
    }
    zAxis.norm();
    xAxis.norm();
    const vector3 yAxis = zAxis * xAxis;
    this->set_x_component(xAxis);
    this->set_y_component(yAxis);
    this->set_z_component(zAxis);
}

//------------------------------------------------------------------------------
/**
    Results: the point v (w = 1) transformed and divided by the resulting
    w, as for projections.
    Side effects: none.
*/
inline
vector3
matrix44::transform_coord(const vector3& v) const
{
    const float x = (v.x * this->m[0][0]) + (v.y * this->m[1][0]) + (v.z * this->m[2][0]) + this->m[3][0];
    const float y = (v.x * this->m[0][1]) + (v.y * this->m[1][1]) + (v.z * this->m[2][1]) + this->m[3][1];
    const float z = (v.x * this->m[0][2]) + (v.y * this->m[1][2]) + (v.z * this->m[2][2]) + this->m[3][2];
    const float w = (v.x * this->m[0][3]) + (v.y * this->m[1][3]) + (v.z * this->m[2][3]) + this->m[3][3];
    return vector3(x / w, y / w, z / w);
}

//------------------------------------------------------------------------------
/**
    Results: the direction v transformed by the upper 3x3 part.
    Side effects: none.
*/
inline
vector3
matrix44::transform_normal(const vector3& v) const
{
    return vector3((v.x * this->m[0][0]) + (v.y * this->m[1][0]) + (v.z * this->m[2][0]),
                   (v.x * this->m[0][1]) + (v.y * this->m[1][1]) + (v.z * this->m[2][1]),
                   (v.x * this->m[0][2]) + (v.y * this->m[1][2]) + (v.z * this->m[2][2]));
}

//------------------------------------------------------------------------------
/**
    Results: the quaternion of the upper 3x3 part, which must be a pure
    rotation. Side effects: none.
*/
inline
quaternion
matrix44::get_quaternion() const
{
    return matrix33(this->x_component(), this->y_component(), this->z_component()).get_quaternion();
}

//------------------------------------------------------------------------------
/**
    Results: the first three elements of row r. Side effects: none.
*/
inline
vector3
matrix44::row3(int r) const
{
    return vector3(this->m[r][0], this->m[r][1], this->m[r][2]);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces the first three elements of row r.
*/
inline
void
matrix44::set_row3(int r, const vector3& v)
{
    this->m[r][0] = v.x;
    this->m[r][1] = v.y;
    this->m[r][2] = v.z;
}

//------------------------------------------------------------------------------
/**
    The axes and the translation. Results: the row's first three elements.
    Side effects: the setters replace them and leave the fourth column.
*/
inline vector3 matrix44::x_component() const { return this->row3(0); }
inline vector3 matrix44::y_component() const { return this->row3(1); }
inline vector3 matrix44::z_component() const { return this->row3(2); }
inline vector3 matrix44::pos_component() const { return this->row3(3); }
inline void matrix44::set_x_component(const vector3& v) { this->set_row3(0, v); }
inline void matrix44::set_y_component(const vector3& v) { this->set_row3(1, v); }
inline void matrix44::set_z_component(const vector3& v) { this->set_row3(2, v); }
inline void matrix44::set_pos_component(const vector3& v) { this->set_row3(3, v); }

//------------------------------------------------------------------------------
/**
    Results: the product m0 x m1: transforming by it is transforming by
    m0 and then by m1.
    Side effects: none.
*/
inline
matrix44
operator*(const matrix44& m0, const matrix44& m1)
{
    matrix44 p;
    for (int r = 0; r < 4; r++)
    {
        for (int c = 0; c < 4; c++)
        {
            p.m[r][c] = (m0.m[r][0] * m1.m[0][c]) + (m0.m[r][1] * m1.m[1][c]) +
                        (m0.m[r][2] * m1.m[2][c]) + (m0.m[r][3] * m1.m[3][c]);
        }
    }
    return p;
}

//------------------------------------------------------------------------------
/**
    Results: this matrix. Side effects: this becomes this x m1.
*/
inline
matrix44&
matrix44::operator*=(const matrix44& m1)
{
    *this = *this * m1;
    return *this;
}

//------------------------------------------------------------------------------
/**
    Results: the point v (w = 1) transformed by m, without the divide by w:
    v.x x row 0 + v.y x row 1 + v.z x row 2 + row 3.
    Side effects: none.
*/
inline
vector3
operator*(const matrix44& m, const vector3& v)
{
    return vector3((v.x * m.m[0][0]) + (v.y * m.m[1][0]) + (v.z * m.m[2][0]) + m.m[3][0],
                   (v.x * m.m[0][1]) + (v.y * m.m[1][1]) + (v.z * m.m[2][1]) + m.m[3][1],
                   (v.x * m.m[0][2]) + (v.y * m.m[1][2]) + (v.z * m.m[2][2]) + m.m[3][2]);
}

//------------------------------------------------------------------------------
/**
    Results: the row vector v transformed by m: v.x x row 0 + v.y x row 1
    + v.z x row 2 + v.w x row 3.
    Side effects: none.
*/
inline
vector4
operator*(const matrix44& m, const vector4& v)
{
    return vector4((v.x * m.m[0][0]) + (v.y * m.m[1][0]) + (v.z * m.m[2][0]) + (v.w * m.m[3][0]),
                   (v.x * m.m[0][1]) + (v.y * m.m[1][1]) + (v.z * m.m[2][1]) + (v.w * m.m[3][1]),
                   (v.x * m.m[0][2]) + (v.y * m.m[1][2]) + (v.z * m.m[2][2]) + (v.w * m.m[3][2]),
                   (v.x * m.m[0][3]) + (v.y * m.m[1][3]) + (v.z * m.m[2][3]) + (v.w * m.m[3][3]));
}

//------------------------------------------------------------------------------
/**
    Results: whether all sixteen elements are exactly equal.
    Side effects: none.
*/
inline
bool
operator==(const matrix44& a, const matrix44& b)
{
    for (int r = 0; r < 4; r++)
    {
        for (int c = 0; c < 4; c++)
        {
            if (a.m[r][c] != b.m[r][c])
            {
                return false;
            }
        }
    }
    return true;
}

inline bool operator!=(const matrix44& a, const matrix44& b) { return !(a == b); }

//------------------------------------------------------------------------------
#endif
