//------------------------------------------------------------------------------
//  nopendetrimeshgeom_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendetrimeshgeom.h"
#include "opende/nopendetransformgeom.h"
#include "kernel/ncmdargs.h"
#include "kernel/nkernelserver.h"
#include "opende/nopendetrimesh.h"
#include "opende/nopendeserver.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

#include <climits>

using namespace nOpendeCmd;

namespace
{

nOpendeTriMeshGeom* Self(void* slf, nCmd* cmd)
{
    return static_cast<nOpendeTriMeshGeom*>(Created(slf, cmd));
}

/// the next input as a geom class name of the lookup; -1 (reported)
int ClassArg(nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "geom class name")) return -1;
    const int geomClass = nOpendeGeom::GeomClassByName(name);
    if (geomClass < 0) nCmdFail(cmd, "%s is not a valid geom class name!", name);
    return geomClass;
}

/// the geom with a mesh, or 0 (reported)
nOpendeTriMeshGeom* WithMesh(void* slf, nCmd* cmd)
{
    nOpendeTriMeshGeom* self = Self(slf, cmd);
    if (self && !self->GetTriMesh())
    {
        nCmdFail(cmd, "'%s' has no mesh: call SetMesh first", self->GetName());
        return nullptr;
    }
    return self;
}

/// the next input as a triangle index of the geom's mesh
bool TriangleArg(nCmd* cmd, nOpendeTriMeshGeom* self, int& index)
{
    return nCmdGetI(cmd, index, 0, self->GetTriMesh()->GetNumFaces() - 1, "triangle index");
}

void n_setmesh(void* slf, nCmd* cmd)
{
    const char* id = nullptr;
    if (!nCmdGetNonEmptyS(cmd, id, "mesh id")) return;
    nOpendeTriMeshGeom* self = Self(slf, cmd);
    if (!self) return;
    n_cmd_check(cmd, nOpendeServer::opendeServer, "no physics server exists");
    if (!nOpendeServer::opendeServer->FindTriMesh(id) && nKernelServer::Instance()->GetPersistServer()->IsLoading())
    {
        // the server saves no meshes: the script makes them, and the geom
        // of a file loaded before that waits for its mesh
        self->ReportDetached(id, "names no mesh made by NewTriMesh");
        return;
    }
    n_cmd_check(cmd, nOpendeServer::opendeServer->FindTriMesh(id), "triMeshId '%s' does not match an existing mesh",
                id);
    self->SetMesh(id);
    // with its mesh the geom can be held: a transform may be waiting
    if (nKernelServer::Instance()->GetPersistServer()->IsLoading()) nOpendeTransformGeom::OfferGeom(self);
}

void n_getmesh(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nOpendeTriMeshGeom>(slf)->GetMesh());
}

void n_enabletc(void* slf, nCmd* cmd)
{
    const int geomClass = ClassArg(cmd);
    const bool enable = cmd->In()->GetB();
    if (geomClass < 0) return;
    nOpendeTriMeshGeom* self = Self(slf, cmd);
    if (self) self->EnableTC(geomClass, enable);
}

void n_istcenabled(void* slf, nCmd* cmd)
{
    const int geomClass = ClassArg(cmd);
    if (geomClass < 0) return;
    nOpendeTriMeshGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetB(self->IsTCEnabled(geomClass));
}

void n_cleartccache(void* slf, nCmd* cmd)
{
    nOpendeTriMeshGeom* self = Self(slf, cmd);
    if (self) self->ClearTCCache();
}

void n_gettriangle(void* slf, nCmd* cmd)
{
    nOpendeTriMeshGeom* self = WithMesh(slf, cmd);
    int index = 0;
    if (!self || !TriangleArg(cmd, self, index)) return;
    vector3 v[3];
    self->GetTriangle(index, v[0], v[1], v[2]);
    for (const vector3& corner : v) nCmdPutVector3(cmd, corner);
}

void n_getpoint(void* slf, nCmd* cmd)
{
    nOpendeTriMeshGeom* self = WithMesh(slf, cmd);
    int index = 0;
    float u = 0.0f;
    float v = 0.0f;
    if (!self || !TriangleArg(cmd, self, index) || !nCmdGetF(cmd, u, "u") || !nCmdGetF(cmd, v, "v")) return;
    nCmdPutVector3(cmd, self->GetPoint(index, u, v));
}

}  // namespace

/*
 * nopendetrimeshgeom_initcmds --
 *     Side effects: registers the commands of nopendetrimeshgeom.
 */
void nopendetrimeshgeom_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetMesh_s", N_FOURCC('S', 'M', 'S', 'H'), n_setmesh);
    cl->AddCmd("s_GetMesh_v", N_FOURCC('G', 'M', 'S', 'H'), n_getmesh);
    cl->AddCmd("v_EnableTC_sb", N_FOURCC('E', 'T', 'C', '_'), n_enabletc);
    cl->AddCmd("b_IsTCEnabled_s", N_FOURCC('I', 'T', 'C', 'E'), n_istcenabled);
    cl->AddCmd("v_ClearTCCache_v", N_FOURCC('C', 'T', 'C', 'C'), n_cleartccache);
    cl->AddCmd("fffffffff_GetTriangle_i", N_FOURCC('G', 'T', 'R', 'I'), n_gettriangle);
    cl->AddCmd("fff_GetPoint_iff", N_FOURCC('G', 'P', 'N', 'T'), n_getpoint);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the geom's commands, then SMSH when a mesh is
 *     held and ETC_ for "sphere", "box", "capsule" and "cylinder".
 */
bool nOpendeTriMeshGeom::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeGeom::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    nCmd* cmd = nullptr;
    if (this->triMesh)
    {
        cmd = ps->GetCmd(this, N_FOURCC('S', 'M', 'S', 'H'));
        cmd->In()->SetS(this->GetMesh());
        if (!ps->PutCmd(cmd)) return false;
    }
    static const char* const tcClasses[] = {"sphere", "box", "capsule", "cylinder"};
    for (const char* name : tcClasses)
    {
        cmd = ps->GetCmd(this, N_FOURCC('E', 'T', 'C', '_'));
        cmd->In()->SetS(name);
        cmd->In()->SetB(this->IsTCEnabled(name));
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}
