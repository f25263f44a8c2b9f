#ifndef N_RELMOUSEDEVICE_H
#define N_RELMOUSEDEVICE_H
//------------------------------------------------------------------------------
/**
    @class nRelMouseDevice
    @ingroup Input

    The mouse's relative motion, wheel and buttons ("relmouse%d"). Motion
    is smoothed over five frames and decays to 0 when the mouse rests; the
    wheel sends a press and a release of -zbtn or +zbtn per notch.
*/
#include "input/naxisfilter.h"
#include "input/ninputdevice.h"

class nRelMouseDevice : public nInputDevice
{
public:
    enum { FilterSize = 5 };

    nRelMouseDevice(nKernelServer* ks, nInputServer* is, int devNum, int numAxes, int numButtons);
    void Export(nRoot* devicesRoot) override;
    void BeginFrame(double frameTime) override;
    void OnAxis(int axis, int value) override;
    void OnButton(int button, bool pressed) override;
    void EndFrame() override;
    int GetDeviceId() const { return 0x200000 | this->deviceNum; }

private:
    /// push 0 into the axis's filter and send 0 on both halves
    void ResetAxis(int axis);

    bool axisMoved[2] = {false, false};
    nAxisFilter filter[2];
};
#endif
