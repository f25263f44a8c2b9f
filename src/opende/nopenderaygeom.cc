//------------------------------------------------------------------------------
//  nopenderaygeom.cc
//------------------------------------------------------------------------------
#include "opende/nopenderaygeom.h"

/*
 * Create --
 *     Results: true.
 *     Side effects: stores the space path and makes an ODE ray of length 1
 *     in that space.
 */
bool nOpendeRayGeom::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = dCreateRay(this->GetSpaceId(), 1);
    return true;
}

void nOpendeRayGeom::SetLength(float length)
{
    n_assert(this->id() && "nOpendeRayGeom::id not valid!");
    dGeomRaySetLength(this->geomId, length);
}

float nOpendeRayGeom::GetLength() const
{
    n_assert(this->id() && "nOpendeRayGeom::id not valid!");
    return (float)dGeomRayGetLength(this->geomId);
}

void nOpendeRayGeom::Set(const vector3& start, const vector3& direction)
{
    n_assert(this->id() && "nOpendeRayGeom::id not valid!");
    dGeomRaySet(this->geomId, start.x, start.y, start.z, direction.x, direction.y, direction.z);
}

void nOpendeRayGeom::Get(vector3& start, vector3& direction) const
{
    n_assert(this->id() && "nOpendeRayGeom::id not valid!");
    dVector3 s;
    dVector3 d;
    dGeomRayGet(this->geomId, s, d);
    start = nOpendeLayer::ToVector3(s);
    direction = nOpendeLayer::ToVector3(d);
}

void nOpendeRayGeom::SetParams(bool firstContact, bool backfaceCull)
{
    n_assert(this->id() && "nOpendeRayGeom::id not valid!");
    dGeomRaySetFirstContact(this->geomId, firstContact ? 1 : 0);
    dGeomRaySetBackfaceCull(this->geomId, backfaceCull ? 1 : 0);
}

void nOpendeRayGeom::GetParams(bool& firstContact, bool& backfaceCull) const
{
    n_assert(this->id() && "nOpendeRayGeom::id not valid!");
    firstContact = (1 == dGeomRayGetFirstContact(this->geomId));
    backfaceCull = (1 == dGeomRayGetBackfaceCull(this->geomId));
}

void nOpendeRayGeom::SetClosestHit(bool closestHit)
{
    n_assert(this->id() && "nOpendeRayGeom::id not valid!");
    dGeomRaySetClosestHit(this->geomId, closestHit ? 1 : 0);
}

bool nOpendeRayGeom::GetClosestHit() const
{
    n_assert(this->id() && "nOpendeRayGeom::id not valid!");
    return 1 == dGeomRayGetClosestHit(this->geomId);
}
