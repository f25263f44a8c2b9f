#ifndef N_WINDOWSERVICES_H
#define N_WINDOWSERVICES_H
//------------------------------------------------------------------------------
/**
    @class nWindowServices
    @ingroup Platform

    What the render window offers the graphics server beside drawing: the
    colour cursor and whether it shows, the gamma ramp, and the displays
    with their modes. These belong to the window system, not to the device
    that draws, so they sit on the window: nPlatformWindowServices carries
    them out on the SDL window, a stand-in records them for tests.
*/
#include <string>
#include <vector>

class nWindowServices
{
public:
    /// a display and its modes
    struct Adapter
    {
        std::string deviceName;
        std::string description;
        struct Mode
        {
            int width = 0;
            int height = 0;
            int refreshRate = 0;
        };
        std::vector<Mode> modes;
    };

    virtual ~nWindowServices();

    /// the window's cursor from RGBA pixels (row 0 on top) with its hot spot;
    /// false (the old cursor kept) when the window system makes none
    virtual bool SetCursorImage(const unsigned char* rgba, int width, int height, int hotX, int hotY) = 0;
    /// show the image cursor (true) or the window's own arrow (false)
    virtual void ShowImageCursor(bool show) = 0;
    /// whether any cursor shows over the window
    virtual void ShowCursor(bool show) = 0;
    /// the window's gamma ramp, 256 entries per channel; false when refused
    virtual bool SetGammaRamp(const unsigned short* red, const unsigned short* green, const unsigned short* blue) = 0;
    /// the adapters (displays) and their modes
    virtual std::vector<Adapter> GetAdapters() const = 0;
};
#endif
