//------------------------------------------------------------------------------
//  nguiformlayout_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguiformlayout.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

/// reads an edge name; false (reported) for a name other than the four
bool GetEdge(nCmd* cmd, nGuiFormLayout::Edge& edge)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "edge")) return false;
    const int e = nGuiFormLayout::EdgeFromString(name);
    if (0 == e) return nCmdFail(cmd, "nGuiFormLayout: invalid Edge type string '%.64s'", name);
    edge = nGuiFormLayout::Edge(e);
    return true;
}

void n_attachform(void* slf, nCmd* cmd)
{
    nGuiWidget* widget;
    nGuiFormLayout::Edge edge;
    float offset;
    if (!nCmdGetObject(cmd, widget, "nguiwidget", "widget")) return;
    if (!GetEdge(cmd, edge)) return;
    if (!nCmdGetF(cmd, offset, "offset")) return;
    cmd->Out()->SetI(nCmdSelf<nGuiFormLayout>(slf)->AttachForm(widget, edge, offset));
}

void n_attachwidget(void* slf, nCmd* cmd)
{
    nGuiWidget* widget;
    nGuiWidget* other;
    nGuiFormLayout::Edge edge;
    float offset;
    if (!nCmdGetObject(cmd, widget, "nguiwidget", "widget")) return;
    if (!GetEdge(cmd, edge)) return;
    if (!nCmdGetObject(cmd, other, "nguiwidget", "other widget")) return;
    if (!nCmdGetF(cmd, offset, "offset")) return;
    cmd->Out()->SetI(nCmdSelf<nGuiFormLayout>(slf)->AttachWidget(widget, edge, other, offset));
}

void n_attachpos(void* slf, nCmd* cmd)
{
    nGuiWidget* widget;
    nGuiFormLayout::Edge edge;
    float pos;
    if (!nCmdGetObject(cmd, widget, "nguiwidget", "widget")) return;
    if (!GetEdge(cmd, edge)) return;
    if (!nCmdGetF(cmd, pos, "position")) return;
    cmd->Out()->SetI(nCmdSelf<nGuiFormLayout>(slf)->AttachPos(widget, edge, pos));
}

}  // namespace

/*
 * nguiformlayout_initcmds --
 *     Side effects: registers the commands of nguiformlayout on its class.
 */
void nguiformlayout_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("i_attachform_osf", N_FOURCC('A', 'F', 'R', 'M'), n_attachform);
    cl->AddCmd("i_attachwidget_osof", N_FOURCC('A', 'W', 'G', 'T'), n_attachwidget);
    cl->AddCmd("i_attachpos_osf", N_FOURCC('A', 'P', 'O', 'S'), n_attachpos);
    cl->EndCmds();
}
