//------------------------------------------------------------------------------
//  nopendeboxgeom.cc
//------------------------------------------------------------------------------
#include "opende/nopendeboxgeom.h"
#include "kernel/nmodule.h"

void nopendeboxgeom_initcmds(nClass* cl);
N_IMPLEMENT_MODULE(nopendeboxgeom, nOpendeBoxGeom, "nopendegeom", nopendeboxgeom_initcmds)

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

float nOpendeBoxGeom::PointDepth(const vector3& p) const
{
    n_assert(this->id() && "nOpendeBoxGeom::id not valid!");
    return (float)dGeomBoxPointDepth(this->geomId, p.x, p.y, p.z);
}
