//------------------------------------------------------------------------------
//  nguitextentry_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguitextentry.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

#include <cstring>

namespace
{

void n_setcursorbrush(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "cursor brush name")) return;
    nCmdSelf<nGuiTextEntry>(slf)->SetCursorBrush(s);
}

void n_getcursorbrush(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiTextEntry>(slf)->GetCursorBrush());
}

void n_setmaxlength(void* slf, nCmd* cmd)
{
    int n;
    if (!nCmdGetI(cmd, n, 1, nGuiTextEntry::MaxLength, "maximum length")) return;
    nCmdSelf<nGuiTextEntry>(slf)->SetMaxLength(n);
}

void n_getmaxlength(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nGuiTextEntry>(slf)->GetMaxLength());
}

void n_setactive(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiTextEntry>(slf)->SetActive(cmd->In()->GetB());
}

void n_getactive(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiTextEntry>(slf)->GetActive());
}

void n_setemptytext(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "empty text")) return;
    nCmdSelf<nGuiTextEntry>(slf)->SetEmptyText(s);
}

void n_getemptytext(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiTextEntry>(slf)->GetEmptyText());
}

void n_setoverstrike(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiTextEntry>(slf)->SetOverstrike(cmd->In()->GetB());
}

void n_setinitialcursorpos(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "cursor position")) return;
    if (0 == strcmp(s, "left"))
        nCmdSelf<nGuiTextEntry>(slf)->SetInitialCursorPos(nGuiTextEntry::Start);
    else if (0 == strcmp(s, "right"))
        nCmdSelf<nGuiTextEntry>(slf)->SetInitialCursorPos(nGuiTextEntry::End);
    else
        nCmdFail(cmd, "nguitextentry.setinitialcursorpos: Invalid string '%.64s'", s);
}

}  // namespace

/*
 * nguitextentry_initcmds --
 *     Side effects: registers the commands of nguitextentry on its class.
 */
void nguitextentry_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setcursorbrush_s", N_FOURCC('S', 'C', 'R', 'B'), n_setcursorbrush);
    cl->AddCmd("s_getcursorbrush_v", N_FOURCC('G', 'C', 'R', 'B'), n_getcursorbrush);
    cl->AddCmd("v_setmaxlength_i", N_FOURCC('S', 'M', 'X', 'L'), n_setmaxlength);
    cl->AddCmd("i_getmaxlength_v", N_FOURCC('G', 'M', 'X', 'L'), n_getmaxlength);
    cl->AddCmd("v_setactive_b", N_FOURCC('S', 'A', 'C', 'T'), n_setactive);
    cl->AddCmd("b_getactive_v", N_FOURCC('G', 'A', 'C', 'T'), n_getactive);
    cl->AddCmd("v_setemptytext_s", N_FOURCC('S', 'E', 'M', 'T'), n_setemptytext);
    cl->AddCmd("s_getemptytext_v", N_FOURCC('G', 'E', 'M', 'T'), n_getemptytext);
    cl->AddCmd("v_setoverstrike_b", N_FOURCC('S', 'O', 'S', 'T'), n_setoverstrike);
    cl->AddCmd("v_setinitialcursorpos_s", N_FOURCC('S', 'I', 'C', 'P'), n_setinitialcursorpos);
    cl->EndCmds();
}
