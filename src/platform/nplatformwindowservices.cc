//------------------------------------------------------------------------------
//  nplatformwindowservices.cc
//------------------------------------------------------------------------------
#include "platform/nplatformwindowservices.h"
#include "platform/nplatformwindow.h"

#include <algorithm>
#include <string>

nPlatformWindowServices::nPlatformWindowServices(const nPlatformWindow& w) :
    window(w)
{
}

nPlatformWindowServices::~nPlatformWindowServices()
{
    if (this->imageCursor)
    {
        SDL_SetCursor(SDL_GetDefaultCursor());
    }
}

/*
 * SetCursorImage --
 *     Results: false (the cursor unchanged) when the window is closed or
 *     SDL makes no colour cursor, as on drivers without a pointer.
 *     Side effects: the new cursor replaces (and frees) the old image
 *     cursor, and shows at once when the image cursor is shown.
 */
bool nPlatformWindowServices::SetCursorImage(const unsigned char* rgba, int width, int height, int hotX, int hotY)
{
    if (!this->window.IsOpen() || !rgba || width <= 0 || height <= 0)
    {
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(rgba), width, height, 32,
                                                              width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
    {
        return false;
    }
    std::unique_ptr<SDL_Cursor, FreeCursor> cursor(
        SDL_CreateColorCursor(surface, std::clamp(hotX, 0, width - 1), std::clamp(hotY, 0, height - 1)));
    SDL_FreeSurface(surface);
    if (!cursor)
    {
        return false;
    }
    if (this->imageCursorShown)
    {
        SDL_SetCursor(cursor.get());
    }
    this->imageCursor = std::move(cursor);
    return true;
}

void nPlatformWindowServices::ShowImageCursor(bool show)
{
    this->imageCursorShown = show;
    SDL_Cursor* c = (show && this->imageCursor) ? this->imageCursor.get() : SDL_GetDefaultCursor();
    if (c)
    {
        SDL_SetCursor(c);
    }
}

void nPlatformWindowServices::ShowCursor(bool show)
{
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

/*
 * SetGammaRamp --
 *     Results: false when the window is closed or the window system
 *     refuses the ramp (common headless and under Wayland).
 */
bool nPlatformWindowServices::SetGammaRamp(const unsigned short* red, const unsigned short* green,
                                           const unsigned short* blue)
{
    SDL_Window* w = this->window.GetSDLWindow();
    return w && 0 == SDL_SetWindowGammaRamp(w, red, green, blue);
}

std::vector<nWindowServices::Adapter> nPlatformWindowServices::GetAdapters() const
{
    std::vector<Adapter> result;
    const int n = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetNumVideoDisplays() : 0;
    for (int i = 0; i < n; i++)
    {
        Adapter a;
        const char* name = SDL_GetDisplayName(i);
        const char* driver = SDL_GetCurrentVideoDriver();
        a.deviceName = name ? name : "";
        a.description = std::string("OpenGL on ") + (driver ? driver : "unknown");
        const int numModes = SDL_GetNumDisplayModes(i);
        for (int j = 0; j < numModes; j++)
        {
            SDL_DisplayMode m;
            if (0 == SDL_GetDisplayMode(i, j, &m))
            {
                a.modes.push_back({m.w, m.h, m.refresh_rate});
            }
        }
        result.push_back(std::move(a));
    }
    return result;
}
