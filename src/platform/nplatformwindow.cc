//------------------------------------------------------------------------------
//  nplatformwindow.cc
//------------------------------------------------------------------------------
#include "platform/nplatformwindow.h"
#include "platform/nplatformkeys.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace
{

/// The window pump owns every kind from quit up to the mouse buttons: the
/// application and display notices, window, keyboard and text events and
/// mouse motion and buttons, in one range so that they keep their order.
/// The wheel, joysticks, controllers, touch and user events lie above it.
const Uint32 firstOwnEvent = SDL_QUIT;
const Uint32 lastOwnEvent = SDL_MOUSEBUTTONUP;

/*
 * SetCoreProfileAttributes --
 *     Side effects: asks SDL for an OpenGL 3.3 core context with a plain
 *     RGBA8 window surface; the engine renders into a framebuffer of its
 *     own, so the window needs neither depth nor stencil.
 */
void SetCoreProfileAttributes()
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

/// a signal (SIGTERM, SIGINT) asked the program to end, and nobody has taken the request yet
std::atomic<bool> endRequested{false};

/*
 * MouseButton --
 *     Results: the engine's button number of an SDL button (0 left,
 *     1 right, 2 middle), -1 for the others.
 */
int MouseButton(Uint8 sdlButton)
{
    switch (sdlButton)
    {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        default: return -1;
    }
}

/*
 * IsAltReturn --
 *     Results: whether the key is Return (main or keypad) with Alt held.
 */
bool IsAltReturn(const SDL_Keysym& sym)
{
    return (SDLK_RETURN == sym.sym || SDLK_KP_ENTER == sym.sym) && (sym.mod & KMOD_ALT) != 0;
}

/*
 * WindowEventKind --
 *     Results: the kind of one of SDL's window events; Other for those
 *     the window's users do not handle.
 */
nPlatformWindowEvent::Kind WindowEventKind(Uint8 event)
{
    switch (event)
    {
        case SDL_WINDOWEVENT_CLOSE: return nPlatformWindowEvent::Close;
        case SDL_WINDOWEVENT_FOCUS_GAINED: return nPlatformWindowEvent::FocusGained;
        case SDL_WINDOWEVENT_FOCUS_LOST: return nPlatformWindowEvent::FocusLost;
        case SDL_WINDOWEVENT_MINIMIZED: return nPlatformWindowEvent::Minimized;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: return nPlatformWindowEvent::Restored;
        case SDL_WINDOWEVENT_EXPOSED: return nPlatformWindowEvent::Exposed;
        case SDL_WINDOWEVENT_ENTER: return nPlatformWindowEvent::Entered;
        default: return nPlatformWindowEvent::Other;
    }
}

/*
 * Translate --
 *     Results: one of SDL's events of the window's range as the window's
 *     own event.
 */
nPlatformWindowEvent Translate(const SDL_Event& in)
{
    nPlatformWindowEvent out;
    switch (in.type)
    {
        case SDL_QUIT:
            out.kind = nPlatformWindowEvent::Quit;
            break;
        case SDL_WINDOWEVENT:
            out.kind = WindowEventKind(in.window.event);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            out.kind = (SDL_KEYDOWN == in.type) ? nPlatformWindowEvent::KeyDown : nPlatformWindowEvent::KeyUp;
            out.virtualKey = nPlatformVirtualKey(in.key.keysym);
            out.repeat = in.key.repeat != 0;
            out.altReturn = IsAltReturn(in.key.keysym);
            break;
        case SDL_TEXTINPUT:
            out.kind = nPlatformWindowEvent::Text;
            static_assert(sizeof(in.text.text) <= sizeof(out.text), "a text event fits");
            memcpy(out.text, in.text.text, sizeof(in.text.text));
            out.text[sizeof(out.text) - 1] = 0;
            break;
        case SDL_MOUSEMOTION:
            out.kind = nPlatformWindowEvent::MouseMove;
            out.x = in.motion.x;
            out.y = in.motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            out.kind = (SDL_MOUSEBUTTONDOWN == in.type) ? nPlatformWindowEvent::ButtonDown
                                                        : nPlatformWindowEvent::ButtonUp;
            out.x = in.button.x;
            out.y = in.button.y;
            out.button = MouseButton(in.button.button);
            break;
        default:
            break;
    }
    return out;
}

}  // namespace

nPlatformWindow::~nPlatformWindow()
{
    this->Close();
}

/*
 * Open --
 *     Results: true with a hidden window; false with SDL's message in
 *     'error' when the video subsystem or the window cannot be made.
 *     Side effects: starts SDL video (counted by SDL) for the window's life.
 */
bool nPlatformWindow::Open(const char* title, bool openGL, std::string& error)
{
    if (this->window)
    {
        return true;
    }
    // a closed window is a request the engine answers itself; SDL_QUIT
    // then comes only from a signal (SIGINT, SIGTERM)
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        error = SDL_GetError();
        return false;
    }
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (openGL)
    {
        SetCoreProfileAttributes();
        flags |= SDL_WINDOW_OPENGL;
    }
    this->window = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1, flags);
    if (!this->window)
    {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
}

/*
 * Close --
 *     Side effects: destroys the window and gives back SDL video; nothing
 *     when closed already.
 */
void nPlatformWindow::Close()
{
    if (this->window)
    {
        SDL_DestroyWindow(this->window);
        this->window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

unsigned int nPlatformWindow::GetId() const
{
    return this->window ? SDL_GetWindowID(this->window) : 0;
}

/*
 * GetClientSizeOf --
 *     Results: true with the client size of the window SDL knows by that
 *     id (this program's, any of them); false with 0, 0 when SDL's video
 *     is not running or there is no such window.
 */
bool nPlatformWindow::GetClientSizeOf(unsigned int windowId, int& w, int& h)
{
    w = 0;
    h = 0;
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    if (!window)
    {
        return false;
    }
    SDL_GetWindowSize(window, &w, &h);
    return true;
}

void nPlatformWindow::SetTitle(const char* title)
{
    if (this->window)
    {
        SDL_SetWindowTitle(this->window, title ? title : "");
    }
}

/*
 * Show --
 *     Side effects: sizes, places and shows the window; full screen takes
 *     the desktop's mode (the engine's back buffer keeps its own size and
 *     is scaled with its aspect kept when presented, see Letterbox);
 *     OnTop keeps it above other windows.
 */
void nPlatformWindow::Show(Placement placement, int x, int y, int w, int h)
{
    if (!this->window)
    {
        return;
    }
    SDL_DisplayMode desktop;
    if (Fullscreen == placement && SDL_GetDesktopDisplayMode(0, &desktop) == 0)
    {
        // covers the desktop even where no window manager carries out the full-screen state
        SDL_SetWindowSize(this->window, desktop.w, desktop.h);
    }
    else
    {
        SDL_SetWindowSize(this->window, (w > 0) ? w : 1, (h > 0) ? h : 1);
    }
    if (Fullscreen == placement)
    {
        SDL_SetWindowPosition(this->window, 0, 0);
        SDL_SetWindowFullscreen(this->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    else
    {
        SDL_SetWindowFullscreen(this->window, 0);
        SDL_SetWindowPosition(this->window, x, y);
    }
    SDL_SetWindowAlwaysOnTop(this->window, (OnTop == placement) ? SDL_TRUE : SDL_FALSE);
    SDL_ShowWindow(this->window);
    SDL_RestoreWindow(this->window);
}

void nPlatformWindow::Minimize()
{
    if (this->window)
    {
        SDL_SetWindowFullscreen(this->window, 0);
        SDL_MinimizeWindow(this->window);
    }
}

void nPlatformWindow::GetClientSize(int& w, int& h) const
{
    w = 0;
    h = 0;
    if (this->window)
    {
        SDL_GetWindowSize(this->window, &w, &h);
    }
}

/*
 * X11Display --
 *     Results: the X display SDL talks to, null when SDL video does not
 *     run on X11 or the window is not open.
 */
static Display* X11Display(SDL_Window* window, ::Window* own)
{
    if (!window || 0 != std::strcmp(nPlatformWindow::GetVideoDriver(), "x11"))
    {
        return nullptr;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || SDL_SYSWM_X11 != info.subsystem)
    {
        return nullptr;
    }
    if (own)
    {
        *own = info.info.x11.window;
    }
    return info.info.x11.display;
}

/// the X error of the last request checked, 0 for none (X reports errors through a global handler)
static int lastXError = 0;
static int KeepXError(Display*, XErrorEvent* e)
{
    lastXError = e->error_code;
    return 0;
}

/*
 * CheckedXCall --
 *     Results: whether the requests made by 'call' raised no X error.
 *     Side effects: runs 'call' with errors caught instead of ending the
 *     program (Xlib's default), then waits for the server's answers.
 */
template <class F> static bool CheckedXCall(Display* dpy, F call)
{
    XSync(dpy, False);
    lastXError = 0;
    XErrorHandler old = XSetErrorHandler(KeepXError);
    const bool ok = call();
    XSync(dpy, False);
    XSetErrorHandler(old);
    return ok && 0 == lastXError;
}

/*
 * EmbedIn --
 *     Results: true with the parent's client size when the window now
 *     lies inside the parent; false with the reason otherwise (the window
 *     stays a top-level one).
 *     Side effects: reparents the window's X11 window.
 */
bool nPlatformWindow::EmbedIn(unsigned long parent, int& parentW, int& parentH, std::string& error)
{
    parentW = 0;
    parentH = 0;
    ::Window own = 0;
    Display* dpy = X11Display(this->window, &own);
    if (!dpy)
    {
        error = std::string("a parent window needs the x11 video driver, not '") + GetVideoDriver() + "'";
        return false;
    }
    XWindowAttributes attrs;
    if (!CheckedXCall(dpy, [&] { return 0 != XGetWindowAttributes(dpy, (::Window)parent, &attrs); }) ||
        !CheckedXCall(dpy, [&] { XReparentWindow(dpy, own, (::Window)parent, 0, 0); return true; }))
    {
        error = "there is no X11 window " + std::to_string(parent);
        return false;
    }
    parentW = attrs.width;
    parentH = attrs.height;
    return true;
}

/*
 * SetIcon --
 *     Side effects: the window system shows the pixels as the window's
 *     icon; nothing while closed or for an empty image.
 */
void nPlatformWindow::SetIcon(const unsigned char* rgba, int w, int h)
{
    if (!this->window || !rgba || w <= 0 || h <= 0)
    {
        return;
    }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(rgba), w, h, 32, w * 4,
                                                           SDL_PIXELFORMAT_RGBA32);
    if (icon)
    {
        SDL_SetWindowIcon(this->window, icon);
        SDL_FreeSurface(icon);
    }
}

/*
 * Letterbox --
 *     Results: the area where a picture of contentW x contentH is shown
 *     in an outer area of outerW x outerH: as large as fits with the
 *     picture's aspect kept, centred; the whole outer area when a size is
 *     not positive.
 */
nPlatformWindow::Area nPlatformWindow::Letterbox(int contentW, int contentH, int outerW, int outerH)
{
    if (contentW <= 0 || contentH <= 0 || outerW <= 0 || outerH <= 0)
    {
        return Area{0, 0, outerW > 0 ? outerW : 0, outerH > 0 ? outerH : 0};
    }
    int w = outerW;
    int h = outerH;
    // compare the aspects in a wide type: outerW * contentH may pass an int
    if ((long long)outerW * contentH <= (long long)outerH * contentW)
    {
        h = (int)(((long long)outerW * contentH + contentW / 2) / contentW);
    }
    else
    {
        w = (int)(((long long)outerH * contentW + contentH / 2) / contentH);
    }
    return Area{(outerW - w) / 2, (outerH - h) / 2, w, h};
}

/*
 * DisplayModes --
 *     Results: the distinct sizes of the first display's modes in SDL's
 *     order (largest first), the desktop's size among them; empty when
 *     SDL's video subsystem cannot start.
 *     Side effects: the video subsystem is started for the call only.
 */
std::vector<std::pair<int, int>> nPlatformWindow::DisplayModes()
{
    std::vector<std::pair<int, int>> sizes;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return sizes;
    const auto add = [&sizes](const SDL_DisplayMode& m) {
        const std::pair<int, int> size(m.w, m.h);
        if (m.w > 0 && m.h > 0 && std::find(sizes.begin(), sizes.end(), size) == sizes.end()) sizes.push_back(size);
    };
    const int num = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < num; i++)
    {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) == 0) add(m);
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) add(desktop);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return sizes;
}

bool nPlatformWindow::IsShown() const
{
    return this->window && !(SDL_GetWindowFlags(this->window) & SDL_WINDOW_HIDDEN);
}

const char* nPlatformWindow::GetVideoDriver()
{
    const char* name = SDL_GetCurrentVideoDriver();
    return name ? name : "";
}

/*
 * DrainEvents --
 *     Results: the number of events moved into 'out', in arrival order.
 *     Side effects: pumps SDL's queue; removes the moved events from it;
 *     a quit event (a signal's) is remembered for TakeEndRequest.
 */
int nPlatformWindow::DrainEvents(nPlatformWindowEvent* out, int maxEvents)
{
    if (!SDL_WasInit(SDL_INIT_EVENTS) || maxEvents <= 0)
    {
        return 0;
    }
    SDL_PumpEvents();
    std::vector<SDL_Event> events((size_t)maxEvents);
    const int got = SDL_PeepEvents(events.data(), maxEvents, SDL_GETEVENT, firstOwnEvent, lastOwnEvent);
    for (int i = 0; i < got; i++)
    {
        if (events[i].type == SDL_QUIT) endRequested = true;
        out[i] = Translate(events[i]);
    }
    return (got > 0) ? got : 0;
}

bool nPlatformWindow::TakeEndRequest()
{
    return endRequested.exchange(false);
}
