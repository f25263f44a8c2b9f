//------------------------------------------------------------------------------
//  nguiserver.cc
//  Life cycle, fonts, windows and skins of the GUI server; its input is in
//  nguiserver_input.cc, its drawing in nguiserver_draw.cc.
//------------------------------------------------------------------------------
#include "gui/nguiserver.h"
#include "gui/nguibrush.h"
#include "gui/nguiresource.h"
#include "gui/nguiskin.h"
#include "gui/nguiwidget.h"
#include "gui/nguiwindow.h"
#include "audio3/naudioserver3.h"
#include "audio3/nsound3.h"
#include "gfx2/nfontdesc.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nshader2.h"
#include "kernel/nscriptserver.h"
#include "resource/nresourceserver.h"

nGuiServer* nGuiServer::Singleton = nullptr;

namespace
{

nScriptServer* ScriptServer()
{
    return nGuiServer::FindServer<nScriptServer>("/sys/servers/script", "nscriptserver");
}

nResourceServer* ResourceServer()
{
    return nGuiServer::FindServer<nResourceServer>("/sys/servers/resource", "nresourceserver");
}

}  // namespace

nGuiServer::nGuiServer() :
    rootPath("/res/gui"),
    guiWindowClass(nullptr),
    uniqueWindowId(0),
    isOpen(false),
    curMousePos(0.0f, 0.0f),
    curTime(0.0),
    globalColor(1.0f, 1.0f, 1.0f, 1.0f),
    toolTipSet(false),
    toolTipFadeTime(0.15),
    toolTipDelay(0.2),
    systemGuiActive(false),
    curTexture(nullptr),
    curColor(0.0f, 0.0f, 0.0f, 0.0f),
    maxVertices(0),
    vertexPointer(nullptr),
    curVertex(0),
    displaySize(1024.0f, 768.0f),
    textPending(false),
    brushesUnderText(false)
{
    n_assert(0 == Singleton);
    Singleton = this;
    this->guiWindowClass = kernelServer->FindClass("nguiwindow");
    n_assert(this->guiWindowClass);
}

nGuiServer::~nGuiServer()
{
    if (this->isOpen) this->Close();
    this->HoldTexture(nullptr);
    n_assert(Singleton);
    Singleton = nullptr;
}

nGuiServer* nGuiServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

void nGuiServer::SetRootPath(const char* path)
{
    n_assert(path);
    this->rootPath = path;
    this->refGui.invalidate();
}

nRoot* nGuiServer::GetGuiRoot()
{
    if (!this->refGui.isvalid())
    {
        this->refGui.set(kernelServer->Lookup(this->rootPath.Get()));
    }
    return this->refGui.get_unsafe();
}

/*
 * MakeGuiRoot --
 *     Results: the gui root, made again (a plain "nroot" at the root path)
 *     when a script deleted it.
 */
nRoot* nGuiServer::MakeGuiRoot()
{
    if (!this->GetGuiRoot())
    {
        kernelServer->PushCwd(kernelServer->GetRoot());
        this->refGui.set(static_cast<nRoot*>(kernelServer->New("nroot", this->rootPath.Get())));
        kernelServer->PopCwd();
    }
    return this->refGui.get();
}

vector2 nGuiServer::GetPixelSize() const
{
    return vector2(1.0f / this->displaySize.x, 1.0f / this->displaySize.y);
}

//--- open and close ------------------------------------------------------------------

void nGuiServer::RunHook(const char* function, const char* failMessage)
{
    nScriptServer* script = ScriptServer();
    if (!script) return;
    nString result;
    if (!script->RunFunction(function, result))
    {
        n_error(failMessage, result.IsEmpty() ? "Unknown error" : result.Get());
    }
}

/*
 * Open --
 *     Results: true.
 *     Side effects: the two system fonts, the gui root, the skins node and
 *     "SystemRootWindow" (the root window while "OnGuiServerOpen" builds
 *     the system GUI in it; hidden and no longer the root afterwards), the
 *     mesh and the shader. A failing hook is a fatal error.
 */
bool nGuiServer::Open()
{
    n_assert(!this->isOpen);
    n_assert(!this->refShader.isvalid());
    this->AddSystemFont("GuiDefault", "Arial", 16, false, false, false);
    this->AddSystemFont("GuiSmall", "Arial", 14, false, false, false);
    this->MakeGuiRoot();
    this->refSkins.adopt(static_cast<nRoot*>(kernelServer->New("nroot", "/sys/share/rsrc/skins")));
    n_assert(this->refSkins.isvalid());
    kernelServer->PushCwd(this->refGui.get());
    this->refSystemRootWindow.adopt(static_cast<nGuiWindow*>(kernelServer->New("nguiwindow", "SystemRootWindow")));
    kernelServer->PopCwd();
    this->SetRootWindow("SystemRootWindow");
    this->ValidateMesh();
    this->ValidateShader();
    this->isOpen = true;
    this->RunHook("OnGuiServerOpen", "OnGuiServerOpenFailed: %s");
    if (this->refSystemRootWindow.isvalid()) this->refSystemRootWindow->Hide();
    this->SetRootWindow(nullptr);
    return true;
}

/*
 * Close --
 *     Side effects: runs "OnGuiServerClose" (fatal when it fails), drops
 *     the root window, the system root window, the shader and the skins,
 *     and clears the graphics server's mesh, shader and font.
 */
void nGuiServer::Close()
{
    n_assert(this->isOpen);
    this->RunHook("OnGuiServerClose", "OnGuiServerCloseFailed: %s");
    this->SetRootWindow(nullptr);
    this->refSystemRootWindow.reset();
    n_assert(!this->refSystemRootWindow.isvalid());
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (gfx)
    {
        gfx->SetMesh(nullptr);
        gfx->SetShader(nullptr);
        gfx->SetFont(nullptr);
    }
    if (this->refShader.isvalid())
    {
        nShader2* shader = this->refShader.get();
        this->refShader.invalidate();
        shader->Release();
    }
    this->HoldTexture(nullptr);
    this->refSkins.reset();
    n_assert(!this->refSkins.isvalid());
    this->refToolTip.invalidate();
    this->isOpen = false;
}

//--- fonts --------------------------------------------------------------------------

namespace
{

/// Side effects: a font resource of that name gets the description and
/// is unloaded so that it reloads with it; else the graphics server makes one.
bool DescribeFont(const char* fontName, const nFontDesc& desc)
{
    nResourceServer* rs = ResourceServer();
    nResource* existing = rs ? rs->FindResource(fontName, nResource::Font) : nullptr;
    if (existing)
    {
        nFont2* font = static_cast<nFont2*>(existing);
        font->SetFontDesc(desc);
        font->Unload();
        return true;
    }
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    return gfx && gfx->NewFont(fontName, desc);
}

nFontDesc MakeFontDesc(const char* typeFace, int height, bool bold, bool italic, bool underline)
{
    nFontDesc desc;
    desc.typeFace = typeFace;
    desc.height = height;
    desc.weight = bold ? nFontDesc::WeightBold : nFontDesc::WeightNormal;
    desc.italic = italic;
    desc.underline = underline;
    desc.antiAliased = true;
    return desc;
}

}  // namespace

/*
 * AddSystemFont --
 *     Results: false when no font could be made (no graphics server).
 */
bool nGuiServer::AddSystemFont(const char* fontName, const char* typeFace, int height, bool bold, bool italic,
                               bool underline)
{
    n_assert(fontName && typeFace);
    return DescribeFont(fontName, MakeFontDesc(typeFace, height, bold, italic, underline));
}

bool nGuiServer::AddCustomFont(const char* fontName, const char* fontFile, const char* typeFace, int height,
                               bool bold, bool italic, bool underline)
{
    n_assert(fontName && fontFile && typeFace);
    nFontDesc desc = MakeFontDesc(typeFace, height, bold, italic, underline);
    desc.fileName = fontFile;
    return DescribeFont(fontName, desc);
}

//--- windows and skins ------------------------------------------------------------------

void nGuiServer::SetRootWindow(const char* name)
{
    if (!name)
    {
        this->SetRootWindowPointer(nullptr);
        return;
    }
    nRoot* gui = this->GetGuiRoot();
    nRoot* window = gui ? gui->Find(name) : nullptr;
    if (!window || window->GetParent() != gui || !window->IsA(this->guiWindowClass))
    {
        n_error("nGuiServer: window '%s' not found!", name);
    }
    this->SetRootWindowPointer(static_cast<nGuiWindow*>(window));
}

const char* nGuiServer::GetRootWindow() const
{
    return this->refRootWindow.isvalid() ? this->refRootWindow->GetName() : nullptr;
}

/*
 * SetRootWindowPointer --
 *     Side effects: stores the window; a hidden one is shown.
 */
void nGuiServer::SetRootWindowPointer(nGuiWindow* window)
{
    this->refRootWindow.set(window);
    if (window && !window->IsShown()) window->Show();
}

nGuiWindow* nGuiServer::GetRootWindowPointer() const
{
    return this->refRootWindow.get_unsafe();
}

/*
 * NewWindow --
 *     Results: the new window "window<n>" (the next number no child of the
 *     parent has), or null when the class made no
 *     object.
 *     Side effects: the top-most window of the root loses the focus; the
 *     new window is made under the root window (or the gui root, made
 *     again when a script deleted it with the root window in it), shown
 *     when visible, and made the root's top-most window.
 */
nGuiWindow* nGuiServer::NewWindow(const char* className, bool visible)
{
    n_assert(this->isOpen);
    n_assert(className);
    nGuiWindow* root = this->refRootWindow.get_unsafe();
    if (root)
    {
        nGuiWindow* top = root->GetTopMostWindow();
        if (top) top->OnLoseFocus();
    }
    char name[512];
    nRoot* parent = root ? static_cast<nRoot*>(root) : this->MakeGuiRoot();
    // a name a script took already (its own child "window3") is skipped:
    // the new window is always a new object of the class asked for
    do
    {
        snprintf(name, sizeof(name), "window%d", this->uniqueWindowId++);
    } while (parent->Find(name));
    kernelServer->PushCwd(parent);
    nObject* obj = kernelServer->NewNoFail(className, name);
    kernelServer->PopCwd();
    if (!obj) return nullptr;
    nGuiWindow* window = static_cast<nGuiWindow*>(obj);
    nRef<nGuiWindow> refWindow(window);
    if (visible) window->Show();
    if (refWindow.isvalid() && this->refRootWindow.isvalid() && window->GetParent() == this->refRootWindow.get())
    {
        this->refRootWindow->SetTopMostWindow(window);
    }
    return refWindow.get_unsafe();
}

bool nGuiServer::HasSkin(const char* skinName) const
{
    return this->refSkins.isvalid() && this->refSkins->Find(skinName);
}

nGuiSkin* nGuiServer::NewSkin(const char* skinName)
{
    n_assert(this->isOpen);
    n_assert(skinName);
    if (this->HasSkin(skinName))
    {
        n_error("nGuiServer::NewSkin(): skin '%s' already exists!", skinName);
    }
    kernelServer->PushCwd(this->refSkins.get());
    nGuiSkin* newSkin = static_cast<nGuiSkin*>(kernelServer->New("nguiskin", skinName));
    kernelServer->PopCwd();
    n_assert(newSkin);
    return newSkin;
}

void nGuiServer::SetSkin(nGuiSkin* skin)
{
    n_assert(skin);
    this->refCurrentSkin.set(skin);
}

nGuiSkin* nGuiServer::GetSkin() const
{
    return this->refCurrentSkin.get_unsafe();
}

void nGuiServer::SetSystemSkin(nGuiSkin* skin)
{
    n_assert(skin);
    this->refSystemSkin.set(skin);
}

nGuiSkin* nGuiServer::GetSystemSkin() const
{
    return this->refSystemSkin.get_unsafe();
}

/*
 * ToggleSystemGui --
 *     Side effects: switches between the user's skin and root window and
 *     the system skin and "SystemRootWindow". Either side may be empty:
 *     an application that never set a skin gets none back.
 */
void nGuiServer::ToggleSystemGui()
{
    if (this->systemGuiActive)
    {
        this->refCurrentSkin.set(this->refUserSkin.get_unsafe());
        this->SetRootWindowPointer(this->refUserRootWindow.get_unsafe());
        this->systemGuiActive = false;
    }
    else
    {
        this->refUserSkin.set(this->refCurrentSkin.get_unsafe());
        this->refUserRootWindow.set(this->refRootWindow.get_unsafe());
        this->refCurrentSkin.set(this->refSystemSkin.get_unsafe());
        this->SetRootWindowPointer(this->refSystemRootWindow.get_unsafe());
        this->systemGuiActive = true;
    }
}

void nGuiServer::SetDragBox(nGuiWidget* dragBox)
{
    n_assert(!dragBox || dragBox->IsA(kernelServer->FindClass("nguidragbox")));
    this->refDragBox.set(dragBox);
}

nGuiWidget* nGuiServer::GetDragBox() const
{
    return this->refDragBox.get_unsafe();
}

void nGuiServer::DiscardWindows(const char* windowClass)
{
    n_assert(windowClass);
    if (!this->refRootWindow.isvalid()) return;
    nRef<nRoot> next;
    for (nRoot* cur = this->refRootWindow->GetHead(); cur; cur = next.get_unsafe())
    {
        next.set(cur->GetSucc());
        if (cur->IsA(windowClass)) cur->Release();
    }
}

nGuiWindow* nGuiServer::FindWindowByClass(const char* windowClass, nGuiWindow* prev)
{
    n_assert(windowClass);
    if (!this->refRootWindow.isvalid()) return nullptr;
    nRoot* cur = prev ? prev->GetSucc() : this->refRootWindow->GetHead();
    for (; cur; cur = cur->GetSucc())
    {
        if (cur->IsA(windowClass)) return static_cast<nGuiWindow*>(cur);
    }
    return nullptr;
}

/*
 * RemoveDismissedWindows --
 *     Side effects: every dismissed window directly below the root window
 *     dies; the walk holds the next child before a release.
 */
void nGuiServer::RemoveDismissedWindows()
{
    nRef<nRoot> next;
    nRoot* cur = this->refRootWindow->GetHead();
    while (cur)
    {
        next.set(cur->GetSucc());
        if (cur->IsA(this->guiWindowClass) && static_cast<nGuiWindow*>(cur)->IsDismissed()) cur->Release();
        if (!this->refRootWindow.isvalid()) return;
        cur = next.get_unsafe();
    }
}

bool nGuiServer::CanResolveBrush(const char* brushName) const
{
    if (!brushName) return false;
    nGuiSkin* const skins[2] = {this->GetSkin(), this->GetSystemSkin()};
    for (nGuiSkin* skin : skins)
    {
        if (skin && skin->LookupBrush(brushName)) return true;
    }
    return false;
}

/*
 * ComputeScreenSpaceBrushSize --
 *     Results: the brush's uv size times the texture size, over the
 *     display size: its size on screen at one texel per pixel.
 */
vector2 nGuiServer::ComputeScreenSpaceBrushSize(const char* brushName)
{
    nGuiBrush brush;
    brush.SetName(brushName);
    nGuiResource* res = brush.GetGuiResource();
    if (!res) return vector2(0.0f, 0.0f);
    const rectangle& uv = res->GetUvRect();
    return vector2(uv.width() * float(res->GetTextureWidth()) / this->displaySize.x,
                   uv.height() * float(res->GetTextureHeight()) / this->displaySize.y);
}

void nGuiServer::PlaySound(int index)
{
    nGuiSkin* skin = this->GetSkin();
    if (!skin) return;
    nSound3* snd = skin->GetSound(index);
    nAudioServer3* audio = FindServer<nAudioServer3>("/sys/servers/audio", "naudioserver3");
    if (snd && audio) audio->StartSound(snd);
}

bool nGuiServer::HasBrush(const char* name) const
{
    nGuiSkin* skin = this->GetSkin();
    return skin && name && skin->LookupBrush(name);
}

/*
 * ReportMissingBrush --
 *     Side effects: the first miss of a name is logged (a window of many
 *     widgets that share a mistyped brush says it once, and never in a
 *     box that stops the player).
 */
void nGuiServer::ReportMissingBrush(const nString& name)
{
    if (this->missingBrushes.insert(std::string(name.IsEmpty() ? "" : name.Get())).second)
    {
        n_printf("nGuiBrush: could not resolve brush '%s'!\n", name.Get());
    }
}

//--- commands -------------------------------------------------------------------------

/*
 * RunCommand --
 *     Results: false for an empty command (or no script server), else true
 *     (the script's own result is discarded).
 *     Side effects: runs the command with the widget as the kernel's
 *     current object and restores the previous one.
 */
bool nGuiServer::RunCommand(nGuiWidget* widget, const char* command)
{
    n_assert(widget);
    if (!command || !command[0]) return false;
    nScriptServer* script = ScriptServer();
    if (!script) return false;
    kernelServer->PushCwd(widget);
    nString result;
    script->Run(command, result);
    kernelServer->PopCwd();
    return true;
}
