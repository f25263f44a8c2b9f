#ifndef N_JOYSTICKDEVICE_H
#define N_JOYSTICKDEVICE_H
//------------------------------------------------------------------------------
/**
    @class nJoystickDevice
    @ingroup Input

    A joystick or gamepad ("joy%d"): axes scaled to -1..1 and smoothed over
    three frames on the first four, each half sent squared; buttons as
    they come; each POV as a horizontal and a vertical pair of half-axes.
*/
#include "input/naxisfilter.h"
#include "input/ninputdevice.h"

class nJoystickDevice : public nInputDevice
{
public:
    enum { FilterSize = 3, NumFiltered = 4 };

    nJoystickDevice(nKernelServer* ks, nInputServer* is, int devNum, int numAxes, int numButtons, int numPovs);
    void Export(nRoot* devicesRoot) override;
    void BeginFrame(double frameTime) override;
    void OnAxis(int axis, int value) override;
    void OnButton(int button, bool pressed) override;
    void OnPov(int pov, int value) override;
    void EndFrame() override;
    int GetDeviceId() const { return 0x40000 | this->deviceNum; }

private:
    /// the first half-axis of a POV
    int PovBase(int pov) const { return 4 * pov + 2 * this->numAxes; }
    /// the POV channels of the first three POVs
    void ExportPovs(int devId);

    bool axisMoved[NumFiltered] = {};
    nAxisFilter filter[NumFiltered];
};
#endif
