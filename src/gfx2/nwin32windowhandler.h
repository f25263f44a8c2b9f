#ifndef N_WIN32WINDOWHANDLER_H
#define N_WIN32WINDOWHANDLER_H
//------------------------------------------------------------------------------
/**
    @class nWin32WindowHandler
    @ingroup Gfx2

    The render window: one platform window whose id is published as
    "/sys/env/hwnd" while it exists. Once per frame Trigger drains the
    window's own events (quit, window, keyboard, text, mouse motion and
    buttons) and turns them into the engine's input events; events of
    other kinds stay queued for the input devices. Alt+Return toggles
    full screen, a close request or a signal (SIGINT) ends the main loop,
    focus changes reach the input server.

    Six virtual hooks let a device handler react: cursor, mouse moves,
    repaint, full-screen toggle, minimising and close requests.
*/
#include "gfx2/nwindowhandler.h"
#include "platform/nplatformwindow.h"
#include "platform/nplatformwindowservices.h"

#include <memory>
#include <string>

class nInputEvent;

class nWin32WindowHandler : public nWindowHandler
{
public:
    nWin32WindowHandler();
    /// closes the window if it is still open
    virtual ~nWin32WindowHandler();

    /// the window id, 0 while there is no window
    int GetHwnd() const { return (int)this->window.GetId(); }
    /// the platform's window, open or closed
    const nPlatformWindow& GetPlatformWindow() const { return this->window; }
    /// the open window's cursor, gamma and displays; null while closed
    nWindowServices* GetWindowServices() const { return this->windowServices.get(); }
    /// make the window an OpenGL window (set before OpenWindow)
    void SetOpenGLWindow(bool b) { this->openGLWindow = b; }

    /// make the hidden window and publish its id; always true
    bool OpenWindow();
    void CloseWindow();
    void SetWindowTitle(const char* title);
    /// the window's look follows the display-mode type when it is restored
    void AdjustWindowStyle();
    /// show, place and size the window by the display mode
    void RestoreWindow();
    void MinimizeWindow();
    /// pump the window's events (unless skipped); false once quit was asked
    bool Trigger();
    /// the X11 window the render window lives in, 0 when it is a top-level one
    int GetParentHwnd() const { return this->parentHwnd; }

protected:
    virtual bool OnSetCursor();
    virtual bool OnMouseMoved();
    virtual void OnPaint();
    virtual void OnToggleFullscreen();
    virtual void OnMinimized(bool minimized);
    virtual bool OnCloseRequested();

    /// the window procedure: one event of the window's own kinds
    void HandleEvent(const nPlatformWindowEvent& event);

private:
    void HandleKey(const nPlatformWindowEvent& event);
    void HandleText(const char* text);
    void HandleMouseButton(const nPlatformWindowEvent& event);
    /// make "/sys/env/hwnd" hold the window id
    void PublishWindowId();
    /// move into the parent "/sys/env/parent_hwnd" names, if any
    void EnterParent();
    /// give the window the display mode's icon
    void LoadIcon();
    /// a new event of the type and device for the input server; 0 without one
    nInputEvent* NewInputEvent(int type, int deviceId, int index);
    /// set the absolute and relative position of a mouse event
    void SetMousePos(nInputEvent* e, int x, int y) const;

    nPlatformWindow window;
    /// made with the window and gone before it closes, which frees the cursor it made
    std::unique_ptr<nPlatformWindowServices> windowServices;
    bool openGLWindow;
    int parentHwnd;
    int parentWidth;
    int parentHeight;
    /// the icon name last loaded (or failed), so that a bad file is reported once
    std::string iconLoaded;
};
#endif
