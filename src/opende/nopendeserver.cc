//------------------------------------------------------------------------------
//  nopendeserver.cc
//------------------------------------------------------------------------------
#include "opende/nopendeserver.h"
#include "opende/nopendetrimeshgeom.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"

#include <cfloat>
#include <cstring>

nOpendeServer* nOpendeServer::opendeServer = nullptr;

nOpendeServer::nOpendeServer() :
    triMeshes(16),
    inBeginSurfaces(false),
    surfaces(nullptr),
    numSurfaces(0)
{
    opendeServer = this;
}

/*
 * ~nOpendeServer --
 *     Side effects: releases the children first (the world and its space,
 *     whose geoms give their meshes back); geoms elsewhere that still use
 *     a mesh let go of it; then deletes every mesh still listed; frees the surface table. ODE shuts down when
 *     the last physics object is gone.
 */
nOpendeServer::~nOpendeServer()
{
    nRoot* child;
    while ((child = this->GetHead()) != nullptr)
    {
        while (!child->Release())
        {
        }
    }
    this->TakeMeshesFromGeoms();
    nOpendeTriMesh* mesh;
    while ((mesh = static_cast<nOpendeTriMesh*>(this->triMeshes.GetHead())) != nullptr)
    {
        while (mesh->GetRef() > 0) mesh->Release();
        mesh->Remove();
        n_delete(mesh);
    }
    if (this->surfaces)
    {
        n_delete_array(this->surfaces);
        this->surfaces = nullptr;
    }
    if (opendeServer == this) opendeServer = nullptr;
}

/*
 * TakeMeshesFromGeoms --
 *     Side effects: every triangle-mesh geom in the tree that still
 *     uses one of this server's meshes lets go of it, so that neither the
 *     geom nor ODE reads the mesh once the server has deleted it. Only
 *     walks the tree while some mesh is still in use.
 */
void nOpendeServer::TakeMeshesFromGeoms()
{
    bool inUse = false;
    for (nHashNode* n = this->triMeshes.GetHead(); n && !inUse; n = n->GetSucc())
    {
        inUse = static_cast<nOpendeTriMesh*>(n)->GetRef() > 0;
    }
    if (!inUse) return;
    nOpendeLayer::FindInTree([this](nRoot* obj) {
        if (obj->IsA("nopendetrimeshgeom")) static_cast<nOpendeTriMeshGeom*>(obj)->LoseMesh(this);
        return false;
    });
}

nOpendeTriMesh* nOpendeServer::FindTriMesh(const char* id) const
{
    n_assert(id);
    return static_cast<nOpendeTriMesh*>(this->triMeshes.Find(id));
}

/*
 * NewTriMesh --
 *     NewTriMesh takes no reference: a mesh no geom has used stays listed
 *     until DeleteTriMesh or the server's end.
 * Results: the loaded mesh, 0 when a new one failed to load.
 * Side effects: a new id is listed and loaded; a failed one is reported,
 *     unlisted and deleted.
 */
nOpendeTriMesh* nOpendeServer::NewTriMesh(const char* id, const char* filename, int group)
{
    n_assert(id);
    nOpendeTriMesh* mesh = this->FindTriMesh(id);
    if (!mesh)
    {
        mesh = n_new(nOpendeTriMesh(id));
        this->triMeshes.AddTail(mesh);
    }
    if (!mesh->IsLoaded() && !mesh->Load(nKernelServer::Instance()->GetFileServer(), filename, group))
    {
        n_printf("nOpendeServer: failed to load mesh '%s' from '%s'\n", id, filename);
        if (0 == mesh->GetRef())
        {
            mesh->Remove();
            n_delete(mesh);
        }
        return nullptr;
    }
    return mesh;
}

void nOpendeServer::DeleteTriMesh(const char* id)
{
    n_assert(id);
    nOpendeTriMesh* mesh = this->FindTriMesh(id);
    if (!mesh) return;
    n_assert((0 == mesh->GetRef()) && "TriMesh is still in use!");
    mesh->Remove();
    n_delete(mesh);
}

void nOpendeServer::ReleaseTriMesh(nOpendeTriMesh* mesh)
{
    n_assert(mesh);
    if (0 == mesh->Release())
    {
        mesh->Remove();
        n_delete(mesh);
    }
}

void nOpendeServer::BeginSurfaces(int num)
{
    n_assert(!this->inBeginSurfaces);
    n_assert(num > 0);
    this->inBeginSurfaces = true;
    this->surfaces = n_new_array(nOpendeSurface, num);
    this->numSurfaces = num;
}

nOpendeSurface* nOpendeServer::GetSurface(int index) const
{
    n_assert(this->inBeginSurfaces);
    n_assert(index >= 0 && index < this->numSurfaces);
    return &this->surfaces[index];
}

void nOpendeServer::AddSurface(int index, const char* name)
{
    n_assert(name);
    this->GetSurface(index)->SetName(name);
}

/*
 * EnableSurfaceParam --
 *     Results: false for an unknown name (reported), else true.
 *     Side effects: ORs ODE's flag: "fdir1", "approxfdir1", "approxfdir2"
 *     or "approxfboth" (both friction directions approximated).
 */
bool nOpendeServer::EnableSurfaceParam(int index, const char* param)
{
    static const struct
    {
        const char* name;
        int flag;
    } flags[] = {
        {"fdir1", dContactFDir1},
        {"approxfdir1", dContactApprox1_1},
        {"approxfdir2", dContactApprox1_2},
        {"approxfboth", dContactApprox1_1 | dContactApprox1_2},
    };
    nOpendeSurface* s = this->GetSurface(index);
    for (const auto& f : flags)
    {
        if (0 == strcmp(f.name, param))
        {
            s->mode |= f.flag;
            return true;
        }
    }
    n_printf("nOpendeServer::EnableSurfaceParam() - unrecognized param %s\n", param);
    return false;
}

/*
 * SetSurfaceParam --
 *     Results: false for an unknown name (reported), else true.
 *     Side effects: stores the value and ORs ODE's flag for it; a friction
 *     below 0 becomes FLT_MAX (unbounded friction); "mu" sets no flag.
 */
bool nOpendeServer::SetSurfaceParam(int index, const char* param, float value)
{
    nOpendeSurface* s = this->GetSurface(index);
    struct Param
    {
        const char* name;
        dReal* field;
        int flag;
    };
    const Param params[] = {
        {"mu", &s->mu, 0},
        {"mu2", &s->mu2, dContactMu2},
        {"cfm", &s->soft_cfm, dContactSoftCFM},
        {"erp", &s->soft_erp, dContactSoftERP},
        {"bounce", &s->bounce, dContactBounce},
        {"bvel", &s->bounce_vel, dContactBounce},
        {"motion1", &s->motion1, dContactMotion1},
        {"motion2", &s->motion2, dContactMotion2},
        // ODE's own bits, since contacts hand the mode to ODE as it is: this
        // ODE has a third motion bit (0x80), which moved the slip bits up to
        // 0x100 and 0x200 from the 0x80 and 0x100 of older versions
        {"slip1", &s->slip1, dContactSlip1},
        {"slip2", &s->slip2, dContactSlip2},
    };
    for (const Param& p : params)
    {
        if (0 != strcmp(p.name, param)) continue;
        const bool friction = (p.field == &s->mu || p.field == &s->mu2);
        *p.field = (friction && value < 0.0f) ? FLT_MAX : value;
        s->mode |= p.flag;
        return true;
    }
    n_printf("nOpendeServer::SetSurfaceParam() - unrecognized param %s\n", param);
    return false;
}

void nOpendeServer::EndSurfaces()
{
    n_assert(this->inBeginSurfaces);
}

int nOpendeServer::GetSurfaceIndex(const char* name) const
{
    n_assert(this->inBeginSurfaces);
    n_assert(name);
    for (int i = 0; i < this->numSurfaces; i++)
    {
        if (0 == strcmp(this->surfaces[i].GetName(), name)) return i;
    }
    return -1;
}
