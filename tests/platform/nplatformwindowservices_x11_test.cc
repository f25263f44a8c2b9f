//------------------------------------------------------------------------------
//  The SDL window's services where the window system makes colour cursors
//  (X11 under Xvfb): the image cursor shows while asked, a new image
//  replaces the shown one, and the arrow comes back when the services go.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nplatformwindow.h"
#include "platform/nplatformwindowservices.h"

#include <string>

namespace
{

const unsigned char pixels[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 0};

}  // namespace

TEST(PlatformWindowServicesX11, TheImageCursorShowsWhileAskedAndTheArrowReturnsWhenTheServicesGo)
{
    nPlatformWindow win;
    std::string error;
    ASSERT_TRUE(win.Open("test", false, error)) << error;
    ASSERT_STREQ(nPlatformWindow::GetVideoDriver(), "x11");
    SDL_Cursor* arrow = SDL_GetDefaultCursor();
    ASSERT_NE(arrow, nullptr);
    {
        nPlatformWindowServices services(win);
        // a hot spot outside the image is moved into it, which SDL demands
        ASSERT_TRUE(services.SetCursorImage(pixels, 2, 2, 7, -3));
        EXPECT_EQ(SDL_GetCursor(), arrow) << "an image not asked for shows";
        services.ShowImageCursor(true);
        SDL_Cursor* first = SDL_GetCursor();
        EXPECT_NE(first, arrow);

        ASSERT_TRUE(services.SetCursorImage(pixels, 2, 2, 0, 0));
        EXPECT_NE(SDL_GetCursor(), arrow);
        EXPECT_NE(SDL_GetCursor(), first) << "the shown image was not replaced";

        services.ShowImageCursor(false);
        EXPECT_EQ(SDL_GetCursor(), arrow);
        services.ShowImageCursor(true);
        EXPECT_NE(SDL_GetCursor(), arrow);

        services.ShowCursor(false);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
        services.ShowCursor(true);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    }
    EXPECT_EQ(SDL_GetCursor(), arrow);
    win.Close();
}
