//------------------------------------------------------------------------------
//  nopendeserver_cmds.cc
//
//  The script commands of nopendeserver. The server writes no commands of
//  its own when saved.
//------------------------------------------------------------------------------
#include "opende/nopendeserver.h"
#include "kernel/ncmdargs.h"

#include <climits>

namespace
{

/// a surface table far beyond any game's needs is a script's mistake
const int MaxSurfaces = 4096;

/// the next input as an index of the surface table, which must exist
bool GetSurfaceIndexArg(nCmd* cmd, nOpendeServer* self, int& index)
{
    if (!self->InBeginSurfaces())
    {
        cmd->In()->GetI();
        return nCmdFail(cmd, "no surface table: call BeginSurfaces first");
    }
    return nCmdGetI(cmd, index, 0, self->GetNumSurfaces() - 1, "surface index");
}

/*
 * n_newtrimesh --
 *     A file that does not load fails the command; nothing is kept.
 */
void n_newtrimesh(void* slf, nCmd* cmd)
{
    const char* id = nullptr;
    const char* filename = nullptr;
    int group = 0;
    if (!nCmdGetNonEmptyS(cmd, id, "mesh id") || !nCmdGetNonEmptyS(cmd, filename, "file name") ||
        !nCmdGetI(cmd, group, 0, INT_MAX, "group"))
    {
        return;
    }
    n_cmd_check(cmd, nCmdSelf<nOpendeServer>(slf)->NewTriMesh(id, filename, group), "mesh '%s' failed to load from '%s'", id, filename);
}

void n_deletetrimesh(void* slf, nCmd* cmd)
{
    const char* id = nullptr;
    if (!nCmdGetNonEmptyS(cmd, id, "mesh id")) return;
    const nOpendeTriMesh* mesh = nCmdSelf<nOpendeServer>(slf)->FindTriMesh(id);
    n_cmd_check(cmd, !mesh || 0 == mesh->GetRef(), "mesh '%s' is still in use by %d geoms", id, mesh->GetRef());
    nCmdSelf<nOpendeServer>(slf)->DeleteTriMesh(id);
}

void n_beginsurfaces(void* slf, nCmd* cmd)
{
    int num = 0;
    if (!nCmdGetI(cmd, num, 1, MaxSurfaces, "surface count")) return;
    n_cmd_check(cmd, !nCmdSelf<nOpendeServer>(slf)->InBeginSurfaces(), "the surface table exists already");
    nCmdSelf<nOpendeServer>(slf)->BeginSurfaces(num);
}

void n_addsurface(void* slf, nCmd* cmd)
{
    int index = 0;
    const char* name = nullptr;
    if (!GetSurfaceIndexArg(cmd, nCmdSelf<nOpendeServer>(slf), index) || !nCmdGetS(cmd, name, "surface name")) return;
    nCmdSelf<nOpendeServer>(slf)->AddSurface(index, name);
}

void n_enablesurfparam(void* slf, nCmd* cmd)
{
    int index = 0;
    const char* param = nullptr;
    if (!GetSurfaceIndexArg(cmd, nCmdSelf<nOpendeServer>(slf), index) || !nCmdGetS(cmd, param, "parameter name")) return;
    n_cmd_check(cmd, nCmdSelf<nOpendeServer>(slf)->EnableSurfaceParam(index, param), "unrecognized param %s", param);
}

void n_setsurfparam(void* slf, nCmd* cmd)
{
    int index = 0;
    const char* param = nullptr;
    float value = 0.0f;
    if (!GetSurfaceIndexArg(cmd, nCmdSelf<nOpendeServer>(slf), index) || !nCmdGetS(cmd, param, "parameter name") ||
        !nCmdGetF(cmd, value, "value"))
    {
        return;
    }
    n_cmd_check(cmd, nCmdSelf<nOpendeServer>(slf)->SetSurfaceParam(index, param, value), "unrecognized param %s", param);
}

void n_endsurfaces(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nOpendeServer>(slf)->InBeginSurfaces(), "no surface table: call BeginSurfaces first");
    nCmdSelf<nOpendeServer>(slf)->EndSurfaces();
}

void n_getsurfaceindex(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "surface name")) return;
    n_cmd_check(cmd, nCmdSelf<nOpendeServer>(slf)->InBeginSurfaces(), "no surface table: call BeginSurfaces first");
    cmd->Out()->SetI(nCmdSelf<nOpendeServer>(slf)->GetSurfaceIndex(name));
}

}  // namespace

/*
 * nopendeserver_initcmds --
 *     Side effects: registers the commands of nopendeserver.
 */
void nopendeserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_NewTriMesh_ssi", N_FOURCC('N', 'T', 'M', '_'), n_newtrimesh);
    cl->AddCmd("v_DeleteTriMesh_s", N_FOURCC('D', 'T', 'M', '_'), n_deletetrimesh);
    cl->AddCmd("v_BeginSurfaces_i", N_FOURCC('B', 'S', 'U', 'R'), n_beginsurfaces);
    cl->AddCmd("v_AddSurface_is", N_FOURCC('A', 'D', 'S', 'F'), n_addsurface);
    cl->AddCmd("v_EnableSurfParam_is", N_FOURCC('E', 'S', 'F', 'P'), n_enablesurfparam);
    cl->AddCmd("v_SetSurfParam_isf", N_FOURCC('S', 'S', 'F', 'P'), n_setsurfparam);
    cl->AddCmd("v_EndSurfaces_v", N_FOURCC('E', 'S', 'U', 'R'), n_endsurfaces);
    cl->AddCmd("i_GetSurfaceIndex_s", N_FOURCC('G', 'S', 'F', 'I'), n_getsurfaceindex);
    cl->EndCmds();
}
