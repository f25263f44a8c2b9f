//------------------------------------------------------------------------------
//  nopendespace.cc
//------------------------------------------------------------------------------
#include "opende/nopendespace.h"
#include "kernel/nkernelserver.h"

/*
 * ~nOpendeSpace --
 *     Side effects: takes every geom out of the ODE space, then destroys
 *     it (which also takes it out of its own parent space). The geoms'
 *     objects destroy their handles themselves.
 */
nOpendeSpace::~nOpendeSpace()
{
    if (this->geomId)
    {
        const dSpaceID space = this->spaceId();
        // a quadtree space cannot be asked for its geoms (ODE aborts); with
        // cleanup off its destruction takes them out without destroying them
        if (dSpaceGetClass(space) == dQuadTreeSpaceClass)
        {
            dSpaceSetCleanup(space, 0);
        }
        else
        {
            while (dSpaceGetNumGeoms(space) > 0) dSpaceRemove(space, dSpaceGetGeom(space, 0));
        }
        dSpaceDestroy(space);
        this->geomId = 0;
    }
}

void nOpendeSpace::SetCleanup(bool b)
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    dSpaceSetCleanup(this->spaceId(), b ? 1 : 0);
}

bool nOpendeSpace::GetCleanup() const
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    return 1 == dSpaceGetCleanup(this->spaceId());
}

/*
 * CanAdd --
 *     Results: true when ODE takes the geom into this space; else false
 *     and why. ODE aborts on a geom that is in a space already, and a
 *     space put inside itself or one of its children would recurse.
 */
bool nOpendeSpace::CanAdd(dGeomID g, nString& why) const
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    if (!g)
    {
        why = "has no ODE geom";
        return false;
    }
    if (dGeomGetSpace(g))
    {
        why = "is in a space already";
        return false;
    }
    if (!nOpendeLayer::HasShape(g))
    {
        why = "is a triangle-mesh geom without a mesh";
        return false;
    }
    for (dSpaceID s = this->spaceId(); s; s = dGeomGetSpace((dGeomID)s))
    {
        if ((dGeomID)s == g)
        {
            why = "is this space or one of its parents";
            return false;
        }
    }
    return true;
}

void nOpendeSpace::AddGeom(dGeomID g)
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    dSpaceAdd(this->spaceId(), g);
}

void nOpendeSpace::RemoveGeom(dGeomID g)
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    dSpaceRemove(this->spaceId(), g);
}

bool nOpendeSpace::ContainsGeom(dGeomID g) const
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    return 1 == dSpaceQuery(this->spaceId(), g);
}

nOpendeGeom* nOpendeSpace::GeomAt(const char* path) const
{
    nRoot* temp = this->kernelServer->Lookup(path);
    n_assert(temp && temp->IsA(this->kernelServer->FindClass("nopendegeom")));
    return static_cast<nOpendeGeom*>(temp);
}

void nOpendeSpace::AddGeom(const char* path)
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    this->AddGeom(this->GeomAt(path)->id());
}

void nOpendeSpace::RemoveGeom(const char* path)
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    this->RemoveGeom(this->GeomAt(path)->id());
}

bool nOpendeSpace::ContainsGeom(const char* path) const
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    return this->ContainsGeom(this->GeomAt(path)->id());
}

int nOpendeSpace::GetNumGeoms() const
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    return dSpaceGetNumGeoms(this->spaceId());
}

dGeomID nOpendeSpace::GetGeom(int index) const
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    return dSpaceGetGeom(this->spaceId(), index);
}

void nOpendeSpace::Collide(void* data, dNearCallback* callback)
{
    n_assert(this->id() && "nOpendeSpace::id not valid!");
    dSpaceCollide(this->spaceId(), data, callback);
}
