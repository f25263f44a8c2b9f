//------------------------------------------------------------------------------
//  nopendeboxgeom.cc
//------------------------------------------------------------------------------
#include "opende/nopendeboxgeom.h"

#include <cfloat>
#include <cmath>

/*
 * Create --
 *     Results: true.
 *     Side effects: stores the space path and makes the ODE geom in that
 *     space with its start parameters.
 */
bool nOpendeBoxGeom::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = dCreateBox(this->GetSpaceId(), 1, 1, 1);
    return true;
}

void nOpendeBoxGeom::SetLengths(const vector3& l)
{
    n_assert(this->id() && "nOpendeBoxGeom::id not valid!");
    dGeomBoxSetLengths(this->geomId, l.x, l.y, l.z);
}

vector3 nOpendeBoxGeom::GetLengths() const
{
    n_assert(this->id() && "nOpendeBoxGeom::id not valid!");
    dVector3 l;
    dGeomBoxGetLengths(this->geomId, l);
    return nOpendeLayer::ToVector3(l);
}

/*
 * PointDepth --
 *     Results: for a point inside, its distance to the nearest face; for
 *     a point outside, minus its distance to the box's surface.
 */
float nOpendeBoxGeom::PointDepth(const vector3& p) const
{
    n_assert(this->id() && "nOpendeBoxGeom::id not valid!");
    // this ODE's own function doubles the distance of a point outside
    dVector3 sides;
    dGeomBoxGetLengths(this->geomId, sides);
    const dReal* pos = dGeomGetPosition(this->geomId);
    const dReal* rot = dGeomGetRotation(this->geomId);
    const dReal d[3] = {p.x - pos[0], p.y - pos[1], p.z - pos[2]};
    float inside = FLT_MAX;
    float outside = 0.0f;
    for (int i = 0; i < 3; i++)
    {
        // the box's own axis i is column i of ODE's rows of four
        const float local = fabsf((float)(rot[i] * d[0] + rot[4 + i] * d[1] + rot[8 + i] * d[2]));
        const float beyond = local - 0.5f * (float)sides[i];
        inside = n_min(inside, -beyond);
        if (beyond > 0.0f) outside += beyond * beyond;
    }
    return outside > 0.0f ? -sqrtf(outside) : inside;
}
