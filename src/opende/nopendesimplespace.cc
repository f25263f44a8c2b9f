//------------------------------------------------------------------------------
//  nopendesimplespace.cc
//------------------------------------------------------------------------------
#include "opende/nopendesimplespace.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_MODULE(nopendesimplespace, nOpendeSimpleSpace, "nopendespace", nullptr)

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
