#ifndef N_PLATFORMWINDOWSERVICES_H
#define N_PLATFORMWINDOWSERVICES_H
//------------------------------------------------------------------------------
/**
    @class nPlatformWindowServices
    @ingroup Platform

    The window services of an nPlatformWindow on SDL2: colour cursors,
    SDL's cursor visibility, the window's gamma ramp and SDL's displays.
    It holds the image cursor it made and frees it when it goes (the
    default arrow back first), so it must go before the window closes,
    which ends SDL's video and every cursor with it.
*/
#include "platform/nwindowservices.h"

#include <SDL.h>

#include <memory>

class nPlatformWindow;

class nPlatformWindowServices : public nWindowServices
{
public:
    /// the services of a window that outlives them
    explicit nPlatformWindowServices(const nPlatformWindow& window);
    /// the default arrow back over the window, the image cursor freed
    ~nPlatformWindowServices() override;
    nPlatformWindowServices(const nPlatformWindowServices&) = delete;
    nPlatformWindowServices& operator=(const nPlatformWindowServices&) = delete;

    bool SetCursorImage(const unsigned char* rgba, int width, int height, int hotX, int hotY) override;
    void ShowImageCursor(bool show) override;
    void ShowCursor(bool show) override;
    bool SetGammaRamp(const unsigned short* red, const unsigned short* green, const unsigned short* blue) override;
    /// every display SDL knows, with its modes; empty when SDL's video is not running
    std::vector<Adapter> GetAdapters() const override;

private:
    struct FreeCursor
    {
        void operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
    };

    const nPlatformWindow& window;
    std::unique_ptr<SDL_Cursor, FreeCursor> imageCursor;
    bool imageCursorShown = false;
};
#endif
