//------------------------------------------------------------------------------
//  nplatforminput.cc
//------------------------------------------------------------------------------
#include "platform/nplatforminput.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{

/// the joystick offsets of a plain joystick's axes, in SDL's order: the
/// first four are the ones the engine reads (x, y, z and the z rotation)
const unsigned int joyAxisOffsets[nPlatformInput::MaxJoyAxes] = {
    nPlatformInput::JoyX,  nPlatformInput::JoyY,  nPlatformInput::JoyZ,       nPlatformInput::JoyRz,
    nPlatformInput::JoyRx, nPlatformInput::JoyRy, nPlatformInput::JoySlider0, nPlatformInput::JoySlider1,
};

/// the controller's buttons in the order they get button numbers (the
/// d-pad is the POV)
const SDL_GameControllerButton controllerButtons[] = {
    SDL_CONTROLLER_BUTTON_A,           SDL_CONTROLLER_BUTTON_B,          SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,           SDL_CONTROLLER_BUTTON_BACK,       SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_START,       SDL_CONTROLLER_BUTTON_LEFTSTICK,  SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_MISC1,
    SDL_CONTROLLER_BUTTON_PADDLE1,     SDL_CONTROLLER_BUTTON_PADDLE2,    SDL_CONTROLLER_BUTTON_PADDLE3,
    SDL_CONTROLLER_BUTTON_PADDLE4,     SDL_CONTROLLER_BUTTON_TOUCHPAD,
};

/*
 * DpadBit --
 *     Results: the d-pad bit of a controller button, 0 for other buttons.
 */
unsigned int DpadBit(int button)
{
    switch (button)
    {
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return SDL_HAT_UP;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return SDL_HAT_RIGHT;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return SDL_HAT_DOWN;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return SDL_HAT_LEFT;
        default: return 0;
    }
}

/*
 * MouseButtonIndex --
 *     Results: the mouse button number of an SDL button (left, right,
 *     middle, then the two side buttons), -1 for any other.
 */
int MouseButtonIndex(int sdlButton)
{
    switch (sdlButton)
    {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        case SDL_BUTTON_X1: return 3;
        case SDL_BUTTON_X2: return 4;
        default: return -1;
    }
}

}  // namespace

nPlatformInput::~nPlatformInput()
{
    if (!this->open)
    {
        return;
    }
    SDL_DelEventWatch(&nPlatformInput::Watch, this);
    this->devices.clear();
    if (this->joysticksOpen)
    {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

/*
 * Open --
 *     Results: true with the devices found; false with SDL's message when
 *     its events cannot start.
 *     Side effects: holds SDL's events (and joysticks) until destroyed;
 *     opens every joystick; watches SDL's events.
 */
bool nPlatformInput::Open(bool joysticks, std::string& error, std::string& joystickError)
{
    if (this->open)
    {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0)
    {
        error = SDL_GetError();
        return false;
    }
    this->open = true;
    this->AddKeyboardAndMouse();
    if (!joysticks)
    {
        joystickError = "joysticks switched off";
    }
    else if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    {
        joystickError = SDL_GetError();
    }
    else
    {
        this->joysticksOpen = true;
        const int num = SDL_NumJoysticks();
        for (int i = 0; i < num; i++)
        {
            this->AddJoystick(i);
        }
    }
    SDL_AddEventWatch(&nPlatformInput::Watch, this);
    return true;
}

void nPlatformInput::AddKeyboardAndMouse()
{
    this->devices.push_back(std::make_unique<nPlatformInputDevice>(
        nPlatformInputDevice::Caps{nPlatformInputDevice::Keyboard, "Keyboard", "Keyboard", 0, 256, 0, 0, 0}));
    this->devices.push_back(std::make_unique<nPlatformInputDevice>(
        nPlatformInputDevice::Caps{nPlatformInputDevice::Mouse, "Mouse", "Mouse", 3, MouseButtons, 0, 0, 0}));
    this->mouse = this->devices.back().get();
}

/*
 * AddJoystick --
 *     Side effects: opens joystick 'index' as a controller when SDL has a
 *     mapping for it (four stick axes, the d-pad as one POV, the other
 *     buttons it has numbered in order), else as a plain joystick; one that
 *     cannot be opened is left out.
 */
void nPlatformInput::AddJoystick(int index)
{
    nPlatformInputDevice::Caps caps{nPlatformInputDevice::Joystick, "", "", 0, 0, 0, AxisMin, AxisMax};
    SDL_GameController* pad = SDL_IsGameController(index) ? SDL_GameControllerOpen(index) : nullptr;
    SDL_Joystick* joy = pad ? SDL_GameControllerGetJoystick(pad) : SDL_JoystickOpen(index);
    if (!joy)
    {
        return;
    }
    const char* name = pad ? SDL_GameControllerName(pad) : SDL_JoystickName(joy);
    caps.instanceName = name ? name : "Joystick";
    caps.productName = caps.instanceName;
    if (pad)
    {
        caps.numAxes = 4;
        caps.numPovs = 1;
    }
    else
    {
        caps.numAxes = std::min(SDL_JoystickNumAxes(joy), MaxJoyAxes);
        caps.numButtons = std::min(SDL_JoystickNumButtons(joy), MaxJoyButtons);
        caps.numPovs = std::min(SDL_JoystickNumHats(joy), MaxJoyPovs);
        caps.numAxes = std::max(caps.numAxes, 0);
        caps.numButtons = std::max(caps.numButtons, 0);
        caps.numPovs = std::max(caps.numPovs, 0);
    }
    if (pad)
    {
        for (SDL_GameControllerButton b : controllerButtons)
        {
            if (SDL_GameControllerHasButton(pad, b)) caps.numButtons++;
        }
    }
    auto dev = std::make_unique<nPlatformInputDevice>(caps);
    dev->SetHandles(joy, pad);
    int next = 0;
    for (SDL_GameControllerButton b : controllerButtons)
    {
        if (pad && SDL_GameControllerHasButton(pad, b)) dev->MapControllerButton(b, next++);
    }
    this->devices.push_back(std::move(dev));
}

/*
 * HasFocus --
 *     Results: what the focus check says of the window; without one,
 *     whether SDL's keyboard focus is on it.
 */
bool nPlatformInput::HasFocus() const
{
    if (this->focusCheck)
    {
        return this->focusCheck(this->windowId);
    }
    SDL_Window* focus = SDL_GetKeyboardFocus();
    return focus && this->windowId != 0 && SDL_GetWindowID(focus) == this->windowId;
}

/*
 * Drain --
 *     Side effects: SDL's queued wheel, joystick and controller events are
 *     gone (the watch saw them when they were queued); nothing is pumped.
 */
void nPlatformInput::Drain() const
{
    if (!this->open)
    {
        return;
    }
    SDL_FlushEvent(SDL_MOUSEWHEEL);
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_CONTROLLERSENSORUPDATE);
}

/*
 * ScaleAxis --
 *     Results: the value in 0..65535: within the dead zone of the centre
 *     the centre, beyond the saturation the end, scaled in between.
 */
int nPlatformInput::ScaleAxis(int sdlValue)
{
    const double half = (AxisMax - AxisMin) / 2.0;
    const double centre = AxisMin + half;
    const double d = (sdlValue + 32768.0) / 65535.0 * (AxisMax - AxisMin) + AxisMin - centre;
    double f = std::fabs(d) / half * 10000.0;
    if (f <= DeadZone)
    {
        f = 0.0;
    }
    else if (f >= Saturation)
    {
        f = 1.0;
    }
    else
    {
        f = (f - DeadZone) / (Saturation - DeadZone);
    }
    const double v = centre + ((d < 0.0) ? -f : f) * half;
    const long r = std::lround(v);
    return static_cast<int>(std::clamp(r, long{AxisMin}, long{AxisMax}));
}

/*
 * PovFromHat --
 *     Results: 0xFFFF when centred (or pressed both ways at once in both
 *     directions), else 0 (north) to 31500 in steps of 4500 clockwise.
 */
int nPlatformInput::PovFromHat(int hat)
{
    int up = (hat & SDL_HAT_UP) ? 1 : 0;
    int down = (hat & SDL_HAT_DOWN) ? 1 : 0;
    int right = (hat & SDL_HAT_RIGHT) ? 1 : 0;
    int left = (hat & SDL_HAT_LEFT) ? 1 : 0;
    const int v = down - up;
    const int h = right - left;
    static const int angles[3][3] = {
        // h = -1, 0, 1
        {31500, 0, 4500},      // v = -1 (up)
        {27000, PovCentred, 9000},  // v = 0
        {22500, 18000, 13500},  // v = 1 (down)
    };
    return angles[v + 1][h + 1];
}

int SDLCALL nPlatformInput::Watch(void* userData, SDL_Event* event)
{
    static_cast<nPlatformInput*>(userData)->OnEvent(*event);
    return 0;
}

void nPlatformInput::OnEvent(const SDL_Event& e)
{
    switch (e.type)
    {
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL: this->OnMouseEvent(e); break;
        case SDL_JOYAXISMOTION:
        case SDL_JOYHATMOTION:
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
        case SDL_JOYDEVICEREMOVED: this->OnJoystickEvent(e); break;
        case SDL_CONTROLLERAXISMOTION:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: this->OnControllerEvent(e); break;
        default: break;
    }
}

/*
 * OnMouseEvent --
 *     Side effects: relative motion, the wheel and the five buttons as
 *     mouse records; touches posing as the mouse are left out.
 */
void nPlatformInput::OnMouseEvent(const SDL_Event& e)
{
    switch (e.type)
    {
        case SDL_MOUSEMOTION:
            if (e.motion.which == SDL_TOUCH_MOUSEID) return;
            if (e.motion.xrel) this->mouse->Put(MouseX, e.motion.xrel);
            if (e.motion.yrel) this->mouse->Put(MouseY, e.motion.yrel);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        {
            if (e.button.which == SDL_TOUCH_MOUSEID) return;
            const int b = MouseButtonIndex(e.button.button);
            if (b >= 0) this->mouse->Put(MouseButton0 + b, (SDL_MOUSEBUTTONDOWN == e.type) ? Pressed : 0);
            break;
        }
        case SDL_MOUSEWHEEL:
        {
            if (e.wheel.which == SDL_TOUCH_MOUSEID) return;
            const int y = (SDL_MOUSEWHEEL_FLIPPED == e.wheel.direction) ? -e.wheel.y : e.wheel.y;
            if (y) this->mouse->Put(MouseZ, y * WheelDelta);
            break;
        }
        default: break;
    }
}

nPlatformInputDevice* nPlatformInput::FindJoystick(SDL_JoystickID id) const
{
    for (const auto& dev : this->devices)
    {
        if (dev->GetInstanceId() == id && !dev->IsLost()) return dev.get();
    }
    return nullptr;
}

/*
 * OnJoystickEvent --
 *     Side effects: records of plain joysticks; a removed joystick (plain
 *     or controller) is marked lost.
 */
void nPlatformInput::OnJoystickEvent(const SDL_Event& e)
{
    nPlatformInputDevice* dev = this->FindJoystick(e.jdevice.which);
    if (!dev) return;
    if (SDL_JOYDEVICEREMOVED == e.type)
    {
        dev->MarkLost();
        return;
    }
    if (dev->IsController()) return;
    const nPlatformInputDevice::Caps& caps = dev->GetCaps();
    switch (e.type)
    {
        case SDL_JOYAXISMOTION:
            if (e.jaxis.axis < caps.numAxes) dev->Put(joyAxisOffsets[e.jaxis.axis], ScaleAxis(e.jaxis.value));
            break;
        case SDL_JOYHATMOTION:
            if (e.jhat.hat < caps.numPovs) dev->Put(JoyPov0 + 4 * e.jhat.hat, PovFromHat(e.jhat.value));
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (e.jbutton.button < caps.numButtons)
                dev->Put(JoyButton0 + e.jbutton.button, (SDL_JOYBUTTONDOWN == e.type) ? Pressed : 0);
            break;
        default: break;
    }
}

/*
 * OnControllerEvent --
 *     Side effects: the sticks as x, y, z and the z rotation, the triggers
 *     as the x and y rotations, the d-pad as POV 0, the other buttons by
 *     their numbers.
 */
void nPlatformInput::OnControllerEvent(const SDL_Event& e)
{
    nPlatformInputDevice* dev = this->FindJoystick(e.cdevice.which);
    if (!dev || !dev->IsController()) return;
    if (SDL_CONTROLLERAXISMOTION == e.type)
    {
        static const unsigned int offsets[SDL_CONTROLLER_AXIS_MAX] = {JoyX, JoyY, JoyZ, JoyRz, JoyRx, JoyRy};
        if (e.caxis.axis < SDL_CONTROLLER_AXIS_MAX) dev->Put(offsets[e.caxis.axis], ScaleAxis(e.caxis.value));
        return;
    }
    const bool down = (SDL_CONTROLLERBUTTONDOWN == e.type);
    const unsigned int bit = DpadBit(e.cbutton.button);
    if (bit)
    {
        unsigned int& dpad = dev->DpadBits();
        dpad = down ? (dpad | bit) : (dpad & ~bit);
        dev->Put(JoyPov0, PovFromHat(static_cast<int>(dpad)));
        return;
    }
    const int b = dev->ControllerButton(e.cbutton.button);
    if (b >= 0) dev->Put(JoyButton0 + b, down ? Pressed : 0);
}
