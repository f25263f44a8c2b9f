//------------------------------------------------------------------------------
//  The playing video server on the real OpenGL device, headless under
//  SDL's offscreen driver: the fixture's colour bars are read back from
//  the presented frame, at their place in the window.
//------------------------------------------------------------------------------
#include "glwindowfixture.h"
#include "videofixture.h"
#include "platform/ngfxdeviceprobe.h"

namespace
{

/// the 75% colour bars of the fixture's top two thirds, left to right
const int Bars[7][3] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                        {191, 0, 191},   {191, 0, 0},   {0, 0, 191}};

/// compression and scaling blur the bars a little
constexpr int Tolerance = 32;

class GLPlayTest : public VideoTest
{
protected:
    void SetUp() override
    {
        VideoTest::SetUp();
        this->OpenDisplay(800, 600, true);
        ASSERT_STREQ(this->gfx->GetDevice()->GetName(), "gl");
    }

    /// expects the back-buffer pixel to be the colour, within the tolerance
    void ExpectPixel(int x, int y, const int rgb[3])
    {
        ExpectDevicePixel(this->gfx->GetDevice(), x, y, rgb, Tolerance);
    }

    /// expects the bars in the rectangle (x, y, w, h) of the window
    void ExpectBars(int x, int y, int w, int h)
    {
        for (int i = 0; i < 7; i++)
        {
            this->ExpectPixel(x + (int)((i + 0.5) * w / 7), y + h / 3, Bars[i]);
        }
    }
};

const int Black[3] = {0, 0, 0};

}  // namespace

TEST_F(GLPlayTest, TheColourBarsAppearCentredInThePresentedFrame)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    this->Frame({}, 0.0001);
    this->ExpectBars(240, 180, 320, 240);
    // black around the picture, right up to its edges
    this->ExpectPixel(10, 10, Black);
    this->ExpectPixel(238, 260, Black);
    this->ExpectPixel(561, 260, Black);
    this->ExpectPixel(400, 178, Black);
    this->ExpectPixel(400, 421, Black);
    const int firstBar[3] = {191, 191, 191};
    this->ExpectPixel(241, 182, firstBar);
}

TEST_F(GLPlayTest, AScaledVideoCoversTheWholeWindow)
{
    this->video->SetEnableScaling(true);
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    this->Frame({}, 0.0001);
    this->ExpectBars(0, 0, 800, 600);
}

TEST_F(GLPlayTest, PlaybackEndsByItselfAndTheEngineDrawsAgain)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    int frames = 0;
    while (this->video->IsPlaying() && frames < 100)
    {
        this->Frame();
        frames++;
    }
    EXPECT_FALSE(this->video->IsPlaying());
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0);
    this->gfx->EndScene();
    this->gfx->PresentScene();
    const int green[3] = {0, 255, 0};
    this->ExpectPixel(400, 300, green);
}
