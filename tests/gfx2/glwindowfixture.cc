//------------------------------------------------------------------------------
//  glwindowfixture.cc
//------------------------------------------------------------------------------
#include "glwindowfixture.h"

#include "gfx2/nd3d9package.h"
#include "platform/ngfxdevice.h"
#include "platform/ngfxdeviceprobe.h"

void
ExpectDevicePixel(nGfxDevice* device, int x, int y, const int rgb[3], int tolerance)
{
    unsigned char rgba[4] = {0, 0, 0, 0};
    nGfxDeviceProbe* probe = nGfxDeviceProbe::Of(device);
    ASSERT_NE(probe, nullptr);
    ASSERT_TRUE(probe->ReadPixel(x, y, rgba)) << x << "," << y;
    for (int c = 0; c < 3; c++)
    {
        EXPECT_NEAR(rgba[c], rgb[c], tolerance) << x << "," << y << " channel " << c;
    }
}

void
GLWindowTest::SetUp()
{
    WindowTest::SetUp();
    nd3d9_package();
    this->ks->New("nresourceserver", "/sys/servers/resource");
    this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
    this->gfx->SetDisplayMode(nDisplayMode2("gl test", nDisplayMode2::Windowed, 0, 0, 64, 48, false));
}

void
GLWindowTest::ExpectPixel(int x, int y, int r, int g, int b)
{
    const int rgb[3] = {r, g, b};
    ExpectDevicePixel(this->gfx->GetDevice(), x, y, rgb, this->pixelTolerance);
}
