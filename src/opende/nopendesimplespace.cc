//------------------------------------------------------------------------------
//  nopendesimplespace.cc
//------------------------------------------------------------------------------
#include "opende/nopendesimplespace.h"

/*
 * Create --
 *     Results: true.
 *     Side effects: makes the ODE simple space in the parent space.
 */
bool nOpendeSimpleSpace::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = (dGeomID)dSimpleSpaceCreate(this->GetSpaceId());
    return true;
}
