//------------------------------------------------------------------------------
//  ngame_cmds.cc
//
//  The script commands of ngame. The values come from scripts: a NaN or
//  infinite multiplier or an empty prototype path is a script error, and commands
//  that act on a match do nothing outside one.
//------------------------------------------------------------------------------
#include "game/ngame.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_setpause(void* slf, nCmd* cmd)
{
    nCmdSelf<nGame>(slf)->SetPause(cmd->In()->GetB());
}

void n_settimemultiplier(void* slf, nCmd* cmd)
{
    float m;
    if (!nCmdGetF(cmd, m, "time multiplier")) return;
    nCmdSelf<nGame>(slf)->SetTimeMultiplier(m);
}

void n_restart(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGame>(slf)->Restart();
}

void n_toggleeyeview(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGame>(slf)->ToggleEyeView();
}

void n_setplayerproto(void* slf, nCmd* cmd)
{
    const char* proto;
    if (!nCmdGetNonEmptyS(cmd, proto, "player prototype")) return;
    nCmdSelf<nGame>(slf)->SetPlayerProto(nString(proto));
}

void n_getplayer(void* slf, nCmd* cmd)
{
    if (!nCmdSelf<nGame>(slf)->HasPlayerProto())
    {
        nCmdFail(cmd, "no player prototype is set");
        return;
    }
    cmd->Out()->SetS(nCmdSelf<nGame>(slf)->GetPlayerProto().Get());
}

void n_getsavenotice(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGame>(slf)->GetSaveNotice().Get());
}

}  // namespace

/*
 * ngame_initcmds --
 *     Side effects: registers the commands of ngame on its class.
 */
void ngame_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setpause_b", N_FOURCC('S', 'T', 'P', 'S'), n_setpause);
    cl->AddCmd("v_settimemultiplier_f", N_FOURCC('S', 'M', 'P', 'L'), n_settimemultiplier);
    cl->AddCmd("v_restart_v", N_FOURCC('R', 'S', 'T', 'R'), n_restart);
    cl->AddCmd("v_toggleeyeview_v", N_FOURCC('T', 'E', 'Y', 'V'), n_toggleeyeview);
    cl->AddCmd("v_setplayerproto_s", N_FOURCC('S', 'P', 'P', 'R'), n_setplayerproto);
    cl->AddCmd("s_getplayer_v", N_FOURCC('G', 'P', 'L', 'R'), n_getplayer);
    cl->AddCmd("s_getsavenotice_v", N_FOURCC('G', 'S', 'N', 'T'), n_getsavenotice);
    cl->EndCmds();
}
