#ifndef N_PLATFORMINPUT_H
#define N_PLATFORMINPUT_H
//------------------------------------------------------------------------------
/**
    @class nPlatformInput
    @ingroup Platform

    The device layer under the engine's joysticks, gamepads and relative
    mouse, on SDL2. Open finds the devices once (a keyboard, a mouse, then
    every attached joystick; joysticks SDL knows as game controllers are
    read through the controller mapping). An event watch sees every event
    as the window's event pump queues it and turns it into records of the
    device it belongs to; Drain throws SDL's own copies of the joystick,
    controller and wheel events away each frame so SDL's queue never fills.

    Joystick axes come out in 0..65535 with a dead zone of 250 and a
    saturation of 9999 (in ten-thousandths of the half range); a d-pad or
    hat is a POV in hundredths of degrees clockwise from north, 0xFFFF when
    centred; buttons are 0x80 pressed and 0 released; mouse motion is in
    pixels and the wheel in 120 per notch, positive away from the user.

    Main thread only: SDL calls the watch on the thread that pumps.
*/
#include "platform/nplatforminputdevice.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class nPlatformInput
{
public:
    /// tells whether the window of this id has the input focus
    using FocusCheck = std::function<bool(unsigned int windowId)>;

    /// the joystick layout: data offsets of the state block
    enum JoyOffset
    {
        JoyX = 0, JoyY = 4, JoyZ = 8, JoyRx = 12, JoyRy = 16, JoyRz = 20,
        JoySlider0 = 24, JoySlider1 = 28, JoyPov0 = 32, JoyButton0 = 48,
    };
    /// the mouse layout
    enum MouseOffset { MouseX = 0, MouseY = 4, MouseZ = 8, MouseButton0 = 12 };
    static constexpr int AxisMin = 0;
    static constexpr int AxisMax = 65535;
    /// ten-thousandths of the half range
    static constexpr int DeadZone = 250;
    static constexpr int Saturation = 9999;
    static constexpr int PovCentred = 0xFFFF;
    static constexpr int Pressed = 0x80;
    static constexpr int WheelDelta = 120;
    static constexpr int MaxJoyAxes = 8;
    static constexpr int MaxJoyPovs = 4;
    static constexpr int MaxJoyButtons = 32;
    static constexpr int MouseButtons = 5;

    nPlatformInput() = default;
    /// removes the watch, closes the devices, gives back SDL's subsystems
    ~nPlatformInput();
    nPlatformInput(const nPlatformInput&) = delete;
    nPlatformInput& operator=(const nPlatformInput&) = delete;

    /**
        Start SDL's events (and its joysticks when 'joysticks'), find the
        devices and watch the events. False with SDL's message in 'error'
        when events cannot start; a joystick layer that cannot start leaves
        its message in 'joystickError' and only the keyboard and the mouse.
    */
    bool Open(bool joysticks, std::string& error, std::string& joystickError);
    bool IsOpen() const { return this->open; }

    int GetNumDevices() const { return static_cast<int>(this->devices.size()); }
    nPlatformInputDevice* GetDevice(int i) const { return this->devices[i].get(); }

    /// the window whose focus devices need
    void SetWindow(unsigned int windowId) { this->windowId = windowId; }
    /// replace the focus test (tests: a plain X server has no window manager)
    void SetFocusCheck(FocusCheck check) { this->focusCheck = std::move(check); }
    bool HasFocus() const;
    /// acquire the device if the window has the focus; the result code
    int32_t Acquire(nPlatformInputDevice* dev) const { return dev->Acquire(this->HasFocus()); }
    /// drop SDL's queued joystick, controller and wheel events
    void Drain() const;

    /// a raw SDL axis value in the joystick range, dead zone and saturation applied
    static int ScaleAxis(int sdlValue);
    /// the POV angle of a hat position, or of a d-pad bit set (up 1, right 2, down 4, left 8)
    static int PovFromHat(int hat);

private:
    static int SDLCALL Watch(void* userData, SDL_Event* event);
    void OnEvent(const SDL_Event& e);
    void OnMouseEvent(const SDL_Event& e);
    void OnJoystickEvent(const SDL_Event& e);
    void OnControllerEvent(const SDL_Event& e);
    nPlatformInputDevice* FindJoystick(SDL_JoystickID id) const;
    void AddKeyboardAndMouse();
    void AddJoystick(int index);

    bool open = false;
    bool joysticksOpen = false;
    unsigned int windowId = 0;
    FocusCheck focusCheck;
    std::vector<std::unique_ptr<nPlatformInputDevice>> devices;
    nPlatformInputDevice* mouse = nullptr;
};
#endif
