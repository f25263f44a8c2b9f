//------------------------------------------------------------------------------
//  naudioserver3_cmds.cc
//------------------------------------------------------------------------------
#include "audio3/naudioserver3.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_reset(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nAudioServer3>(slf)->Reset();
}

void n_setmastervolume(void* slf, nCmd* cmd)
{
    float v = 0.0f;
    if (!nCmdGetF(cmd, v, "master volume")) return;
    nCmdSelf<nAudioServer3>(slf)->SetMasterVolume(v);
}

void n_getmastervolume(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nAudioServer3>(slf)->GetMasterVolume());
}

}  // namespace

/*
 * naudioserver3_initcmds --
 *     Side effects: registers the commands of naudioserver3 on its class.
 */
void naudioserver3_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_reset_v", N_FOURCC('R', 'S', 'E', 'T'), n_reset);
    cl->AddCmd("v_setmastervolume_f", N_FOURCC('S', 'M', 'S', 'V'), n_setmastervolume);
    cl->AddCmd("f_getmastervolume_v", N_FOURCC('G', 'M', 'S', 'V'), n_getmastervolume);
    cl->EndCmds();
}
