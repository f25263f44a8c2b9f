//------------------------------------------------------------------------------
//  The null graphics device: what it records, refuses and reports.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nnulldevice.h"

namespace
{

nGfxPresentParams Params(int w, int h)
{
    nGfxPresentParams p;
    p.width = w;
    p.height = h;
    p.backBufferFormat = nGfxFormat::X8R8G8B8;
    p.depthStencilFormat = nGfxFormat::D24S8;
    return p;
}

}  // namespace

TEST(NullDevice, RecordsOpenClearPresentAndKeepsTheClearColour)
{
    nNullDevice dev;
    std::string error;
    ASSERT_TRUE(dev.Open(nullptr, Params(640, 480), error));
    dev.Clear(nGfxDevice::ClearColor | nGfxDevice::ClearDepth, 1.0f, 0.5f, 0.0f, 1.0f, 1.0f, 0);
    dev.Present();
    dev.Close();
    const std::vector<std::string> expected = {"Open 640x480 X8R8G8B8 D24S8", "Clear 3", "Present", "Close"};
    EXPECT_EQ(dev.calls, expected);

    ASSERT_TRUE(dev.Open(nullptr, Params(4, 4), error));
    dev.Clear(nGfxDevice::ClearColor, 1.0f, 0.5f, 0.0f, 1.0f, 1.0f, 0);
    unsigned char rgba[4];
    ASSERT_TRUE(dev.ReadPixel(3, 3, rgba));
    EXPECT_EQ(rgba[0], 255);
    EXPECT_EQ(rgba[1], 128);
    EXPECT_EQ(rgba[2], 0);
    EXPECT_FALSE(dev.ReadPixel(4, 0, rgba));
    EXPECT_FALSE(dev.ReadPixel(0, -1, rgba));
}

TEST(NullDevice, RefusedFormatsFailEveryCheck)
{
    nNullDevice dev;
    dev.RefuseFormat(nGfxFormat::D24S8);
    EXPECT_FALSE(dev.CheckDepthFormat(nGfxFormat::X8R8G8B8, nGfxFormat::D24S8));
    EXPECT_FALSE(dev.CheckDepthStencilMatch(nGfxFormat::X8R8G8B8, nGfxFormat::X8R8G8B8, nGfxFormat::D24S8));
    EXPECT_TRUE(dev.CheckDepthFormat(nGfxFormat::X8R8G8B8, nGfxFormat::D16));
    dev.RefuseTexFormat(nGfxTexFormat::A16B16G16R16F);
    EXPECT_FALSE(dev.CheckTextureFormat(nGfxTexFormat::A16B16G16R16F, true));
    EXPECT_TRUE(dev.CheckTextureFormat(nGfxTexFormat::A8R8G8B8, true));
}

TEST(NullDevice, ScriptedStatesComeOnePerTestThenOk)
{
    nNullDevice dev;
    dev.ScriptStates({nGfxDeviceState::Lost, nGfxDeviceState::NotReset});
    EXPECT_EQ(dev.TestCooperativeLevel(), nGfxDeviceState::Lost);
    EXPECT_EQ(dev.TestCooperativeLevel(), nGfxDeviceState::NotReset);
    EXPECT_EQ(dev.TestCooperativeLevel(), nGfxDeviceState::Ok);
    dev.SetResetResult(false);
    EXPECT_FALSE(dev.Reset(Params(8, 8)));
    EXPECT_EQ(dev.calls.back(), "Reset failed 8x8 X8R8G8B8 D24S8");
}

TEST(NullDevice, FailsToOpenWhenTold)
{
    nNullDevice dev;
    dev.SetOpenResult(false);
    std::string error;
    EXPECT_FALSE(dev.Open(nullptr, Params(8, 8), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(dev.IsOpen());
}
