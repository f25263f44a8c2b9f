//------------------------------------------------------------------------------
//  nscenenode_cmds.cc
//
//  The script commands of nscenenode and its SaveCmds.
//------------------------------------------------------------------------------
#include "scene/nscenenode.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

#include <climits>
#include <cmath>

namespace
{

void n_addanimator(void* slf, nCmd* cmd)
{
    const char* path = nullptr;
    if (!nCmdGetNonEmptyS(cmd, path, "animator path")) return;
    nCmdSelf<nSceneNode>(slf)->AddAnimator(path);
}

void n_removeanimator(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "animator name")) return;
    nCmdSelf<nSceneNode>(slf)->RemoveAnimator(name);
}

void n_getnumanimators(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nSceneNode>(slf)->GetNumAnimators());
}

void n_getanimatorat(void* slf, nCmd* cmd)
{
    const int n = nCmdSelf<nSceneNode>(slf)->GetNumAnimators();
    int index = 0;
    n_cmd_check(cmd, n > 0, "the node has no animators");
    if (!nCmdGetI(cmd, index, 0, n - 1, "animator index")) return;
    cmd->Out()->SetS(nCmdSelf<nSceneNode>(slf)->GetAnimatorAt(index));
}

void n_loadresources(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nSceneNode>(slf)->LoadResources());
}

void n_setlocalbox(void* slf, nCmd* cmd)
{
    vector3 center;
    vector3 extents;
    if (!nCmdGetVector3(cmd, center, "box centre")) return;
    if (!nCmdGetVector3(cmd, extents, "box extents")) return;
    nCmdSelf<nSceneNode>(slf)->SetLocalBox(bbox3(center, extents));
}

void n_getlocalbox(void* slf, nCmd* cmd)
{
    const bbox3& box = nCmdSelf<nSceneNode>(slf)->GetLocalBox();
    nCmdPutVector3(cmd, (box.vmin + box.vmax) * 0.5f);
    nCmdPutVector3(cmd, (box.vmax - box.vmin) * 0.5f);
}

void n_setrenderpri(void* slf, nCmd* cmd)
{
    int pri = 0;
    if (!nCmdGetI(cmd, pri, INT_MIN, INT_MAX, "render priority")) return;
    if ((pri < -127) || (pri > 127))
    {
        const int clamped = (pri < -127) ? -127 : 127;
        n_printf("Warning: '%s': render priority %d outside -127..127, %d used\n", nCmdSelf<nSceneNode>(slf)->GetFullName().Get(),
                 pri, clamped);
        pri = clamped;
    }
    nCmdSelf<nSceneNode>(slf)->SetRenderPri(pri);
}

void n_getrenderpri(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nSceneNode>(slf)->GetRenderPri());
}

/*
 * DiffersFromZero --
 *     Results: true when a component is further than 0.000001 from zero.
 */
bool DiffersFromZero(const vector3& v)
{
    const float tol = 0.000001f;
    return (fabsf(v.x) > tol) || (fabsf(v.y) > tol) || (fabsf(v.z) > tol);
}

}  // namespace

/*
 * nscenenode_initcmds --
 *     Results: none. Side effects: registers the commands of nscenenode.
 */
void nscenenode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_addanimator_s", N_FOURCC('A', 'D', 'D', 'A'), n_addanimator);
    cl->AddCmd("v_removeanimator_s", N_FOURCC('R', 'E', 'M', 'A'), n_removeanimator);
    cl->AddCmd("i_getnumanimators_v", N_FOURCC('G', 'N', 'M', 'A'), n_getnumanimators);
    cl->AddCmd("s_getanimatorat_i", N_FOURCC('G', 'A', 'A', 'T'), n_getanimatorat);
    cl->AddCmd("b_loadresources_v", N_FOURCC('L', 'O', 'R', 'E'), n_loadresources);
    cl->AddCmd("v_setlocalbox_ffffff", N_FOURCC('S', 'L', 'C', 'B'), n_setlocalbox);
    cl->AddCmd("ffffff_getlocalbox_v", N_FOURCC('G', 'L', 'C', 'B'), n_getlocalbox);
    cl->AddCmd("v_setrenderpri_i", N_FOURCC('S', 'R', 'P', 'R'), n_setrenderpri);
    cl->AddCmd("i_getrenderpri_v", N_FOURCC('G', 'R', 'P', 'R'), n_getrenderpri);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the priority when not 0, the box when not
 *     zero, and one "addanimator" per animator.
 */
bool nSceneNode::SaveCmds(nPersistServer* ps)
{
    if (!nRoot::SaveCmds(ps)) return false;
    if (0 != this->renderPri)
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'R', 'P', 'R'));
        cmd->In()->SetI(this->renderPri);
        if (!ps->PutCmd(cmd)) return false;
    }
    if (DiffersFromZero(this->localBox.vmin) || DiffersFromZero(this->localBox.vmax))
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'L', 'C', 'B'));
        nCmdSetVector3(cmd, (this->localBox.vmin + this->localBox.vmax) * 0.5f);
        nCmdSetVector3(cmd, (this->localBox.vmax - this->localBox.vmin) * 0.5f);
        if (!ps->PutCmd(cmd)) return false;
    }
    for (int i = 0; i < this->GetNumAnimators(); i++)
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('A', 'D', 'D', 'A'));
        cmd->In()->SetS(this->GetAnimatorAt(i));
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}
