//------------------------------------------------------------------------------
//  nguiserver_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguiserver.h"
#include "gui/nguiresource.h"
#include "gui/nguiskin.h"
#include "gui/nguiwidget.h"
#include "gui/nguiwindow.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_setrootpath(void* slf, nCmd* cmd)
{
    const char* path;
    if (!nCmdGetNonEmptyS(cmd, path, "root path")) return;
    nCmdSelf<nGuiServer>(slf)->SetRootPath(path);
}

void n_getrootpath(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiServer>(slf)->GetRootPath());
}

void n_setrootwindow(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "window name")) return;
    if (!name[0])
    {
        nCmdSelf<nGuiServer>(slf)->SetRootWindow(nullptr);
        return;
    }
    nRoot* gui = nCmdSelf<nGuiServer>(slf)->GetGuiRoot();
    nRoot* window = (gui && nRoot::IsValidName(name)) ? gui->Find(name) : nullptr;
    n_cmd_check(cmd, window && window->GetParent() == gui && window->IsA("nguiwindow"),
                "nGuiServer: window '%.64s' not found!", name);
    nCmdSelf<nGuiServer>(slf)->SetRootWindow(name);
}

void n_getrootwindow(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiServer>(slf)->GetRootWindow());
}

/// reads the font arguments after the name and the file
bool GetFontArgs(nCmd* cmd, const char*& typeFace, int& height, bool& bold, bool& italic, bool& underline)
{
    if (!nCmdGetNonEmptyS(cmd, typeFace, "type face") || !nCmdGetI(cmd, height, 1, 1000, "height")) return false;
    bold = cmd->In()->GetB();
    italic = cmd->In()->GetB();
    underline = cmd->In()->GetB();
    return true;
}

void n_addsystemfont(void* slf, nCmd* cmd)
{
    const char* name;
    const char* typeFace;
    int height;
    bool bold, italic, underline;
    if (!nCmdGetNonEmptyS(cmd, name, "font name") || !GetFontArgs(cmd, typeFace, height, bold, italic, underline))
    {
        return;
    }
    n_cmd_check(cmd, nCmdSelf<nGuiServer>(slf)->AddSystemFont(name, typeFace, height, bold, italic, underline),
                "no font could be made (no graphics server)");
}

void n_addcustomfont(void* slf, nCmd* cmd)
{
    const char* name;
    const char* file;
    const char* typeFace;
    int height;
    bool bold, italic, underline;
    if (!nCmdGetNonEmptyS(cmd, name, "font name") || !nCmdGetNonEmptyS(cmd, file, "font file") ||
        !GetFontArgs(cmd, typeFace, height, bold, italic, underline))
    {
        return;
    }
    n_cmd_check(cmd, nCmdSelf<nGuiServer>(slf)->AddCustomFont(name, file, typeFace, height, bold, italic, underline),
                "no font could be made (no graphics server)");
}

void n_ismouseovergui(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nGuiServer>(slf)->IsMouseOverGui());
}

void n_newwindow(void* slf, nCmd* cmd)
{
    const char* className;
    if (!nCmdGetNonEmptyS(cmd, className, "window class")) return;
    const bool visible = cmd->In()->GetB();
    n_cmd_check(cmd, nCmdSelf<nGuiServer>(slf)->IsOpen(), "the GUI server is not open");
    nClass* cl = nKernelServer::Instance()->FindClass(className);
    n_cmd_check(cmd, cl && cl->IsA("nguiwindow"), "'%.64s' is no window class", className);
    cmd->Out()->SetO(nCmdSelf<nGuiServer>(slf)->NewWindow(className, visible));
}

void n_newskin(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetNonEmptyS(cmd, name, "skin name")) return;
    n_cmd_check(cmd, nCmdSelf<nGuiServer>(slf)->IsOpen(), "the GUI server is not open");
    n_cmd_check(cmd, nRoot::IsValidName(name), "'%.64s' is no valid object name", name);
    n_cmd_check(cmd, !nCmdSelf<nGuiServer>(slf)->HasSkin(name), "nGuiServer::NewSkin(): skin '%.64s' already exists!", name);
    cmd->Out()->SetO(nCmdSelf<nGuiServer>(slf)->NewSkin(name));
}

void n_setskin(void* slf, nCmd* cmd)
{
    nGuiSkin* skin;
    if (!nCmdGetObject(cmd, skin, "nguiskin", "skin")) return;
    nCmdSelf<nGuiServer>(slf)->SetSkin(skin);
}

void n_getskin(void* slf, nCmd* cmd)
{
    cmd->Out()->SetO(nCmdSelf<nGuiServer>(slf)->GetSkin());
}

void n_setsystemskin(void* slf, nCmd* cmd)
{
    nGuiSkin* skin;
    if (!nCmdGetObject(cmd, skin, "nguiskin", "skin")) return;
    nCmdSelf<nGuiServer>(slf)->SetSystemSkin(skin);
}

void n_getsystemskin(void* slf, nCmd* cmd)
{
    cmd->Out()->SetO(nCmdSelf<nGuiServer>(slf)->GetSystemSkin());
}

void n_togglesystemgui(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiServer>(slf)->ToggleSystemGui();
}

/// null clears the drag box; anything else must be a drag box
void n_setdragbox(void* slf, nCmd* cmd)
{
    nObject* obj = static_cast<nObject*>(cmd->In()->GetO());
    if (!obj)
    {
        nCmdSelf<nGuiServer>(slf)->SetDragBox(nullptr);
        return;
    }
    n_cmd_check(cmd, obj->IsA("nguidragbox"), "drag box is a '%s', not a 'nguidragbox'", obj->GetClass()->GetName());
    nCmdSelf<nGuiServer>(slf)->SetDragBox(static_cast<nGuiWidget*>(obj));
}

void n_getdragbox(void* slf, nCmd* cmd)
{
    cmd->Out()->SetO(nCmdSelf<nGuiServer>(slf)->GetDragBox());
}

void n_computescreenspacebrushsize(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetNonEmptyS(cmd, name, "brush name")) return;
    nGuiServer* gui = nCmdSelf<nGuiServer>(slf);
    nGuiSkin* const skins[2] = {gui->GetSkin(), gui->GetSystemSkin()};
    nGuiResource* res = nullptr;
    for (nGuiSkin* skin : skins)
    {
        if (!res && skin) res = skin->LookupBrush(name);
    }
    n_cmd_check(cmd, res, "nGuiBrush: could not resolve brush '%.64s'!", name);
    n_cmd_check(cmd, res->TryLoad(), "nGuiResource: could not load texture %s!", res->GetTexName().Get());
    const vector2 size = gui->ComputeScreenSpaceBrushSize(name);
    nCmdPutVector2(cmd, size);
}

void n_runcommand(void* slf, nCmd* cmd)
{
    nGuiWidget* widget;
    const char* command;
    if (!nCmdGetObject(cmd, widget, "nguiwidget", "widget") || !nCmdGetS(cmd, command, "command")) return;
    cmd->Out()->SetB(nCmdSelf<nGuiServer>(slf)->RunCommand(widget, command));
}

void n_putevent(void* slf, nCmd* cmd)
{
    nGuiWidget* widget;
    const char* name;
    if (!nCmdGetObject(cmd, widget, "nguiwidget", "widget") || !nCmdGetS(cmd, name, "event name")) return;
    nGuiEvent event(widget, nGuiEvent::StringToType(name));
    nCmdSelf<nGuiServer>(slf)->PutEvent(event);
}

void n_setdisplaysize(void* slf, nCmd* cmd)
{
    int w, h;
    if (!nCmdGetI(cmd, w, 1, 65536, "width") || !nCmdGetI(cmd, h, 1, 65536, "height")) return;
    nCmdSelf<nGuiServer>(slf)->SetDisplaySize(vector2(float(w), float(h)));
}

}  // namespace

/*
 * nguiserver_initcmds --
 *     Side effects: registers the commands of nguiserver on its class.
 */
void nguiserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setrootpath_s", N_FOURCC('S', 'R', 'T', 'P'), n_setrootpath);
    cl->AddCmd("s_getrootpath_v", N_FOURCC('G', 'R', 'T', 'P'), n_getrootpath);
    cl->AddCmd("v_setrootwindow_s", N_FOURCC('S', 'R', 'T', 'W'), n_setrootwindow);
    cl->AddCmd("s_getrootwindow_v", N_FOURCC('G', 'R', 'T', 'W'), n_getrootwindow);
    cl->AddCmd("v_addsystemfont_ssibbb", N_FOURCC('A', 'D', 'S', 'F'), n_addsystemfont);
    cl->AddCmd("v_addcustomfont_sssibbb", N_FOURCC('A', 'D', 'C', 'F'), n_addcustomfont);
    cl->AddCmd("b_ismouseovergui_v", N_FOURCC('I', 'M', 'O', 'G'), n_ismouseovergui);
    cl->AddCmd("o_newwindow_sb", N_FOURCC('N', 'E', 'W', 'W'), n_newwindow);
    cl->AddCmd("o_newskin_s", N_FOURCC('N', 'S', 'K', 'N'), n_newskin);
    cl->AddCmd("v_setskin_o", N_FOURCC('S', 'S', 'K', 'N'), n_setskin);
    cl->AddCmd("o_getskin_v", N_FOURCC('G', 'S', 'K', 'N'), n_getskin);
    cl->AddCmd("v_setsystemskin_o", N_FOURCC('S', 'S', 'S', 'K'), n_setsystemskin);
    cl->AddCmd("o_getsystemskin_v", N_FOURCC('G', 'S', 'S', 'K'), n_getsystemskin);
    cl->AddCmd("v_togglesystemgui_v", N_FOURCC('T', 'G', 'S', 'G'), n_togglesystemgui);
    cl->AddCmd("v_setdragbox_o", N_FOURCC('S', 'D', 'G', 'B'), n_setdragbox);
    cl->AddCmd("o_getdragbox_v", N_FOURCC('G', 'D', 'G', 'B'), n_getdragbox);
    cl->AddCmd("ff_computescreenspacebrushsize_s", N_FOURCC('C', 'S', 'B', 'S'), n_computescreenspacebrushsize);
    cl->AddCmd("b_runcommand_os", N_FOURCC('R', 'U', 'N', 'C'), n_runcommand);
    cl->AddCmd("v_putevent_os", N_FOURCC('P', 'U', 'T', 'E'), n_putevent);
    cl->AddCmd("v_setdisplaysize_ii", N_FOURCC('S', 'D', 'S', 'Z'), n_setdisplaysize);
    cl->EndCmds();
}
