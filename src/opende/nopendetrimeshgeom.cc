//------------------------------------------------------------------------------
//  nopendetrimeshgeom.cc
//------------------------------------------------------------------------------
#include "opende/nopendetrimeshgeom.h"
#include "opende/nopendeserver.h"
#include "opende/nopendetransformgeom.h"

#include <cstring>

nOpendeTriMeshGeom::nOpendeTriMeshGeom() :
    triMesh(nullptr)
{
}

/*
 * ~nOpendeTriMeshGeom --
 *     Side effects: destroys the ODE geom before its mesh data can go,
 *     then gives the mesh back (the last user deletes it).
 */
nOpendeTriMeshGeom::~nOpendeTriMeshGeom()
{
    if (this->holder) this->holder->ForgetGeom(this);
    if (this->geomId)
    {
        dGeomDestroy(this->geomId);
        this->geomId = 0;
    }
    this->ReleaseMesh();
}

/*
 * Create --
 *     ODE cannot bound a triangle-mesh geom without data, and a space
 *     bounds all of its geoms: the geom joins its space only when
 *     SetMesh gives it data.
 * Results: true.
 *     Side effects: stores the space path; makes an ODE triangle-mesh geom
 *     without data or callbacks, in no space yet.
 */
bool nOpendeTriMeshGeom::Create(const char* spacePath)
{
    nOpendeGeom::Create(spacePath);
    this->geomId = dCreateTriMesh(0, 0, 0, 0, 0);
    return true;
}

void nOpendeTriMeshGeom::ReleaseMesh()
{
    if (!this->triMesh) return;
    nOpendeTriMesh* mesh = this->triMesh;
    this->triMesh = nullptr;
    if (this->meshOwner.isvalid()) this->meshOwner->ReleaseTriMesh(mesh);
    this->meshOwner.invalidate();
}

/*
 * SetMesh --
 *     The new mesh's reference is taken before the old one is given back,
 *     so setting the mesh a geom already holds alone keeps it alive.
 * Side effects: the geom uses the mesh's ODE data; with its first mesh it
 *     joins the space given to Create (when that still exists).
 */
void nOpendeTriMeshGeom::SetMesh(const char* id)
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    n_assert(nOpendeServer::opendeServer);
    nOpendeTriMesh* mesh = nOpendeServer::opendeServer->FindTriMesh(id);
    n_assert(mesh && "triMeshId does not match an existing mesh!");
    mesh->AddRef();
    this->ReleaseMesh();
    this->triMesh = mesh;
    this->meshOwner.set(nOpendeServer::opendeServer);
    const bool hadShape = this->HasShape();
    dGeomTriMeshSetData(this->geomId, mesh->GetData());
    nString why;
    if (!hadShape && !this->GetSpace() && 0 != strcmp(this->spacePath.Get(), "none") &&
        nOpendeGeom::IsUsableSpacePath(this->spacePath.Get(), why))
    {
        dSpaceAdd(this->GetSpaceId(), this->geomId);
    }
}

/*
 * LoseMesh --
 *     Side effects: when the geom uses a mesh of the server, which is
 *     about to delete it, the geom leaves its space and transform (ODE
 *     cannot bound it without data) and keeps no reference to the mesh.
 */
void nOpendeTriMeshGeom::LoseMesh(nOpendeServer* server)
{
    if (!this->triMesh || server->FindTriMesh(this->triMesh->GetName()) != this->triMesh) return;
    if (this->holder) this->holder->ForgetGeom(this);
    if (this->geomId)
    {
        if (this->GetSpace()) dSpaceRemove(this->GetSpace(), this->geomId);
        dGeomTriMeshSetData(this->geomId, 0);
    }
    this->ReleaseMesh();
}

const char* nOpendeTriMeshGeom::GetMesh() const
{
    return this->triMesh ? this->triMesh->GetName() : "none";
}

int nOpendeTriMeshGeom::ClassOf(const char* className)
{
    const int geomClass = GeomClassByName(className);
    if (geomClass < 0) n_error("%s is not a valid geom class name!", className);
    return geomClass;
}

void nOpendeTriMeshGeom::EnableTC(int geomClass, bool enable)
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    dGeomTriMeshEnableTC(this->geomId, geomClass, enable ? 1 : 0);
}

void nOpendeTriMeshGeom::EnableTC(const char* className, bool enable)
{
    this->EnableTC(ClassOf(className), enable);
}

bool nOpendeTriMeshGeom::IsTCEnabled(int geomClass) const
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    return 1 == dGeomTriMeshIsTCEnabled(this->geomId, geomClass);
}

bool nOpendeTriMeshGeom::IsTCEnabled(const char* className) const
{
    return this->IsTCEnabled(ClassOf(className));
}

void nOpendeTriMeshGeom::ClearTCCache()
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    dGeomTriMeshClearTCCache(this->geomId);
}

void nOpendeTriMeshGeom::GetTriangle(int index, vector3& v0, vector3& v1, vector3& v2) const
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    n_assert(this->triMesh && index >= 0 && index < this->triMesh->GetNumFaces());
    dVector3 a;
    dVector3 b;
    dVector3 c;
    dGeomTriMeshGetTriangle(this->geomId, index, &a, &b, &c);
    v0 = nOpendeLayer::ToVector3(a);
    v1 = nOpendeLayer::ToVector3(b);
    v2 = nOpendeLayer::ToVector3(c);
}

vector3 nOpendeTriMeshGeom::GetPoint(int index, float u, float v) const
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    n_assert(this->triMesh && index >= 0 && index < this->triMesh->GetNumFaces());
    dVector3 p;
    dGeomTriMeshGetPoint(this->geomId, index, u, v, p);
    return nOpendeLayer::ToVector3(p);
}

void nOpendeTriMeshGeom::SetCallback(dTriCallback* callback)
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    dGeomTriMeshSetCallback(this->geomId, callback);
}

dTriCallback* nOpendeTriMeshGeom::GetCallback() const
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    return dGeomTriMeshGetCallback(this->geomId);
}

void nOpendeTriMeshGeom::SetArrayCallback(dTriArrayCallback* callback)
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    dGeomTriMeshSetArrayCallback(this->geomId, callback);
}

dTriArrayCallback* nOpendeTriMeshGeom::GetArrayCallback() const
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    return dGeomTriMeshGetArrayCallback(this->geomId);
}

void nOpendeTriMeshGeom::SetRayCallback(dTriRayCallback* callback)
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    dGeomTriMeshSetRayCallback(this->geomId, callback);
}

dTriRayCallback* nOpendeTriMeshGeom::GetRayCallback() const
{
    n_assert(this->id() && "nOpendeTriMeshGeom::id not valid!");
    return dGeomTriMeshGetRayCallback(this->geomId);
}
