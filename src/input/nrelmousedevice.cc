//------------------------------------------------------------------------------
//  nrelmousedevice.cc
//------------------------------------------------------------------------------
#include "input/nrelmousedevice.h"
#include "input/ninputserver.h"

#include <cstdio>

nRelMouseDevice::nRelMouseDevice(nKernelServer* ks, nInputServer* is, int devNum, int numAxes, int numButtons) :
    nInputDevice(ks, is, devNum, numAxes, numButtons, 0)
{
    if (numAxes > 0)
    {
        this->AllocValueStore(2 * numAxes);
    }
    for (nAxisFilter& f : this->filter)
    {
        f.SetHistorySize(FilterSize);
    }
}

void nRelMouseDevice::Export(nRoot* devicesRoot)
{
    char name[32];
    snprintf(name, sizeof(name), "relmouse%d", this->deviceNum);
    this->MakeChannelsNode(devicesRoot, name);
    this->ExportAxesAndButtons(this->GetDeviceId());
}

void nRelMouseDevice::BeginFrame(double ft)
{
    this->axisMoved[0] = false;
    this->axisMoved[1] = false;
    nInputDevice::BeginFrame(ft);
}

/*
 * OnAxis --
 *     Side effects: x and y are smoothed; the wheel sends a press and a
 *     release of -zbtn (towards the user) or +zbtn; the motion, inverted
 *     on y and scaled as the input server says, goes out as two halves.
 *     An axis the device does not have is ignored.
 */
void nRelMouseDevice::OnAxis(int axis, int value)
{
    if (axis < 0 || axis >= this->numAxes)
    {
        return;
    }
    float c = float(value) * 0.1f;
    if (axis < 2)
    {
        this->axisMoved[axis] = true;
        this->filter[axis].Push(c);
        c = this->filter[axis].GetAverage();
    }
    else if (2 == axis)
    {
        const int button = this->numButtons + ((value <= 0) ? 4 : 5);
        this->PutButtonDownEvent(this->GetDeviceId(), button);
        this->PutButtonUpEvent(this->GetDeviceId(), button);
        return;
    }
    if (this->inputServer->GetInvertMouse() && 1 == axis)
    {
        c = -c;
    }
    this->PutHalfAxes(this->GetDeviceId(), 2 * axis, c, false, this->inputServer->GetMouseFactor());
}

void nRelMouseDevice::OnButton(int button, bool pressed)
{
    n_assert((button >= 0) && (button < this->numButtons));
    if (pressed)
    {
        this->PutButtonDownEvent(this->GetDeviceId(), button);
    }
    else
    {
        this->PutButtonUpEvent(this->GetDeviceId(), button);
    }
}

void nRelMouseDevice::ResetAxis(int axis)
{
    this->filter[axis].Push(0.0f);
    this->PutHalfAxes(this->GetDeviceId(), 2 * axis, 0.0f, false);
}

/*
 * EndFrame --
 *     Side effects: x and y without data this frame decay towards 0.
 */
void nRelMouseDevice::EndFrame()
{
    for (int a = 0; a < 2 && a < this->numAxes; a++)
    {
        if (!this->axisMoved[a])
        {
            this->ResetAxis(a);
        }
    }
}
