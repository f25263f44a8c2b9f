//------------------------------------------------------------------------------
//  nguitextview_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguitextview.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{

void n_setfont(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetNonEmptyS(cmd, s, "font name")) return;
    nCmdSelf<nGuiTextView>(slf)->SetFont(s);
}

void n_getfont(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiTextView>(slf)->GetFont());
}

// the border is a float that scripts give and get as its decimal text
void n_setborder(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "border")) return;
    char* end = nullptr;
    const float b = strtof(s, &end);
    n_cmd_check(cmd, end != s && 0 == *end && std::isfinite(b), "border '%.64s' is not a number", s);
    nCmdSelf<nGuiTextView>(slf)->SetBorder(b);
}

void n_getborder(void* slf, nCmd* cmd)
{
    char buf[64];
    snprintf(buf, sizeof(buf), "%g", double(nCmdSelf<nGuiTextView>(slf)->GetBorder()));
    cmd->Out()->SetS(buf);
}

void n_settextcolor(void* slf, nCmd* cmd)
{
    vector4 c;
    if (!nCmdGetColor(cmd, c))
        return;
    nCmdSelf<nGuiTextView>(slf)->SetTextColor(c);
}

void n_gettextcolor(void* slf, nCmd* cmd)
{
    const vector4& c = nCmdSelf<nGuiTextView>(slf)->GetTextColor();
    nCmdPutVector4(cmd, c);
}

void n_beginappend(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiTextView>(slf)->BeginAppend();
}

void n_appendline(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "line")) return;
    nCmdSelf<nGuiTextView>(slf)->AppendLine(s);
}

void n_endappend(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiTextView>(slf)->EndAppend();
}

void n_getnumvisiblelines(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nGuiTextView>(slf)->FindFont(), "unknown font '%.64s'", nCmdSelf<nGuiTextView>(slf)->GetFont());
    cmd->Out()->SetI(nCmdSelf<nGuiTextView>(slf)->GetNumVisibleLines());
}

void n_setselectionenabled(void* slf, nCmd* cmd)
{
    nCmdSelf<nGuiTextView>(slf)->SetSelectionEnabled(cmd->In()->GetB());
}

void n_getselectionenabled(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nGuiTextView>(slf)->GetSelectionEnabled() ? 1 : 0);
}

void n_setselectionindex(void* slf, nCmd* cmd)
{
    int i;
    if (!nCmdGetI(cmd, i, INT_MIN, INT_MAX, "selection index")) return;
    nCmdSelf<nGuiTextView>(slf)->SetSelectionIndex(i);
}

void n_getselectionindex(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nGuiTextView>(slf)->GetSelectionIndex());
}

}  // namespace

/*
 * nguitextview_initcmds --
 *     Side effects: registers the commands of nguitextview on its class.
 */
void nguitextview_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setfont_s", N_FOURCC('S', 'F', 'N', 'T'), n_setfont);
    cl->AddCmd("s_getfont_v", N_FOURCC('G', 'F', 'N', 'T'), n_getfont);
    cl->AddCmd("v_setborder_s", N_FOURCC('S', 'B', 'R', 'D'), n_setborder);
    cl->AddCmd("s_getborder_v", N_FOURCC('G', 'B', 'R', 'D'), n_getborder);
    cl->AddCmd("v_settextcolor_ffff", N_FOURCC('S', 'T', 'X', 'C'), n_settextcolor);
    cl->AddCmd("ffff_gettextcolor_v", N_FOURCC('G', 'T', 'X', 'C'), n_gettextcolor);
    cl->AddCmd("v_beginappend_v", N_FOURCC('B', 'G', 'A', 'P'), n_beginappend);
    cl->AddCmd("v_appendline_s", N_FOURCC('A', 'P', 'P', 'L'), n_appendline);
    cl->AddCmd("v_endappend_v", N_FOURCC('E', 'D', 'A', 'P'), n_endappend);
    cl->AddCmd("i_getnumvisiblelines_v", N_FOURCC('G', 'N', 'V', 'L'), n_getnumvisiblelines);
    cl->AddCmd("v_setselectionenabled_b", N_FOURCC('S', 'S', 'L', 'E'), n_setselectionenabled);
    cl->AddCmd("i_getselectionenabled_v", N_FOURCC('G', 'S', 'L', 'E'), n_getselectionenabled);
    cl->AddCmd("v_setselectionindex_i", N_FOURCC('S', 'S', 'L', 'I'), n_setselectionindex);
    cl->AddCmd("i_getselectionindex_v", N_FOURCC('G', 'S', 'L', 'I'), n_getselectionindex);
    cl->EndCmds();
}
