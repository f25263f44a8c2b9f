//------------------------------------------------------------------------------
//  nwin32windowhandler.cc
//------------------------------------------------------------------------------
#include "gfx2/nwin32windowhandler.h"
#include "gfx2/nd3d9shaderinclude.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "input/nkeynames.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "platform/nplatformkeys.h"

#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace
{

/// where the window id is published
const char* const hwndPath = "/sys/env/hwnd";
/// the X11 window a host program gives the render window to live in
const char* const parentHwndPath = "/sys/env/parent_hwnd";

/// the most events one pump batch takes; the pump repeats until none is left
const int PumpBatch = 64;

}  // namespace

nWin32WindowHandler::nWin32WindowHandler() :
    openGLWindow(false),
    parentHwnd(0),
    parentWidth(0),
    parentHeight(0)
{
}

nWin32WindowHandler::~nWin32WindowHandler()
{
    if (this->windowOpen)
    {
        this->CloseWindow();
    }
}

/*
 * OpenWindow --
 *     Results: true.
 *     Side effects: makes the window hidden (minimised until the device
 *     restores it), inside the parent "/sys/env/parent_hwnd" names when it
 *     exists, and publishes its id in "/sys/env/hwnd". A window that
 *     cannot be made is a fatal error with the platform's reason.
 */
bool nWin32WindowHandler::OpenWindow()
{
    n_assert(!this->windowOpen);
    std::string error;
    if (!this->window.Open(this->displayMode.GetWindowTitle(), this->openGLWindow, error))
    {
        n_error("nWin32WindowHandler::OpenWindow(): could not create the window: %s\n", error.c_str());
    }
    this->windowServices = std::make_unique<nPlatformWindowServices>(this->window);
    this->EnterParent();
    this->PublishWindowId();
    this->windowOpen = true;
    this->windowMinimized = true;
    return true;
}

/*
 * EnterParent --
 *     Side effects: when "/sys/env/parent_hwnd" holds a window id, the
 *     window moves into that window, and the display mode becomes a child
 *     window of the parent's client size. A parent that cannot be used (no
 *     such window, no X11) is reported and the window stays a top-level
 *     one of the display mode's type.
 */
void nWin32WindowHandler::EnterParent()
{
    this->parentHwnd = 0;
    nRoot* env = nKernelServer::Instance()->Lookup(parentHwndPath);
    if (!env || !env->IsA("nenv"))
    {
        return;
    }
    const int parent = static_cast<nEnv*>(env)->GetI();
    std::string error;
    int w = 0, h = 0;
    if (parent <= 0 || !this->window.EmbedIn((unsigned long)parent, w, h, error))
    {
        n_printf("nWin32WindowHandler: cannot open the window inside parent %d: %s\n", parent,
                 error.empty() ? "not a window id" : error.c_str());
        return;
    }
    this->parentHwnd = parent;
    this->parentWidth = w;
    this->parentHeight = h;
    this->displayMode.SetWidth((ushort)w);
    this->displayMode.SetHeight((ushort)h);
    this->displayMode.SetType(nDisplayMode2::ChildWindow);
}

/*
 * PublishWindowId --
 *     Side effects: "/sys/env/hwnd" holds the window id. An object of
 *     another class at that path (a script may have made one) is replaced;
 *     one that cannot be replaced is reported and left alone.
 */
void nWin32WindowHandler::PublishWindowId()
{
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* old = ks->Lookup(hwndPath);
    if (old && !old->IsA("nenv"))
    {
        n_printf("nWin32WindowHandler: replacing the object at %s\n", hwndPath);
        old->Release();
    }
    nRoot* obj = static_cast<nRoot*>(ks->New("nenv", hwndPath));
    if (!obj->IsA("nenv"))
    {
        n_printf("nWin32WindowHandler: %s is no nenv, the window id is not published\n", hwndPath);
        return;
    }
    static_cast<nEnv*>(obj)->SetI(this->GetHwnd());
}

/*
 * CloseWindow --
 *     Side effects: ends the window's services (its image cursor freed),
 *     destroys the window and removes "/sys/env/hwnd".
 */
void nWin32WindowHandler::CloseWindow()
{
    n_assert(this->windowOpen);
    this->windowServices.reset();
    this->window.Close();
    this->windowOpen = false;
    nRoot* env = nKernelServer::Instance()->Lookup(hwndPath);
    if (env && env->IsA("nenv"))
    {
        env->Release();
    }
}

void nWin32WindowHandler::SetWindowTitle(const char* title)
{
    this->displayMode.SetWindowTitle(title);
    this->window.SetTitle(title);
}

/*
 * AdjustWindowStyle --
 *     Side effects: none beyond the checks; the platform window takes its look
 *     (full screen, on top, framed) from RestoreWindow's placement.
 */
void nWin32WindowHandler::AdjustWindowStyle()
{
    n_assert(this->window.IsOpen());
    n_assert(this->windowOpen);
    n_assert(this->windowMinimized);
}

/*
 * RestoreWindow --
 *     Side effects: sets the title and icon, shows the window at the
 *     display mode's place and size (full screen at 0, 0; a child window
 *     cut to the parent's client area, the mode taking the cut size),
 *     clears minimised.
 */
void nWin32WindowHandler::RestoreWindow()
{
    n_assert(this->window.IsOpen());
    n_assert(this->windowOpen);
    nDisplayMode2& mode = this->displayMode;
    this->window.SetTitle(mode.GetWindowTitle());
    this->LoadIcon();
    if (this->parentHwnd && nDisplayMode2::ChildWindow == mode.GetType())
    {
        // the window keeps inside the parent's client area
        const int x = mode.GetXPos(), y = mode.GetYPos();
        const int w = (x + mode.GetWidth() > this->parentWidth) ? this->parentWidth - x : mode.GetWidth();
        const int h = (y + mode.GetHeight() > this->parentHeight) ? this->parentHeight - y : mode.GetHeight();
        mode.SetWidth((ushort)std::max(w, 1));
        mode.SetHeight((ushort)std::max(h, 1));
    }
    nPlatformWindow::Placement placement = nPlatformWindow::Normal;
    if (nDisplayMode2::Fullscreen == mode.GetType())
    {
        placement = nPlatformWindow::Fullscreen;
    }
    else if (nDisplayMode2::AlwaysOnTop == mode.GetType())
    {
        placement = nPlatformWindow::OnTop;
    }
    this->window.Show(placement, mode.GetXPos(), mode.GetYPos(), mode.GetWidth(), mode.GetHeight());
    this->windowMinimized = false;
}

/*
 * LoadIcon --
 *     Side effects: the image file the display mode's icon name gives
 *     (through the file server) becomes the window's icon, once per name;
 *     a file that cannot be read or decoded is reported once and the
 *     window keeps the icon it has.
 */
void nWin32WindowHandler::LoadIcon()
{
    const std::string name = this->displayMode.GetIcon() ? this->displayMode.GetIcon() : "";
    if (name.empty() || name == this->iconLoaded)
    {
        return;
    }
    this->iconLoaded = name;
    std::string bytes;
    if (!nD3D9ShaderInclude::ReadFile(name, bytes) || bytes.empty())
    {
        n_printf("nWin32WindowHandler: cannot read the icon '%s'\n", name.c_str());
        return;
    }
    int w = 0, h = 0, comp = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), (int)bytes.size(), &w, &h, &comp, 4),
        stbi_image_free);
    if (!pixels)
    {
        n_printf("nWin32WindowHandler: the icon '%s' is no image: %s\n", name.c_str(), stbi_failure_reason());
        return;
    }
    this->window.SetIcon(pixels.get(), w, h);
}

void nWin32WindowHandler::MinimizeWindow()
{
    n_assert(this->window.IsOpen());
    n_assert(this->windowOpen);
    if (!this->windowMinimized)
    {
        // a child window stays where its parent shows it
        if (nDisplayMode2::ChildWindow != this->displayMode.GetType())
        {
            this->window.Minimize();
        }
        this->windowMinimized = true;
    }
}

/*
 * Trigger --
 *     Results: false once quitting was asked (by a close request or a
 *     signal), true otherwise.
 *     Side effects: unless the pump is skipped, handles every queued event
 *     of the window's kinds.
 */
bool nWin32WindowHandler::Trigger()
{
    if (!this->skipMsgLoop)
    {
        nPlatformWindowEvent events[PumpBatch];
        int num;
        while ((num = nPlatformWindow::DrainEvents(events, PumpBatch)) > 0)
        {
            for (int i = 0; i < num; i++)
            {
                this->HandleEvent(events[i]);
            }
        }
    }
    return !this->quitRequested;
}

//--- the window procedure ----------------------------------------------------

/*
 * HandleEvent --
 *     Side effects: turns one event into input events, hook calls and the
 *     quit request; kinds it does not know are dropped.
 */
void nWin32WindowHandler::HandleEvent(const nPlatformWindowEvent& event)
{
    switch (event.kind)
    {
        case nPlatformWindowEvent::Quit:
            this->quitRequested = true;
            break;
        case nPlatformWindowEvent::Close:
            // the parent's program decides when a child window goes
            if (!this->parentHwnd && this->OnCloseRequested())
            {
                this->quitRequested = true;
            }
            break;
        case nPlatformWindowEvent::FocusGained:
            if (this->refInputServer.isvalid())
            {
                this->refInputServer->GainFocus();
            }
            break;
        case nPlatformWindowEvent::FocusLost:
            if (this->refInputServer.isvalid())
            {
                this->refInputServer->LoseFocus();
            }
            break;
        case nPlatformWindowEvent::Minimized:
            this->OnMinimized(true);
            break;
        case nPlatformWindowEvent::Restored:
            this->OnMinimized(false);
            break;
        case nPlatformWindowEvent::Exposed:
            this->OnPaint();
            break;
        case nPlatformWindowEvent::Entered:
            this->OnSetCursor();
            break;
        case nPlatformWindowEvent::KeyDown:
        case nPlatformWindowEvent::KeyUp:
            this->HandleKey(event);
            break;
        case nPlatformWindowEvent::Text:
            this->HandleText(event.text);
            break;
        case nPlatformWindowEvent::MouseMove:
        {
            nInputEvent* e = this->NewInputEvent(N_INPUT_MOUSE_MOVE, N_INPUT_MOUSE0, 0);
            if (e)
            {
                this->SetMousePos(e, event.x, event.y);
                this->refInputServer->LinkEvent(e);
            }
            this->OnMouseMoved();
            break;
        }
        case nPlatformWindowEvent::ButtonDown:
        case nPlatformWindowEvent::ButtonUp:
            this->HandleMouseButton(event);
            break;
        default:
            break;
    }
}

/*
 * HandleKey --
 *     Side effects: a key_down or key_up event with the key's engine code.
 *     Alt+Return toggles full screen instead of making a key_down; its
 *     auto-repeat does nothing, so holding the keys toggles only once.
 */
void nWin32WindowHandler::HandleKey(const nPlatformWindowEvent& event)
{
    const bool down = (nPlatformWindowEvent::KeyDown == event.kind);
    if (down && event.altReturn)
    {
        if (!event.repeat)
        {
            this->OnToggleFullscreen();
        }
        return;
    }
    const int code = nKeyCodeFromVirtualKey(event.virtualKey);
    nInputEvent* e = this->NewInputEvent(down ? N_INPUT_KEY_DOWN : N_INPUT_KEY_UP, N_INPUT_KEYBOARD0, code);
    if (e)
    {
        this->refInputServer->LinkEvent(e);
    }
}

/*
 * HandleText --
 *     Side effects: one char event per character of the text; control
 *     codes are dropped; a character beyond what the text drawing shows
 *     (above U+07FF) and broken UTF-8 come as a '?', so that the typed
 *     line visibly misses them.
 */
void nWin32WindowHandler::HandleText(const char* text)
{
    const char* p = text;
    int c;
    while ((c = nPlatformNextCodePoint(p)) != 0)
    {
        if (c < 0 || c > 0x7FF)
        {
            c = '?';
        }
        if (c < 32)
        {
            continue;
        }
        nInputEvent* e = this->NewInputEvent(N_INPUT_KEY_CHAR, N_INPUT_KEYBOARD0, c);
        if (e)
        {
            this->refInputServer->LinkEvent(e);
        }
    }
}

void nWin32WindowHandler::HandleMouseButton(const nPlatformWindowEvent& event)
{
    if (event.button < 0)
    {
        return;
    }
    const bool down = (nPlatformWindowEvent::ButtonDown == event.kind);
    nInputEvent* e = this->NewInputEvent(down ? N_INPUT_BUTTON_DOWN : N_INPUT_BUTTON_UP, N_INPUT_MOUSE0, event.button);
    if (e)
    {
        this->SetMousePos(e, event.x, event.y);
        this->refInputServer->LinkEvent(e);
    }
}

/*
 * NewInputEvent --
 *     Results: a new unlinked event with type, device and index set; null
 *     when there is no input server or no memory for the event.
 */
nInputEvent* nWin32WindowHandler::NewInputEvent(int type, int deviceId, int index)
{
    if (!this->refInputServer.isvalid())
    {
        return nullptr;
    }
    nInputEvent* e = this->refInputServer->NewEvent();
    if (e)
    {
        e->SetType((nInputType)type);
        e->SetDeviceId(deviceId);
        e->SetIndex(index);
    }
    return e;
}

/*
 * SetMousePos --
 *     Side effects: the event's position in the picture: the window
 *     position mapped through the area the back buffer is shown in (its
 *     aspect kept, see nPlatformWindow::Letterbox), as display-mode pixels
 *     (absolute) and as a fraction of the picture (relative; outside
 *     0..1 over the bars). Without a display-mode size the position stays
 *     the window's, relative 0 along a side of size 0.
 */
void nWin32WindowHandler::SetMousePos(nInputEvent* e, int x, int y) const
{
    const int w = this->displayMode.GetWidth();
    const int h = this->displayMode.GetHeight();
    if (w <= 0 || h <= 0)
    {
        e->SetAbsPos(x, y);
        e->SetRelPos((w > 0) ? (float)x / (float)w : 0.0f, (h > 0) ? (float)y / (float)h : 0.0f);
        return;
    }
    // a window not shown yet is still 1x1 and shows nothing: positions are the picture's
    int clientW = 0;
    int clientH = 0;
    this->window.GetClientSize(clientW, clientH);
    if (!this->window.IsShown() || clientW <= 0 || clientH <= 0)
    {
        clientW = w;
        clientH = h;
    }
    const nPlatformWindow::Area area = nPlatformWindow::Letterbox(w, h, clientW, clientH);
    const float relX = (area.w > 0) ? (float)(x - area.x) / (float)area.w : 0.0f;
    const float relY = (area.h > 0) ? (float)(y - area.y) / (float)area.h : 0.0f;
    e->SetAbsPos((int)std::floor(relX * (float)w), (int)std::floor(relY * (float)h));
    e->SetRelPos(relX, relY);
}

//--- hooks ------------------------------------------------------------------------

bool nWin32WindowHandler::OnSetCursor()
{
    return false;
}

bool nWin32WindowHandler::OnMouseMoved()
{
    return false;
}

void nWin32WindowHandler::OnPaint()
{
}

void nWin32WindowHandler::OnToggleFullscreen()
{
}

/*
 * OnMinimized --
 *     Side effects: remembers the state; the input server loses the focus
 *     when minimised and gains it back when restored.
 */
void nWin32WindowHandler::OnMinimized(bool minimized)
{
    this->windowMinimized = minimized;
    if (this->refInputServer.isvalid())
    {
        if (minimized)
        {
            this->refInputServer->LoseFocus();
        }
        else
        {
            this->refInputServer->GainFocus();
        }
    }
}

bool nWin32WindowHandler::OnCloseRequested()
{
    return false;
}
