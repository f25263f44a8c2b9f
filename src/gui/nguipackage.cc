//------------------------------------------------------------------------------
//  nguipackage.cc
//------------------------------------------------------------------------------
#include "gui/nguipackage.h"
#include "gui/nguibutton.h"
#include "gui/nguicolorlabel.h"
#include "gui/nguilabel.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"
#include "gui/nguitextbutton.h"
#include "gui/nguitextlabel.h"
#include "gui/nguitooltip.h"
#include "gui/nguiwidget.h"
#include "gui/nguiwindow.h"
#include "kernel/nmodule.h"
#include "gui/nguiformlayout.h"
#include "gui/nguitextureview.h"
#include "gui/nguiclientwindow.h"

void nguiwidget_initcmds(nClass* cl);
void nguiwindow_initcmds(nClass* cl);
void nguitextlabel_initcmds(nClass* cl);
void nguiskin_initcmds(nClass* cl);
void nguiserver_initcmds(nClass* cl);

N_IMPLEMENT_MODULE(nguiwidget, nGuiWidget, "nroot", nguiwidget_initcmds)
N_IMPLEMENT_MODULE(nguiwindow, nGuiWindow, "nguiwidget", nguiwindow_initcmds)
N_IMPLEMENT_MODULE(nguilabel, nGuiLabel, "nguiwidget", nullptr)
N_IMPLEMENT_MODULE(nguitextlabel, nGuiTextLabel, "nguilabel", nguitextlabel_initcmds)
N_IMPLEMENT_MODULE(nguibutton, nGuiButton, "nguiwidget", nullptr)
N_IMPLEMENT_MODULE(nguitextbutton, nGuiTextButton, "nguitextlabel", nullptr)
N_IMPLEMENT_MODULE(nguicolorlabel, nGuiColorLabel, "nguiwidget", nullptr)
N_IMPLEMENT_MODULE(nguitooltip, nGuiToolTip, "nguitextlabel", nullptr)
N_IMPLEMENT_MODULE(nguiskin, nGuiSkin, "nroot", nguiskin_initcmds)
N_IMPLEMENT_SINGLETON_MODULE(nguiserver, nGuiServer, "nroot", nguiserver_initcmds)

void nguiformlayout_initcmds(nClass* cl);
void nguiclientwindow_initcmds(nClass* cl);
N_IMPLEMENT_MODULE(nguiformlayout, nGuiFormLayout, "nguiwidget", nguiformlayout_initcmds)
N_IMPLEMENT_MODULE(nguitextureview, nGuiTextureView, "nguiwidget", nullptr)
N_IMPLEMENT_MODULE(nguiclientwindow, nGuiClientWindow, "nguiwindow", nguiclientwindow_initcmds)

/*
 * ngui_package --
 *     Side effects: registers the GUI classes, superclasses first.
 */
void ngui_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nguiwidget);
    N_ADD_MODULE(ks, nguiwindow);
    N_ADD_MODULE(ks, nguilabel);
    N_ADD_MODULE(ks, nguitextlabel);
    N_ADD_MODULE(ks, nguibutton);
    N_ADD_MODULE(ks, nguitextbutton);
    N_ADD_MODULE(ks, nguicolorlabel);
    N_ADD_MODULE(ks, nguitooltip);
    N_ADD_MODULE(ks, nguiskin);
    N_ADD_MODULE(ks, nguiserver);
    N_ADD_MODULE(ks, nguiformlayout);
    N_ADD_MODULE(ks, nguitextureview);
    N_ADD_MODULE(ks, nguiclientwindow);
}
