//------------------------------------------------------------------------------
//  nopendehashspace.cc
//------------------------------------------------------------------------------
#include "opende/nopendehashspace.h"

/*
 * Create --
 *     Results: true.
 *     Side effects: makes the ODE hash space in the parent space.
 */
bool nOpendeHashSpace::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = (dGeomID)dHashSpaceCreate(this->GetSpaceId());
    return true;
}

void nOpendeHashSpace::SetLevels(int minLevel, int maxLevel)
{
    n_assert(this->id() && "nOpendeHashSpace::id not valid!");
    dHashSpaceSetLevels(this->spaceId(), minLevel, maxLevel);
}

void nOpendeHashSpace::GetLevels(int& minLevel, int& maxLevel) const
{
    n_assert(this->id() && "nOpendeHashSpace::id not valid!");
    dHashSpaceGetLevels(this->spaceId(), &minLevel, &maxLevel);
}
