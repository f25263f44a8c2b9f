//------------------------------------------------------------------------------
//  nguitextlabel_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguitextlabel.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

#include <climits>
#include <cstring>

namespace
{

void n_setfont(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetNonEmptyS(cmd, s, "font name")) return;
    nCmdSelf<nGuiTextLabel>(slf)->SetFont(s);
}

void n_getfont(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiTextLabel>(slf)->GetFont());
}

void n_setalignment(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "alignment")) return;
    const char* const names[] = {"left", "center", "right"};
    for (int i = 0; i < 3; i++)
    {
        if (0 == strcmp(s, names[i]))
        {
            nCmdSelf<nGuiTextLabel>(slf)->SetAlignment(i);
            return;
        }
    }
    nCmdFail(cmd, "nguitextlabel.setalign: Invalid align string '%.64s'", s);
}

void n_getalignment(void* slf, nCmd* cmd)
{
    const int a = nCmdSelf<nGuiTextLabel>(slf)->GetAlignment();
    cmd->Out()->SetS(0 == a ? "left" : (1 == a ? "center" : "right"));
}

void n_setcolor(void* slf, nCmd* cmd)
{
    vector4 c;
    if (!nCmdGetColor(cmd, c)) return;
    nCmdSelf<nGuiTextLabel>(slf)->SetColor(c);
}

void n_getcolor(void* slf, nCmd* cmd)
{
    const vector4& c = nCmdSelf<nGuiTextLabel>(slf)->GetColor();
    nCmdPutVector4(cmd, c);
}

void n_settext(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "text")) return;
    nCmdSelf<nGuiTextLabel>(slf)->SetText(s);
}

void n_gettext(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiTextLabel>(slf)->GetText());
}

void n_gettextextent(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nGuiTextLabel>(slf)->FindFont(), "unknown font '%.64s'", nCmdSelf<nGuiTextLabel>(slf)->GetFont());
    const vector2 extent = nCmdSelf<nGuiTextLabel>(slf)->GetTextExtent();
    nCmdPutVector2(cmd, extent);
}

void n_setint(void* slf, nCmd* cmd)
{
    int i;
    if (!nCmdGetI(cmd, i, INT_MIN, INT_MAX, "number")) return;
    nCmdSelf<nGuiTextLabel>(slf)->SetInt(i);
}

void n_getint(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nGuiTextLabel>(slf)->GetInt());
}

void n_setborder(void* slf, nCmd* cmd)
{
    vector2 b;
    if (!nCmdGetF(cmd, b.x, "x border") || !nCmdGetF(cmd, b.y, "y border")) return;
    nCmdSelf<nGuiTextLabel>(slf)->SetBorder(b);
}

void n_getborder(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nGuiTextLabel>(slf)->GetBorder().x);
    cmd->Out()->SetF(nCmdSelf<nGuiTextLabel>(slf)->GetBorder().y);
}

void n_setclipping(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiTextLabel>(slf)->SetClipping(cmd->In()->GetB());
}

void n_getclipping(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiTextLabel>(slf)->GetClipping());
}

void n_setvcenter(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiTextLabel>(slf)->SetVCenter(cmd->In()->GetB());
}

}  // namespace

/*
 * nguitextlabel_initcmds --
 *     Side effects: registers the commands of nguitextlabel on its class.
 */
void nguitextlabel_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setfont_s", N_FOURCC('S', 'F', 'N', 'T'), n_setfont);
    cl->AddCmd("s_getfont_v", N_FOURCC('G', 'F', 'N', 'T'), n_getfont);
    cl->AddCmd("v_setalignment_s", N_FOURCC('S', 'A', 'G', 'N'), n_setalignment);
    cl->AddCmd("s_getalignment_v", N_FOURCC('G', 'A', 'G', 'N'), n_getalignment);
    cl->AddCmd("v_setcolor_ffff", N_FOURCC('S', 'C', 'L', 'R'), n_setcolor);
    cl->AddCmd("ffff_getcolor_v", N_FOURCC('G', 'C', 'L', 'R'), n_getcolor);
    cl->AddCmd("v_settext_s", N_FOURCC('S', 'T', 'X', 'T'), n_settext);
    cl->AddCmd("s_gettext_v", N_FOURCC('G', 'T', 'X', 'T'), n_gettext);
    cl->AddCmd("ff_gettextextent_v", N_FOURCC('G', 'E', 'X', 'T'), n_gettextextent);
    cl->AddCmd("v_setint_i", N_FOURCC('S', 'I', 'N', 'T'), n_setint);
    cl->AddCmd("i_getint_v", N_FOURCC('G', 'I', 'N', 'T'), n_getint);
    cl->AddCmd("v_setborder_ff", N_FOURCC('S', 'B', 'R', 'D'), n_setborder);
    cl->AddCmd("ff_getborder_v", N_FOURCC('G', 'B', 'R', 'D'), n_getborder);
    cl->AddCmd("v_setclipping_b", N_FOURCC('S', 'C', 'L', 'P'), n_setclipping);
    cl->AddCmd("b_getclipping_v", N_FOURCC('G', 'C', 'L', 'P'), n_getclipping);
    cl->AddCmd("v_setvcenter_b", N_FOURCC('S', 'V', 'C', 'R'), n_setvcenter);
    cl->EndCmds();
}
