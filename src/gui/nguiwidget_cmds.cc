//------------------------------------------------------------------------------
//  nguiwidget_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguiwidget.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

namespace
{

void n_show(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiWidget>(slf)->Show();
}

void n_hide(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiWidget>(slf)->Hide();
}

void n_isshown(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiWidget>(slf)->IsShown());
}

void n_enable(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiWidget>(slf)->Enable();
}

void n_disable(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiWidget>(slf)->Disable();
}

void n_isenabled(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiWidget>(slf)->IsEnabled());
}

/// a command that reads one string and hands it to a setter
template <void (nGuiWidget::*SETTER)(const char*)> void
SetString(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "string")) return;
    (nCmdSelf<nGuiWidget>(slf)->*SETTER)(s);
}

template <const char* (nGuiWidget::*GETTER)() const> void
GetString(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS((nCmdSelf<nGuiWidget>(slf)->*GETTER)());
}

void n_setrect(void* slf, nCmd* cmd)
{
    float l, r, t, b;
    if (!nCmdGetF(cmd, l, "left") || !nCmdGetF(cmd, r, "right") || !nCmdGetF(cmd, t, "top") ||
        !nCmdGetF(cmd, b, "bottom"))
    {
        return;
    }
    nCmdSelf<nGuiWidget>(slf)->SetRect(rectangle(vector2(l, t), vector2(r, b)));
}

void n_getrect(void* slf, nCmd* cmd)
{
    const rectangle& r = nCmdSelf<nGuiWidget>(slf)->GetRect();
    cmd->Out()->SetF(r.v0.x);
    cmd->Out()->SetF(r.v1.x);
    cmd->Out()->SetF(r.v0.y);
    cmd->Out()->SetF(r.v1.y);
}

void n_setblinking(void* slf, nCmd* cmd)
{
    const bool on = cmd->In()->GetB();
    float timeOut;
    if (!nCmdGetF(cmd, timeOut, 0.0f, 1.0e9f, "time-out")) return;
    nCmdSelf<nGuiWidget>(slf)->SetBlinking(on, timeOut);
}

void n_setblinkrate(void* slf, nCmd* cmd)
{
    float rate;
    if (!nCmdGetF(cmd, rate, 0.0f, 1.0e9f, "blink rate")) return;
    n_cmd_check(cmd, rate > 0.0f, "the blink rate must be positive");
    nCmdSelf<nGuiWidget>(slf)->SetBlinkRate(rate);
}

void n_getblinking(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiWidget>(slf)->GetBlinking());
}

void n_hasfocus(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiWidget>(slf)->HasFocus());
}

}  // namespace

/*
 * nguiwidget_initcmds --
 *     Side effects: registers the commands of nguiwidget on its class.
 */
void nguiwidget_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_show_v", N_FOURCC('S', 'H', 'O', 'W'), n_show);
    cl->AddCmd("v_hide_v", N_FOURCC('H', 'I', 'D', 'E'), n_hide);
    cl->AddCmd("b_isshown_v", N_FOURCC('I', 'S', 'S', 'H'), n_isshown);
    cl->AddCmd("v_enable_v", N_FOURCC('E', 'N', 'A', 'B'), n_enable);
    cl->AddCmd("v_disable_v", N_FOURCC('D', 'I', 'S', 'B'), n_disable);
    cl->AddCmd("b_isenabled_v", N_FOURCC('I', 'S', 'E', 'B'), n_isenabled);
    cl->AddCmd("v_setcommand_s", N_FOURCC('S', 'T', 'C', 'M'), SetString<&nGuiWidget::SetCommand>);
    cl->AddCmd("s_getcommand_v", N_FOURCC('G', 'T', 'C', 'M'), GetString<&nGuiWidget::GetCommand>);
    cl->AddCmd("v_setshowcommand_s", N_FOURCC('S', 'S', 'H', 'C'), SetString<&nGuiWidget::SetShowCommand>);
    cl->AddCmd("s_getshowcommand_v", N_FOURCC('G', 'S', 'H', 'C'), GetString<&nGuiWidget::GetShowCommand>);
    cl->AddCmd("v_sethidecommand_s", N_FOURCC('S', 'H', 'D', 'C'), SetString<&nGuiWidget::SetHideCommand>);
    cl->AddCmd("s_gethidecommand_v", N_FOURCC('G', 'H', 'D', 'C'), GetString<&nGuiWidget::GetHideCommand>);
    cl->AddCmd("v_setframecommand_s", N_FOURCC('S', 'F', 'R', 'C'), SetString<&nGuiWidget::SetFrameCommand>);
    cl->AddCmd("s_getframecommand_v", N_FOURCC('G', 'F', 'R', 'C'), GetString<&nGuiWidget::GetFrameCommand>);
    cl->AddCmd("v_setbuttondowncommand_s", N_FOURCC('S', 'B', 'D', 'C'),
               SetString<&nGuiWidget::SetButtonDownCommand>);
    cl->AddCmd("s_getbuttondowncommand_v", N_FOURCC('G', 'B', 'D', 'C'),
               GetString<&nGuiWidget::GetButtonDownCommand>);
    cl->AddCmd("v_setrect_ffff", N_FOURCC('S', 'T', 'P', 'S'), n_setrect);
    cl->AddCmd("ffff_getrect_v", N_FOURCC('G', 'T', 'P', 'S'), n_getrect);
    cl->AddCmd("v_settooltip_s", N_FOURCC('S', 'T', 'T', 'P'), SetString<&nGuiWidget::SetTooltip>);
    cl->AddCmd("s_gettooltip_v", N_FOURCC('G', 'T', 'T', 'P'), GetString<&nGuiWidget::GetTooltip>);
    cl->AddCmd("v_setblinking_bf", N_FOURCC('S', 'B', 'L', 'K'), n_setblinking);
    cl->AddCmd("v_setblinkrate_f", N_FOURCC('S', 'B', 'L', 'R'), n_setblinkrate);
    cl->AddCmd("b_getblinking_v", N_FOURCC('G', 'B', 'L', 'K'), n_getblinking);
    cl->AddCmd("v_setdefaultbrush_s", N_FOURCC('S', 'D', 'F', 'B'), SetString<&nGuiWidget::SetDefaultBrush>);
    cl->AddCmd("s_getdefaultbrush_v", N_FOURCC('G', 'D', 'F', 'B'), GetString<&nGuiWidget::GetDefaultBrush>);
    cl->AddCmd("v_setpressedbrush_s", N_FOURCC('S', 'P', 'R', 'B'), SetString<&nGuiWidget::SetPressedBrush>);
    cl->AddCmd("s_getpressedbrush_v", N_FOURCC('G', 'P', 'R', 'B'), GetString<&nGuiWidget::GetPressedBrush>);
    cl->AddCmd("v_sethighlightbrush_s", N_FOURCC('S', 'H', 'L', 'B'), SetString<&nGuiWidget::SetHighlightBrush>);
    cl->AddCmd("s_gethighlightbrush_v", N_FOURCC('G', 'H', 'L', 'B'), GetString<&nGuiWidget::GetHighlightBrush>);
    cl->AddCmd("v_setdisabledbrush_s", N_FOURCC('S', 'D', 'S', 'B'), SetString<&nGuiWidget::SetDisabledBrush>);
    cl->AddCmd("s_getdisabledbrush_v", N_FOURCC('G', 'D', 'S', 'B'), GetString<&nGuiWidget::GetDisabledBrush>);
    cl->AddCmd("b_hasfocus_v", N_FOURCC('H', 'A', 'S', 'F'), n_hasfocus);
    cl->EndCmds();
}

namespace
{

/// write one command with a string argument
bool PutString(nPersistServer* ps, nObject* obj, nFourCC id, const char* s)
{
    nCmd* cmd = ps->GetCmd(obj, id);
    cmd->In()->SetS(s);
    return ps->PutCmd(cmd);
}

}  // namespace

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes "hide" and "disable" when they apply, the
 *     command strings that are set, the tooltip always, blinking with its
 *     rate when on, the brushes that are named, and the rectangle.
 */
bool nGuiWidget::SaveCmds(nPersistServer* ps)
{
    if (!nRoot::SaveCmds(ps)) return false;
    if (!this->IsShown() && !ps->PutCmd(ps->GetCmd(this, N_FOURCC('H', 'I', 'D', 'E')))) return false;
    if (!this->IsEnabled() && !ps->PutCmd(ps->GetCmd(this, N_FOURCC('D', 'I', 'S', 'B')))) return false;
    const struct
    {
        nFourCC id;
        const nString& str;
    } strings[] = {
        {N_FOURCC('S', 'T', 'C', 'M'), this->command},           {N_FOURCC('S', 'S', 'H', 'C'), this->showCommand},
        {N_FOURCC('S', 'H', 'D', 'C'), this->hideCommand},       {N_FOURCC('S', 'F', 'R', 'C'), this->frameCommand},
        {N_FOURCC('S', 'B', 'D', 'C'), this->buttonDownCommand},
    };
    for (const auto& s : strings)
    {
        if (!s.str.IsEmpty() && !PutString(ps, this, s.id, s.str.Get())) return false;
    }
    if (!PutString(ps, this, N_FOURCC('S', 'T', 'T', 'P'), this->tooltip.Get())) return false;
    if (this->blinking)
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'B', 'L', 'K'));
        cmd->In()->SetB(true);
        cmd->In()->SetF(float(this->blinkTimeOut));
        if (!ps->PutCmd(cmd)) return false;
        cmd = ps->GetCmd(this, N_FOURCC('S', 'B', 'L', 'R'));
        cmd->In()->SetF(float(this->blinkRate));
        if (!ps->PutCmd(cmd)) return false;
    }
    const struct
    {
        nFourCC id;
        const nGuiBrush& brush;
    } brushes[] = {
        {N_FOURCC('S', 'D', 'F', 'B'), this->defaultBrush},
        {N_FOURCC('S', 'P', 'R', 'B'), this->pressedBrush},
        {N_FOURCC('S', 'H', 'L', 'B'), this->highlightBrush},
        {N_FOURCC('S', 'D', 'S', 'B'), this->disabledBrush},
    };
    for (const auto& b : brushes)
    {
        if (!b.brush.GetName().IsEmpty() && !PutString(ps, this, b.id, b.brush.GetName().Get())) return false;
    }
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'T', 'P', 'S'));
    cmd->In()->SetF(this->rect.v0.x);
    cmd->In()->SetF(this->rect.v1.x);
    cmd->In()->SetF(this->rect.v0.y);
    cmd->In()->SetF(this->rect.v1.y);
    return ps->PutCmd(cmd);
}
