#ifndef N_BBOX_H
#define N_BBOX_H
//------------------------------------------------------------------------------
/**
    @class bbox3
    @ingroup Math

    An axis-aligned box given by its minimum and maximum corner, both the
    zero vector by default. Scripts describe boxes by centre and extents
    (half the size), so those are the constructor's terms.
*/
#include "mathlib/nmath.h"
#include "mathlib/vector3.h"
#include "mathlib/matrix44.h"

class bbox3
{
public:
    /// a box with both corners at the origin
    bbox3() {}
    /// the box from center - extents to center + extents
    bbox3(const vector3& center, const vector3& extents);

    /// make this the box from center - extents to center + extents
    void set(const vector3& center, const vector3& extents);
    /// the middle point
    vector3 center() const;
    /// half the size along each axis
    vector3 extents() const;
    /// the size along each axis
    vector3 size() const;
    /// prepare for a series of extend calls
    void begin_extend();
    /// grow to contain a point
    void extend(const vector3& v);
    /// grow to contain another box
    void extend(const bbox3& box);
    /// make this the box around this box transformed by m
    void transform(const matrix44& m);
    /// whether a point lies inside (faces included)
    bool contains(const vector3& v) const;
    /// whether the two boxes overlap (touching faces count)
    bool intersects(const bbox3& box) const;
    /// one of the eight corners, bit 0 of i choosing max x, bit 1 max y, bit 2 max z
    vector3 corner_point(int i) const;

    vector3 vmin;
    vector3 vmax;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
bbox3::bbox3(const vector3& center, const vector3& extents) :
    vmin(center - extents),
    vmax(center + extents)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces both corners.
*/
inline
void
bbox3::set(const vector3& center, const vector3& extents)
{
    this->vmin = center - extents;
    this->vmax = center + extents;
}

//------------------------------------------------------------------------------
/**
    Results: (vmin + vmax) x 0.5. Side effects: none.
*/
inline
vector3
bbox3::center() const
{
    return (this->vmin + this->vmax) * 0.5f;
}

//------------------------------------------------------------------------------
/**
    Results: (vmax - vmin) x 0.5. Side effects: none.
*/
inline
vector3
bbox3::extents() const
{
    return (this->vmax - this->vmin) * 0.5f;
}

//------------------------------------------------------------------------------
/**
    Results: vmax - vmin. Side effects: none.
*/
inline
vector3
bbox3::size() const
{
    return this->vmax - this->vmin;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the box becomes inverted (minimum above maximum), so that
    the first extend makes it the point given.
*/
inline
void
bbox3::begin_extend()
{
    this->vmin.set(1.0e30f, 1.0e30f, 1.0e30f);
    this->vmax.set(-1.0e30f, -1.0e30f, -1.0e30f);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: the corners move out to include v.
*/
inline
void
bbox3::extend(const vector3& v)
{
    this->vmin.minimum(v);
    this->vmax.maximum(v);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: the corners move out to include box.
*/
inline
void
bbox3::extend(const bbox3& box)
{
    this->vmin.minimum(box.vmin);
    this->vmax.maximum(box.vmax);
}

//------------------------------------------------------------------------------
/**
    Results: the corner chosen by the low three bits of i.
    Side effects: none.
*/
inline
vector3
bbox3::corner_point(int i) const
{
    return vector3((i & 1) ? this->vmax.x : this->vmin.x,
                   (i & 2) ? this->vmax.y : this->vmin.y,
                   (i & 4) ? this->vmax.z : this->vmin.z);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: becomes the axis-aligned box around the eight corners
    transformed by m (larger than the turned box itself when m rotates).
*/
inline
void
bbox3::transform(const matrix44& m)
{
    const bbox3 src(*this);
    this->begin_extend();
    for (int i = 0; i < 8; i++)
    {
        this->extend(m * src.corner_point(i));
    }
}

//------------------------------------------------------------------------------
/**
    Results: true when v lies inside the box or on its faces.
    Side effects: none.
*/
inline
bool
bbox3::contains(const vector3& v) const
{
    return (this->vmin.x <= v.x) && (v.x <= this->vmax.x) &&
           (this->vmin.y <= v.y) && (v.y <= this->vmax.y) &&
           (this->vmin.z <= v.z) && (v.z <= this->vmax.z);
}

//------------------------------------------------------------------------------
/**
    Results: true when the boxes share at least one point.
    Side effects: none.
*/
inline
bool
bbox3::intersects(const bbox3& box) const
{
    return (this->vmin.x <= box.vmax.x) && (box.vmin.x <= this->vmax.x) &&
           (this->vmin.y <= box.vmax.y) && (box.vmin.y <= this->vmax.y) &&
           (this->vmin.z <= box.vmax.z) && (box.vmin.z <= this->vmax.z);
}

//------------------------------------------------------------------------------
#endif
