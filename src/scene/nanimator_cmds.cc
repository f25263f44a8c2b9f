//------------------------------------------------------------------------------
//  nanimator_cmds.cc
//
//  The script commands of nanimator and its SaveCmds.
//------------------------------------------------------------------------------
#include "scene/nanimator.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

namespace
{

void n_setchannel(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetNonEmptyS(cmd, name, "channel name")) return;
    nCmdSelf<nAnimator>(slf)->SetChannel(name);
}

void n_getchannel(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nAnimator>(slf)->GetChannel());
}

void n_setlooptype(void* slf, nCmd* cmd)
{
    const char* str = nullptr;
    if (!nCmdGetS(cmd, str, "loop type")) return;
    nCmdSelf<nAnimator>(slf)->SetLoopType(nAnimator::StringToLoopType(str));
}

void n_getlooptype(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nAnimator::LoopTypeToString(nCmdSelf<nAnimator>(slf)->GetLoopType()));
}

}  // namespace

/*
 * nanimator_initcmds --
 *     Results: none. Side effects: registers the commands of nanimator.
 */
void nanimator_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setchannel_s", N_FOURCC('S', 'C', 'H', 'N'), n_setchannel);
    cl->AddCmd("s_getchannel_v", N_FOURCC('G', 'C', 'H', 'N'), n_getchannel);
    cl->AddCmd("v_setlooptype_s", N_FOURCC('S', 'L', 'P', 'T'), n_setlooptype);
    cl->AddCmd("s_getlooptype_v", N_FOURCC('G', 'L', 'P', 'T'), n_getlooptype);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the channel when valid, then the loop type.
 */
bool nAnimator::SaveCmds(nPersistServer* ps)
{
    if (!nSceneNode::SaveCmds(ps)) return false;
    const char* channel = this->GetChannel();
    if (channel)
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'C', 'H', 'N'));
        cmd->In()->SetS(channel);
        if (!ps->PutCmd(cmd)) return false;
    }
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'L', 'P', 'T'));
    cmd->In()->SetS(LoopTypeToString(this->loopType));
    return ps->PutCmd(cmd);
}
