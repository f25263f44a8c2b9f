//------------------------------------------------------------------------------
//  The DirectInput server with an SDL virtual game controller and the
//  relative mouse, on SDL's dummy video driver.
//------------------------------------------------------------------------------
#include "di8fixture.h"

#include "input/ndi8device.h"
#include "kernel/nenv.h"

namespace
{

/// the test controller's shape as the engine sees it
const int padButtons = 11;  // a .. right shoulder; the d-pad is the POV
const int povBase = 8;      // after the 4 axes' 8 half-axes

SDL_Event MouseButton(Uint8 button, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    return e;
}

SDL_Event MouseMotion(int xrel, int yrel)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.xrel = xrel;
    e.motion.yrel = yrel;
    return e;
}

SDL_Event Wheel(int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    return e;
}

}  // namespace

TEST_F(DI8Test, ChannelsNameEveryAxisButtonAndPov)
{
    this->Start(true);
    const struct
    {
        const char* path;
        const char* value;
    } cases[] = {
        {"/sys/share/input/devs/joy0/channels/-x", "devid=262144 type=5 axis=0"},
        {"/sys/share/input/devs/joy0/channels/+x", "devid=262144 type=5 axis=1"},
        {"/sys/share/input/devs/joy0/channels/+r", "devid=262144 type=5 axis=7"},
        {"/sys/share/input/devs/joy0/channels/-xbtn", "devid=262144 type=6 btn=11"},
        {"/sys/share/input/devs/joy0/channels/+rbtn", "devid=262144 type=6 btn=18"},
        {"/sys/share/input/devs/joy0/channels/btn0", "devid=262144 type=6 btn=0"},
        {"/sys/share/input/devs/joy0/channels/btn10", "devid=262144 type=6 btn=10"},
        {"/sys/share/input/devs/joy0/channels/-a", "devid=262144 type=5 axis=8"},
        {"/sys/share/input/devs/joy0/channels/+a", "devid=262144 type=5 axis=9"},
        {"/sys/share/input/devs/joy0/channels/-b", "devid=262144 type=5 axis=10"},
        {"/sys/share/input/devs/joy0/channels/+bbtn", "devid=262144 type=6 btn=22"},
        {"/sys/share/input/devs/relmouse0/channels/-x", "devid=2097152 type=5 axis=0"},
        {"/sys/share/input/devs/relmouse0/channels/+y", "devid=2097152 type=5 axis=3"},
        {"/sys/share/input/devs/relmouse0/channels/-zbtn", "devid=2097152 type=6 btn=9"},
        {"/sys/share/input/devs/relmouse0/channels/btn4", "devid=2097152 type=6 btn=4"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.value, this->Channel(c.path)) << c.path;
    }
    // no fifth axis, no twelfth button, no second POV, no keyboard node
    EXPECT_EQ("", this->Channel("/sys/share/input/devs/joy0/channels/-s"));
    EXPECT_EQ("", this->Channel("/sys/share/input/devs/joy0/channels/btn11"));
    EXPECT_EQ("", this->Channel("/sys/share/input/devs/joy0/channels/-c"));
    EXPECT_EQ("", this->Channel("/sys/share/input/devs/relmouse0/channels/btn5"));
    EXPECT_EQ(nullptr, this->ks->Lookup("/sys/share/input/devs/keyb1"));
}

TEST_F(DI8Test, AtRestEveryAxisSendsZeroOnBothHalves)
{
    this->Start(true);
    for (int frame = 0; frame < 3; frame++)
    {
        const auto events = this->Frame();
        for (int axis = 0; axis < 8; axis++)
        {
            const auto moves = Only(events, N_INPUT_AXIS_MOVE, Joy0, axis);
            ASSERT_FALSE(moves.empty()) << "axis " << axis;
            EXPECT_EQ(0.0f, moves.back().value) << "axis " << axis;
        }
        EXPECT_TRUE(Only(events, N_INPUT_BUTTON_DOWN, Joy0, padButtons).empty());
    }
}

TEST_F(DI8Test, FullLeftSettlesAtOneAfterTheFilterFills)
{
    this->Start(true);
    this->Frame();
    SDL_JoystickSetVirtualAxis(this->pad, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    auto events = this->Frame();
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, Joy0, padButtons).size()) << "-xbtn goes down at once";
    events = this->Frame();
    events = this->Frame();
    const auto left = Only(events, N_INPUT_AXIS_MOVE, Joy0, 0);
    ASSERT_FALSE(left.empty());
    EXPECT_FLOAT_EQ(1.0f, left.back().value);
    EXPECT_EQ(0.0f, Only(events, N_INPUT_AXIS_MOVE, Joy0, 1).back().value);
    EXPECT_TRUE(Only(events, N_INPUT_BUTTON_DOWN, Joy0, padButtons).empty()) << "held, not pressed again";
}

TEST_F(DI8Test, DpadIsPovZero)
{
    this->Start(true);
    this->Frame();
    SDL_JoystickSetVirtualButton(this->pad, DpadRight, SDL_PRESSED);
    auto events = this->Frame();
    const float expected[4] = {0.0f, 1.0f, 0.0f, 0.0f};  // -a +a -b +b
    for (int i = 0; i < 4; i++)
    {
        const auto moves = Only(events, N_INPUT_AXIS_MOVE, Joy0, povBase + i);
        ASSERT_EQ(1u, moves.size()) << i;
        EXPECT_EQ(expected[i], moves[0].value) << i;
    }
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, Joy0, padButtons + povBase + 1).size());

    SDL_JoystickSetVirtualButton(this->pad, DpadUp, SDL_PRESSED);
    events = this->Frame();
    EXPECT_EQ(1.0f, Only(events, N_INPUT_AXIS_MOVE, Joy0, povBase + 1)[0].value) << "north-east: still east";
    EXPECT_EQ(1.0f, Only(events, N_INPUT_AXIS_MOVE, Joy0, povBase + 2)[0].value) << "and north";

    SDL_JoystickSetVirtualButton(this->pad, DpadRight, SDL_RELEASED);
    SDL_JoystickSetVirtualButton(this->pad, DpadUp, SDL_RELEASED);
    events = this->Frame();
    for (int i = 0; i < 4; i++)
    {
        EXPECT_EQ(0.0f, Only(events, N_INPUT_AXIS_MOVE, Joy0, povBase + i).back().value) << "centred " << i;
    }
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_UP, Joy0, padButtons + povBase + 1).size());
}

TEST_F(DI8Test, ButtonsGiveButtonEvents)
{
    this->Start(true);
    this->Frame();
    SDL_JoystickSetVirtualButton(this->pad, 0, SDL_PRESSED);   // a
    SDL_JoystickSetVirtualButton(this->pad, 10, SDL_PRESSED);  // right shoulder
    auto events = this->Frame();
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, Joy0, 0).size());
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, Joy0, 10).size());
    SDL_JoystickSetVirtualButton(this->pad, 0, SDL_RELEASED);
    events = this->Frame();
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_UP, Joy0, 0).size());
    EXPECT_TRUE(Only(events, N_INPUT_BUTTON_UP, Joy0, 10).empty());
}

TEST_F(DI8Test, UnfocusedWindowDeliversNothing)
{
    this->Start(true);
    this->Frame();
    this->focused = false;
    SDL_JoystickSetVirtualAxis(this->pad, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    SDL_JoystickSetVirtualButton(this->pad, 0, SDL_PRESSED);
    SDL_Event e = MouseButton(SDL_BUTTON_LEFT, true);
    SDL_PushEvent(&e);
    auto events = this->Frame();
    for (const SeenEvent& ev : events)
    {
        EXPECT_NE(N_INPUT_BUTTON_DOWN, ev.type) << ev.deviceId << " " << ev.index;
        if (N_INPUT_AXIS_MOVE == ev.type) EXPECT_EQ(0.0f, ev.value);
    }
    // what came while unfocused is not delivered later either
    this->focused = true;
    events = this->Frame();
    EXPECT_TRUE(Only(events, N_INPUT_BUTTON_DOWN, Joy0, 0).empty());
    EXPECT_TRUE(Only(events, N_INPUT_BUTTON_DOWN, RelMouse0, 0).empty());
    SDL_JoystickSetVirtualButton(this->pad, 0, SDL_RELEASED);
    SDL_JoystickSetVirtualButton(this->pad, 1, SDL_PRESSED);
    events = this->Frame();
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, Joy0, 1).size()) << "focused again";
}

TEST_F(DI8Test, AtMost128RecordsPerFrameAndTheOverflowIsReported)
{
    this->Start(false);
    this->Frame();
    for (int i = 0; i < 100; i++)
    {
        SDL_Event down = MouseButton(SDL_BUTTON_LEFT, true);
        SDL_Event up = MouseButton(SDL_BUTTON_LEFT, false);
        SDL_PushEvent(&down);
        SDL_PushEvent(&up);
    }
    this->TakeLog();
    auto events = this->Frame();
    EXPECT_EQ(64u, Only(events, N_INPUT_BUTTON_DOWN, RelMouse0, 0).size());
    EXPECT_EQ(64u, Only(events, N_INPUT_BUTTON_UP, RelMouse0, 0).size());
    EXPECT_NE(std::string::npos, this->TakeLog().find("DI_BUFFEROVERFLOW"));
    events = this->Frame();
    EXPECT_TRUE(Only(events, N_INPUT_BUTTON_DOWN, RelMouse0, 0).empty()) << "the rest was dropped";
    EXPECT_EQ(0, SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_JOYAXISMOTION, SDL_CONTROLLERSENSORUPDATE));
}

TEST_F(DI8Test, RemovedControllerIsLostWithoutCrash)
{
    this->Start(true);
    this->Frame();
    SDL_JoystickClose(this->pad);
    this->pad = nullptr;
    ASSERT_EQ(0, SDL_JoystickDetachVirtual(this->padIndex));
    this->TakeLog();
    this->Frame();
    EXPECT_NE(std::string::npos, this->TakeLog().find("DIERR_INPUTLOST"));
    this->Frame();
    EXPECT_EQ("", this->TakeLog()) << "reported once";
    EXPECT_EQ(nDI8Server::ErrorName(nPlatformInputResult::InputLost), std::string("DIERR_INPUTLOST"));
}

TEST_F(DI8Test, RelativeMouseMotionButtonsAndWheel)
{
    this->Start(false);
    this->Frame();
    SDL_Event e = MouseMotion(10, 0);
    SDL_PushEvent(&e);
    auto events = this->Frame();
    auto right = Only(events, N_INPUT_AXIS_MOVE, RelMouse0, 1);
    ASSERT_FALSE(right.empty());
    EXPECT_FLOAT_EQ(10 * 0.1f / 5, right.front().value) << "one value of five in the filter";
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, RelMouse0, 5 + 1).size()) << "+xbtn";

    // the five buttons: left, right, middle, then the side buttons
    const Uint8 sdlButtons[5] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1, SDL_BUTTON_X2};
    for (int b = 0; b < 5; b++)
    {
        SDL_Event down = MouseButton(sdlButtons[b], true);
        SDL_PushEvent(&down);
        events = this->Frame();
        EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, RelMouse0, b).size()) << b;
        SDL_Event up = MouseButton(sdlButtons[b], false);
        SDL_PushEvent(&up);
        events = this->Frame();
        EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_UP, RelMouse0, b).size()) << b;
    }

    // towards the user: -zbtn goes down and up in the same frame; away: +zbtn
    e = Wheel(-1);
    SDL_PushEvent(&e);
    events = this->Frame();
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, RelMouse0, 5 + 4).size());
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_UP, RelMouse0, 5 + 4).size());
    EXPECT_TRUE(Only(events, N_INPUT_AXIS_MOVE, RelMouse0, 4).empty()) << "the wheel is no axis";
    e = Wheel(1);
    SDL_PushEvent(&e);
    events = this->Frame();
    EXPECT_EQ(1u, Only(events, N_INPUT_BUTTON_DOWN, RelMouse0, 5 + 5).size());
}

TEST_F(DI8Test, MouseFactorAndInvertSettleOnPlusY)
{
    this->Start(false);
    this->server->SetMouseFactor(2.0f);
    this->server->SetInvertMouse(true);
    this->Frame();  // the first frame acquires the mouse
    std::vector<SeenEvent> events;
    for (int frame = 0; frame < 5; frame++)
    {
        SDL_Event e = MouseMotion(0, -10);
        SDL_PushEvent(&e);
        events = this->Frame();
    }
    EXPECT_FLOAT_EQ(2.0f, Only(events, N_INPUT_AXIS_MOVE, RelMouse0, 3).back().value);
    EXPECT_EQ(0.0f, Only(events, N_INPUT_AXIS_MOVE, RelMouse0, 2).back().value);
    // the mouse rests: x and y decay to 0
    size_t released = 0;
    for (int frame = 0; frame < 5; frame++)
    {
        events = this->Frame();
        released += Only(events, N_INPUT_BUTTON_UP, RelMouse0, 5 + 3).size();
    }
    EXPECT_EQ(0.0f, Only(events, N_INPUT_AXIS_MOVE, RelMouse0, 3).back().value);
    EXPECT_EQ(1u, released) << "+ybtn released once";
}

TEST_F(DI8Test, ErrorNames)
{
    const struct
    {
        uint32_t code;
        const char* name;
    } cases[] = {
        {0, "DI_OK"},
        {1, "DI_BUFFEROVERFLOW"},
        {0x13, "DI_WRITEPROTECT"},
        {0x80004005u, "DIERR_GENERIC"},
        {0x8007001Eu, "DIERR_INPUTLOST"},
        {0x8007000Cu, "DIERR_NOTACQUIRED"},
        {0x800704DFu, "DIERR_ALREADYINITIALIZED"},
        {5, "UNKNOWN"},
        {0xFFFFFFFFu, "UNKNOWN"},
    };
    for (const auto& c : cases)
    {
        EXPECT_STREQ(c.name, nDI8Server::ErrorName(static_cast<int32_t>(c.code))) << std::hex << c.code;
    }
}

TEST_F(DI8Test, ServerWithoutWindowWaitsForOne)
{
    this->ks->Lookup("/sys/env/hwnd")->Release();
    this->Start(false);
    EXPECT_NE(std::string::npos, this->TakeLog().find("/sys/env/hwnd is NULL"));
    this->Frame();
    EXPECT_EQ("", this->TakeLog()) << "said once";
    static_cast<nEnv*>(this->ks->New("nenv", "/sys/env/hwnd"))->SetI(7);
    SDL_Event e = MouseButton(SDL_BUTTON_LEFT, true);
    this->Frame();  // picks up the window and acquires
    SDL_PushEvent(&e);
    EXPECT_EQ(1u, Only(this->Frame(), N_INPUT_BUTTON_DOWN, RelMouse0, 0).size());
}
