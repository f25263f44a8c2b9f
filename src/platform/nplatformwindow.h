#ifndef N_PLATFORMWINDOW_H
#define N_PLATFORMWINDOW_H
//------------------------------------------------------------------------------
/**
    @class nPlatformWindow
    @ingroup Platform

    The one render window on SDL2. Owns the SDL window and a reference to
    SDL's video subsystem (made with the window, given back with it), so
    the window is the only thing that starts SDL video. Creation failures
    come back as SDL's own message; the caller decides how fatal that is.

    The window's event pump drains only the kinds it handles (quit, window,
    keyboard, text, mouse motion and buttons) and leaves every other kind
    (joysticks, controllers, the wheel ...) queued for the input devices.
    It hands them out as nPlatformWindowEvent, so that the window's users
    above the platform layer never see SDL's events.
*/
#include "platform/nplatformwindowevent.h"

#include <SDL.h>

#include <string>
#include <utility>
#include <vector>

class nPlatformWindow
{
public:
    /// how the window is placed when it is shown
    enum Placement
    {
        Normal = 0,
        Fullscreen = 1,
        OnTop = 2,
    };

    nPlatformWindow() = default;
    /// closes the window if it is open
    ~nPlatformWindow();
    nPlatformWindow(const nPlatformWindow&) = delete;
    nPlatformWindow& operator=(const nPlatformWindow&) = delete;

    /// make the window hidden and 1x1; false with SDL's message in 'error'
    bool Open(const char* title, bool openGL, std::string& error);
    /// destroy the window and give back the video subsystem
    void Close();
    bool IsOpen() const { return this->window != nullptr; }
    /// the SDL window id (0 while closed)
    unsigned int GetId() const;
    /// the client size of the window of that id in pixels; false (sizes 0) without such a window
    static bool GetClientSizeOf(unsigned int windowId, int& w, int& h);
    SDL_Window* GetSDLWindow() const { return this->window; }

    void SetTitle(const char* title);
    /// show the window at this place and client size
    void Show(Placement placement, int x, int y, int w, int h);
    /// leave full screen and iconify the window
    void Minimize();
    /// the client size in pixels the window has now
    void GetClientSize(int& w, int& h) const;
    /**
        Make the window a child of another program's X11 window (by its
        id); true with the parent's client size. False with the reason in
        'error' when SDL does not run on X11 or the parent does not exist.
        Show then places the window inside the parent.
    */
    bool EmbedIn(unsigned long parent, int& parentW, int& parentH, std::string& error);
    /// the icon the window system shows for the window, from rows of RGBA pixels (row 0 at the top)
    void SetIcon(const unsigned char* rgba, int w, int h);
    /// true while the window is open and not hidden
    bool IsShown() const;

    /// a rectangle in pixels, top left at x, y
    struct Area
    {
        int x, y, w, h;
    };
    /// the largest area of the content's aspect centred in an outer area (the rest are bars)
    static Area Letterbox(int contentW, int contentH, int outerW, int outerH);
    /// the sizes (width, height) of the first display's modes, each once, the desktop's
    /// included; empty when SDL's video cannot start
    static std::vector<std::pair<int, int>> DisplayModes();
    /// the name of the video driver SDL runs on, "" before any window
    static const char* GetVideoDriver();
    /**
        Move up to maxEvents queued events of the window's own kinds into
        'out' (after pumping the system's queue); the number moved.
        Events of other kinds stay queued.
    */
    static int DrainEvents(nPlatformWindowEvent* out, int maxEvents);
    /// true when DrainEvents has handed out a quit event since the last
    /// call: only a signal (SIGTERM from the session, SIGINT) sends one,
    /// and it asks the whole program to end, not only the window's loop
    static bool TakeEndRequest();

private:
    SDL_Window* window = nullptr;
};
#endif
