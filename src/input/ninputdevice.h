#ifndef N_INPUTDEVICE_H
#define N_INPUTDEVICE_H
//------------------------------------------------------------------------------
/**
    @class nInputDevice
    @ingroup Input

    An input device of the DirectInput server: it exports its channels
    below "/sys/share/input/devs" so that scripts can map them, and turns
    the axis, button and POV data of its device record into input events.
    A value store keeps the last value sent on every half-axis, so that
    the virtual buttons of the half-axes go down and up exactly once.
*/
#include "util/nnode.h"

class nKernelServer;
class nInputServer;
class nDI8Device;
class nRoot;

class nInputDevice
{
public:
    nInputDevice(nKernelServer* ks, nInputServer* is, int devNum, int numAxes, int numButtons, int numPovs);
    virtual ~nInputDevice();
    nInputDevice(const nInputDevice&) = delete;
    nInputDevice& operator=(const nInputDevice&) = delete;

    /// make the device node and its channels below the devices root
    virtual void Export(nRoot* devicesRoot);
    /// start of a frame's data
    virtual void BeginFrame(double frameTime);
    /// a raw axis value
    virtual void OnAxis(int axis, int value);
    /// a button went down or up
    virtual void OnButton(int button, bool pressed);
    /// a raw POV value
    virtual void OnPov(int pov, int value);
    /// end of a frame's data
    virtual void EndFrame();
    /// the channel value of a half-axis
    virtual void ExportAxis(int devId, const char* channelName, int axis);
    /// the channel value of a button
    virtual void ExportButton(int devId, const char* channelName, int button);
    virtual void PutAxisEvent(int devId, int axis, float value);
    virtual void PutButtonDownEvent(int devId, int button);
    virtual void PutButtonUpEvent(int devId, int button);
    /// down when the value leaves 0, up when it returns to 0
    virtual void PutButtonEvent(int devId, int button, float oldVal, float newVal);

    nNode* GetNode() { return &this->node; }
    static nInputDevice* FromNode(nNode* n) { return static_cast<nInputDevice*>(n->GetData()); }
    void SetDI8Device(nDI8Device* dev) { this->di8Dev = dev; }
    nDI8Device* GetDI8Device() const { return this->di8Dev; }
    void SetAxisRange(int min, int max) { this->axisRangeMin = min; this->axisRangeMax = max; }
    int GetDeviceNum() const { return this->deviceNum; }
    int GetNumAxes() const { return this->numAxes; }
    int GetNumButtons() const { return this->numButtons; }
    int GetNumPovs() const { return this->numPovs; }
    double GetFrameTime() const { return this->frameTime; }

protected:
    /// a zeroed store of s values
    void AllocValueStore(int s);
    float GetStoredValue(int index) const;
    void SetStoredValue(int index, float value);
    /// the device node "<name>" and its "channels" node below the root
    void MakeChannelsNode(nRoot* devicesRoot, const char* devName);
    /// the axis and half-axis button channels of the first nine axes, and the buttons
    void ExportAxesAndButtons(int devId);
    /// send both halves of a signed value on the half-axes first and first+1
    void PutHalfAxes(int devId, int first, float value, bool squared, float scale = 1.0f);

    nKernelServer* kernelServer;
    nInputServer* inputServer;
    double frameTime = 0.0;
    nDI8Device* di8Dev = nullptr;
    int deviceNum;
    int axisRangeMin = 0;
    int axisRangeMax = 10;
    int numAxes;
    int numButtons;
    int numPovs;
    int numValues = 0;
    float* valueStore = nullptr;
    nRoot* channels = nullptr;

private:
    nNode node;
};
#endif
