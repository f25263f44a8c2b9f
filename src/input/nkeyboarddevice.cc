//------------------------------------------------------------------------------
//  nkeyboarddevice.cc
//------------------------------------------------------------------------------
#include "input/nkeyboarddevice.h"

nKeyboardDevice::nKeyboardDevice(nKernelServer* ks, nInputServer* is, int devNum, int numButtons) :
    nInputDevice(ks, is, devNum, 0, numButtons, 0)
{
    n_assert(0 == this->numAxes);
    n_assert(0 == this->numPovs);
}

void nKeyboardDevice::Export(nRoot* /*devicesRoot*/) {}

void nKeyboardDevice::OnButton(int /*button*/, bool /*pressed*/) {}
