#ifndef N_RECTANGLE_H
#define N_RECTANGLE_H
//------------------------------------------------------------------------------
/**
    @class rectangle
    @ingroup Math

    A 2-D rectangle given by two corners: v0 is (left, top) and v1 is
    (right, bottom), with y growing downward as on the screen. Both
    corners are at the origin by default.
*/
#include "mathlib/nmath.h"
#include "mathlib/vector2.h"

class rectangle
{
public:
    /// a rectangle with both corners at the origin
    rectangle() {}
    /// a rectangle from its top-left and bottom-right corners
    rectangle(const vector2& topLeft, const vector2& bottomRight) : v0(topLeft), v1(bottomRight) {}

    /// set both corners
    void set(const vector2& topLeft, const vector2& bottomRight);
    /// right - left
    float width() const;
    /// bottom - top
    float height() const;
    /// width x height
    float area() const;
    /// the middle point
    vector2 midpoint() const;
    /// whether a point lies inside (edges included)
    bool inside(const vector2& p) const;
    /// the part this rectangle shares with another
    rectangle intersection(const rectangle& r) const;

    vector2 v0;
    vector2 v1;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: replaces both corners.
*/
inline
void
rectangle::set(const vector2& topLeft, const vector2& bottomRight)
{
    this->v0 = topLeft;
    this->v1 = bottomRight;
}

//------------------------------------------------------------------------------
/**
    Results: v1.x - v0.x. Side effects: none.
*/
inline
float
rectangle::width() const
{
    return this->v1.x - this->v0.x;
}

//------------------------------------------------------------------------------
/**
    Results: v1.y - v0.y. Side effects: none.
*/
inline
float
rectangle::height() const
{
    return this->v1.y - this->v0.y;
}

//------------------------------------------------------------------------------
/**
    Results: width x height. Side effects: none.
*/
inline
float
rectangle::area() const
{
    return this->width() * this->height();
}

//------------------------------------------------------------------------------
/**
    Results: the point halfway between the corners. Side effects: none.
*/
inline
vector2
rectangle::midpoint() const
{
    return (this->v0 + this->v1) * 0.5f;
}

//------------------------------------------------------------------------------
/**
    Results: true when left <= p.x <= right and top <= p.y <= bottom.
    Side effects: none.
*/
inline
bool
rectangle::inside(const vector2& p) const
{
    return (this->v0.x <= p.x) && (p.x <= this->v1.x) &&
           (this->v0.y <= p.y) && (p.y <= this->v1.y);
}

//------------------------------------------------------------------------------
/**
    Results: the overlap of this rectangle and r. When they do not overlap
    (touching edges do not count) or either has zero area, the result is
    the degenerate rectangle at this rectangle's top-left corner, so that
    a caller only has to test the area.
    Side effects: none.
*/
inline
rectangle
rectangle::intersection(const rectangle& r) const
{
    const bool apart = (this->v0.x >= r.v1.x) || (this->v1.x <= r.v0.x) ||
                       (this->v0.y >= r.v1.y) || (this->v1.y <= r.v0.y);
    if (apart || (0.0f == this->area()) || (0.0f == r.area()))
    {
        return rectangle(this->v0, this->v0);
    }
    return rectangle(vector2(fmaxf(this->v0.x, r.v0.x), fmaxf(this->v0.y, r.v0.y)),
                     vector2(fminf(this->v1.x, r.v1.x), fminf(this->v1.y, r.v1.y)));
}

//------------------------------------------------------------------------------
#endif
