#ifndef TESTS_GFX2_GLWINDOWFIXTURE_H
#define TESTS_GFX2_GLWINDOWFIXTURE_H
//------------------------------------------------------------------------------
//  The window fixture with the Direct3D 9 server on the real OpenGL device,
//  and the read-back of one pixel that the GL tests compare against.
//------------------------------------------------------------------------------
#include "windowfixture.h"

#include "gfx2/nd3d9server.h"

class nGfxDevice;

/// expects the device's back-buffer pixel to be the colour, within the
/// tolerance per channel: drivers round colours a step either way
void ExpectDevicePixel(nGfxDevice* device, int x, int y, const int rgb[3], int tolerance);

class GLWindowTest : public WindowTest
{
protected:
    /// the graphics and resource servers, set to a 64x48 window; the display
    /// is left for the test to open
    void SetUp() override;

    /// expects the back-buffer pixel to be the colour, within pixelTolerance
    void ExpectPixel(int x, int y, int r, int g, int b);

    nD3D9Server* gfx = nullptr;
    int pixelTolerance = 1;
};
#endif
