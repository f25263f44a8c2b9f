//------------------------------------------------------------------------------
//  nopendecapsulegeom.cc
//------------------------------------------------------------------------------
#include "opende/nopendecapsulegeom.h"

/*
 * Create --
 *     Results: true.
 *     Side effects: stores the space path and makes the ODE geom in that
 *     space with its start parameters.
 */
bool nOpendeCapsuleGeom::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = dCreateCapsule(this->GetSpaceId(), 1, 1);
    return true;
}

void nOpendeCapsuleGeom::SetParams(float radius, float length)
{
    n_assert(this->id() && "nOpendeCapsuleGeom::id not valid!");
    dGeomCapsuleSetParams(this->geomId, radius, length);
}

void nOpendeCapsuleGeom::GetParams(float& radius, float& length) const
{
    n_assert(this->id() && "nOpendeCapsuleGeom::id not valid!");
    dReal r = 0;
    dReal l = 0;
    dGeomCapsuleGetParams(this->geomId, &r, &l);
    radius = (float)r;
    length = (float)l;
}

float nOpendeCapsuleGeom::PointDepth(const vector3& p) const
{
    n_assert(this->id() && "nOpendeCapsuleGeom::id not valid!");
    return (float)dGeomCapsulePointDepth(this->geomId, p.x, p.y, p.z);
}
