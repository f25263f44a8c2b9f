//------------------------------------------------------------------------------
//  ntimeserver_cmds.cc
//
//  The time server's script commands. Script arguments and results are
//  single-precision floats.
//------------------------------------------------------------------------------
#include "kernel/ntimeserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

#include <cfloat>

namespace
{

void n_resettime(void* slf, nCmd*)
{
    nCmdSelf<nTimeServer>(slf)->ResetTime();
}

void n_stoptime(void* slf, nCmd*)
{
    nCmdSelf<nTimeServer>(slf)->StopTime();
}

void n_starttime(void* slf, nCmd*)
{
    nCmdSelf<nTimeServer>(slf)->StartTime();
}

void n_gettime(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF((float)nCmdSelf<nTimeServer>(slf)->GetTime());
}

/*
 * n_settime --
 *     Side effects: sets the time; a time that is not finite is a script
 *     error. lockdeltat and waitdeltat take finite steps of 0 or more.
 */
void n_settime(void* slf, nCmd* cmd)
{
    float t;
    if (!nCmdGetF(cmd, t, "time")) return;
    nCmdSelf<nTimeServer>(slf)->SetTime(t);
}

void n_lockdeltat(void* slf, nCmd* cmd)
{
    float dt;
    if (!nCmdGetF(cmd, dt, 0.0f, FLT_MAX, "step")) return;
    nCmdSelf<nTimeServer>(slf)->LockDeltaT(dt);
}

void n_waitdeltat(void* slf, nCmd* cmd)
{
    float dt;
    if (!nCmdGetF(cmd, dt, 0.0f, FLT_MAX, "step")) return;
    nCmdSelf<nTimeServer>(slf)->WaitDeltaT(dt);
}

void n_getlockdeltat(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF((float)nCmdSelf<nTimeServer>(slf)->GetLockDeltaT());
}

void n_getwaitdeltat(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF((float)nCmdSelf<nTimeServer>(slf)->GetWaitDeltaT());
}

void n_enableframetime(void* slf, nCmd*)
{
    nCmdSelf<nTimeServer>(slf)->EnableFrameTime();
}

void n_disableframetime(void* slf, nCmd*)
{
    nCmdSelf<nTimeServer>(slf)->DisableFrameTime();
}

void n_getframetime(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF((float)nCmdSelf<nTimeServer>(slf)->GetFrameTime());
}

}  // namespace

/*
 * ntimeserver_initcmds --
 *     Results: none.
 *     Side effects: registers the time server's commands on its class.
 */
void ntimeserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_resettime_v", N_FOURCC('R', 'E', 'S', 'T'), n_resettime);
    cl->AddCmd("v_stoptime_v", N_FOURCC('S', 'T', 'O', 'P'), n_stoptime);
    cl->AddCmd("v_starttime_v", N_FOURCC('S', 'T', 'R', 'T'), n_starttime);
    cl->AddCmd("f_gettime_v", N_FOURCC('G', 'E', 'T', 'T'), n_gettime);
    cl->AddCmd("v_settime_f", N_FOURCC('S', 'E', 'T', 'T'), n_settime);
    cl->AddCmd("v_lockdeltat_f", N_FOURCC('L', 'D', 'L', 'T'), n_lockdeltat);
    cl->AddCmd("v_waitdeltat_f", N_FOURCC('W', 'T', 'D', 'T'), n_waitdeltat);
    cl->AddCmd("f_getlockdeltat_v", N_FOURCC('G', 'L', 'D', 'T'), n_getlockdeltat);
    cl->AddCmd("f_getwaitdeltat_v", N_FOURCC('G', 'W', 'D', 'T'), n_getwaitdeltat);
    cl->AddCmd("v_enableframetime_v", N_FOURCC('E', 'N', 'F', 'T'), n_enableframetime);
    cl->AddCmd("v_disableframetime_v", N_FOURCC('D', 'S', 'F', 'T'), n_disableframetime);
    cl->AddCmd("f_getframetime_v", N_FOURCC('G', 'T', 'F', 'T'), n_getframetime);
    cl->EndCmds();
}
