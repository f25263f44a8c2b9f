//------------------------------------------------------------------------------
//  nopendequadtreespace.cc
//------------------------------------------------------------------------------
#include "opende/nopendequadtreespace.h"

/*
 * Create --
 *     A quadtree needs a centre, extents and a depth, which this call
 *     does not carry.
 * Results: false.
 * Side effects: prints "Not implemented!".
 */
bool nOpendeQuadTreeSpace::Create(const char*)
{
    n_printf("Not implemented!\n");
    return false;
}

/*
 * Create2 --
 *     Side effects: stores the space path, then makes the ODE quadtree
 *     space in the parent space.
 */
void nOpendeQuadTreeSpace::Create2(const char* spacePath, const vector3& center, const vector3& extents, int depth)
{
    nOpendeGeom::Create(spacePath);
    dVector3 c;
    dVector3 e;
    nOpendeLayer::ToOde(center, c);
    nOpendeLayer::ToOde(extents, e);
    this->geomId = (dGeomID)dQuadTreeSpaceCreate(this->GetSpaceId(), c, e, depth);
}
