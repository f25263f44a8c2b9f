//------------------------------------------------------------------------------
//  njoystickdevice.cc
//------------------------------------------------------------------------------
#include "input/njoystickdevice.h"

#include <cstdio>

namespace
{

/// horizontal and vertical channel names of the POVs that get channels
const char* const povNames[3][2] = {{"a", "b"}, {"c", "d"}, {"e", "f"}};
const int numPovNames = 3;

/*
 * PovDirection --
 *     Results: h and v of a POV value (hundredths of degrees clockwise
 *     from north): -1, 0 or 1 each, y growing southwards; both 0 when the
 *     low word is 0xFFFF (centred).
 */
void PovDirection(int raw, float& h, float& v)
{
    h = 0.0f;
    v = 0.0f;
    if ((raw & 0xFFFF) == 0xFFFF) return;
    static const float dirs[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
    int sector = 0;
    if (raw > 2250 && raw <= 33750)
    {
        sector = (raw - 2251) / 4500 + 1;
    }
    h = dirs[sector][0];
    v = dirs[sector][1];
}

}  // namespace

nJoystickDevice::nJoystickDevice(nKernelServer* ks, nInputServer* is, int devNum, int numAxes, int numButtons,
                                 int numPovs) :
    nInputDevice(ks, is, devNum, numAxes, numButtons, numPovs)
{
    if (numAxes > 0 || numPovs > 0)
    {
        this->AllocValueStore(2 * numAxes + 4 * numPovs);
    }
    for (nAxisFilter& f : this->filter)
    {
        f.SetHistorySize(FilterSize);
    }
}

void nJoystickDevice::Export(nRoot* devicesRoot)
{
    char name[32];
    snprintf(name, sizeof(name), "joy%d", this->deviceNum);
    this->MakeChannelsNode(devicesRoot, name);
    this->ExportAxesAndButtons(this->GetDeviceId());
    this->ExportPovs(this->GetDeviceId());
}

/*
 * ExportPovs --
 *     Side effects: -H, +H, -V, +V and their buttons for POVs 0 to 2.
 */
void nJoystickDevice::ExportPovs(int devId)
{
    char name[32];
    for (int k = 0; k < this->numPovs && k < numPovNames; k++)
    {
        const int base = this->PovBase(k);
        for (int i = 0; i < 4; i++)
        {
            const char* axisName = povNames[k][i / 2];
            const char sign = (i % 2) ? '+' : '-';
            snprintf(name, sizeof(name), "%c%s", sign, axisName);
            this->ExportAxis(devId, name, base + i);
            snprintf(name, sizeof(name), "%c%sbtn", sign, axisName);
            this->ExportButton(devId, name, this->numButtons + base + i);
        }
    }
}

void nJoystickDevice::BeginFrame(double ft)
{
    for (bool& moved : this->axisMoved) moved = false;
    nInputDevice::BeginFrame(ft);
}

/*
 * OnAxis --
 *     Side effects: the raw value scaled from the axis range to -1..1
 *     (0 within 1% of the centre, and 0 for an empty range), smoothed on
 *     the first four axes, sent as two squared halves. An axis the device
 *     does not have is ignored.
 */
void nJoystickDevice::OnAxis(int axis, int value)
{
    if (axis < 0 || axis >= this->numAxes)
    {
        return;
    }
    float v = 0.0f;
    const int span = this->axisRangeMax - this->axisRangeMin;
    if (span != 0)
    {
        v = (float(value) - float(this->axisRangeMin)) / float(span) * 2.0f - 1.0f;
    }
    if (v > -0.01f && v < 0.01f)
    {
        v = 0.0f;
    }
    if (axis < NumFiltered)
    {
        this->axisMoved[axis] = true;
        this->filter[axis].Push(v);
        v = this->filter[axis].GetAverage();
    }
    this->PutHalfAxes(this->GetDeviceId(), 2 * axis, v, true);
}

void nJoystickDevice::OnButton(int button, bool pressed)
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

/*
 * OnPov --
 *     Side effects: the POV's direction on its horizontal and vertical
 *     half-axes (not squared). A POV the device does not have is ignored.
 */
void nJoystickDevice::OnPov(int pov, int value)
{
    if (pov < 0 || pov >= this->numPovs)
    {
        return;
    }
    float h, v;
    PovDirection(value, h, v);
    const int base = this->PovBase(pov);
    this->PutHalfAxes(this->GetDeviceId(), base, h, false);
    this->PutHalfAxes(this->GetDeviceId(), base + 2, v, false);
}

/*
 * EndFrame --
 *     Side effects: every frame, each filtered axis takes its newest value
 *     again and sends the new average, so that it settles with or without
 *     data.
 */
void nJoystickDevice::EndFrame()
{
    for (int a = 0; a < this->numAxes && a < NumFiltered; a++)
    {
        this->filter[a].Push(this->filter[a].Get(0));
        this->PutHalfAxes(this->GetDeviceId(), 2 * a, this->filter[a].GetAverage(), true);
    }
}
