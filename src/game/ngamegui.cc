//------------------------------------------------------------------------------
//  ngamegui.cc
//------------------------------------------------------------------------------
#include "game/ngamegui.h"
#include "kernel/nclass.h"
#include "kernel/ncmdproto.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"

#include <cstdarg>
#include <set>
#include <string>

namespace
{

const char* const GuiServerPath = "/sys/servers/gui";

/*
 * ReportOnce --
 *     Side effects: logs that a GUI call has no receiver, the first time
 *     for each prototype only (the match calls some every set-up).
 */
void ReportOnce(const char* protoDef, const char* why)
{
    static std::set<std::string> reported;
    if (reported.insert(protoDef).second)
    {
        n_printf("nGameGui: '%s' not called: %s\n", protoDef, why);
    }
}

nRoot* GuiServer()
{
    return nKernelServer::Instance()->Lookup(GuiServerPath);
}

}  // namespace

bool nGameGui::Call(nObject* obj, nString* result, const char* protoDef, ...)
{
    if (!obj)
    {
        ReportOnce(protoDef, "no receiver");
        return false;
    }
    char outs[N_MAXPATH], name[N_MAXPATH], ins[N_MAXPATH];
    n_assert(nCmdProto::ParseProtoDef(protoDef, outs, name, ins));
    nCmdProto* proto = obj->GetClass()->FindCmdByName(name);
    if (!proto || strcmp(proto->GetProtoDef(), protoDef) != 0)
    {
        ReportOnce(protoDef, "the receiver has no such command");
        return false;
    }
    nCmd* cmd = proto->NewCmd();
    va_list args;
    va_start(args, protoDef);
    cmd->SetInArgsFromVarArgs(args);
    va_end(args);
    obj->Dispatch(cmd);
    if (result && proto->GetNumOutArgs() == 1)
    {
        nArg* out = cmd->Out();
        *result = (out->GetType() == nArg::String && out->GetS()) ? out->GetS() : "";
    }
    proto->RelCmd(cmd);
    return true;
}

void nGameGui::ToggleSystemGui()
{
    Call(GuiServer(), nullptr, "v_togglesystemgui_v");
}

/*
 * NewTextLabel --
 *     Results: a new "nguitextlabel" of the name below the GUI server's
 *     root window (an object of that name already there is replaced);
 *     0 when there is no GUI server, no root window or no label class.
 */
nRoot* nGameGui::NewTextLabel(const nString& name)
{
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* gui = GuiServer();
    nString rootPath, rootWindow;
    if (!ks->FindClass("nguitextlabel"))
    {
        ReportOnce("nguitextlabel", "the class is not registered");
        return nullptr;
    }
    if (!Call(gui, &rootPath, "s_getrootpath_v") || !Call(gui, &rootWindow, "s_getrootwindow_v")) return nullptr;
    if (rootWindow.IsEmpty()) return nullptr;
    rootPath.Append("/");
    rootPath.Append(rootWindow);
    nRoot* window = ks->Lookup(rootPath.Get());
    if (!window) return nullptr;
    if (nRoot* old = window->Find(name.Get())) old->Release();
    ks->PushCwd(window);
    nRoot* label = static_cast<nRoot*>(ks->New("nguitextlabel", name.Get()));
    ks->PopCwd();
    return label;
}

void nGameGui::SetText(nRoot* label, const char* text)
{
    Call(label, nullptr, "v_settext_s", text);
}

void nGameGui::SetRect(nRoot* label, float left, float top, float right, float bottom)
{
    // the widget's command takes left, right, top, bottom
    Call(label, nullptr, "v_setrect_ffff", (double)left, (double)right, (double)top, (double)bottom);
}

void nGameGui::SetAlignment(nRoot* label, const char* align)
{
    Call(label, nullptr, "v_setalignment_s", align);
}

void nGameGui::SetFont(nRoot* label, const char* font)
{
    Call(label, nullptr, "v_setfont_s", font);
}

void nGameGui::SetVCenter(nRoot* label, bool b)
{
    Call(label, nullptr, "v_setvcenter_b", (int)b);
}

void nGameGui::Show(nRoot* label)
{
    Call(label, nullptr, "v_show_v");
}

void nGameGui::Hide(nRoot* label)
{
    Call(label, nullptr, "v_hide_v");
}
