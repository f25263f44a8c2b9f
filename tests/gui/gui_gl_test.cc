//------------------------------------------------------------------------------
//  The GUI drawn on the real OpenGL device: a label with a skin brush of a
//  two-coloured texture over a black frame. The frame's screenshot must
//  show the brush's colours exactly over the label's rectangle, and the
//  statistics must count one draw call for the brush batch.
//------------------------------------------------------------------------------
#include "tclrun.h"
#include "capturelog.h"
#include "usertempdir.h"

#include "audio3/naudio3package.h"
#include "file/nfilepackage.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/ngfx2package.h"
#include "gui/nguipackage.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"
#include "gui/nguiwindow.h"
#include "gui/nguicanvas.h"
#include "gui/nguitextureview.h"
#include "input/ninputpackage.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "resource/nresourcepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

const unsigned char red[4] = {220, 30, 30, 255};
const unsigned char green[4] = {30, 220, 30, 255};
const unsigned char black[4] = {0, 0, 0, 255};

/// a pixel of a screenshot and the colour it must have
struct Probe
{
    int x, y;
    const unsigned char* color;
};

class GuiGLTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->dir = MakeTempDir("guiglt");
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nfile_package, nsignals_package, nscript_package, nvariable_package, nresource_package, ngfx2_package,
            ninput_package, naudio3_package, ngui_package});
        nd3d9_package();
        this->ks->SetLogHandler(&this->log);
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        nFileServer2* fs = this->ks->GetFileServer();
        fs->SetAssign("tst", (this->dir + "/").c_str());
        fs->SetAssign("shaders", ENGINE_SHADERS_DIR);
        // a 16 x 16 texture: the left half red, the right half green
        unsigned char img[16 * 16 * 4];
        for (int y = 0; y < 16; y++)
        {
            for (int x = 0; x < 16; x++) std::copy(x < 8 ? red : green, (x < 8 ? red : green) + 4, img + (y * 16 + x) * 4);
        }
        ASSERT_TRUE(stbi_write_bmp((this->dir + "/halves.bmp").c_str(), 16, 16, 4, img));
    }

    void TearDown() override
    {
        if (this->gui && this->gui->IsOpen()) this->gui->Close();
        if (this->gfx->IsDisplayOpen()) this->gfx->CloseDisplay();
        this->ks.reset();
        std::filesystem::remove_all(this->dir);
    }

    /// a display (64 x 48 unless given) with the GUI open, a shown root
    /// window "/gui/window0" and the skin "plain": the brush "halves" (the
    /// whole texture) and "left" (its red half)
    void OpenGui(int width = 64, int height = 48)
    {
        TclOk(this->script, "/sys/servers/gfx.setdisplaymode \"gui\" \"windowed\" 0 0 " + std::to_string(width) + " " +
                                std::to_string(height) + " false");
        TclOk(this->script, R"(
            proc OnGuiServerOpen {} {}
            proc OnGuiServerClose {} {}
        )");
        ASSERT_TRUE(this->gfx->OpenDisplay()) << this->log.text;
        this->gfx->SetCamera(nCamera2());
        this->gui = static_cast<nGuiServer*>(this->ks->New("nguiserver", "/sys/servers/gui"));
        this->gui->SetRootPath("/gui");
        this->gui->SetDisplaySize(vector2(float(width), float(height)));
        ASSERT_TRUE(this->gui->Open());
        this->gui->SetRootWindowPointer(this->gui->NewWindow("nguiwindow", true));
        TclOk(this->script, R"(
            set skin [/sys/servers/gui.newskin plain]
            $skin.settextureprefix tst:
            $skin.settexturepostfix .bmp
            $skin.beginbrushes
            $skin.addbrush halves halves 0 0 16 16 1 1 1 1
            $skin.addbrush left halves 0 0 8 16 1 1 1 1
            $skin.endbrushes
            /sys/servers/gui.setskin $skin
        )");
    }

    /// one frame of the GUI alone over black
    void RenderFrame()
    {
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        this->gui->Render();
        this->gfx->EndScene();
        this->gfx->PresentScene();
    }

    /// saves the 64 x 48 frame as the file and checks the pixels, 3 levels of tolerance
    void ExpectPixels(const char* file, std::initializer_list<Probe> probes)
    {
        TclOk(this->script, std::string("/sys/servers/gfx.savescreenshot tst:") + file);
        int w = 0, h = 0, n = 0;
        unsigned char* img = stbi_load((this->dir + "/" + file).c_str(), &w, &h, &n, 4);
        ASSERT_NE(img, nullptr) << stbi_failure_reason();
        EXPECT_EQ(w, 64);
        EXPECT_EQ(h, 48);
        for (const Probe& p : probes)
        {
            const unsigned char* px = img + (p.y * w + p.x) * 4;
            for (int c = 0; c < 3; c++)
            {
                EXPECT_NEAR(px[c], p.color[c], 3) << "pixel " << p.x << "," << p.y << " channel " << c;
            }
        }
        stbi_image_free(img);
    }

    /// the frame saved as the file, RGBA rows from the top; empty when it could not be read
    std::vector<unsigned char> Shot(const char* file, int& w, int& h)
    {
        TclOk(this->script, std::string("/sys/servers/gfx.savescreenshot tst:") + file);
        int n = 0;
        unsigned char* img = stbi_load((this->dir + "/" + file).c_str(), &w, &h, &n, 4);
        if (!img) return {};
        std::vector<unsigned char> pixels(img, img + size_t(w) * size_t(h) * 4);
        stbi_image_free(img);
        return pixels;
    }

    int StatI(const char* name)
    {
        nEnv* env = static_cast<nEnv*>(this->ks->Lookup((std::string("/sys/var/") + name).c_str()));
        return env ? env->GetI() : -1;
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nD3D9Server* gfx = nullptr;
    nGuiServer* gui = nullptr;
    std::string dir;
};

TEST_F(GuiGLTest, ABrushCoversItsLabelsRectangleWithItsTexels)
{
    ASSERT_NO_FATAL_FAILURE(this->OpenGui());
    TclOk(this->script, R"(
        new nguilabel /gui/window0/label
        /gui/window0/label.setrect 0.25 0.75 0.25 0.75
        /gui/window0/label.setdefaultbrush halves
    )");
    ASSERT_NO_FATAL_FAILURE(this->RenderFrame());
    EXPECT_EQ(this->StatI("gfxNumDrawCalls"), 1);
    EXPECT_EQ(this->StatI("gfxNumPrimitives"), 2);

    // the label covers x 16..48 and y 12..36: red on its left half, green on
    // its right, black around it
    this->ExpectPixels("shot.png", {{18, 14, red},
                                    {28, 24, red},
                                    {36, 24, green},
                                    {46, 34, green},
                                    {14, 24, black},
                                    {50, 24, black},
                                    {32, 10, black},
                                    {32, 38, black}});
}

TEST_F(GuiGLTest, CanvasLinesShowAboveTheCanvasBackground)
{
    ASSERT_NO_FATAL_FAILURE(this->OpenGui());
    TclOk(this->script, R"(
        new nguicanvas /gui/window0/canvas
        /gui/window0/canvas.setrect 0.25 0.75 0.25 0.75
        /gui/window0/canvas.setdefaultbrush halves
    )");
    // a white line across the canvas through the middle of pixel row 24
    nGuiCanvas* canvas = static_cast<nGuiCanvas*>(this->ks->Lookup("/gui/window0/canvas"));
    const float y = (24.5f - 12.0f) / 24.0f;
    canvas->BeginCurve(1.0f, 1.0f, 1.0f, 1.0f);
    canvas->AddLineSegment(vector2(0.0f, y), vector2(0.5f, 0.0f));
    canvas->AddLineSegment(vector2(0.5f, y), vector2(0.5f, 0.0f));
    canvas->EndCurve();
    ASSERT_NO_FATAL_FAILURE(this->RenderFrame());

    TclOk(this->script, "/sys/servers/gfx.savescreenshot tst:lines.png");
    int w = 0, h = 0, n = 0;
    unsigned char* img = stbi_load((this->dir + "/lines.png").c_str(), &w, &h, &n, 4);
    ASSERT_NE(img, nullptr) << stbi_failure_reason();
    ASSERT_EQ(w, 64);
    auto near = [&](int x, int yy, const unsigned char* c) {
        const unsigned char* px = img + (yy * w + x) * 4;
        for (int k = 0; k < 3; k++)
        {
            if (std::abs(int(px[k]) - int(c[k])) > 3) return false;
        }
        return true;
    };
    const unsigned char white[4] = {255, 255, 255, 255};
    // the line is white over the red and the green half; the background
    // shows above and below it
    for (int x : {20, 28, 36, 44})
    {
        bool lit = false;
        for (int yy = 23; yy <= 25; yy++) lit = lit || near(x, yy, white);
        EXPECT_TRUE(lit) << "no line at x " << x;
    }
    EXPECT_TRUE(near(20, 16, red));
    EXPECT_TRUE(near(44, 32, green));
    stbi_image_free(img);
}

TEST_F(GuiGLTest, ABrushAfterATextIsDrawnWithTheGuisOwnEffect)
{
    ASSERT_NO_FATAL_FAILURE(this->OpenGui());
    // a text in the middle of the brushes: the second brush comes after it
    // in the same batch of the GUI's pass
    TclOk(this->script, R"(
        new nguilabel /gui/window0/first
        /gui/window0/first.setrect 0.0 0.25 0.0 0.25
        /gui/window0/first.setdefaultbrush halves
        new nguitextlabel /gui/window0/text
        /gui/window0/text.setrect 0.0 1.0 0.75 1.0
        /gui/window0/text.settext "x"
        new nguilabel /gui/window0/second
        /gui/window0/second.setrect 0.5 0.75 0.25 0.75
        /gui/window0/second.setdefaultbrush left
    )");
    ASSERT_NO_FATAL_FAILURE(this->RenderFrame());

    // the second label covers x 32..48 and y 12..36 in red only; black
    // around it and over the rest of the upper half
    this->ExpectPixels("after-text.png", {{34, 14, red},
                                          {40, 24, red},
                                          {46, 34, red},
                                          {28, 24, black},
                                          {52, 24, black},
                                          {40, 8, black},
                                          {20, 20, black}});
}

TEST_F(GuiGLTest, ABrushDrawnAfterATextStillShows)
{
    ASSERT_NO_FATAL_FAILURE(this->OpenGui());
    // a text in the top left corner first, then the brush in the middle
    TclOk(this->script, R"(
        /sys/servers/gui.addsystemfont small Arial 8 false false false
        new nguitextlabel /gui/window0/a
        /gui/window0/a.setrect 0.0 0.2 0.0 0.2
        /gui/window0/a.setfont small
        /gui/window0/a.settext "x"
        new nguilabel /gui/window0/b
        /gui/window0/b.setrect 0.25 0.75 0.25 0.75
        /gui/window0/b.setdefaultbrush halves
    )");
    ASSERT_NO_FATAL_FAILURE(this->RenderFrame());
    this->ExpectPixels("after-small-text.png", {{20, 24, red}, {44, 24, green}});
}

TEST_F(GuiGLTest, ATextureReleasedAfterAFrameIsNotTouchedByTheNext)
{
    ASSERT_NO_FATAL_FAILURE(this->OpenGui());
    nTexture2* tex = this->gfx->NewTexture("halves");
    tex->SetFilename(nString("tst:halves.bmp"));
    ASSERT_TRUE(tex->Load());
    nGuiTextureView* view = static_cast<nGuiTextureView*>(this->ks->New("nguitextureview", "/gui/window0/view"));
    view->SetRect(rectangle(vector2(0.25f, 0.25f), vector2(0.75f, 0.75f)));
    view->SetTexture(tex);
    ASSERT_NO_FATAL_FAILURE(this->RenderFrame());
    // the view and its texture go, as a match's HUD does when the match ends
    view->Release();
    tex->Release();
    ASSERT_NO_FATAL_FAILURE(this->RenderFrame());
    EXPECT_EQ(this->ks->Lookup("/gui/window0/view"), nullptr);
}

/// the pixels of x0..x1 and y0..y1 (ends excluded) of a frame w pixels wide that pass the test
int CountPixels(const std::vector<unsigned char>& img, int w, int x0, int y0, int x1, int y1,
                bool (*test)(const unsigned char*))
{
    int n = 0;
    for (int y = y0; y < y1; y++)
    {
        for (int x = x0; x < x1; x++) n += test(&img[(size_t(y) * size_t(w) + size_t(x)) * 4]) ? 1 : 0;
    }
    return n;
}

bool IsWhite(const unsigned char* p)
{
    return p[0] > 180 && p[1] > 180 && p[2] > 180;
}

bool IsBlue(const unsigned char* p)
{
    return p[2] > 150 && p[0] < 100 && p[1] < 100;
}

bool IsRed(const unsigned char* p)
{
    return std::abs(int(p[0]) - red[0]) <= 3 && std::abs(int(p[1]) - red[1]) <= 3 && std::abs(int(p[2]) - red[2]) <= 3;
}

bool IsGreen(const unsigned char* p)
{
    return std::abs(int(p[0]) - green[0]) <= 3 && std::abs(int(p[1]) - green[1]) <= 3 &&
           std::abs(int(p[2]) - green[2]) <= 3;
}

TEST_F(GuiGLTest, TextsAndBrushesKeepTheirOrderInFewDraws)
{
    ASSERT_NO_FATAL_FAILURE(this->OpenGui(128, 96));
    // top left: a brush, then blue text in a big font over it; top right:
    // white text in a small font (the font's atlas changes), then a red
    // brush over it all; below: four cells, each a brush and then white
    // text clipped to the cell, the next cell's brush right beside it
    TclOk(this->script, R"(
        /sys/servers/gui.addsystemfont big "DejaVu Sans" 24 true false false
        /sys/servers/gui.addsystemfont small "DejaVu Sans" 12 true false false
        new nguilabel /gui/window0/under
        /gui/window0/under.setrect 0.0 0.5 0.0 0.5
        /gui/window0/under.setdefaultbrush halves
        new nguitextlabel /gui/window0/blue
        /gui/window0/blue.setrect 0.0 0.5 0.0 0.5
        /gui/window0/blue.setfont big
        /gui/window0/blue.setcolor 0 0 1 1
        /gui/window0/blue.settext "HH"
        new nguitextlabel /gui/window0/hidden
        /gui/window0/hidden.setrect 0.5 1.0 0.0 0.5
        /gui/window0/hidden.setfont small
        /gui/window0/hidden.settext "HHHH"
        new nguilabel /gui/window0/cover
        /gui/window0/cover.setrect 0.5 1.0 0.0 0.5
        /gui/window0/cover.setdefaultbrush left
        for {set i 0} {$i < 4} {incr i} {
            new nguilabel /gui/window0/cell$i
            /gui/window0/cell$i.setrect [expr {$i * 0.25}] [expr {($i + 1) * 0.25}] 0.5 1.0
            /gui/window0/cell$i.setdefaultbrush halves
            new nguitextlabel /gui/window0/text$i
            /gui/window0/text$i.setrect [expr {$i * 0.25}] [expr {($i + 1) * 0.25}] 0.5 1.0
            /gui/window0/text$i.setfont small
            /gui/window0/text$i.settext "HHHHHHHHHHHH"
        }
    )");
    ASSERT_NO_FATAL_FAILURE(this->RenderFrame());
    // the first brush (before the atlas changes), the blue text, the hidden
    // text (before the brush over it), the brushes and the cells' texts
    EXPECT_EQ(this->StatI("gfxNumDrawCalls"), 5);

    int w = 0, h = 0;
    const std::vector<unsigned char> img = this->Shot("order.png", w, h);
    ASSERT_EQ(w, 128);
    ASSERT_EQ(h, 96);
    EXPECT_GT(CountPixels(img, w, 0, 0, 64, 48, IsBlue), 20) << "the text over the brush";
    EXPECT_GT(CountPixels(img, w, 0, 0, 32, 48, IsRed), 200) << "the brush under the text";
    EXPECT_GT(CountPixels(img, w, 32, 0, 64, 48, IsGreen), 200) << "the brush under the text";
    EXPECT_EQ(CountPixels(img, w, 65, 1, 127, 47, IsWhite), 0) << "text under the covering brush";
    // (the red half's last texels blend into the green one)
    EXPECT_EQ(CountPixels(img, w, 65, 1, 120, 47, IsRed), 55 * 46) << "the covering brush";
    for (int i = 0; i < 4; i++)
    {
        const int x0 = i * 32;
        EXPECT_GT(CountPixels(img, w, x0, 48, x0 + 32, 96, IsWhite), 20) << "cell " << i;
        EXPECT_GT(CountPixels(img, w, x0, 49, x0 + 16, 95, IsRed), 100) << "cell " << i;
        EXPECT_GT(CountPixels(img, w, x0 + 16, 49, x0 + 32, 95, IsGreen), 100) << "cell " << i;
    }
}

}  // namespace
