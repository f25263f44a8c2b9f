//------------------------------------------------------------------------------
//  The SDL window layer: the window's life and an event pump that takes
//  only its own kinds of event.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nplatformwindow.h"

#include <cstring>
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
    nPlatformWindowEvent out[16];
    const int n = nPlatformWindow::DrainEvents(out, 16);
    ASSERT_EQ(n, 5);
    // a window event of no kind the window's users handle still counts, as Other
    const nPlatformWindowEvent::Kind expected[] = {nPlatformWindowEvent::KeyDown, nPlatformWindowEvent::MouseMove,
                                                   nPlatformWindowEvent::Text, nPlatformWindowEvent::Other,
                                                   nPlatformWindowEvent::Quit};
    for (int i = 0; i < n; i++)
    {
        EXPECT_EQ(out[i].kind, expected[i]) << i;
    }
    // joystick, wheel and controller events are still there for the input devices
    EXPECT_TRUE(SDL_HasEvent(SDL_JOYAXISMOTION));
    EXPECT_TRUE(SDL_HasEvent(SDL_MOUSEWHEEL));
    EXPECT_TRUE(SDL_HasEvent(SDL_CONTROLLERBUTTONDOWN));
    EXPECT_EQ(nPlatformWindow::DrainEvents(out, 16), 0);
}

TEST(PlatformWindow, PumpHandsOutTheWindowsOwnEventsWithoutSDL)
{
    nPlatformWindow win;
    std::string error;
    ASSERT_TRUE(win.Open("test", false, error)) << error;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);

    struct Case
    {
        SDL_Event in;
        nPlatformWindowEvent::Kind kind;
        int virtualKey;
        bool repeat;
        bool altReturn;
        int x, y, button;
        const char* text;
    };
    auto windowEvent = [](Uint8 event) {
        SDL_Event e = EventOfType(SDL_WINDOWEVENT);
        e.window.event = event;
        return e;
    };
    auto key = [](Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod, Uint8 repeat) {
        SDL_Event e = EventOfType(type);
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat;
        return e;
    };
    auto button = [](Uint32 type, Uint8 b, int x, int y) {
        SDL_Event e = EventOfType(type);
        e.button.button = b;
        e.button.x = x;
        e.button.y = y;
        return e;
    };
    SDL_Event motion = EventOfType(SDL_MOUSEMOTION);
    motion.motion.x = 17;
    motion.motion.y = -3;
    SDL_Event text = EventOfType(SDL_TEXTINPUT);
    strcpy(text.text.text, "a\xc3\xa9");
    const Case cases[] = {
        {windowEvent(SDL_WINDOWEVENT_CLOSE), nPlatformWindowEvent::Close, 0, false, false, 0, 0, -1, ""},
        {windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), nPlatformWindowEvent::FocusGained, 0, false, false, 0, 0, -1, ""},
        {windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), nPlatformWindowEvent::FocusLost, 0, false, false, 0, 0, -1, ""},
        {windowEvent(SDL_WINDOWEVENT_MINIMIZED), nPlatformWindowEvent::Minimized, 0, false, false, 0, 0, -1, ""},
        {windowEvent(SDL_WINDOWEVENT_RESTORED), nPlatformWindowEvent::Restored, 0, false, false, 0, 0, -1, ""},
        {windowEvent(SDL_WINDOWEVENT_MAXIMIZED), nPlatformWindowEvent::Restored, 0, false, false, 0, 0, -1, ""},
        {windowEvent(SDL_WINDOWEVENT_EXPOSED), nPlatformWindowEvent::Exposed, 0, false, false, 0, 0, -1, ""},
        {windowEvent(SDL_WINDOWEVENT_ENTER), nPlatformWindowEvent::Entered, 0, false, false, 0, 0, -1, ""},
        {windowEvent(SDL_WINDOWEVENT_MOVED), nPlatformWindowEvent::Other, 0, false, false, 0, 0, -1, ""},
        {key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0, 0), nPlatformWindowEvent::KeyDown, 'A', false, false, 0, 0, -1, ""},
        {key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0, 1), nPlatformWindowEvent::KeyDown, 'A', true, false, 0, 0, -1, ""},
        {key(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, 0), nPlatformWindowEvent::KeyUp, 27, false, false, 0, 0, -1, ""},
        {key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT, 0), nPlatformWindowEvent::KeyDown, 13, false, true, 0, 0, -1, ""},
        {key(SDL_KEYDOWN, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_RALT, 1), nPlatformWindowEvent::KeyDown, 13, true, true, 0, 0, -1, ""},
        {key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LCTRL, 0), nPlatformWindowEvent::KeyDown, 13, false, false, 0, 0, -1, ""},
        {motion, nPlatformWindowEvent::MouseMove, 0, false, false, 17, -3, -1, ""},
        {button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6), nPlatformWindowEvent::ButtonDown, 0, false, false, 5, 6, 0, ""},
        {button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 7, 8), nPlatformWindowEvent::ButtonUp, 0, false, false, 7, 8, 1, ""},
        {button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0, 0), nPlatformWindowEvent::ButtonDown, 0, false, false, 0, 0, 2, ""},
        {button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 0, 0), nPlatformWindowEvent::ButtonDown, 0, false, false, 0, 0, -1, ""},
        {text, nPlatformWindowEvent::Text, 0, false, false, 0, 0, -1, "a\xc3\xa9"},
    };
    for (const Case& c : cases)
    {
        SDL_Event in = c.in;
        ASSERT_EQ(SDL_PushEvent(&in), 1);
    }
    nPlatformWindowEvent out[64];
    const int n = nPlatformWindow::DrainEvents(out, 64);
    ASSERT_EQ(n, (int)(sizeof(cases) / sizeof(cases[0])));
    for (int i = 0; i < n; i++)
    {
        const Case& c = cases[i];
        EXPECT_EQ(out[i].kind, c.kind) << i;
        EXPECT_EQ(out[i].virtualKey, c.virtualKey) << i;
        EXPECT_EQ(out[i].repeat, c.repeat) << i;
        EXPECT_EQ(out[i].altReturn, c.altReturn) << i;
        EXPECT_EQ(out[i].x, c.x) << i;
        EXPECT_EQ(out[i].y, c.y) << i;
        EXPECT_EQ(out[i].button, c.button) << i;
        EXPECT_STREQ(out[i].text, c.text) << i;
    }
}

TEST(PlatformWindow, ClientSizeOfAWindowByItsId)
{
    int w = -1, h = -1;
    EXPECT_FALSE(nPlatformWindow::GetClientSizeOf(1, w, h));
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    nPlatformWindow win;
    std::string error;
    ASSERT_TRUE(win.Open("test", false, error)) << error;
    win.Show(nPlatformWindow::Normal, 0, 0, 320, 200);
    EXPECT_TRUE(nPlatformWindow::GetClientSizeOf(win.GetId(), w, h));
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 200);
    EXPECT_FALSE(nPlatformWindow::GetClientSizeOf(win.GetId() + 1000, w, h));
    EXPECT_EQ(w, 0);
    win.Close();
    EXPECT_FALSE(nPlatformWindow::GetClientSizeOf(1, w, h));
}

TEST(PlatformWindow, PumpWithoutSDLOrRoomTakesNothing)
{
    nPlatformWindowEvent out[1];
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
