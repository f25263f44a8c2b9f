//------------------------------------------------------------------------------
//  ndi8server.cc
//------------------------------------------------------------------------------
#include "input/ndi8server.h"
#include "input/ndi8device.h"
#include "input/njoystickdevice.h"
#include "input/nkeyboarddevice.h"
#include "input/nrelmousedevice.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"

#include <string>

namespace
{

const char* const devicesPath = "/sys/share/input/devs";
const char* const hwndPath = "/sys/env/hwnd";
/// a frame time outside (MinFrameTime, MaxFrameTime] becomes MinFrameTime
const double MinFrameTime = 0.0001;
const double MaxFrameTime = 2.0;

struct ResultName
{
    uint32_t code;
    const char* name;
};

/// the classic result codes by value; a value with several names has the
/// first of them
const ResultName resultNames[] = {
    {0x00000000u, "DI_OK"},
    {0x00000001u, "DI_BUFFEROVERFLOW"},
    {0x00000002u, "DI_POLLEDDEVICE"},
    {0x00000003u, "DI_DOWNLOADSKIPPED"},
    {0x00000004u, "DI_EFFECTRESTARTED"},
    {0x00000008u, "DI_TRUNCATED"},
    {0x0000000Bu, "DI_SETTINGSNOTSAVED"},
    {0x0000000Cu, "DI_TRUNCATEDANDRESTARTED"},
    {0x00000013u, "DI_WRITEPROTECT"},
    {0x8000000Au, "E_PENDING"},
    {0x80004001u, "DIERR_UNSUPPORTED"},
    {0x80004002u, "DIERR_NOINTERFACE"},
    {0x80004003u, "E_POINTER"},
    {0x80004005u, "DIERR_GENERIC"},
    {0x80040110u, "DIERR_NOAGGREGATION"},
    {0x80040154u, "DIERR_DEVICENOTREG"},
    {0x80040201u, "DIERR_DEVICEFULL"},
    {0x80040202u, "DIERR_MOREDATA"},
    {0x80040203u, "DIERR_NOTDOWNLOADED"},
    {0x80040204u, "DIERR_HASEFFECTS"},
    {0x80040205u, "DIERR_NOTEXCLUSIVEACQUIRED"},
    {0x80040206u, "DIERR_INCOMPLETEEFFECT"},
    {0x80040207u, "DIERR_NOTBUFFERED"},
    {0x80040208u, "DIERR_EFFECTPLAYING"},
    {0x80040209u, "DIERR_UNPLUGGED"},
    {0x8004020Au, "DIERR_REPORTFULL"},
    {0x8004020Bu, "DIERR_MAPFILEFAIL"},
    {0x80070002u, "DIERR_NOTFOUND"},
    {0x80070005u, "DIERR_HANDLEEXISTS"},
    {0x80070006u, "E_HANDLE"},
    {0x8007000Cu, "DIERR_NOTACQUIRED"},
    {0x8007000Eu, "DIERR_OUTOFMEMORY"},
    {0x80070015u, "DIERR_NOTINITIALIZED"},
    {0x8007001Eu, "DIERR_INPUTLOST"},
    {0x80070057u, "DIERR_INVALIDPARAM"},
    {0x80070077u, "DIERR_BADDRIVERVER"},
    {0x800700AAu, "DIERR_ACQUIRED"},
    {0x8007047Eu, "DIERR_OLDDIRECTINPUTVERSION"},
    {0x80070481u, "DIERR_BETADIRECTINPUTVERSION"},
    {0x800704DFu, "DIERR_ALREADYINITIALIZED"},
};

bool Succeeded(int32_t result)
{
    return result >= 0;
}

}  // namespace

/*
 * nDI8Server --
 *     Side effects: the input server, then the device layer with every
 *     device found now; a layer that cannot start at all is fatal.
 */
nDI8Server::nDI8Server() :
    refDevices(devicesPath),
    refHwnd(hwndPath),
    hwnd(0),
    hwndReported(false),
    numKeyboards(0),
    numMice(0),
    numJoysticks(0),
    lastTime(0.0)
{
    if (!this->InitDirectInput())
    {
        n_error("nDI8Server: Could not initialize DirectInput8!\n");
    }
}

nDI8Server::~nDI8Server()
{
    this->KillDirectInput();
}

/*
 * ErrorName --
 *     Results: the name of the code, "UNKNOWN" for a code without one.
 */
const char* nDI8Server::ErrorName(int32_t result)
{
    const uint32_t code = static_cast<uint32_t>(result);
    for (const ResultName& r : resultNames)
    {
        if (r.code == code) return r.name;
    }
    return "UNKNOWN";
}

void nDI8Server::SetFocusCheck(nPlatformInput::FocusCheck check)
{
    this->di8->SetFocusCheck(std::move(check));
}

/*
 * InitDirectInput --
 *     Results: false when the device layer cannot start.
 *     Side effects: the layer; a joystick layer that fails prints its
 *     reason and leaves the keyboard and the mouse; a record per device
 *     and an input device per record with its channels.
 */
bool nDI8Server::InitDirectInput()
{
    this->di8 = std::make_unique<nPlatformInput>();
    std::string error, joystickError;
    if (!this->di8->Open(true, error, joystickError))
    {
        n_printf("nDI8Server: DirectInput8Create() failed with '%s'!\n", error.c_str());
        return false;
    }
    if (!joystickError.empty())
    {
        n_printf("nDI8Server: no joysticks ('%s'), keyboard and mouse only\n", joystickError.c_str());
    }
    this->EnumDevices();
    if (!this->ExportDevices())
    {
        n_printf("nDI8Server: Failed to initialize DInput devices!\n");
    }
    return true;
}

/*
 * KillDirectInput --
 *     Side effects: every input device and record is deleted, then the
 *     device layer.
 */
void nDI8Server::KillDirectInput()
{
    n_assert(this->di8);
    while (nNode* n = this->inputDevices.RemHead())
    {
        delete nInputDevice::FromNode(n);
    }
    while (nNode* n = this->di8Devices.RemHead())
    {
        delete static_cast<nDI8Device*>(n);
    }
    this->di8.reset();
}

/*
 * GetWindowId --
 *     Results: true with the window id of "/sys/env/hwnd"; false when
 *     there is none (reported once until one appears).
 */
bool nDI8Server::GetWindowId(unsigned int& id)
{
    nRoot* obj = this->refHwnd.isvalid() ? this->refHwnd.get() : nullptr;
    if (!obj || !obj->IsA("nenv") || static_cast<nEnv*>(obj)->GetType() != nArg::Int)
    {
        if (!this->hwndReported)
        {
            n_printf("nDI8Server: %s is NULL -- perhaps nWin32WindowHandler::OpenWindow() has not been called.\n",
                     hwndPath);
            this->hwndReported = true;
        }
        return false;
    }
    this->hwndReported = false;
    id = static_cast<unsigned int>(static_cast<nEnv*>(obj)->GetI());
    return true;
}

/*
 * EnumDevices --
 *     Side effects: a record per device of the layer, in its order; the
 *     window's id is taken as the cooperative level and each device is
 *     acquired.
 */
void nDI8Server::EnumDevices()
{
    unsigned int id = 0;
    if (this->GetWindowId(id))
    {
        this->hwnd = id;
        this->di8->SetWindow(id);
    }
    for (int i = 0; i < this->di8->GetNumDevices(); i++)
    {
        nPlatformInputDevice* dev = this->di8->GetDevice(i);
        const nPlatformInputDevice::Caps& caps = dev->GetCaps();
        nDI8Device* record = new nDI8Device;
        record->SetDevice(dev);
        record->SetInstanceName(caps.instanceName.c_str());
        record->SetProductName(caps.productName.c_str());
        record->SetDeviceType(static_cast<nDI8Device::DeviceType>(caps.type));
        record->SetNumAxes(caps.numAxes);
        record->SetNumButtons(caps.numButtons);
        record->SetNumPovs(caps.numPovs);
        if (nPlatformInputDevice::Mouse == caps.type)
        {
            record->SetRange(-50, 50);
        }
        else
        {
            record->SetRange(caps.rangeMin, caps.rangeMax);
        }
        this->di8Devices.AddTail(record);
        this->di8->Acquire(dev);
    }
}

/*
 * ExportDevices --
 *     Results: false when the devices root cannot be had.
 *     Side effects: an input device per record, numbered per type in
 *     order, with its channels below the devices root.
 */
bool nDI8Server::ExportDevices()
{
    nRoot* root = this->refDevices.isvalid() ? this->refDevices.get() : nullptr;
    if (!root)
    {
        return false;
    }
    for (nNode* n = this->di8Devices.GetHead(); n; n = n->GetSucc())
    {
        nDI8Device* record = static_cast<nDI8Device*>(n);
        nInputDevice* dev = nullptr;
        switch (record->GetDeviceType())
        {
            case nDI8Device::Keyboard:
                dev = new nKeyboardDevice(kernelServer, this, this->numKeyboards++, record->GetNumButtons());
                break;
            case nDI8Device::Mouse:
                dev = new nRelMouseDevice(kernelServer, this, this->numMice++, record->GetNumAxes(),
                                          record->GetNumButtons());
                break;
            case nDI8Device::Joystick:
                dev = new nJoystickDevice(kernelServer, this, this->numJoysticks++, record->GetNumAxes(),
                                          record->GetNumButtons(), record->GetNumPovs());
                break;
        }
        dev->SetDI8Device(record);
        dev->SetAxisRange(record->GetRangeMin(), record->GetRangeMax());
        dev->Export(root);
        this->inputDevices.AddTail(dev->GetNode());
    }
    return true;
}

/*
 * UpdateWindow --
 *     Side effects: a new window in "/sys/env/hwnd" becomes the one whose
 *     focus the devices need; every device is unacquired for it.
 */
void nDI8Server::UpdateWindow()
{
    unsigned int id = 0;
    if (!this->GetWindowId(id) || id == this->hwnd)
    {
        return;
    }
    this->hwnd = id;
    this->di8->SetWindow(id);
    for (nNode* n = this->di8Devices.GetHead(); n; n = n->GetSucc())
    {
        static_cast<nDI8Device*>(n)->GetDevice()->Unacquire();
    }
}

/*
 * Dispatch --
 *     Side effects: the record's data offset, translated by the device
 *     type, reaches the device as an axis, a button or a POV; offsets the
 *     device type does not read, and buttons the device lacks, are left
 *     out.
 */
void nDI8Server::Dispatch(nInputDevice* dev, int type, unsigned int offset, int data)
{
    const bool pressed = (data & 0x80) != 0;
    int button = -1;
    if (nDI8Device::Keyboard == type)
    {
        button = static_cast<int>(offset) - 1;
    }
    else if (nDI8Device::Mouse == type)
    {
        if (offset <= 8 && offset % 4 == 0)
        {
            dev->OnAxis(static_cast<int>(offset / 4), data);
            return;
        }
        if (offset >= 12 && offset <= 19) button = static_cast<int>(offset) - 12;
    }
    else
    {
        switch (offset)
        {
            case 0: dev->OnAxis(0, data); return;
            case 4: dev->OnAxis(1, data); return;
            case 8: dev->OnAxis(2, data); return;
            case 20: dev->OnAxis(3, data); return;
            case 32: case 36: case 40: case 44: dev->OnPov(static_cast<int>(offset - 32) / 4, data); return;
            default: break;
        }
        if (offset >= 48 && offset <= 63) button = static_cast<int>(offset) - 48;
    }
    if (button >= 0 && (nDI8Device::Keyboard == type || button < dev->GetNumButtons()))
    {
        dev->OnButton(button, pressed);
    }
}

/*
 * ReadDevice --
 *     Side effects: when the record's device can be acquired, its waiting
 *     records go to the input devices bound to it in order; an overflow
 *     and a device that is lost are reported.
 */
void nDI8Server::ReadDevice(nDI8Device* record)
{
    nPlatformInputDevice* dev = record->GetDevice();
    const int32_t acquired = this->di8->Acquire(dev);
    if (nPlatformInputResult::InputLost == acquired && !record->IsLostReported())
    {
        n_printf("nDI8Server: device '%s' failed with '%s'\n", record->GetInstanceName().Get(), ErrorName(acquired));
        record->SetLostReported();
    }
    if (acquired != nPlatformInputResult::Ok && acquired != nPlatformInputResult::BufferOverflow)
    {
        return;
    }
    nPlatformInputRecord buffer[BufferSize];
    int count = BufferSize;
    const int32_t result = dev->GetDeviceData(buffer, count);
    if (!Succeeded(result))
    {
        return;
    }
    if (nPlatformInputResult::BufferOverflow == result)
    {
        n_printf("nDI8Server: GetDeviceData() on '%s' returned '%s', input was lost\n",
                 record->GetInstanceName().Get(), ErrorName(result));
    }
    for (nNode* n = this->inputDevices.GetHead(); n; n = n->GetSucc())
    {
        nInputDevice* inputDev = nInputDevice::FromNode(n);
        if (inputDev->GetDI8Device() != record) continue;
        for (int i = 0; i < count; i++)
        {
            Dispatch(inputDev, record->GetDeviceType(), buffer[i].offset, buffer[i].data);
        }
    }
}

/*
 * Trigger --
 *     Side effects: SDL's joystick events are drained; the devices run
 *     one frame (with a frame time kept in (0.0001, 2]) and send their
 *     events; then the input server's frame.
 */
void nDI8Server::Trigger(double time)
{
    double frameTime = time - this->lastTime;
    this->lastTime = time;
    if (frameTime <= MinFrameTime || frameTime > MaxFrameTime)
    {
        frameTime = MinFrameTime;
    }
    this->di8->Drain();
    this->UpdateWindow();
    for (nNode* n = this->inputDevices.GetHead(); n; n = n->GetSucc())
    {
        nInputDevice::FromNode(n)->BeginFrame(frameTime);
    }
    for (nNode* n = this->di8Devices.GetHead(); n; n = n->GetSucc())
    {
        this->ReadDevice(static_cast<nDI8Device*>(n));
    }
    for (nNode* n = this->inputDevices.GetHead(); n; n = n->GetSucc())
    {
        nInputDevice::FromNode(n)->EndFrame();
    }
    nInputServer::Trigger(time);
}
