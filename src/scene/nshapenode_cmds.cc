//------------------------------------------------------------------------------
//  nshapenode_cmds.cc
//
//  The script commands of nshapenode and its SaveCmds.
//------------------------------------------------------------------------------
#include "scene/nshapenode.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

#include <climits>

namespace
{

void n_setmesh(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "mesh file name")) return;
    nCmdSelf<nShapeNode>(slf)->SetMesh(name);
}

void n_getmesh(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nShapeNode>(slf)->GetMesh());
}

/// a negative group index is warned about and 0 used; an index past the
/// mesh's groups is found when the mesh loads
void n_setgroupindex(void* slf, nCmd* cmd)
{
    int i = 0;
    if (!nCmdGetI(cmd, i, INT_MIN, INT_MAX, "group index")) return;
    if (i < 0)
    {
        n_printf("Warning: '%s': group index %d is negative, 0 used\n", nCmdSelf<nShapeNode>(slf)->GetFullName().Get(), i);
        i = 0;
    }
    nCmdSelf<nShapeNode>(slf)->SetGroupIndex(i);
}

void n_getgroupindex(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nShapeNode>(slf)->GetGroupIndex());
}

void n_setmeshresourceloader(void* slf, nCmd* cmd)
{
    const char* path = nullptr;
    if (!nCmdGetS(cmd, path, "resource loader path")) return;
    nCmdSelf<nShapeNode>(slf)->SetMeshResourceLoader(path);
}

void n_getmeshresourceloader(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nShapeNode>(slf)->GetMeshResourceLoader());
}

void n_setmeshusage(void* slf, nCmd* cmd)
{
    const char* str = nullptr;
    if (!nCmdGetS(cmd, str, "mesh usage")) return;
    int flags = 0;
    n_cmd_check(cmd, nMesh2::ParseUsageString(str, flags), "unknown mesh usage word in '%.64s'", str);
    nCmdSelf<nShapeNode>(slf)->SetMeshUsage(flags);
}

void n_getmeshusage(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nMesh2::ConvertUsageFlagsToString(nCmdSelf<nShapeNode>(slf)->GetMeshUsage()).Get());
}

}  // namespace

/*
 * nshapenode_initcmds --
 *     Results: none. Side effects: registers the commands of nshapenode.
 */
void nshapenode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setmesh_s", N_FOURCC('S', 'M', 'S', 'H'), n_setmesh);
    cl->AddCmd("s_getmesh_v", N_FOURCC('G', 'M', 'S', 'H'), n_getmesh);
    cl->AddCmd("v_setgroupindex_i", N_FOURCC('S', 'G', 'R', 'I'), n_setgroupindex);
    cl->AddCmd("i_getgroupindex_v", N_FOURCC('G', 'G', 'R', 'I'), n_getgroupindex);
    cl->AddCmd("v_setmeshresourceloader_s", N_FOURCC('S', 'M', 'R', 'L'), n_setmeshresourceloader);
    cl->AddCmd("s_getmeshresourceloader_v", N_FOURCC('G', 'M', 'R', 'L'), n_getmeshresourceloader);
    cl->AddCmd("v_setmeshusage_s", N_FOURCC('S', 'M', 'S', 'U'), n_setmeshusage);
    cl->AddCmd("s_getmeshusage_v", N_FOURCC('G', 'M', 'S', 'U'), n_getmeshusage);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the mesh when one is named, the group index,
 *     the resource loader when it names an object, and the usage.
 */
bool nShapeNode::SaveCmds(nPersistServer* ps)
{
    if (!nMaterialNode::SaveCmds(ps)) return false;
    nCmd* cmd = nullptr;
    if (this->GetMesh())
    {
        cmd = ps->GetCmd(this, N_FOURCC('S', 'M', 'S', 'H'));
        cmd->In()->SetS(this->GetMesh());
        if (!ps->PutCmd(cmd)) return false;
    }
    cmd = ps->GetCmd(this, N_FOURCC('S', 'G', 'R', 'I'));
    cmd->In()->SetI(this->GetGroupIndex());
    if (!ps->PutCmd(cmd)) return false;
    if (this->GetMeshResourceLoader())
    {
        cmd = ps->GetCmd(this, N_FOURCC('S', 'M', 'R', 'L'));
        cmd->In()->SetS(this->GetMeshResourceLoader());
        if (!ps->PutCmd(cmd)) return false;
    }
    cmd = ps->GetCmd(this, N_FOURCC('S', 'M', 'S', 'U'));
    cmd->In()->SetS(nMesh2::ConvertUsageFlagsToString(this->GetMeshUsage()).Get());
    return ps->PutCmd(cmd);
}
