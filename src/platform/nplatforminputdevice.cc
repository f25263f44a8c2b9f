//------------------------------------------------------------------------------
//  nplatforminputdevice.cc
//------------------------------------------------------------------------------
#include "platform/nplatforminputdevice.h"

#include <cstring>

/*
 * ~nPlatformInputDevice --
 *     Side effects: closes the SDL controller or joystick it holds.
 */
nPlatformInputDevice::~nPlatformInputDevice()
{
    if (this->controller)
    {
        SDL_GameControllerClose(this->controller);
    }
    else if (this->joystick)
    {
        SDL_JoystickClose(this->joystick);
    }
}

/*
 * Acquire --
 *     Results: Ok when newly acquired, BufferOverflow (the "nothing to do"
 *     success) when it was already, OtherAppHasPrio without the focus,
 *     InputLost when the device is gone.
 *     Side effects: losing the focus unacquires and drops what waits.
 */
int32_t nPlatformInputDevice::Acquire(bool focused)
{
    if (this->lost)
    {
        return nPlatformInputResult::InputLost;
    }
    if (!focused)
    {
        this->Unacquire();
        return nPlatformInputResult::OtherAppHasPrio;
    }
    if (this->acquired)
    {
        return nPlatformInputResult::BufferOverflow;
    }
    this->acquired = true;
    return nPlatformInputResult::Ok;
}

void nPlatformInputDevice::Unacquire()
{
    this->acquired = false;
    this->numRecords = 0;
    this->overflow = false;
}

/*
 * GetDeviceData --
 *     Results: Ok, or BufferOverflow when records were dropped since the
 *     last read (the kept ones are still delivered); NotAcquired or
 *     InputLost with 'count' 0.
 *     Side effects: the moved records leave the queue, oldest first.
 */
int32_t nPlatformInputDevice::GetDeviceData(nPlatformInputRecord* out, int& count)
{
    if (this->lost || !this->acquired)
    {
        count = 0;
        return this->lost ? nPlatformInputResult::InputLost : nPlatformInputResult::NotAcquired;
    }
    if (!out || count < 0)
    {
        count = 0;
        return nPlatformInputResult::InvalidParam;
    }
    const int n = (count < this->numRecords) ? count : this->numRecords;
    memcpy(out, this->records, sizeof(nPlatformInputRecord) * n);
    memmove(this->records, this->records + n, sizeof(nPlatformInputRecord) * (this->numRecords - n));
    this->numRecords -= n;
    count = n;
    const bool overflowed = this->overflow;
    this->overflow = false;
    return overflowed ? nPlatformInputResult::BufferOverflow : nPlatformInputResult::Ok;
}

/*
 * Put --
 *     Side effects: the record waits at the tail while the device is
 *     acquired and the queue has room; a full queue keeps its records and
 *     notes the overflow.
 */
void nPlatformInputDevice::Put(unsigned int offset, int data)
{
    if (!this->acquired || this->lost)
    {
        return;
    }
    if (this->numRecords >= BufferSize)
    {
        this->overflow = true;
        return;
    }
    this->records[this->numRecords++] = {offset, data};
}

void nPlatformInputDevice::MarkLost()
{
    this->Unacquire();
    this->lost = true;
}

void nPlatformInputDevice::SetHandles(SDL_Joystick* joy, SDL_GameController* pad)
{
    this->joystick = joy;
    this->controller = pad;
    this->instanceId = joy ? SDL_JoystickInstanceID(joy) : -1;
    for (int& b : this->buttonMap) b = -1;
}

int nPlatformInputDevice::ControllerButton(int sdlButton) const
{
    return (sdlButton >= 0 && sdlButton < MaxControllerButtons) ? this->buttonMap[sdlButton] : -1;
}

void nPlatformInputDevice::MapControllerButton(int sdlButton, int index)
{
    if (sdlButton >= 0 && sdlButton < MaxControllerButtons)
    {
        this->buttonMap[sdlButton] = index;
    }
}
