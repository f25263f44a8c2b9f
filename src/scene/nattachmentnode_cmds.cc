//------------------------------------------------------------------------------
//  nattachmentnode_cmds.cc
//
//  The script commands of nattachmentnode and its SaveCmds.
//------------------------------------------------------------------------------
#include "scene/nattachmentnode.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

#include <climits>

namespace
{

void n_setjointbyname(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "joint name")) return;
    nCmdSelf<nAttachmentNode>(slf)->SetJointByName(name);
}

void n_setjointbyindex(void* slf, nCmd* cmd)
{
    int index = 0;
    if (!nCmdGetI(cmd, index, 0, INT_MAX, "joint index")) return;
    nCmdSelf<nAttachmentNode>(slf)->SetJointByIndex(index);
}

}  // namespace

/*
 * nattachmentnode_initcmds --
 *     Results: none. Side effects: registers the commands of nattachmentnode.
 */
void nattachmentnode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setjointbyname_s", N_FOURCC('S', 'J', 'B', 'N'), n_setjointbyname);
    cl->AddCmd("v_setjointbyindex_i", N_FOURCC('S', 'J', 'B', 'I'), n_setjointbyindex);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the joint index when a joint is set.
 */
bool nAttachmentNode::SaveCmds(nPersistServer* ps)
{
    if (!nTransformNode::SaveCmds(ps)) return false;
    if (!this->IsJointSet()) return true;
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'J', 'B', 'I'));
    cmd->In()->SetI(this->GetJointIndex());
    return ps->PutCmd(cmd);
}
