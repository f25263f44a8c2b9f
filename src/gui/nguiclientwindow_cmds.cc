//------------------------------------------------------------------------------
//  nguiclientwindow_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguiclientwindow.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_setmovable(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiClientWindow>(slf)->SetMovable(cmd->In()->GetB());
}

void n_ismovable(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiClientWindow>(slf)->IsMovable());
}

void n_setresizable(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiClientWindow>(slf)->SetResizable(cmd->In()->GetB());
}

void n_isresizable(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiClientWindow>(slf)->IsResizable());
}

void n_setclosebutton(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiClientWindow>(slf)->SetCloseButton(cmd->In()->GetB());
}

void n_hasclosebutton(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiClientWindow>(slf)->HasCloseButton());
}

void n_settitle(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "title")) return;
    nCmdSelf<nGuiClientWindow>(slf)->SetTitle(s);
}

void n_gettitle(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiClientWindow>(slf)->GetTitle());
}

}  // namespace

/*
 * nguiclientwindow_initcmds --
 *     Side effects: registers the commands of nguiclientwindow on its class.
 */
void nguiclientwindow_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setmovable_b", N_FOURCC('S', 'M', 'O', 'V'), n_setmovable);
    cl->AddCmd("b_ismovable_v", N_FOURCC('I', 'S', 'M', 'V'), n_ismovable);
    cl->AddCmd("v_setresizable_b", N_FOURCC('S', 'R', 'E', 'S'), n_setresizable);
    cl->AddCmd("b_isresizable_v", N_FOURCC('I', 'S', 'R', 'S'), n_isresizable);
    cl->AddCmd("v_setclosebutton_b", N_FOURCC('S', 'C', 'L', 'B'), n_setclosebutton);
    cl->AddCmd("b_hasclosebutton_v", N_FOURCC('G', 'C', 'L', 'B'), n_hasclosebutton);
    cl->AddCmd("v_settitle_s", N_FOURCC('S', 'T', 'I', 'T'), n_settitle);
    cl->AddCmd("s_gettitle_v", N_FOURCC('G', 'T', 'I', 'T'), n_gettitle);
    cl->EndCmds();
}
