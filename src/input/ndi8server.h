#ifndef N_DI8SERVER_H
#define N_DI8SERVER_H
//------------------------------------------------------------------------------
/**
    @class nDI8Server
    @ingroup Input

    The input server the application runs: the window's keyboard and mouse
    events of nInputServer, plus the joysticks, gamepads and the mouse's
    relative motion, wheel and buttons read through the device layer
    (nPlatformInput) as buffered records. Devices are found once, when the
    server is made; each gets an input device that exports its channels
    below "/sys/share/input/devs" and sends input events. Devices deliver
    only while the window in "/sys/env/hwnd" has the input focus.
*/
#include "input/ninputserver.h"
#include "platform/nplatforminput.h"

#include <cstdint>
#include <memory>

class nDI8Device;
class nInputDevice;

class nDI8Server : public nInputServer
{
public:
    /// records read from a device per frame at most
    enum { BufferSize = 128 };

    nDI8Server();
    /// read the devices, then the input server's frame
    void Trigger(double time) override;
    /// the classic name of a result code, "UNKNOWN" for others
    static const char* ErrorName(int32_t result);
    /// replace the window focus test (tests: a plain X server has no window manager)
    void SetFocusCheck(nPlatformInput::FocusCheck check);
    /// the device layer (tests)
    nPlatformInput* GetPlatformInput() const { return this->di8.get(); }

protected:
    /// releases the devices, records and the device layer
    ~nDI8Server() override;

private:
    bool InitDirectInput();
    void KillDirectInput();
    /// a record for every device of the layer
    void EnumDevices();
    /// an input device for every record, with its channels
    bool ExportDevices();
    /// the window id in "/sys/env/hwnd"; false when there is none
    bool GetWindowId(unsigned int& id);
    /// follow a new window handle
    void UpdateWindow();
    /// read one record's buffered data into its input devices
    void ReadDevice(nDI8Device* record);
    /// hand one buffered record to a device
    static void Dispatch(nInputDevice* dev, int type, unsigned int offset, int data);

    nAutoRef<nRoot> refDevices;
    nAutoRef<nRoot> refHwnd;
    std::unique_ptr<nPlatformInput> di8;
    nList di8Devices;
    nList inputDevices;
    unsigned int hwnd;
    bool hwndReported;
    int numKeyboards;
    int numMice;
    int numJoysticks;
    double lastTime;
};
#endif
