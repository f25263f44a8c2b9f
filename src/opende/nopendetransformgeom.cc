//------------------------------------------------------------------------------
//  nopendetransformgeom.cc
//
//  ODE 0.16 marks its geom transform calls deprecated (geom offsets
//  replace them); the class exists to wrap exactly those calls.
//------------------------------------------------------------------------------
#include "opende/nopendetransformgeom.h"
#include "kernel/nkernelserver.h"

#include <cstring>

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
    this->waitFor = "";
    this->SetGeom(geom ? geom->id() : (dGeomID)0);
    if (geom)
    {
        geom->SetHolder(this);
        this->held = geom;
    }
    this->geomPath = path;
}

/*
 * WaitForGeom --
 *     Side effects: lets go of the geom held; keeps the path as given
 *     (for GetGeom and the next save) and, to find the geom wherever the
 *     load is, its full path from the current object.
 */
void nOpendeTransformGeom::WaitForGeom(const char* path)
{
    n_assert(this->id() && "nOpendeTransformGeom::id not valid!");
    n_assert(path && *path);
    this->DropHeld();
    this->SetGeom((dGeomID)0);
    this->geomPath = path;
    if ('/' == path[0])
    {
        this->waitFor = path;
    }
    else
    {
        nRoot* cwd = nKernelServer::Instance()->GetCwd();
        this->waitFor = cwd ? cwd->GetFullName() : nString("");
        if (this->waitFor.IsEmpty() || this->waitFor.Get()[this->waitFor.Length() - 1] != '/') this->waitFor += "/";
        this->waitFor += path;
    }
}

/*
 * OfferGeom --
 *     Results: true when a transform waited for the geom and took it.
 *     Side effects: the first waiting transform whose path names the geom
 *     and that can hold it encapsulates it. Walks the tree, so it is
 *     meant for loads, where geoms are made one by one from a file.
 */
bool nOpendeTransformGeom::OfferGeom(nOpendeGeom* geom)
{
    n_assert(geom);
    nKernelServer* ks = nKernelServer::Instance();
    nString why;
    const nClass* transformClass = ks->FindClass("nopendetransformgeom");
    nRoot* taker = nOpendeLayer::FindInTree([&](nRoot* obj) {
        if (!obj->IsA(transformClass)) return false;
        const nOpendeTransformGeom* t = static_cast<nOpendeTransformGeom*>(obj);
        return t->IsWaiting() && t->id() && ks->Lookup(t->waitFor.Get()) == geom && t->CanHold(geom, why);
    });
    if (!taker) return false;
    nOpendeTransformGeom* t = static_cast<nOpendeTransformGeom*>(taker);
    const nString path = t->geomPath;
    t->SetGeom(path.Get());
    return true;
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
    this->waitFor = "";
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
