//------------------------------------------------------------------------------
//  nopendespheregeom.cc
//------------------------------------------------------------------------------
#include "opende/nopendespheregeom.h"

/*
 * Create --
 *     Results: true.
 *     Side effects: stores the space path and makes the ODE geom in that
 *     space with its start parameters.
 */
bool nOpendeSphereGeom::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = dCreateSphere(this->GetSpaceId(), 1);
    return true;
}

void nOpendeSphereGeom::SetRadius(float r)
{
    n_assert(this->id() && "nOpendeSphereGeom::id not valid!");
    dGeomSphereSetRadius(this->geomId, r);
}

float nOpendeSphereGeom::GetRadius() const
{
    n_assert(this->id() && "nOpendeSphereGeom::id not valid!");
    return (float)dGeomSphereGetRadius(this->geomId);
}

float nOpendeSphereGeom::PointDepth(const vector3& p) const
{
    n_assert(this->id() && "nOpendeSphereGeom::id not valid!");
    return (float)dGeomSpherePointDepth(this->geomId, p.x, p.y, p.z);
}
