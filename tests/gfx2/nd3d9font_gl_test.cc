//------------------------------------------------------------------------------
//  Text on the real OpenGL device: a short string drawn with DrawText puts
//  ink inside the rectangle its extent gives and none outside; centred
//  text is centred; queued text draws its black shadow one pixel right
//  and down of the text; hundreds of texts in one frame all draw, also
//  where the streamed buffers they go through start over.
//------------------------------------------------------------------------------
#include "texturefixture.h"
#include "platform/ngfxdeviceprobe.h"

#include "gfx2/nd3d9font.h"

#include <functional>

namespace
{

const int Width = 128;
const int Height = 64;

/// the pixels of the back buffer that differ from the background
struct InkMap
{
    std::vector<unsigned char> ink;
    /// the bounds of the ink, right and bottom exclusive
    int left = Width, top = Height, right = 0, bottom = 0;
    int count = 0;
    bool At(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < Width && y < Height && ink[size_t(y * Width + x)];
    }
};

class GLFontTest : public TextureTest
{
protected:
    void SetUp() override
    {
        this->Open(nullptr, Width, Height);
        this->font = static_cast<nD3D9Font*>(this->gfx->GetDefaultFont());
        ASSERT_NE(this->font, nullptr);
    }

    /// begin a scene cleared to a grey level
    void BeginCleared(float grey)
    {
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, grey, grey, grey, 1.0f, 1.0f, 0);
    }
    /// the pixels whose colour passes the test
    InkMap Read(const std::function<bool(const unsigned char*)>& isInk)
    {
        InkMap m;
        m.ink.assign(size_t(Width * Height), 0);
        for (int y = 0; y < Height; y++)
        {
            for (int x = 0; x < Width; x++)
            {
                unsigned char rgba[4] = {0, 0, 0, 0};
                EXPECT_TRUE(nGfxDeviceProbe::Of(this->gfx->GetDevice())->ReadPixel(x, y, rgba));
                if (isInk(rgba))
                {
                    m.ink[size_t(y * Width + x)] = 1;
                    m.left = std::min(m.left, x);
                    m.top = std::min(m.top, y);
                    m.right = std::max(m.right, x + 1);
                    m.bottom = std::max(m.bottom, y + 1);
                    m.count++;
                }
            }
        }
        return m;
    }

    nD3D9Font* font = nullptr;
};

bool Bright(const unsigned char* c)
{
    return c[0] > 64 || c[1] > 64 || c[2] > 64;
}

}  // namespace

TEST_F(GLFontTest, DrawnTextLiesInsideItsComputedRectangle)
{
    const nString text("Hi, 1");
    const vector2 ext = this->gfx->GetTextExtent(text);
    const int x0 = int(Width * 0.25f);
    const int y0 = int(Height * 0.25f);
    const int x1 = x0 + int(ext.x * Width);
    const int y1 = y0 + int(ext.y * Height);
    ASSERT_GT(x1, x0);
    ASSERT_EQ(y1 - y0, 16);

    this->BeginCleared(0.0f);
    this->gfx->DrawText(text, vector4(1, 1, 1, 1), rectangle(vector2(0.25f, 0.25f), vector2(1.0f, 1.0f)),
                        nFont2::Left | nFont2::Top);
    this->gfx->EndScene();
    const InkMap m = this->Read(Bright);
    ASSERT_GT(m.count, 20);
    // a pixel of tolerance for the glyphs' overhang at the sides
    EXPECT_GE(m.left, x0 - 1);
    EXPECT_GE(m.top, y0);
    EXPECT_LE(m.right, x1 + 1);
    EXPECT_LE(m.bottom, y1);
    // the ink spans the measured width
    EXPECT_LE(m.left, x0 + 2);
    EXPECT_GE(m.right, x1 - 3);
}

TEST_F(GLFontTest, ClippedTextStaysInItsRectangle)
{
    this->BeginCleared(0.0f);
    // the rectangle holds only part of the text
    this->gfx->DrawText(nString("WWWWWWWW"), vector4(1, 1, 1, 1), rectangle(vector2(0.0f, 0.0f), vector2(0.25f, 0.125f)),
                        nFont2::Left | nFont2::Top);
    this->gfx->EndScene();
    const InkMap m = this->Read(Bright);
    ASSERT_GT(m.count, 0);
    EXPECT_LE(m.right, Width / 4);
    EXPECT_LE(m.bottom, Height / 8);
}

TEST_F(GLFontTest, CentredTextIsCentred)
{
    this->BeginCleared(0.0f);
    this->gfx->DrawText(nString("HOH"), vector4(1, 1, 1, 1), rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f)),
                        nFont2::Center | nFont2::VCenter);
    this->gfx->EndScene();
    const InkMap m = this->Read(Bright);
    ASSERT_GT(m.count, 20);
    EXPECT_NEAR((m.left + m.right) / 2.0, Width / 2.0, 2.0);
    EXPECT_NEAR((m.top + m.bottom) / 2.0, Height / 2.0, 4.0);
}

TEST_F(GLFontTest, QueuedTextDrawsItsShadowAfterTheScene)
{
    this->BeginCleared(0.5f);
    this->gfx->AddText(nString("Hi"), vector4(1, 1, 1, 1), -1.0f, -1.0f);
    // drawn last in the scene, as the scene server presents
    this->gfx->DrawTextBuffer();
    this->gfx->EndScene();
    const InkMap white = this->Read([](const unsigned char* c) { return c[0] > 200 && c[1] > 200 && c[2] > 200; });
    const InkMap black = this->Read([](const unsigned char* c) { return c[0] < 40 && c[1] < 40 && c[2] < 40; });
    // text pixels at least as covered as those shadow pixels
    const InkMap covered = this->Read([](const unsigned char* c) { return c[0] > 150 && c[1] > 150 && c[2] > 150; });
    ASSERT_GT(white.count, 10);
    ASSERT_GT(black.count, 5);
    EXPECT_EQ(black.left, white.left + 1);
    EXPECT_EQ(black.top, white.top + 1);
    // every shadow pixel sits one pixel right and down of some text ink
    int unexplained = 0;
    for (int y = 0; y < Height; y++)
    {
        for (int x = 0; x < Width; x++)
        {
            if (black.At(x, y) && !covered.At(x - 1, y - 1))
            {
                unexplained++;
            }
        }
    }
    EXPECT_EQ(unexplained, 0);
    EXPECT_EQ(this->gfx->GetNumTextNodes(), 0);
}

TEST_F(GLFontTest, EveryTextOfABusyFrameDrawsWhereTheBuffersStartOver)
{
    // eight cells of 32 x 32 pixels, each with a text in a colour of its
    // own; between two cells hundreds of glyph quads go off the display,
    // so that the text's vertices and indices fill their buffers and
    // start over several times within the frame
    const int rgb[8][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {1, 0, 1}, {0, 1, 1}, {1, 0, 0}, {0, 1, 0}};
    const nString filler("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    const rectangle offDisplay(vector2(1.5f, 1.5f), vector2(2.0f, 2.0f));
    this->BeginCleared(0.0f);
    for (int cell = 0; cell < 8; cell++)
    {
        for (int i = 0; i < 60; i++)
        {
            this->gfx->DrawText(filler, vector4(1, 1, 1, 1), offDisplay, nFont2::Left | nFont2::Top | nFont2::NoClip);
        }
        const float x = float((cell % 4) * 32 + 4) / Width;
        const float y = float((cell / 4) * 32 + 8) / Height;
        const vector4 color(float(rgb[cell][0]), float(rgb[cell][1]), float(rgb[cell][2]), 1.0f);
        this->gfx->DrawText(nString("Hi"), color, rectangle(vector2(x, y), vector2(1.0f, 1.0f)),
                            nFont2::Left | nFont2::Top);
    }
    this->gfx->EndScene();
    for (int cell = 0; cell < 8; cell++)
    {
        SCOPED_TRACE(cell);
        int inColour = 0, foreign = 0;
        for (int y = (cell / 4) * 32; y < (cell / 4) * 32 + 32; y++)
        {
            for (int x = (cell % 4) * 32; x < (cell % 4) * 32 + 32; x++)
            {
                unsigned char c[4] = {0, 0, 0, 0};
                ASSERT_TRUE(nGfxDeviceProbe::Of(this->gfx->GetDevice())->ReadPixel(x, y, c));
                bool full = true;
                for (int k = 0; k < 3; k++)
                {
                    // a channel the cell's colour lacks stays dark
                    foreign += (0 == rgb[cell][k] && c[k] > 40) ? 1 : 0;
                    full = full && (0 == rgb[cell][k] || c[k] > 200);
                }
                inColour += full ? 1 : 0;
            }
        }
        EXPECT_GT(inColour, 15);
        EXPECT_EQ(foreign, 0);
    }
}
