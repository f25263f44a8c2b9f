#ifndef N_OPENDELINE_H
#define N_OPENDELINE_H
//------------------------------------------------------------------------------
/**
    @class line3
    @ingroup Opende

    A line segment: a start point and a direction vector whose length is
    the segment's length. The pick server's lines are of this type.
*/
#include "mathlib/vector3.h"

class line3
{
public:
    line3() = default;
    /// from a to b
    line3(const vector3& a, const vector3& b) : b(a), m(b - a) {}
    /// start a, direction b - a
    void set(const vector3& a, const vector3& e)
    {
        this->b = a;
        this->m = e - a;
    }
    const vector3& start() const { return this->b; }
    vector3 end() const { return this->b + this->m; }
    const vector3& vec() const { return this->m; }
    float len() const { return this->m.len(); }

    /// start point
    vector3 b;
    /// direction, as long as the line
    vector3 m;
};
#endif
