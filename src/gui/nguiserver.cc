//------------------------------------------------------------------------------
//  nguiserver.cc
//------------------------------------------------------------------------------
#include "gui/nguiserver.h"
#include "gui/nguibrush.h"
#include "gui/nguiresource.h"
#include "gui/nguiskin.h"
#include "gui/nguitooltip.h"
#include "gui/nguiwidget.h"
#include "gui/nguiwindow.h"
#include "audio3/naudioserver3.h"
#include "audio3/nsound3.h"
#include "gfx2/nfontdesc.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nshader2.h"
#include "gfx2/ntexture2.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "kernel/nscriptserver.h"
#include "mathlib/matrix44.h"
#include "resource/nresourceserver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

nGuiServer* nGuiServer::Singleton = nullptr;

namespace
{

/// the vertex components of a GUI vertex: coord, normal, uv0
const int GuiVertexComponents = 7;
/// floats per GUI vertex
const int GuiVertexWidth = 8;
/// colours closer than this share a batch
const float ColorTolerance = 0.001f;

nScriptServer* ScriptServer()
{
    return nGuiServer::FindServer<nScriptServer>("/sys/servers/script", "nscriptserver");
}

nResourceServer* ResourceServer()
{
    return nGuiServer::FindServer<nResourceServer>("/sys/servers/resource", "nresourceserver");
}

bool ColorDiffers(const vector4& a, const vector4& b)
{
    return fabsf(a.x - b.x) > ColorTolerance || fabsf(a.y - b.y) > ColorTolerance ||
           fabsf(a.z - b.z) > ColorTolerance || fabsf(a.w - b.w) > ColorTolerance;
}

/// Results: (a.left, a.top) twice when a and b do not overlap or either is
/// empty, else the overlap.
rectangle Intersect(const rectangle& a, const rectangle& b)
{
    if (a.v0.x >= b.v1.x || a.v1.x <= b.v0.x || a.v0.y >= b.v1.y || a.v1.y <= b.v0.y || a.area() <= 0.0f ||
        b.area() <= 0.0f)
    {
        return rectangle(a.v0, a.v0);
    }
    return rectangle(vector2(n_max(a.v0.x, b.v0.x), n_max(a.v0.y, b.v0.y)),
                     vector2(n_min(a.v1.x, b.v1.x), n_min(a.v1.y, b.v1.y)));
}

/// Results: the screen area the glyphs of a text drawn into r can cover.
/// The graphics server cuts them to r's pixels (edges truncated) and puts
/// them half a pixel up and left; unclipped text can go anywhere.
rectangle TextArea(const rectangle& r, uint flags, const nDisplayMode2& mode)
{
    if (flags & nFont2::NoClip) return rectangle(vector2(-FLT_MAX, -FLT_MAX), vector2(FLT_MAX, FLT_MAX));
    const double w = double(std::max(1, int(mode.GetWidth())));
    const double h = double(std::max(1, int(mode.GetHeight())));
    auto edge = [](float v, double size) { return float((std::trunc(double(v) * size) - 0.5) / size); };
    return rectangle(vector2(edge(r.v0.x, w), edge(r.v0.y, h)), vector2(edge(r.v1.x, w), edge(r.v1.y, h)));
}

/// whether a brush over r may cover pixels of text in area: edges closer
/// than a quarter pixel count as touching
bool Covers(const rectangle& r, const rectangle& area, const nDisplayMode2& mode)
{
    const float sx = 0.25f / float(std::max(1, int(mode.GetWidth())));
    const float sy = 0.25f / float(std::max(1, int(mode.GetHeight())));
    return r.v0.x < area.v1.x + sx && area.v0.x < r.v1.x + sx && r.v0.y < area.v1.y + sy && area.v0.y < r.v1.y + sy;
}

/// one GUI vertex: position (x, y, 0), normal (0, 0, 1), uv
float* PutVertex(float* p, float x, float y, float u, float v)
{
    p[0] = x;
    p[1] = y;
    p[2] = 0.0f;
    p[3] = 0.0f;
    p[4] = 0.0f;
    p[5] = 1.0f;
    p[6] = u;
    p[7] = v;
    return p + GuiVertexWidth;
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
    heldTexture(nullptr),
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
    if (!this->GetGuiRoot())
    {
        kernelServer->PushCwd(kernelServer->GetRoot());
        this->refGui.set(static_cast<nRoot*>(kernelServer->New("nroot", this->rootPath.Get())));
        kernelServer->PopCwd();
    }
    n_assert(this->refGui.isvalid());
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
 *     new window is made under the root window (or the gui root), shown
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
    nRoot* parent = root ? static_cast<nRoot*>(root) : this->GetGuiRoot();
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

//--- mouse, tooltip, commands, events ----------------------------------------------------

/*
 * IsMouseOverGui --
 *     Results: true when the root window's top-most window is modal or the
 *     mouse is inside a shown child of the root window.
 */
bool nGuiServer::IsMouseOverGui() const
{
    nGuiWindow* root = this->refRootWindow.get_unsafe();
    if (!root) return false;
    nGuiWindow* top = root->GetTopMostWindow();
    if (top && top->IsModal()) return true;
    for (nRoot* cur = root->GetHead(); cur; cur = cur->GetSucc())
    {
        if (cur->IsA(nGuiWidget::WidgetClass()))
        {
            nGuiWidget* w = static_cast<nGuiWidget*>(cur);
            if (w->IsShown() && w->Inside(this->curMousePos)) return true;
        }
    }
    return false;
}

/*
 * ShowToolTip --
 *     Side effects: asks for the tooltip in this frame. While no tooltip
 *     widget is known, looks for the "Tooltip" child of the gui root (a
 *     missing one, or one of another class, means no tooltip); the call
 *     that finds it only hides it. Later calls set colour and text when
 *     the text changed and show it.
 */
void nGuiServer::ShowToolTip(const char* text, const vector4& color)
{
    n_assert(text);
    this->toolTipSet = true;
    if (!this->refToolTip.isvalid())
    {
        nRoot* gui = this->GetGuiRoot();
        nRoot* tip = gui ? gui->Find("Tooltip") : nullptr;
        if (tip && tip->GetParent() == gui && tip->IsA("nguitooltip"))
        {
            this->refToolTip.set(static_cast<nGuiToolTip*>(tip));
            static_cast<nGuiToolTip*>(tip)->Hide();
        }
        return;
    }
    nGuiToolTip* tip = this->refToolTip.get();
    nRef<nGuiToolTip> alive(tip);
    if (0 != strcmp(tip->GetText(), text))
    {
        tip->SetColor(color);
        tip->SetText(text);
    }
    if (alive.isvalid() && !tip->IsShown()) tip->Show();
}

void nGuiServer::HideToolTip()
{
    if (this->refToolTip.isvalid() && this->refToolTip->IsShown()) this->refToolTip->Hide();
}

bool nGuiServer::IsToolTipShown() const
{
    return this->refToolTip.isvalid() && this->refToolTip->IsShown();
}

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

void nGuiServer::RegisterEventListener(nGuiWidget* widget)
{
    n_assert(widget);
    for (const auto& ref : this->eventListeners)
    {
        if (ref->get_unsafe() == widget) return;
    }
    auto ref = std::make_unique<nRef<nGuiWidget>>();
    ref->set(widget);
    this->eventListeners.push_back(std::move(ref));
}

void nGuiServer::UnregisterEventListener(nGuiWidget* widget)
{
    for (const auto& ref : this->eventListeners)
    {
        if (ref->get_unsafe() == widget) ref->invalidate();
    }
}

/*
 * PutEvent --
 *     Side effects: OnEvent of every listener still alive, in list order;
 *     the count is taken first, so a listener registered during delivery
 *     misses this event. Listeners may delete any widget: entries only
 *     empty during delivery and are erased by the next Trigger.
 */
void nGuiServer::PutEvent(const nGuiEvent& event)
{
    const size_t num = this->eventListeners.size();
    for (size_t i = 0; i < num; i++)
    {
        nGuiWidget* listener = this->eventListeners[i]->get_unsafe();
        if (listener) listener->OnEvent(event);
    }
}

//--- frame ----------------------------------------------------------------------------

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

/*
 * DispatchInput --
 *     Side effects: the frame's mouse (device 0x20000) and keyboard
 *     (0x10000) events go to the root window (and tooltip and drag box);
 *     only mouse events move the mouse position. Stops when the root
 *     window dies.
 */
void nGuiServer::DispatchInput()
{
    nInputServer* input = FindServer<nInputServer>("/sys/servers/input", "ninputserver");
    if (!input) return;
    for (nInputEvent* e = input->FirstEvent(); e; e = input->NextEvent(e))
    {
        nGuiWindow* root = this->refRootWindow.get_unsafe();
        if (!root) return;
        if (N_INPUT_MOUSE0 == e->GetDeviceId())
        {
            this->curMousePos.set(e->GetRelXPos(), e->GetRelYPos());
            const vector2 p = this->curMousePos;
            nGuiWidget* drag = this->refDragBox.get_unsafe();
            switch (e->GetType())
            {
                case N_INPUT_MOUSE_MOVE:
                    root->OnMouseMoved(p);
                    if (this->refToolTip.isvalid()) this->refToolTip->OnMouseMoved(p);
                    if (this->refDragBox.isvalid()) this->refDragBox->OnMouseMoved(p);
                    break;
                case N_INPUT_BUTTON_DOWN:
                    if (0 == e->GetButton())
                    {
                        root->OnButtonDown(p);
                        if (drag && this->refDragBox.isvalid() && !this->IsMouseOverGui()) drag->OnButtonDown(p);
                    }
                    else if (1 == e->GetButton())
                    {
                        root->OnRButtonDown(p);
                        if (this->refDragBox.isvalid()) this->refDragBox->OnRButtonDown(p);
                    }
                    break;
                case N_INPUT_BUTTON_UP:
                    if (0 == e->GetButton())
                    {
                        root->OnButtonUp(p);
                        if (this->refDragBox.isvalid()) this->refDragBox->OnButtonUp(p);
                    }
                    else if (1 == e->GetButton())
                    {
                        root->OnRButtonUp(p);
                        if (this->refDragBox.isvalid()) this->refDragBox->OnRButtonUp(p);
                    }
                    break;
                default: break;
            }
        }
        else if (N_INPUT_KEYBOARD0 == e->GetDeviceId())
        {
            switch (e->GetType())
            {
                case N_INPUT_KEY_DOWN: root->OnKeyDown(e->GetKey()); break;
                case N_INPUT_KEY_UP: root->OnKeyUp(e->GetKey()); break;
                case N_INPUT_KEY_CHAR: root->OnChar(uchar(e->GetChar())); break;
                default: break;
            }
        }
    }
}

/*
 * Trigger --
 *     Side effects (only with a root window): dismissed windows die, empty
 *     listener entries are erased, the frame's input is dispatched and the
 *     root window's OnFrame runs.
 */
void nGuiServer::Trigger()
{
    n_assert(this->guiWindowClass);
    if (!this->refRootWindow.isvalid()) return;
    this->RemoveDismissedWindows();
    std::erase_if(this->eventListeners, [](const std::unique_ptr<nRef<nGuiWidget>>& r) { return !r->isvalid(); });
    if (!this->refRootWindow.isvalid()) return;
    this->DispatchInput();
    if (this->refRootWindow.isvalid()) this->refRootWindow->OnFrame();
}

//--- drawing ----------------------------------------------------------------------------

void nGuiServer::PushClipRect(const rectangle& rect)
{
    if (!this->clipRectStack.empty() && rect.area() > 0.0f)
    {
        this->clipRectStack.push_back(Intersect(this->clipRectStack.back(), rect));
    }
    else
    {
        this->clipRectStack.push_back(rect);
    }
}

bool nGuiServer::GetClipRect(rectangle& rect) const
{
    if (this->clipRectStack.empty()) return false;
    rect = this->clipRectStack.back();
    return true;
}

void nGuiServer::MoveRectToVisibleArea(rectangle& rect)
{
    vector2 d(0.0f, 0.0f);
    if (rect.v0.x < 0.0f)
        d.x = -rect.v0.x;
    else if (rect.v1.x > 1.0f)
        d.x = 1.0f - rect.v1.x;
    if (rect.v0.y < 0.0f)
        d.y = -rect.v0.y;
    else if (rect.v1.y > 1.0f)
        d.y = 1.0f - rect.v1.y;
    rect.v0 += d;
    rect.v1 += d;
}

/*
 * SetBatchTexture --
 *     Side effects: the texture is the batch's and the effect's. Like an
 *     effect's texture it is held while the effect names it: the widget
 *     that drew it may release it before the next frame, whose passes
 *     upload every value of the effect again.
 */
void nGuiServer::SetBatchTexture(nTexture2* tex)
{
    this->curTexture = tex;
    nShader2* shader = this->refShader.get_unsafe();
    if (shader && shader->IsParameterUsed(nShaderState::DiffMap0))
    {
        shader->SetTexture(nShaderState::DiffMap0, tex);
        this->HoldTexture(tex);
    }
}

void nGuiServer::HoldTexture(nTexture2* tex)
{
    if (tex == this->heldTexture) return;
    if (tex) tex->AddRef();
    if (this->heldTexture) this->heldTexture->Release();
    this->heldTexture = tex;
}

void nGuiServer::SetBatchColor(const vector4& c)
{
    this->curColor = c;
    nShader2* shader = this->refShader.get_unsafe();
    if (shader && shader->IsParameterUsed(nShaderState::MatDiffuse)) shader->SetVector4(nShaderState::MatDiffuse, c);
}

/*
 * DrawBrush --
 *     Side effects: draws the brush's texture rectangle over rect; an
 *     empty brush name draws nothing.
 */
void nGuiServer::DrawBrush(const rectangle& rect, nGuiBrush& brush)
{
    if (brush.GetName().IsEmpty()) return;
    nGuiResource* res = brush.GetGuiResource();
    // an unknown brush or a texture that does not load was reported: nothing to draw
    if (!res || (!res->IsValid() && !res->Load())) return;
    const rectangle uv = res->GetUvRect();
    this->DrawTexture(rect, uv, res->GetColor(), res->GetTexture());
}

/*
 * DrawTexture --
 *     Side effects: clips against the top clip rectangle (cutting the uvs
 *     in proportion); draws the kept text first when the quad may cover
 *     it, the batch when the texture or the colour (tolerance 0.001)
 *     changes or the buffer is full; appends the quad as two triangles.
 *     Outside Render (no buffer) nothing is drawn.
 */
void nGuiServer::DrawTexture(const rectangle& rect, const rectangle& uvRect, const vector4& color, nTexture2* tex)
{
    n_assert(tex);
    rectangle r = rect;
    rectangle u = uvRect;
    if (!this->clipRectStack.empty())
    {
        r = Intersect(this->clipRectStack.back(), rect);
        if (r.area() <= 0.0f) return;
        const float sx = rect.width() != 0.0f ? u.width() / rect.width() : 0.0f;
        const float sy = rect.height() != 0.0f ? u.height() / rect.height() : 0.0f;
        u.v0.x += (r.v0.x - rect.v0.x) * sx;
        u.v1.x += (r.v1.x - rect.v1.x) * sx;
        u.v0.y -= (r.v1.y - rect.v1.y) * sy;
        u.v1.y -= (r.v0.y - rect.v0.y) * sy;
    }
    if (!this->vertexPointer) return;
    if (this->textPending)
    {
        nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
        if (!gfx || Covers(r, this->textArea, gfx->GetDisplayMode()))
        {
            this->DrawPendingText();
            if (!this->vertexPointer) return;
        }
    }
    const vector4 c(color.x * this->globalColor.x, color.y * this->globalColor.y, color.z * this->globalColor.z,
                    color.w * this->globalColor.w);
    const bool newTexture = tex != this->curTexture;
    const bool newColor = ColorDiffers(c, this->curColor);
    if (newTexture || newColor || this->curVertex + 6 >= this->maxVertices)
    {
        this->DrawBrushBatch();
        if (!this->vertexPointer) return;
        if (newTexture) this->SetBatchTexture(tex);
        if (newColor) this->SetBatchColor(c);
    }
    const float x0 = r.v0.x - 0.5f;
    const float x1 = r.v1.x - 0.5f;
    const float y0 = -(r.v0.y - 0.5f);
    const float y1 = -(r.v1.y - 0.5f);
    const float ua = u.v0.x;
    const float ub = u.v1.x;
    const float va = 1.0f - u.v1.y;
    const float vb = 1.0f - u.v0.y;
    float* p = this->vertexPointer + this->curVertex * GuiVertexWidth;
    p = PutVertex(p, x0, y0, ua, va);
    p = PutVertex(p, x1, y0, ub, va);
    p = PutVertex(p, x1, y1, ub, vb);
    p = PutVertex(p, x0, y0, ua, va);
    p = PutVertex(p, x1, y1, ub, vb);
    PutVertex(p, x0, y1, ua, vb);
    this->curVertex += 6;
}

/*
 * DrawBrushBatch --
 *     Side effects: draws the vertices written so far and starts a new
 *     batch in fresh buffer memory.
 */
void nGuiServer::DrawBrushBatch()
{
    if (this->curVertex > 0 && this->vertexPointer)
    {
        this->dynMesh.Swap(this->curVertex, this->vertexPointer);
        this->curVertex = 0;
    }
    this->brushesUnderText = false;
}

/*
 * DrawPendingText --
 *     Side effects: the text kept in the graphics server is drawn, after
 *     the queued brushes when some of them came before it. Brushes queued
 *     after it cover none of it, so they may wait.
 */
void nGuiServer::DrawPendingText()
{
    if (!this->textPending) return;
    this->textPending = false;
    if (nGfxServer2* gfx = nGfxServer2::InstanceOrNull()) gfx->EndText();
}

void nGuiServer::FlushBrushes()
{
    this->DrawBrushBatch();
    this->DrawPendingText();
}

/*
 * DrawText --
 *     Side effects: the text, clipped to the top clip rectangle, its alpha
 *     times the global alpha, goes to the graphics server. In a pass the
 *     server keeps it with the pass's other texts, to draw them at once
 *     over the brushes queued before it (which it has the GUI draw first);
 *     its text batch gives the brushes drawn later their mesh and effect
 *     pass back.
 */
void nGuiServer::DrawText(const char* text, const vector4& color, const rectangle& rect, uint flags)
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx || !text) return;
    rectangle r = rect;
    if (!this->clipRectStack.empty()) r = Intersect(this->clipRectStack.back(), rect);
    if (this->vertexPointer)
    {
        if (this->curVertex > 0) this->brushesUnderText = true;
        const rectangle area = TextArea(r, flags, gfx->GetDisplayMode());
        if (!this->textPending)
        {
            gfx->BeginText([this]() {
                if (this->brushesUnderText) this->DrawBrushBatch();
            });
            this->textPending = true;
            this->textArea = area;
        }
        else
        {
            this->textArea.set(vector2(n_min(this->textArea.v0.x, area.v0.x), n_min(this->textArea.v0.y, area.v0.y)),
                               vector2(n_max(this->textArea.v1.x, area.v1.x), n_max(this->textArea.v1.y, area.v1.y)));
        }
    }
    vector4 c = color;
    c.w *= this->globalColor.w;
    gfx->DrawText(nString(text), c, r, flags);
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
 * ComputeGuiTransform --
 *     Results: the model matrix that scales and moves the unit quad (x, y
 *     in -0.5..0.5) onto the screen, just in front of the near plane:
 *     screen points go through the inverse projection (affine part, no
 *     division), times the near distance, times 1.1.
 */
matrix44 nGuiServer::ComputeGuiTransform(const matrix44& projection, float nearPlane)
{
    matrix44 inv = projection;
    inv.invert();
    auto map = [&inv, nearPlane](float sx, float sy) {
        const float x = 2.0f * sx - 1.0f;
        const float y = 2.0f * sy - 1.0f;
        const float z = 1.0f;
        vector3 p(x * inv.m[0][0] + y * inv.m[1][0] + z * inv.m[2][0] + inv.m[3][0],
                  x * inv.m[0][1] + y * inv.m[1][1] + z * inv.m[2][1] + inv.m[3][1],
                  x * inv.m[0][2] + y * inv.m[1][2] + z * inv.m[2][2] + inv.m[3][2]);
        return p * (nearPlane * 1.1f);
    };
    const vector3 p0 = map(0.0f, 0.0f);
    const vector3 p1 = map(1.0f, 1.0f);
    matrix44 m;
    m.scale(p1 - p0);
    m.translate((p0 + p1) * 0.5f);
    return m;
}

bool nGuiServer::ValidateMesh()
{
    if (this->dynMesh.IsValid()) return true;
    return this->dynMesh.Initialize(nGfxServer2::TriangleList, GuiVertexComponents, 0, false, true);
}

/*
 * ValidateShader --
 *     Results: whether the GUI shader is loaded.
 *     Side effects: gets the shader "shaders:gui.fx" once and loads it.
 */
bool nGuiServer::ValidateShader()
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return false;
    if (!this->refShader.isvalid())
    {
        nShader2* shader = gfx->NewShader(nullptr);
        if (!shader) return false;
        shader->SetFilename("shaders:gui.fx");
        this->refShader.set(shader);
    }
    if (!this->refShader->IsValid())
    {
        const bool guiShaderLoaded = this->refShader->Load();
        n_assert(guiShaderLoaded);
    }
    return true;
}

/*
 * Render --
 *     Side effects (only with a root window): per shader pass, the root
 *     window, the tooltip (hidden first when nobody asked for it this
 *     frame) and the drag box are drawn with identity view and the GUI
 *     model transform, the pass's kept text last; the tooltip request is
 *     cleared.
 */
void nGuiServer::Render()
{
    if (!this->refRootWindow.isvalid()) return;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx || !this->ValidateMesh() || !this->ValidateShader()) return;
    nShader2* shader = this->refShader.get();
    gfx->PushTransform(nGfxServer2::View, matrix44());
    gfx->PushTransform(nGfxServer2::Model, ComputeGuiTransform(gfx->GetTransform(nGfxServer2::Projection),
                                                               gfx->GetCamera().GetNearPlane()));
    gfx->SetShader(shader);
    const int numPasses = shader->Begin(false);
    for (int pass = 0; pass < numPasses; pass++)
    {
        shader->BeginPass(pass);
        this->curTexture = nullptr;
        this->curColor.set(0.0f, 0.0f, 0.0f, 0.0f);
        this->curVertex = 0;
        this->textPending = false;
        this->brushesUnderText = false;
        this->dynMesh.Begin(this->vertexPointer, this->maxVertices);
        if (this->refRootWindow.isvalid()) this->refRootWindow->Render();
        if (this->refToolTip.isvalid())
        {
            if (this->refToolTip->IsShown() && !this->toolTipSet) this->refToolTip->Hide();
            if (this->refToolTip.isvalid()) this->refToolTip->Render();
        }
        this->toolTipSet = false;
        if (this->refDragBox.isvalid()) this->refDragBox->Render();
        this->dynMesh.End(this->vertexPointer ? this->curVertex : 0);
        this->vertexPointer = nullptr;
        this->curVertex = 0;
        this->DrawPendingText();
        shader->EndPass();
    }
    shader->End();
    gfx->PopTransform(nGfxServer2::Model);
    gfx->PopTransform(nGfxServer2::View);
}
