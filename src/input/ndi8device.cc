//------------------------------------------------------------------------------
//  ndi8device.cc
//------------------------------------------------------------------------------
#include "input/ndi8device.h"
#include "platform/nplatforminputdevice.h"

nDI8Device::~nDI8Device()
{
    if (this->device)
    {
        this->device->Unacquire();
    }
}

void nDI8Device::SetInstanceName(const char* name)
{
    n_assert(name);
    this->instanceName = name;
}

void nDI8Device::SetProductName(const char* name)
{
    n_assert(name);
    this->productName = name;
}

void nDI8Device::SetNumAxes(int num)
{
    n_assert(num >= 0);
    this->numAxes = num;
}

void nDI8Device::SetNumButtons(int num)
{
    n_assert(num >= 0);
    this->numButtons = num;
}

void nDI8Device::SetNumPovs(int num)
{
    n_assert(num >= 0);
    this->numPovs = num;
}
