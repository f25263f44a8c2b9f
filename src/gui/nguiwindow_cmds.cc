//------------------------------------------------------------------------------
//  nguiwindow_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguiwindow.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_setescapecommand(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "escape command")) return;
    nCmdSelf<nGuiWindow>(slf)->SetEscapeCommand(s);
}

void n_getescapecommand(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiWindow>(slf)->GetEscapeCommand());
}

void n_setmodal(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiWindow>(slf)->SetModal(cmd->In()->GetB());
}

void n_ismodal(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiWindow>(slf)->IsModal());
}

void n_setdismissed(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiWindow>(slf)->SetDismissed(cmd->In()->GetB());
}

void n_isdismissed(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiWindow>(slf)->IsDismissed());
}

void n_setfadeintime(void* slf, nCmd* cmd)
{
    float t;
    if (!nCmdGetF(cmd, t, 0.0f, 1.0e9f, "fade-in time")) return;
    nCmdSelf<nGuiWindow>(slf)->SetFadeInTime(t);
}

void n_setfadeouttime(void* slf, nCmd* cmd)
{
    float t;
    if (!nCmdGetF(cmd, t, 0.0f, 1.0e9f, "fade-out time")) return;
    nCmdSelf<nGuiWindow>(slf)->SetFadeOutTime(t);
}

void n_close(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiWindow>(slf)->Close();
}

void n_setclosecommand(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "close command")) return;
    nCmdSelf<nGuiWindow>(slf)->SetCloseCommand(s);
}

void n_getclosecommand(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiWindow>(slf)->GetCloseCommand());
}

}  // namespace

/*
 * nguiwindow_initcmds --
 *     Side effects: registers the commands of nguiwindow on its class.
 */
void nguiwindow_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setescapecommand_s", N_FOURCC('S', 'E', 'S', 'H'), n_setescapecommand);
    cl->AddCmd("s_getescapecommand_v", N_FOURCC('G', 'E', 'S', 'H'), n_getescapecommand);
    cl->AddCmd("v_setmodal_b", N_FOURCC('S', 'M', 'O', 'D'), n_setmodal);
    cl->AddCmd("b_ismodal_v", N_FOURCC('I', 'S', 'M', 'D'), n_ismodal);
    cl->AddCmd("v_setdismissed_b", N_FOURCC('S', 'D', 'I', 'S'), n_setdismissed);
    cl->AddCmd("b_isdismissed_v", N_FOURCC('I', 'S', 'D', 'S'), n_isdismissed);
    cl->AddCmd("v_setfadeintime_f", N_FOURCC('S', 'F', 'I', 'T'), n_setfadeintime);
    cl->AddCmd("v_setfadeouttime_f", N_FOURCC('S', 'F', 'O', 'T'), n_setfadeouttime);
    cl->AddCmd("v_close_v", N_FOURCC('C', 'L', 'O', 'S'), n_close);
    cl->AddCmd("v_setclosecommand_s", N_FOURCC('S', 'T', 'C', 'C'), n_setclosecommand);
    cl->AddCmd("s_getclosecommand_v", N_FOURCC('G', 'T', 'C', 'C'), n_getclosecommand);
    cl->EndCmds();
}
