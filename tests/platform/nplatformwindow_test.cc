//------------------------------------------------------------------------------
//  The SDL window layer: the window's life and an event pump that takes
//  only its own kinds of event.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nplatformwindow.h"

#include <string>

namespace
{

SDL_Event EventOfType(Uint32 type)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    return e;
}

}  // namespace

TEST(PlatformWindow, OpensHiddenWithAnIdAndClosesTwiceSafely)
{
    nPlatformWindow win;
    EXPECT_FALSE(win.IsOpen());
    EXPECT_EQ(win.GetId(), 0u);
    std::string error;
    ASSERT_TRUE(win.Open("test", false, error)) << error;
    EXPECT_STREQ(nPlatformWindow::GetVideoDriver(), "dummy");
    EXPECT_NE(win.GetId(), 0u);
    EXPECT_TRUE(SDL_GetWindowFlags(win.GetSDLWindow()) & SDL_WINDOW_HIDDEN);
    win.Show(nPlatformWindow::Normal, 10, 20, 320, 200);
    int w, h;
    win.GetClientSize(w, h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 200);
    win.Close();
    EXPECT_FALSE(win.IsOpen());
    win.Close();
}

TEST(PlatformWindow, AWindowWithoutGLSupportFailsWithSDLsMessage)
{
    // the dummy driver has no OpenGL
    nPlatformWindow win;
    std::string error;
    EXPECT_FALSE(win.Open("test", true, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(win.IsOpen());
}

TEST(PlatformWindow, PumpTakesItsOwnKindsInOrderAndLeavesTheRest)
{
    nPlatformWindow win;
    std::string error;
    ASSERT_TRUE(win.Open("test", false, error)) << error;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);

    const Uint32 pushed[] = {SDL_KEYDOWN, SDL_JOYAXISMOTION, SDL_MOUSEMOTION, SDL_MOUSEWHEEL,
                             SDL_TEXTINPUT, SDL_CONTROLLERBUTTONDOWN, SDL_WINDOWEVENT, SDL_QUIT};
    for (Uint32 type : pushed)
    {
        SDL_Event e = EventOfType(type);
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    SDL_Event out[16];
    const int n = nPlatformWindow::DrainEvents(out, 16);
    ASSERT_EQ(n, 5);
    const Uint32 expected[] = {SDL_KEYDOWN, SDL_MOUSEMOTION, SDL_TEXTINPUT, SDL_WINDOWEVENT, SDL_QUIT};
    for (int i = 0; i < n; i++)
    {
        EXPECT_EQ(out[i].type, expected[i]) << i;
    }
    // joystick, wheel and controller events are still there for the input devices
    EXPECT_TRUE(SDL_HasEvent(SDL_JOYAXISMOTION));
    EXPECT_TRUE(SDL_HasEvent(SDL_MOUSEWHEEL));
    EXPECT_TRUE(SDL_HasEvent(SDL_CONTROLLERBUTTONDOWN));
    EXPECT_EQ(nPlatformWindow::DrainEvents(out, 16), 0);
}

TEST(PlatformWindow, PumpWithoutSDLOrRoomTakesNothing)
{
    SDL_Event out[1];
    EXPECT_EQ(nPlatformWindow::DrainEvents(out, 0), 0);
}

TEST(PlatformWindow, LetterboxKeepsThePicturesAspectCentred)
{
    struct Case
    {
        int cw, ch, ow, oh;
        nPlatformWindow::Area area;
    } cases[] = {
        {640, 480, 640, 480, {0, 0, 640, 480}},
        {640, 480, 1280, 1024, {0, 32, 1280, 960}},    // 4:3 on 5:4: bars above and below
        {640, 480, 1920, 1080, {240, 0, 1440, 1080}},  // 4:3 on 16:9: bars beside
        {1280, 720, 1280, 1024, {0, 152, 1280, 720}},
        {800, 600, 801, 600, {0, 0, 800, 600}},        // one spare column, centred by rounding down
        {640, 480, 0, 0, {0, 0, 0, 0}},
        {0, 480, 300, 200, {0, 0, 300, 200}},
        {100000, 1, 100000, 100000, {0, 49999, 100000, 1}},  // products beyond an int
    };
    for (const Case& c : cases)
    {
        const nPlatformWindow::Area a = nPlatformWindow::Letterbox(c.cw, c.ch, c.ow, c.oh);
        EXPECT_EQ(a.x, c.area.x) << c.cw << "x" << c.ch << " in " << c.ow << "x" << c.oh;
        EXPECT_EQ(a.y, c.area.y) << c.cw << "x" << c.ch << " in " << c.ow << "x" << c.oh;
        EXPECT_EQ(a.w, c.area.w) << c.cw << "x" << c.ch << " in " << c.ow << "x" << c.oh;
        EXPECT_EQ(a.h, c.area.h) << c.cw << "x" << c.ch << " in " << c.ow << "x" << c.oh;
    }
}
