//------------------------------------------------------------------------------
//  The SDL window's services on SDL's dummy driver, which makes neither
//  cursors nor gamma ramps: refusals, and the displays it reports.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nplatformwindow.h"
#include "platform/nplatformwindowservices.h"

#include <string>

namespace
{

const unsigned char pixels[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 0};
const unsigned short ramp[256] = {};

}  // namespace

TEST(PlatformWindowServices, AClosedWindowRefusesEverythingAndHasNoDisplays)
{
    ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    nPlatformWindow win;
    nPlatformWindowServices services(win);
    EXPECT_FALSE(services.SetCursorImage(pixels, 2, 2, 0, 0));
    EXPECT_FALSE(services.SetGammaRamp(ramp, ramp, ramp));
    services.ShowImageCursor(true);
    services.ShowCursor(false);
    EXPECT_TRUE(services.GetAdapters().empty());
}

TEST(PlatformWindowServices, ADriverWithoutCursorsOrGammaRefusesThemAndTheDefaultArrowStays)
{
    nPlatformWindow win;
    std::string error;
    ASSERT_TRUE(win.Open("test", false, error)) << error;
    {
        nPlatformWindowServices services(win);
        struct Case
        {
            const char* name;
            const unsigned char* rgba;
            int w, h;
        };
        for (const Case& c : {Case{"no pixels", nullptr, 2, 2}, Case{"no width", pixels, 0, 2},
                              Case{"negative height", pixels, 2, -1}, Case{"no cursors on the driver", pixels, 2, 2}})
        {
            EXPECT_FALSE(services.SetCursorImage(c.rgba, c.w, c.h, 5, 5)) << c.name;
        }
        services.ShowImageCursor(true);
        EXPECT_EQ(SDL_GetCursor(), SDL_GetDefaultCursor());
        EXPECT_FALSE(services.SetGammaRamp(ramp, ramp, ramp));
    }
    win.Close();
}

TEST(PlatformWindowServices, TheDisplaysAreSDLsWithTheirModesAndTheDriverNamed)
{
    nPlatformWindow win;
    std::string error;
    ASSERT_TRUE(win.Open("test", false, error)) << error;
    nPlatformWindowServices services(win);
    const std::vector<nWindowServices::Adapter> adapters = services.GetAdapters();
    ASSERT_EQ((int)adapters.size(), SDL_GetNumVideoDisplays());
    ASSERT_FALSE(adapters.empty());
    EXPECT_EQ(adapters[0].deviceName, SDL_GetDisplayName(0));
    EXPECT_EQ(adapters[0].description, "OpenGL on dummy");
    ASSERT_EQ((int)adapters[0].modes.size(), SDL_GetNumDisplayModes(0));
    for (size_t i = 0; i < adapters[0].modes.size(); i++)
    {
        SDL_DisplayMode m;
        ASSERT_EQ(SDL_GetDisplayMode(0, (int)i, &m), 0);
        EXPECT_EQ(adapters[0].modes[i].width, m.w) << i;
        EXPECT_EQ(adapters[0].modes[i].height, m.h) << i;
        EXPECT_EQ(adapters[0].modes[i].refreshRate, m.refresh_rate) << i;
    }
}
