#ifndef N_DI8DEVICE_H
#define N_DI8DEVICE_H
//------------------------------------------------------------------------------
/**
    @class nDI8Device
    @ingroup Input

    The input server's record of one device of the device layer: its
    interface, names, type, axis range and numbers of axes, buttons and
    POVs. The device itself belongs to the layer; the record unacquires it
    when it goes.
*/
#include "util/nnode.h"
#include "util/nstring.h"

class nPlatformInputDevice;

class nDI8Device : public nNode
{
public:
    enum DeviceType
    {
        Keyboard = 1,
        Mouse = 2,
        Joystick = 3,
    };

    nDI8Device() : nNode(this) {}
    /// unacquires the device
    ~nDI8Device();

    void SetDevice(nPlatformInputDevice* dev) { this->device = dev; }
    nPlatformInputDevice* GetDevice() const { return this->device; }
    void SetInstanceName(const char* name);
    const nString& GetInstanceName() const { return this->instanceName; }
    void SetProductName(const char* name);
    const nString& GetProductName() const { return this->productName; }
    void SetDeviceType(DeviceType t) { this->deviceType = t; }
    DeviceType GetDeviceType() const { return this->deviceType; }
    void SetRange(int min, int max) { this->rangeMin = min; this->rangeMax = max; }
    int GetRangeMin() const { return this->rangeMin; }
    int GetRangeMax() const { return this->rangeMax; }
    void SetNumAxes(int num);
    int GetNumAxes() const { return this->numAxes; }
    void SetNumButtons(int num);
    int GetNumButtons() const { return this->numButtons; }
    void SetNumPovs(int num);
    int GetNumPovs() const { return this->numPovs; }
    /// whether the loss of the device has been reported
    bool IsLostReported() const { return this->lostReported; }
    void SetLostReported() { this->lostReported = true; }

private:
    nPlatformInputDevice* device = nullptr;
    nString instanceName;
    nString productName;
    DeviceType deviceType = Keyboard;
    int rangeMin = 0;
    int rangeMax = 0;
    int numAxes = 0;
    int numButtons = 0;
    int numPovs = 0;
    bool lostReported = false;
};
#endif
