#ifndef N_KEYBOARDDEVICE_H
#define N_KEYBOARDDEVICE_H
//------------------------------------------------------------------------------
/**
    @class nKeyboardDevice
    @ingroup Input

    The keyboard as the DirectInput server finds it. It exports and sends
    nothing: keys reach the engine through the window's events alone.
*/
#include "input/ninputdevice.h"

class nKeyboardDevice : public nInputDevice
{
public:
    nKeyboardDevice(nKernelServer* ks, nInputServer* is, int devNum, int numButtons);
    void Export(nRoot* devicesRoot) override;
    void OnButton(int button, bool pressed) override;
    int GetDeviceId() const { return N_KEYBOARD_ID | this->deviceNum; }

private:
    static constexpr int N_KEYBOARD_ID = 0x10000;
};
#endif
