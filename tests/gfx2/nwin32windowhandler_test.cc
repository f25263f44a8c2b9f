//------------------------------------------------------------------------------
//  The render window: its id in the environment, SDL events as engine
//  input events, the full-screen toggle, quitting, focus and the skip flag.
//------------------------------------------------------------------------------
#include "windowfixture.h"

#include "gfx2/nwin32windowhandler.h"
#include "kernel/nenv.h"

#include <csignal>

namespace
{

/// a window handler that counts its hook calls
class TestWindowHandler : public nWin32WindowHandler
{
public:
    int toggles = 0;
    int paints = 0;
    int closeRequests = 0;
    bool closeAnswer = true;

protected:
    void OnToggleFullscreen() override { this->toggles++; }
    void OnPaint() override { this->paints++; }
    bool OnCloseRequested() override
    {
        this->closeRequests++;
        return this->closeAnswer;
    }
};

class Win32WindowHandlerTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        this->handler = std::make_unique<TestWindowHandler>();
        this->handler->SetDisplayMode(nDisplayMode2("test", nDisplayMode2::Windowed, 0, 0, 640, 480, false));
        ASSERT_TRUE(this->handler->OpenWindow());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override
    {
        this->handler.reset();
        WindowTest::TearDown();
    }

    /// one pump; the events it made
    std::vector<SeenEvent> Pump()
    {
        EXPECT_TRUE(this->handler->Trigger());
        return this->TakeEvents();
    }

    std::unique_ptr<TestWindowHandler> handler;
};

struct KeyCase
{
    const char* what;
    SDL_Keycode sym;
    SDL_Scancode scancode;
    Uint16 mod;
    int code;
};

// SDL keys and the engine key codes they must give
const KeyCase keyCases[] = {
    {"a", SDLK_a, SDL_SCANCODE_A, 0, 39},
    {"shifted z", SDLK_z, SDL_SCANCODE_Z, KMOD_LSHIFT, 64},
    {"1", SDLK_1, SDL_SCANCODE_1, 0, 29},
    {"9", SDLK_9, SDL_SCANCODE_9, 0, 37},
    {"0 follows 9", SDLK_0, SDL_SCANCODE_0, 0, 38},
    {"f1", SDLK_F1, SDL_SCANCODE_F1, 0, 84},
    {"f24", SDLK_F24, SDL_SCANCODE_F24, 0, 107},
    {"esc", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, 12},
    {"space", SDLK_SPACE, SDL_SCANCODE_SPACE, 0, 13},
    {"return", SDLK_RETURN, SDL_SCANCODE_RETURN, 0, 6},
    {"backspace", SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0, 4},
    {"right shift", SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0, 7},
    {"left ctrl", SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0, 8},
    {"alt", SDLK_LALT, SDL_SCANCODE_LALT, 0, 9},
    {"caps lock", SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 0, 11},
    {"page up", SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0, 14},
    {"left", SDLK_LEFT, SDL_SCANCODE_LEFT, 0, 18},
    {"delete", SDLK_DELETE, SDL_SCANCODE_DELETE, 0, 27},
    {"print screen", SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, 0, 25},
    {"left gui", SDLK_LGUI, SDL_SCANCODE_LGUI, 0, 65},
    {"menu key", SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, 0, 67},
    {"num lock", SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, 0, 108},
    {"scroll lock", SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, 0, 109},
    {"keypad 0 with NumLock", SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM, 68},
    {"keypad 7 with NumLock", SDLK_KP_7, SDL_SCANCODE_KP_7, KMOD_NUM, 75},
    {"keypad . with NumLock", SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, KMOD_NUM, 82},
    {"keypad 7 without NumLock", SDLK_HOME, SDL_SCANCODE_KP_7, 0, 17},
    {"keypad 0 without NumLock", SDLK_INSERT, SDL_SCANCODE_KP_0, 0, 26},
    {"keypad 2 without NumLock", SDLK_DOWN, SDL_SCANCODE_KP_2, 0, 21},
    {"keypad . without NumLock", SDLK_DELETE, SDL_SCANCODE_KP_PERIOD, 0, 27},
    {"keypad 5 without NumLock", SDLK_KP_5, SDL_SCANCODE_KP_5, 0, 0},
    {"keypad *", SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, 0, 78},
    {"keypad +", SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, KMOD_NUM, 79},
    {"keypad -", SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, 0, 81},
    {"keypad /", SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, 0, 83},
    {"keypad enter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0, 6},
    {"mute has no code", SDLK_MUTE, SDL_SCANCODE_MUTE, 0, 0},
};

const int keyb0 = N_INPUT_KEYBOARD0;
const int mouse0 = N_INPUT_MOUSE0;

}  // namespace

TEST_F(Win32WindowHandlerTest, PublishesTheWindowIdWhileTheWindowExists)
{
    EXPECT_TRUE(this->handler->IsWindowOpen());
    EXPECT_TRUE(this->handler->IsWindowMinimized());
    nRoot* obj = this->ks->Lookup("/sys/env/hwnd");
    ASSERT_NE(obj, nullptr);
    ASSERT_TRUE(obj->IsA("nenv"));
    EXPECT_EQ(static_cast<nEnv*>(obj)->GetType(), nArg::Int);
    EXPECT_NE(this->handler->GetHwnd(), 0);
    EXPECT_EQ(static_cast<nEnv*>(obj)->GetI(), this->handler->GetHwnd());

    this->handler->AdjustWindowStyle();
    this->handler->RestoreWindow();
    EXPECT_FALSE(this->handler->IsWindowMinimized());
    this->handler->MinimizeWindow();
    EXPECT_TRUE(this->handler->IsWindowMinimized());

    this->handler->CloseWindow();
    EXPECT_FALSE(this->handler->IsWindowOpen());
    EXPECT_EQ(this->ks->Lookup("/sys/env/hwnd"), nullptr);
    EXPECT_EQ(this->handler->GetHwnd(), 0);
}

TEST_F(Win32WindowHandlerTest, TheWindowsServicesLiveWithTheWindow)
{
    nWindowServices* services = this->handler->GetWindowServices();
    ASSERT_NE(services, nullptr);
    EXPECT_FALSE(services->GetAdapters().empty());
    this->handler->CloseWindow();
    EXPECT_EQ(this->handler->GetWindowServices(), nullptr);
    ASSERT_TRUE(this->handler->OpenWindow());
    EXPECT_NE(this->handler->GetWindowServices(), nullptr);
}

TEST_F(Win32WindowHandlerTest, RestoreShowsTheWindowAtTheDisplayModeSize)
{
    this->handler->SetWindowTitle("new title");
    EXPECT_STREQ(this->handler->GetDisplayMode().GetWindowTitle(), "new title");
    this->handler->RestoreWindow();
    SDL_Window* win = this->handler->GetPlatformWindow().GetSDLWindow();
    int w, h;
    SDL_GetWindowSize(win, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_STREQ(SDL_GetWindowTitle(win), "new title");
    EXPECT_FALSE(SDL_GetWindowFlags(win) & SDL_WINDOW_HIDDEN);
}

TEST_F(Win32WindowHandlerTest, KeysBecomeKeyEventsWithTheEngineKeyCodes)
{
    for (const KeyCase& c : keyCases)
    {
        PushKey(SDL_KEYDOWN, c.sym, c.scancode, c.mod);
        PushKey(SDL_KEYUP, c.sym, c.scancode, c.mod);
        const std::vector<SeenEvent> expected = {{N_INPUT_KEY_DOWN, keyb0, c.code}, {N_INPUT_KEY_UP, keyb0, c.code}};
        EXPECT_EQ(this->Pump(), expected) << c.what;
    }
}

TEST_F(Win32WindowHandlerTest, TextBecomesCharEventsUpToU07FFAndAMarkForWhatTheTextCannotShow)
{
    // A, space, e-acute, Cyrillic Zhe, the last two-byte character, euro sign, ^A, a stray
    // continuation byte, a four-byte emoji, tilde
    PushText("A \xC3\xA9\xD0\x96\xDF\xBF\xE2\x82\xAC\x01\x80\xF0\x9F\x98\x80~");
    const std::vector<SeenEvent> expected = {
        {N_INPUT_KEY_CHAR, keyb0, 'A'},   {N_INPUT_KEY_CHAR, keyb0, ' '},   {N_INPUT_KEY_CHAR, keyb0, 0xE9},
        {N_INPUT_KEY_CHAR, keyb0, 0x416}, {N_INPUT_KEY_CHAR, keyb0, 0x7FF}, {N_INPUT_KEY_CHAR, keyb0, '?'},
        {N_INPUT_KEY_CHAR, keyb0, '?'},   {N_INPUT_KEY_CHAR, keyb0, '?'},   {N_INPUT_KEY_CHAR, keyb0, '~'}};
    EXPECT_EQ(this->Pump(), expected);
}

TEST_F(Win32WindowHandlerTest, MouseEventsCarryButtonNumbersAndPositions)
{
    PushMotion(320, 120);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 20);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 10, 20);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 10, 20);  // no engine button
    ASSERT_TRUE(this->handler->Trigger());
    nInputEvent* e = this->FirstEvent();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetAbsXPos(), 320);
    EXPECT_EQ(e->GetAbsYPos(), 120);
    EXPECT_FLOAT_EQ(e->GetRelXPos(), 0.5f);
    EXPECT_FLOAT_EQ(e->GetRelYPos(), 0.25f);
    const std::vector<SeenEvent> expected = {{N_INPUT_MOUSE_MOVE, mouse0, 0},
                                             {N_INPUT_BUTTON_DOWN, mouse0, 0},
                                             {N_INPUT_BUTTON_DOWN, mouse0, 1},
                                             {N_INPUT_BUTTON_UP, mouse0, 2}};
    EXPECT_EQ(this->TakeEvents(), expected);
}

TEST_F(Win32WindowHandlerTest, PositionsMapThroughThePictureShownWithItsAspect)
{
    // a 640x480 picture in a 1280x480 window (a wider full-screen desktop or a
    // resized window) is shown 640 wide in the middle, with bars beside it
    SDL_SetWindowSize(this->handler->GetPlatformWindow().GetSDLWindow(), 1280, 480);
    SDL_ShowWindow(this->handler->GetPlatformWindow().GetSDLWindow());
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(this->handler->GetPlatformWindow().GetSDLWindow(), &w, &h);
    ASSERT_EQ(w, 1280);
    PushMotion(640, 240);
    PushMotion(320 + 160, 120);
    PushMotion(100, 240);
    ASSERT_TRUE(this->handler->Trigger());
    const struct
    {
        int absX, absY;
        float relX, relY;
    } expected[] = {{320, 240, 0.5f, 0.5f}, {160, 120, 0.25f, 0.25f}, {-220, 240, -0.34375f, 0.5f}};
    nInputEvent* e = this->FirstEvent();
    for (const auto& x : expected)
    {
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetAbsXPos(), x.absX);
        EXPECT_EQ(e->GetAbsYPos(), x.absY);
        EXPECT_FLOAT_EQ(e->GetRelXPos(), x.relX);
        EXPECT_FLOAT_EQ(e->GetRelYPos(), x.relY);
        e = this->input->NextEvent(e);
    }
}

TEST_F(Win32WindowHandlerTest, AZeroDisplayModeSizeGivesRelativePositionZero)
{
    nDisplayMode2 mode = this->handler->GetDisplayMode();
    mode.SetWidth(0);
    mode.SetHeight(0);
    this->handler->SetDisplayMode(mode);
    PushMotion(50, 60);
    ASSERT_TRUE(this->handler->Trigger());
    nInputEvent* e = this->FirstEvent();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetAbsXPos(), 50);
    EXPECT_EQ(e->GetRelXPos(), 0.0f);
    EXPECT_EQ(e->GetRelYPos(), 0.0f);
}

TEST_F(Win32WindowHandlerTest, AltReturnTogglesOnceAndMakesNoReturnKeyDown)
{
    PushKey(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    for (int i = 0; i < 5; i++)
    {
        PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT, 1);  // auto-repeat
    }
    PushKey(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    const std::vector<SeenEvent> expected = {{N_INPUT_KEY_DOWN, keyb0, 9}, {N_INPUT_KEY_UP, keyb0, 6}};
    EXPECT_EQ(this->Pump(), expected);
    EXPECT_EQ(this->handler->toggles, 1);

    // pressed again: toggles back
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_RALT);
    this->Pump();
    EXPECT_EQ(this->handler->toggles, 2);
}

TEST_F(Win32WindowHandlerTest, ClosingTheWindowEndsTheLoopWhenTheHookAgrees)
{
    const Uint32 id = (Uint32)this->handler->GetHwnd();
    this->handler->closeAnswer = false;
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE, id);
    EXPECT_TRUE(this->handler->Trigger());
    EXPECT_EQ(this->handler->closeRequests, 1);

    this->handler->closeAnswer = true;
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE, id);
    EXPECT_FALSE(this->handler->Trigger());
    EXPECT_TRUE(this->handler->IsQuitRequested());
    EXPECT_FALSE(this->handler->Trigger());  // never cleared
}

TEST_F(Win32WindowHandlerTest, SigintEndsTheLoop)
{
    ASSERT_TRUE(this->handler->Trigger());
    raise(SIGINT);
    EXPECT_FALSE(this->handler->Trigger());
}

TEST_F(Win32WindowHandlerTest, ExposeRepaints)
{
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED, (Uint32)this->handler->GetHwnd());
    this->Pump();
    EXPECT_EQ(this->handler->paints, 1);
}

TEST_F(Win32WindowHandlerTest, WhileSkippedTheEventsStayQueued)
{
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0);
    this->handler->SetSkipMsgLoop(true);
    EXPECT_TRUE(this->handler->Trigger());
    EXPECT_TRUE(this->TakeEvents().empty());
    EXPECT_TRUE(SDL_HasEvent(SDL_KEYDOWN));

    this->handler->SetSkipMsgLoop(false);
    const std::vector<SeenEvent> expected = {{N_INPUT_KEY_DOWN, keyb0, 39}};
    EXPECT_EQ(this->Pump(), expected);
}

TEST_F(Win32WindowHandlerTest, EventsOfOtherKindsStayForTheInputDevices)
{
    SDL_Event joy;
    SDL_zero(joy);
    joy.type = SDL_JOYBUTTONDOWN;
    ASSERT_EQ(SDL_PushEvent(&joy), 1);
    PushKey(SDL_KEYDOWN, SDLK_b, SDL_SCANCODE_B, 0);
    const std::vector<SeenEvent> expected = {{N_INPUT_KEY_DOWN, keyb0, 40}};
    EXPECT_EQ(this->Pump(), expected);
    EXPECT_TRUE(SDL_HasEvent(SDL_JOYBUTTONDOWN));
}

TEST_F(Win32WindowHandlerTest, FocusChangesReachTheInputServer)
{
    // a key held while the focus goes is seen released at the next update
    this->Tcl("/sys/servers/input.beginmap; /sys/servers/input.map keyb0:a.pressed fire; "
              "/sys/servers/input.endmap");
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0);
    ASSERT_TRUE(this->handler->Trigger());
    this->input->Trigger(1.0);
    this->input->FlushEvents();
    EXPECT_TRUE(this->input->GetButton("fire"));
    this->input->Trigger(2.0);
    EXPECT_TRUE(this->input->GetButton("fire"));  // still held

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST, (Uint32)this->handler->GetHwnd());
    ASSERT_TRUE(this->handler->Trigger());
    this->input->Trigger(3.0);
    EXPECT_FALSE(this->input->GetButton("fire"));
}

TEST_F(Win32WindowHandlerTest, MinimisingLosesTheFocusAndRestoringRegainsIt)
{
    this->handler->RestoreWindow();
    this->Tcl("/sys/servers/input.beginmap; /sys/servers/input.map keyb0:a.pressed fire; "
              "/sys/servers/input.endmap");
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0);
    ASSERT_TRUE(this->handler->Trigger());
    this->input->Trigger(1.0);
    this->input->FlushEvents();
    ASSERT_TRUE(this->input->GetButton("fire"));

    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED, (Uint32)this->handler->GetHwnd());
    ASSERT_TRUE(this->handler->Trigger());
    EXPECT_TRUE(this->handler->IsWindowMinimized());
    this->input->Trigger(2.0);
    EXPECT_FALSE(this->input->GetButton("fire"));

    PushWindowEvent(SDL_WINDOWEVENT_RESTORED, (Uint32)this->handler->GetHwnd());
    ASSERT_TRUE(this->handler->Trigger());
    EXPECT_FALSE(this->handler->IsWindowMinimized());
}

TEST_F(Win32WindowHandlerTest, WithoutAnInputServerEventsAreDropped)
{
    this->input->Release();
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0);
    PushMotion(1, 1);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, (Uint32)this->handler->GetHwnd());
    EXPECT_TRUE(this->handler->Trigger());
    this->input = nullptr;
}

TEST_F(WindowTest, AForeignObjectAtTheWindowIdPathIsReplaced)
{
    this->ks->New("nroot", "/sys/env/hwnd");
    nWin32WindowHandler handler;
    ASSERT_TRUE(handler.OpenWindow());
    nRoot* obj = this->ks->Lookup("/sys/env/hwnd");
    ASSERT_NE(obj, nullptr);
    ASSERT_TRUE(obj->IsA("nenv"));
    EXPECT_EQ(static_cast<nEnv*>(obj)->GetI(), handler.GetHwnd());
    handler.CloseWindow();
}
