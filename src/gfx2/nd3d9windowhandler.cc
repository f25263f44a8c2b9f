//------------------------------------------------------------------------------
//  nd3d9windowhandler.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9windowhandler.h"
#include "gfx2/nd3d9server.h"
#include "platform/nwindowservices.h"

nD3D9WindowHandler::nD3D9WindowHandler(nD3D9Server* server) :
    d3d9Server(server)
{
    n_assert(this->d3d9Server);
}

/*
 * OnSetCursor --
 *     Results: true unless the window's own arrow shows.
 *     Side effects: as the mouse enters the window, hides every cursor
 *     for the none visibility and shows the cursor for the others; the
 *     custom image is the window system's own cursor here, so hiding it
 *     would hide the image too. Nothing without a device or a window.
 */
bool nD3D9WindowHandler::OnSetCursor()
{
    n_assert(this->d3d9Server);
    nWindowServices* window = this->d3d9Server->GetWindowServices();
    if (!this->d3d9Server->IsDeviceOpen() || !window)
    {
        return false;
    }
    const nGfxServer2::CursorVisibility visibility = this->d3d9Server->GetCursorVisibility();
    window->ShowCursor(visibility != nGfxServer2::None);
    return visibility != nGfxServer2::System;
}

/*
 * OnMouseMoved --
 *     Results: false: the window system moves the cursor itself, also in
 *     full screen.
 */
bool nD3D9WindowHandler::OnMouseMoved()
{
    n_assert(this->d3d9Server);
    return false;
}

/*
 * OnPaint --
 *     Side effects: shows the last frame again when windowed, with a
 *     device and outside dialog-box mode.
 */
void nD3D9WindowHandler::OnPaint()
{
    n_assert(this->d3d9Server);
    if (nDisplayMode2::Fullscreen != this->displayMode.GetType() && this->d3d9Server->IsDeviceOpen() &&
        !this->d3d9Server->InDialogBoxMode())
    {
        this->d3d9Server->PresentDevice();
    }
}

/*
 * OnToggleFullscreen --
 *     Side effects: the display mode's type flips between full screen and
 *     windowed; an open display is closed and reopened with it, which
 *     releases and reloads the device's resources.
 */
void nD3D9WindowHandler::OnToggleFullscreen()
{
    n_assert(this->d3d9Server);
    nDisplayMode2 mode = this->displayMode;
    mode.SetType((nDisplayMode2::Fullscreen == mode.GetType()) ? nDisplayMode2::Windowed : nDisplayMode2::Fullscreen);
    const bool wasOpen = this->d3d9Server->IsDisplayOpen();
    if (wasOpen)
    {
        this->d3d9Server->CloseDisplay();
    }
    this->d3d9Server->SetDisplayMode(mode);
    if (wasOpen)
    {
        this->d3d9Server->OpenDisplay();
    }
}

/*
 * OnMinimized --
 *     Side effects: as the base; without a device the window counts as
 *     minimised whatever the window system reports late, so that the
 *     next device open finds it as it left it.
 */
void nD3D9WindowHandler::OnMinimized(bool minimized)
{
    n_assert(this->d3d9Server);
    nWin32WindowHandler::OnMinimized(minimized);
    if (!this->d3d9Server->IsDeviceOpen())
    {
        this->windowMinimized = true;
    }
}

bool nD3D9WindowHandler::OnCloseRequested()
{
    n_assert(this->d3d9Server);
    return true;
}
