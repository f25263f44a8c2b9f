#ifndef N_TRANSFORM44_H
#define N_TRANSFORM44_H
//------------------------------------------------------------------------------
/**
    @class transform44
    @ingroup Math

    The placement of scene nodes, game objects and cameras: a translation,
    a rotation (either Euler angles or a quaternion, whichever was set
    last), a scale, and the matrix built from them. The matrix is rebuilt
    lazily, the first time it is asked for after a change.
*/
#include "mathlib/nmath.h"
#include "mathlib/vector3.h"
#include "mathlib/quaternion.h"
#include "mathlib/matrix44.h"

class transform44
{
public:
    /// bits of 'flags'
    enum
    {
        Dirty = (1 << 0),     ///< the matrix must be rebuilt
        UseEuler = (1 << 1),  ///< the rotation comes from the Euler angles
    };

    /// the identity placement
    transform44();

    /// set the translation
    void settranslation(const vector3& v);
    /// the translation
    const vector3& gettranslation() const;
    /// set the rotation as Euler angles in radians (selects Euler mode)
    void seteuler(const vector3& v);
    /// the Euler angles in radians
    const vector3& geteuler() const;
    /// set the rotation as a quaternion (selects quaternion mode)
    void setquat(const quaternion& q);
    /// the rotation quaternion
    const quaternion& getquat() const;
    /// set the scale
    void setscale(const vector3& v);
    /// the scale
    const vector3& getscale() const;
    /// the matrix, rebuilt first when something changed
    const matrix44& getmatrix();
    /// whether the rotation comes from the Euler angles
    bool iseuler() const;
    /// whether the matrix is out of date
    bool isdirty() const;
    /// the flag bits
    int getflags() const;

private:
    vector3 translation;
    vector3 euler;
    quaternion quat;
    vector3 scale;
    matrix44 matrix;
    int flags;
};

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: none; no translation or rotation, unit scale, identity
    matrix, no flag set.
*/
inline
transform44::transform44() :
    scale(1.0f, 1.0f, 1.0f),
    flags(0)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: stores v and marks the matrix dirty.
*/
inline
void
transform44::settranslation(const vector3& v)
{
    this->translation = v;
    this->flags |= Dirty;
}

//------------------------------------------------------------------------------
/**
    Results: the translation. Side effects: none.
*/
inline
const vector3&
transform44::gettranslation() const
{
    return this->translation;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: stores the angles, selects Euler mode and marks the
    matrix dirty.
*/
inline
void
transform44::seteuler(const vector3& v)
{
    this->euler = v;
    this->flags |= (Dirty | UseEuler);
}

//------------------------------------------------------------------------------
/**
    Results: the Euler angles in radians. Side effects: none.
*/
inline
const vector3&
transform44::geteuler() const
{
    return this->euler;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: stores q, selects quaternion mode and marks the matrix
    dirty.
*/
inline
void
transform44::setquat(const quaternion& q)
{
    this->quat = q;
    this->flags |= Dirty;
    this->flags &= ~UseEuler;
}

//------------------------------------------------------------------------------
/**
    Results: the rotation quaternion. Side effects: none.
*/
inline
const quaternion&
transform44::getquat() const
{
    return this->quat;
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: stores v and marks the matrix dirty.
*/
inline
void
transform44::setscale(const vector3& v)
{
    this->scale = v;
    this->flags |= Dirty;
}

//------------------------------------------------------------------------------
/**
    Results: the scale. Side effects: none.
*/
inline
const vector3&
transform44::getscale() const
{
    return this->scale;
}

//------------------------------------------------------------------------------
/**
    Results: the placement matrix.
    Side effects: when dirty, the matrix is rebuilt from the identity by
    scaling, then rotating (about x, y and z by the Euler angles in Euler
    mode, else by the quaternion), then translating, so that a point is
    scaled first and moved last; the dirty flag is cleared.
*/
inline
const matrix44&
transform44::getmatrix()
{
    if (this->flags & Dirty)
    {
        this->matrix.ident();
        this->matrix.scale(this->scale);
        if (this->flags & UseEuler)
        {
            this->matrix.rotate_x(this->euler.x);
            this->matrix.rotate_y(this->euler.y);
            this->matrix.rotate_z(this->euler.z);
        }
        else
        {
            this->matrix *= matrix44(this->quat);
        }
        this->matrix.translate(this->translation);
        this->flags &= ~Dirty;
    }
    return this->matrix;
}

//------------------------------------------------------------------------------
/**
    Results: true in Euler mode. Side effects: none.
*/
inline
bool
transform44::iseuler() const
{
    return 0 != (this->flags & UseEuler);
}

//------------------------------------------------------------------------------
/**
    Results: true when the matrix must be rebuilt. Side effects: none.
*/
inline
bool
transform44::isdirty() const
{
    return 0 != (this->flags & Dirty);
}

//------------------------------------------------------------------------------
/**
    Results: the flag bits (Dirty, UseEuler). Side effects: none.
*/
inline
int
transform44::getflags() const
{
    return this->flags;
}

//------------------------------------------------------------------------------
#endif
