//------------------------------------------------------------------------------
//  ngamegui.cc
//------------------------------------------------------------------------------
#include "game/ngamegui.h"
#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "kernel/nkernelserver.h"

#include <cstdint>
#include <cstdio>

nGuiWidget* nGameGui::NewRootWidget(const char* className, const char* name)
{
    nKernelServer* ks = nKernelServer::Instance();
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    nGuiWindow* window = gui ? gui->GetRootWindowPointer() : nullptr;
    nClass* widgetClass = ks->FindClass("nguiwidget");
    nClass* cl = ks->FindClass(className);
    if (!window || !cl || !widgetClass || !cl->IsA(widgetClass->GetName())) return nullptr;
    if (nRoot* old = window->Find(name)) old->Release();
    ks->PushCwd(window);
    nRoot* obj = static_cast<nRoot*>(ks->New(className, name));
    ks->PopCwd();
    return static_cast<nGuiWidget*>(obj);
}

void nGameGui::UniqueName(const void* owner, const char* suffix, char* buf, int size)
{
    snprintf(buf, (size_t)size, "%llu%s", (unsigned long long)(uintptr_t)owner, suffix);
}
