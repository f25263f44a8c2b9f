//------------------------------------------------------------------------------
//  recordingwindowservices.cc
//------------------------------------------------------------------------------
#include "recordingwindowservices.h"

#include <algorithm>

bool RecordingWindowServices::SetCursorImage(const unsigned char* rgba, int width, int height, int hotX, int hotY)
{
    this->calls.push_back("CursorImage " + std::to_string(width) + "x" + std::to_string(height) + " hot " +
                          std::to_string(hotX) + " " + std::to_string(hotY));
    if (!this->cursorResult || !rgba || width <= 0 || height <= 0)
    {
        return false;
    }
    this->cursorPixels.assign(rgba, rgba + (size_t)width * height * 4);
    return true;
}

void RecordingWindowServices::ShowImageCursor(bool show)
{
    this->calls.push_back(std::string("ShowImageCursor ") + (show ? "1" : "0"));
}

void RecordingWindowServices::ShowCursor(bool show)
{
    this->calls.push_back(std::string("ShowCursor ") + (show ? "1" : "0"));
}

bool RecordingWindowServices::SetGammaRamp(const unsigned short* red, const unsigned short* green,
                                           const unsigned short* blue)
{
    this->calls.push_back("GammaRamp");
    std::copy_n(red, 256, this->gammaRamp[0]);
    std::copy_n(green, 256, this->gammaRamp[1]);
    std::copy_n(blue, 256, this->gammaRamp[2]);
    return this->gammaResult;
}

std::vector<nWindowServices::Adapter> RecordingWindowServices::GetAdapters() const
{
    Adapter a;
    a.deviceName = "null";
    a.description = "recording device";
    a.modes = this->modes;
    return {a};
}
