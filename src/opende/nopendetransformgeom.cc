//------------------------------------------------------------------------------
//  nopendetransformgeom.cc
//
//  ODE 0.16 marks its geom transform calls deprecated (geom offsets
//  replace them); the class exists to wrap exactly those calls.
//------------------------------------------------------------------------------
#include "opende/nopendetransformgeom.h"
#include "kernel/nkernelserver.h"

#include <cstring>
#include "kernel/nmodule.h"

void nopendetransformgeom_initcmds(nClass* cl);
N_IMPLEMENT_MODULE(nopendetransformgeom, nOpendeTransformGeom, "nopendegeom", nopendetransformgeom_initcmds)

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

nOpendeTransformGeom::nOpendeTransformGeom() :
    geomPath("none"),
    held(nullptr)
{
}

/*
 * ~nOpendeTransformGeom --
 *     Side effects: clears the cleanup flag so that ODE does not destroy
 *     the encapsulated geom, whose object still owns it; the base then
 *     destroys the transform.
 */
nOpendeTransformGeom::~nOpendeTransformGeom()
{
    if (this->geomId) dGeomTransformSetCleanup(this->geomId, 0);
    this->DropHeld();
}

/*
 * Create --
 *     Results: true.
 *     Side effects: makes an empty ODE geom transform in the space.
 */
bool nOpendeTransformGeom::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = dCreateGeomTransform(this->GetSpaceId());
    return true;
}

void nOpendeTransformGeom::DropHeld()
{
    if (this->held)
    {
        this->held->SetHolder(nullptr);
        this->held = nullptr;
    }
}

/*
 * CanHold --
 *     Results: true for a created, placeable geom in no space that no
 *     other transform holds; else false and why.
 */
bool nOpendeTransformGeom::CanHold(const nOpendeGeom* geom, nString& why) const
{
    if (geom == this) why = "is this transform";
    else if (!geom->id()) why = "has no ODE geom yet";
    else if (!geom->IsPlaceable()) why = "is a geom ODE does not place";
    else if (!geom->HasShape()) why = "is a triangle-mesh geom without a mesh";
    else if (geom->GetSpace()) why = "is in a space";
    else if (geom->GetHolder() && geom->GetHolder() != this) why = "is held by another transform";
    else return true;
    return false;
}

/*
 * SetGeom --
 *     Side effects: "none" empties the transform (so that a saved
 *     transform without a geom loads again); any other path must name a
 *     geom (asserted). The path is kept.
 */
void nOpendeTransformGeom::SetGeom(const char* path)
{
    n_assert(this->id() && "nOpendeTransformGeom::id not valid!");
    n_assert(path);
    nOpendeGeom* geom = nullptr;
    if (0 != strcmp(path, "none"))
    {
        nRoot* temp = nKernelServer::Instance()->Lookup(path);
        n_assert(temp && temp->IsA(nKernelServer::Instance()->FindClass("nopendegeom")));
        geom = static_cast<nOpendeGeom*>(temp);
    }
    this->DropHeld();
    this->SetGeom(geom ? geom->id() : (dGeomID)0);
    if (geom)
    {
        geom->SetHolder(this);
        this->held = geom;
    }
    this->geomPath = path;
}

/*
 * SetGeom --
 *     Side effects: encapsulates the handle; the previous one is not
 *     destroyed, even with cleanup on.
 */
void nOpendeTransformGeom::SetGeom(dGeomID geom)
{
    n_assert(this->id() && "nOpendeTransformGeom::id not valid!");
    const int cleanup = dGeomTransformGetCleanup(this->geomId);
    dGeomTransformSetCleanup(this->geomId, 0);
    dGeomTransformSetGeom(this->geomId, geom);
    dGeomTransformSetCleanup(this->geomId, cleanup);
}

void nOpendeTransformGeom::ForgetGeom(nOpendeGeom* geom)
{
    if (geom != this->held) return;
    this->DropHeld();
    if (this->geomId) this->SetGeom((dGeomID)0);
    this->geomPath = "none";
}

dGeomID nOpendeTransformGeom::GetGeomId() const
{
    n_assert(this->id() && "nOpendeTransformGeom::id not valid!");
    return dGeomTransformGetGeom(this->geomId);
}

void nOpendeTransformGeom::SetCleanup(bool b)
{
    n_assert(this->id() && "nOpendeTransformGeom::id not valid!");
    dGeomTransformSetCleanup(this->geomId, b ? 1 : 0);
}

bool nOpendeTransformGeom::GetCleanup() const
{
    n_assert(this->id() && "nOpendeTransformGeom::id not valid!");
    return 1 == dGeomTransformGetCleanup(this->geomId);
}

void nOpendeTransformGeom::SetInfo(int mode)
{
    n_assert(this->id() && "nOpendeTransformGeom::id not valid!");
    dGeomTransformSetInfo(this->geomId, mode);
}

int nOpendeTransformGeom::GetInfo() const
{
    n_assert(this->id() && "nOpendeTransformGeom::id not valid!");
    return dGeomTransformGetInfo(this->geomId);
}
