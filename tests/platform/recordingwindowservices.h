#ifndef TESTS_PLATFORM_RECORDINGWINDOWSERVICES_H
#define TESTS_PLATFORM_RECORDINGWINDOWSERVICES_H
//------------------------------------------------------------------------------
//  Window services for tests that draw on the null device: they act on no
//  window and write each call into 'calls' ("CursorImage WxH hot X Y",
//  "ShowImageCursor 0|1", "ShowCursor 0|1", "GammaRamp"), keep the last
//  ramp and cursor pixels, succeed or refuse as told and report one
//  adapter "null" with the modes in 'modes'.
//------------------------------------------------------------------------------
#include "platform/nwindowservices.h"

#include <string>
#include <vector>

class RecordingWindowServices : public nWindowServices
{
public:
    bool SetCursorImage(const unsigned char* rgba, int width, int height, int hotX, int hotY) override;
    void ShowImageCursor(bool show) override;
    void ShowCursor(bool show) override;
    bool SetGammaRamp(const unsigned short* red, const unsigned short* green, const unsigned short* blue) override;
    std::vector<Adapter> GetAdapters() const override;

    std::vector<std::string> calls;
    /// whether SetGammaRamp succeeds, and the last ramp it got
    bool gammaResult = true;
    unsigned short gammaRamp[3][256] = {};
    /// whether SetCursorImage succeeds, and the pixels of the last image
    bool cursorResult = true;
    std::vector<unsigned char> cursorPixels;
    std::vector<Adapter::Mode> modes{{640, 480, 60}, {800, 600, 60}, {1024, 768, 60}};
};
#endif
