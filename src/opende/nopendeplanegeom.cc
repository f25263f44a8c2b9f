//------------------------------------------------------------------------------
//  nopendeplanegeom.cc
//------------------------------------------------------------------------------
#include "opende/nopendeplanegeom.h"

/*
 * Create --
 *     Results: true.
 *     Side effects: stores the space path and makes the ODE geom in that
 *     space with its start parameters.
 */
bool nOpendePlaneGeom::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = dCreatePlane(this->GetSpaceId(), 0, 1, 0, 0);
    return true;
}

void nOpendePlaneGeom::SetParams(const vector4& p)
{
    n_assert(this->id() && "nOpendePlaneGeom::id not valid!");
    dGeomPlaneSetParams(this->geomId, p.x, p.y, p.z, p.w);
}

vector4 nOpendePlaneGeom::GetParams() const
{
    n_assert(this->id() && "nOpendePlaneGeom::id not valid!");
    dVector4 p;
    dGeomPlaneGetParams(this->geomId, p);
    return vector4((float)p[0], (float)p[1], (float)p[2], (float)p[3]);
}

float nOpendePlaneGeom::PointDepth(const vector3& p) const
{
    n_assert(this->id() && "nOpendePlaneGeom::id not valid!");
    return (float)dGeomPlanePointDepth(this->geomId, p.x, p.y, p.z);
}
