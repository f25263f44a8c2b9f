//------------------------------------------------------------------------------
//  ninputdevice.cc
//------------------------------------------------------------------------------
#include "input/ninputdevice.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"

#include <cstdio>

namespace
{

/// the names of the first nine axes
const char* const axisNames[] = {"x", "y", "z", "r", "s", "t", "u", "v", "w"};
const int numAxisNames = 9;

}  // namespace

nInputDevice::nInputDevice(nKernelServer* ks, nInputServer* is, int devNum, int numAxes, int numButtons,
                           int numPovs) :
    kernelServer(ks),
    inputServer(is),
    deviceNum(devNum),
    numAxes(numAxes),
    numButtons(numButtons),
    numPovs(numPovs),
    node(this)
{
    n_assert(this->kernelServer);
    n_assert(this->inputServer);
}

/*
 * ~nInputDevice --
 *     Side effects: the value store is freed and the device leaves its
 *     list; its channel values stay.
 */
nInputDevice::~nInputDevice()
{
    delete[] this->valueStore;
    if (this->node.IsLinked())
    {
        this->node.Remove();
    }
}

void nInputDevice::Export(nRoot* /*devicesRoot*/) {}

void nInputDevice::BeginFrame(double ft)
{
    this->frameTime = ft;
}

void nInputDevice::OnAxis(int /*axis*/, int /*value*/) {}
void nInputDevice::OnButton(int /*button*/, bool /*pressed*/) {}
void nInputDevice::OnPov(int /*pov*/, int /*value*/) {}
void nInputDevice::EndFrame() {}

void nInputDevice::AllocValueStore(int s)
{
    n_assert(s > 0);
    n_assert(0 == this->valueStore);
    this->numValues = s;
    this->valueStore = new float[s]();
}

float nInputDevice::GetStoredValue(int index) const
{
    n_assert((index >= 0) && (index < this->numValues));
    return this->valueStore[index];
}

void nInputDevice::SetStoredValue(int index, float value)
{
    n_assert((index >= 0) && (index < this->numValues));
    this->valueStore[index] = value;
}

/*
 * MakeChannelsNode --
 *     Side effects: the nodes "<devName>" and "<devName>/channels" below
 *     the root; channels go there.
 */
void nInputDevice::MakeChannelsNode(nRoot* devicesRoot, const char* devName)
{
    n_assert(devicesRoot);
    const nString rootPath = devicesRoot->GetFullName();
    char path[N_MAXPATH];
    snprintf(path, sizeof(path), "%s/%s/channels", rootPath.Get(), devName);
    this->channels = static_cast<nRoot*>(this->kernelServer->New("nroot", path));
    n_assert2(this->channels, "devChannels");
}

/*
 * SetChannel --
 *     Side effects: the channel value of that name holds the text; an
 *     object of another class in its place is reported and kept.
 */
static void SetChannel(nKernelServer* ks, nRoot* channels, const char* name, const char* value)
{
    if (!channels)
    {
        return;
    }
    char path[N_MAXPATH];
    snprintf(path, sizeof(path), "%s/%s", channels->GetFullName().Get(), name);
    nObject* obj = ks->NewNoFail("nenv", path);
    if (!obj || !obj->IsA("nenv"))
    {
        n_printf("nInputDevice: '%s' holds no channel value, left as it is\n", path);
        return;
    }
    static_cast<nEnv*>(obj)->SetS(value);
}

void nInputDevice::ExportAxis(int devId, const char* channelName, int axis)
{
    char value[64];
    snprintf(value, sizeof(value), "devid=%d type=%d axis=%d", devId, N_INPUT_AXIS_MOVE, axis);
    SetChannel(this->kernelServer, this->channels, channelName, value);
}

void nInputDevice::ExportButton(int devId, const char* channelName, int button)
{
    char value[64];
    snprintf(value, sizeof(value), "devid=%d type=%d btn=%d", devId, N_INPUT_BUTTON_DOWN, button);
    SetChannel(this->kernelServer, this->channels, channelName, value);
}

/*
 * ExportAxesAndButtons --
 *     Side effects: -N and +N (half-axes 2a, 2a+1), -Nbtn and +Nbtn
 *     (buttons after the real ones) for the first nine axes, then btn0...
 */
void nInputDevice::ExportAxesAndButtons(int devId)
{
    char name[32];
    for (int a = 0; a < this->numAxes && a < numAxisNames; a++)
    {
        snprintf(name, sizeof(name), "-%s", axisNames[a]);
        this->ExportAxis(devId, name, 2 * a);
        snprintf(name, sizeof(name), "+%s", axisNames[a]);
        this->ExportAxis(devId, name, 2 * a + 1);
        snprintf(name, sizeof(name), "-%sbtn", axisNames[a]);
        this->ExportButton(devId, name, this->numButtons + 2 * a);
        snprintf(name, sizeof(name), "+%sbtn", axisNames[a]);
        this->ExportButton(devId, name, this->numButtons + 2 * a + 1);
    }
    for (int b = 0; b < this->numButtons; b++)
    {
        snprintf(name, sizeof(name), "btn%d", b);
        this->ExportButton(devId, name, b);
    }
}

void nInputDevice::PutAxisEvent(int devId, int axis, float value)
{
    nInputEvent* e = this->inputServer->NewEvent();
    if (!e) return;
    e->SetType(N_INPUT_AXIS_MOVE);
    e->SetDeviceId(devId);
    e->SetAxis(axis);
    e->SetAxisValue(value);
    this->inputServer->LinkEvent(e);
}

static void PutButton(nInputServer* is, nInputType type, int devId, int button)
{
    nInputEvent* e = is->NewEvent();
    if (!e) return;
    e->SetType(type);
    e->SetDeviceId(devId);
    e->SetButton(button);
    is->LinkEvent(e);
}

void nInputDevice::PutButtonDownEvent(int devId, int button)
{
    PutButton(this->inputServer, N_INPUT_BUTTON_DOWN, devId, button);
}

void nInputDevice::PutButtonUpEvent(int devId, int button)
{
    PutButton(this->inputServer, N_INPUT_BUTTON_UP, devId, button);
}

void nInputDevice::PutButtonEvent(int devId, int button, float oldVal, float newVal)
{
    if (newVal > 0.0f && oldVal == 0.0f)
    {
        this->PutButtonDownEvent(devId, button);
    }
    else if (newVal <= 0.0f && oldVal > 0.0f)
    {
        this->PutButtonUpEvent(devId, button);
    }
}

/*
 * PutHalfAxes --
 *     Side effects: the negative and the positive half of the value (each
 *     squared when asked, then scaled) as axis events on first and first+1, the virtual
 *     buttons of both halves, and both stored.
 */
void nInputDevice::PutHalfAxes(int devId, int first, float value, bool squared, float scale)
{
    float halves[2] = {(value < 0.0f) ? -value : 0.0f, (value > 0.0f) ? value : 0.0f};
    for (int h = 0; h < 2; h++)
    {
        const float v = (squared ? halves[h] * halves[h] : halves[h]) * scale;
        const int index = first + h;
        this->PutAxisEvent(devId, index, v);
        this->PutButtonEvent(devId, this->numButtons + index, this->GetStoredValue(index), v);
        this->SetStoredValue(index, v);
    }
}
