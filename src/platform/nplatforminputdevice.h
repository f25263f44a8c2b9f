#ifndef N_PLATFORMINPUTDEVICE_H
#define N_PLATFORMINPUTDEVICE_H
//------------------------------------------------------------------------------
/**
    @class nPlatformInputDevice
    @ingroup Platform

    One input device as the engine's device objects read it: buffered
    records of (data offset, value) laid out as the classic mouse and
    joystick state blocks, at most BufferSize of them waiting, filled by
    nPlatformInput from SDL's events. Results are the classic result codes
    (nPlatformInputResult). A device collects data only while acquired,
    and it is acquired only while the window has the input focus.
*/
#include <SDL.h>

#include <cstdint>
#include <string>

/// the classic input result codes the engine names and tests against
namespace nPlatformInputResult
{
constexpr int32_t Ok = 0;
/// also "already acquired" and "no effect"
constexpr int32_t BufferOverflow = 1;
constexpr int32_t OtherAppHasPrio = static_cast<int32_t>(0x80070005u);
constexpr int32_t NotAcquired = static_cast<int32_t>(0x8007000Cu);
constexpr int32_t InputLost = static_cast<int32_t>(0x8007001Eu);
constexpr int32_t InvalidParam = static_cast<int32_t>(0x80070057u);
}  // namespace nPlatformInputResult

/// one buffered record: the data offset in the device's state block, and the value
struct nPlatformInputRecord
{
    unsigned int offset;
    int data;
};

class nPlatformInputDevice
{
public:
    enum Type
    {
        Keyboard = 1,
        Mouse = 2,
        Joystick = 3,
    };
    /// records waiting at most; more are dropped and reported as an overflow
    enum { BufferSize = 128 };

    /// the device's shape, as its capabilities report it
    struct Caps
    {
        Type type;
        std::string instanceName;
        std::string productName;
        int numAxes;
        int numButtons;
        int numPovs;
        int rangeMin;
        int rangeMax;
    };

    explicit nPlatformInputDevice(const Caps& caps) : caps(caps) {}
    ~nPlatformInputDevice();
    nPlatformInputDevice(const nPlatformInputDevice&) = delete;
    nPlatformInputDevice& operator=(const nPlatformInputDevice&) = delete;

    const Caps& GetCaps() const { return this->caps; }

    /// start collecting data when 'focused'; the result code
    int32_t Acquire(bool focused);
    /// stop collecting and drop what waits
    void Unacquire();
    bool IsAcquired() const { return this->acquired; }
    /// move up to 'count' waiting records into 'out'; 'count' becomes the number moved
    int32_t GetDeviceData(nPlatformInputRecord* out, int& count);

    //--- filled by nPlatformInput ------------------------------------------------
    /// queue one record while acquired
    void Put(unsigned int offset, int data);
    /// the device is gone: every later call reports the input as lost
    void MarkLost();
    bool IsLost() const { return this->lost; }
    /// take ownership of the opened SDL handles
    void SetHandles(SDL_Joystick* joy, SDL_GameController* pad);
    SDL_JoystickID GetInstanceId() const { return this->instanceId; }
    bool IsController() const { return this->controller != nullptr; }
    /// the button index a controller button is read as, -1 for none
    int ControllerButton(int sdlButton) const;
    /// the d-pad of a controller, as a bit set of up, right, down, left
    unsigned int& DpadBits() { return this->dpad; }
    /// the index of the next controller button the device has
    void MapControllerButton(int sdlButton, int index);

private:
    enum { MaxControllerButtons = SDL_CONTROLLER_BUTTON_MAX };

    Caps caps;
    bool acquired = false;
    bool lost = false;
    bool overflow = false;
    int numRecords = 0;
    nPlatformInputRecord records[BufferSize] = {};
    SDL_Joystick* joystick = nullptr;
    SDL_GameController* controller = nullptr;
    SDL_JoystickID instanceId = -1;
    int buttonMap[MaxControllerButtons] = {};
    unsigned int dpad = 0;
};
#endif
