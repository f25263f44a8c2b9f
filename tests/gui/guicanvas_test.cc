//------------------------------------------------------------------------------
//  The canvas (curves as pixel line runs, labels, rebuilds) and the
//  texture view (its texture unfaded by the window).
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "gui/nguicanvas.h"
#include "gui/nguiskin.h"
#include "gui/nguitextureview.h"

#include <algorithm>

namespace
{

class CanvasTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        nDisplayMode2 mode;
        mode.SetWidth(1024);
        mode.SetHeight(768);
        this->gfx->SetDisplayMode(mode);
        this->MakeSkin();
        this->canvas = this->New<nGuiCanvas>("nguicanvas", "canvas");
        this->canvas->SetRect(rectangle(vector2(0.5f, 0.5f), vector2(1.0f, 1.0f)));
    }

    void Curve(int segments, const vector4& c = vector4(1, 1, 1, 1))
    {
        this->canvas->BeginCurve(c.x, c.y, c.z, c.w);
        for (int i = 0; i < segments; i++)
        {
            EXPECT_TRUE(this->canvas->AddLineSegment(vector2(i / 3.0f, 0.0f), vector2(1.0f / 3.0f, 1.0f)));
        }
        this->canvas->EndCurve();
    }

    int IndexOf(const std::string& prefix)
    {
        const auto& calls = this->gfx->calls;
        for (size_t i = 0; i < calls.size(); i++)
        {
            if (calls[i].rfind(prefix, 0) == 0) return int(i);
        }
        return -1;
    }

    nGuiCanvas* canvas = nullptr;
};

TEST_F(CanvasTest, CurvePointsMapToDisplayPixelsOfTheCanvasRect)
{
    this->canvas->BeginCurve(1, 0, 0, 1);
    this->canvas->AddLineSegment(vector2(0, 0), vector2(1, 1));
    this->canvas->EndCurve();
    this->canvas->Update();
    const auto& v = this->canvas->GetVertices();
    ASSERT_EQ(v.size(), 2u);
    EXPECT_FLOAT_EQ(v[0].x, 512.0f);
    EXPECT_FLOAT_EQ(v[0].y, 384.0f);
    EXPECT_FLOAT_EQ(v[1].x, 1024.0f);
    EXPECT_FLOAT_EQ(v[1].y, 768.0f);
}

TEST_F(CanvasTest, ThreeSegmentsGiveOneRunOfFourVerticesDrawnAboveTheBackground)
{
    this->canvas->SetDefaultBrush("b1");
    this->Curve(3, vector4(0, 1, 0, 1));
    this->Render();
    ASSERT_EQ(this->canvas->GetLineRuns().size(), 1u);
    EXPECT_EQ(this->canvas->GetLineRuns()[0].firstVertex, 0);
    EXPECT_EQ(this->canvas->GetLineRuns()[0].numVertices, 4);
    EXPECT_EQ(this->gfx->Count("DrawLines2d 4"), 1);
    // the background brush was drawn before the lines, not after them
    const int brush = this->IndexOf("DrawNS");
    const int lines = this->IndexOf("BeginLines");
    ASSERT_GE(brush, 0);
    ASSERT_GE(lines, 0);
    EXPECT_LT(brush, lines);
}

TEST_F(CanvasTest, ACanvasRebuildsOnlyWhenChanged)
{
    this->Curve(2);
    this->Curve(1);
    this->Render();
    this->Render();
    EXPECT_EQ(this->canvas->GetNumUpdates(), 1);
    this->canvas->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.5f, 0.5f)));
    this->Render();
    this->Render();
    EXPECT_EQ(this->canvas->GetNumUpdates(), 2);
    EXPECT_EQ(this->canvas->GetLineRuns().size(), 2u);
    EXPECT_EQ(this->canvas->GetVertices().size(), 5u);
}

TEST_F(CanvasTest, CurvesWithoutSegmentsAreSkippedAndNoCurvesDrawNoLines)
{
    this->Render();
    EXPECT_TRUE(this->canvas->GetVertices().empty());
    EXPECT_EQ(this->gfx->Count("BeginLines"), 0);
    this->Curve(0);
    this->Curve(2);
    this->Curve(0);
    this->Render();
    ASSERT_EQ(this->canvas->GetLineRuns().size(), 1u);
    EXPECT_EQ(this->canvas->GetLineRuns()[0].numVertices, 3);
    EXPECT_EQ(this->canvas->GetVertices().size(), 3u);
    EXPECT_FALSE(this->canvas->AddLineSegment(vector2(0, 0), vector2(1, 1)));
}

TEST_F(CanvasTest, LabelsTakeTheOwnerWindowsAlphaOrOneWithoutAWindow)
{
    const int id = this->canvas->AddTextLabel("hi", vector2(0.5f, 0.5f), vector4(1, 0, 0, 0.3f), "GuiDefault");
    EXPECT_EQ(id, 0);
    const rectangle r = this->canvas->GetTextLabelRect(id);
    EXPECT_FLOAT_EQ(r.v0.x, 0.25f);
    EXPECT_FLOAT_EQ(r.v0.y, 0.25f);
    this->Render();
    ASSERT_EQ(this->gfx->texts.size(), 1u);
    EXPECT_EQ(this->gfx->texts[0].text, "hi");
    EXPECT_FLOAT_EQ(this->gfx->texts[0].color.w, 1.0f);
    EXPECT_FLOAT_EQ(this->gfx->texts[0].color.x, 1.0f);

    nGuiCanvas* loose = this->New<nGuiCanvas>("nguicanvas", "/gui/loose");
    loose->AddTextLabel("free", vector2(0, 0), vector4(0, 0, 1, 0.2f), "GuiDefault");
    this->gfx->texts.clear();
    loose->Render();
    ASSERT_EQ(this->gfx->texts.size(), 1u);
    EXPECT_FLOAT_EQ(this->gfx->texts[0].color.w, 1.0f);
}

TEST_F(CanvasTest, UnknownAndNegativeLabelIdsGiveAnEmptyRect)
{
    this->canvas->AddTextLabel("x", vector2(0.5f, 0.5f), vector4(1, 1, 1, 1), "GuiDefault");
    for (int id : {1, -1, -100})
    {
        const rectangle r = this->canvas->GetTextLabelRect(id);
        EXPECT_EQ(r.v0.x, 0.0f);
        EXPECT_EQ(r.v1.y, 0.0f);
        EXPECT_NE(this->log.text.find("textlabel with ID " + std::to_string(id) + " not found!"), std::string::npos);
    }
}

TEST_F(GuiTest, ATextureViewIgnoresTheWindowsFadeButNotItsColour)
{
    this->MakeSkin();
    nGuiWindow* w = this->gui->NewWindow("nguiwindow", false);
    w->SetFadeInTime(1.0);
    w->Show();
    nGuiTextureView* view = this->New<nGuiTextureView>("nguitextureview", std::string(w->GetName()) + "/view");
    view->SetDefaultBrush("b1");
    nTexture2* tex = this->gfx->NewTexture("bar");
    tex->SetFilename("bar");
    ASSERT_TRUE(tex->Load());
    view->SetTexture(tex);
    view->SetColor(vector4(0.5f, 1.0f, 1.0f, 1.0f));
    this->Render();  // the first frame starts the fade
    this->SetNow(0.5);
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 2u);
    EXPECT_NEAR(this->gfx->batches[0].color.w, 0.5f, 1e-3f);
    EXPECT_EQ(this->gfx->batches[1].texture, "bar");
    EXPECT_FLOAT_EQ(this->gfx->batches[1].color.w, 1.0f);
    EXPECT_FLOAT_EQ(this->gfx->batches[1].color.x, 0.5f);
    // the window's colour is back for what follows
    EXPECT_NEAR(this->gui->GetGlobalColor().w, 1.0f, 1e-6f);
    tex->Release();
}

}  // namespace
