//------------------------------------------------------------------------------
//  Labels, text labels, buttons, text buttons, colour labels and the
//  tooltip.
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "gui/nguibutton.h"
#include "gui/nguicolorlabel.h"
#include "gui/nguiskin.h"
#include "gui/nguitextbutton.h"
#include "gui/nguitextlabel.h"
#include "gui/nguitooltip.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::FloatNear;

namespace
{

TEST_F(GuiTest, AScriptMadeTextLabelDrawsCentredClippedWhiteText)
{
    this->Ok("new nguitextlabel /gui/window0/t");
    EXPECT_EQ(this->Ok("/gui/window0/t.getfont"), "GuiDefault");
    EXPECT_EQ(this->Ok("/gui/window0/t.getalignment"), "center");
    EXPECT_EQ(this->Ok("/gui/window0/t.getclipping"), "true");
    EXPECT_EQ(this->Ok("/gui/window0/t.getcolor"), "1.0 1.0 1.0 1.0");
    EXPECT_THAT(Floats(this->Ok("/gui/window0/t.getborder")), ElementsAre(FloatNear(0.005f, 1e-6f), FloatNear(0.0f, 1e-6f)));
    this->Ok("/gui/window0/t.settext hello; /gui/window0/t.setrect 0.1 0.5 0.2 0.3");
    this->Render();
    ASSERT_EQ(this->gfx->texts.size(), 1u);
    const GuiText& t = this->gfx->texts[0];
    EXPECT_EQ(t.text, "hello");
    EXPECT_EQ(t.flags, 0x4u | 0x20u);
    EXPECT_FLOAT_EQ(t.rect.v0.x, 0.105f);
    EXPECT_FLOAT_EQ(t.rect.v1.x, 0.495f);
    EXPECT_FLOAT_EQ(t.rect.v0.y, 0.2f);
    EXPECT_FLOAT_EQ(t.rect.v1.y, 0.3f);
    EXPECT_FLOAT_EQ(t.color.w, 1.0f);
    EXPECT_TRUE(this->gfx->Has("SetFont GuiDefault"));
}

TEST_F(GuiTest, TextFlagsFollowAlignmentClippingAndCentring)
{
    auto* t = New<nGuiTextLabel>("nguitextlabel", "t");
    t->SetText("x");
    struct Case
    {
        const char* script;
        uint flags;
    };
    const Case cases[] = {
        {"setalignment left", 0x8 | 0x20},
        {"setalignment right", 0x10 | 0x20},
        {"setclipping false", 0x10 | 0x20 | 0x40},
        {"setvcenter false", 0x10 | 0x40},
    };
    for (const Case& c : cases)
    {
        this->Ok(std::string("/gui/window0/t.") + c.script);
        this->Render();
        ASSERT_EQ(this->gfx->texts.size(), 1u);
        EXPECT_EQ(this->gfx->texts[0].flags, c.flags) << c.script;
    }
    this->Fails("/gui/window0/t.setalignment middle");
    EXPECT_EQ(this->Ok("/gui/window0/t.getalignment"), "right");
}

TEST_F(GuiTest, IntegersAreWrittenAndReadAsDecimalText)
{
    New<nGuiTextLabel>("nguitextlabel", "t");
    this->Ok("/gui/window0/t.setint 42");
    EXPECT_EQ(this->Ok("/gui/window0/t.gettext"), "42");
    struct Case
    {
        const char* text;
        const char* value;
    };
    for (const Case& c : {Case{"abc", "0"}, Case{"  -17xyz", "-17"}, Case{"+5", "5"},
                          Case{"99999999999999", "2147483647"}, Case{"-99999999999999", "-2147483648"}})
    {
        this->Ok(std::string("/gui/window0/t.settext {") + c.text + "}");
        EXPECT_EQ(this->Ok("/gui/window0/t.getint"), c.value) << c.text;
    }
}

TEST_F(GuiTest, TheTextExtentIsMeasuredInTheLabelsFont)
{
    auto* t = New<nGuiTextLabel>("nguitextlabel", "t");
    t->SetText("hello");
    this->gfx->SetFont(nullptr);
    EXPECT_THAT(Floats(this->Ok("/gui/window0/t.gettextextent")), ElementsAre(FloatNear(0.05f, 1e-6f), FloatNear(0.02f, 1e-6f)));
    EXPECT_EQ(this->gfx->GetFont(), nullptr);
    New<nGuiTextLabel>("nguitextlabel", "u");
    this->Ok("/gui/window0/u.setfont NoSuchFont");
    this->Fails("/gui/window0/u.gettextextent");
}

TEST_F(GuiTest, ALabelKeepsTheFontItFirstDrewWith)
{
    this->gui->AddSystemFont("Other", "Arial", 20, true, false, false);
    auto* t = New<nGuiTextLabel>("nguitextlabel", "t");
    t->SetText("x");
    this->Render();
    t->SetFont("Other");
    this->Render();
    EXPECT_TRUE(this->gfx->Has("SetFont GuiDefault"));
    EXPECT_FALSE(this->gfx->Has("SetFont Other"));
}

/// a focused window with one button "b" at (0.4,0.4)-(0.6,0.6) counting ::fired
class ButtonTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        MakeSkin();
        this->win = FocusedWindow();
        this->win->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f)));
        this->button = New<nGuiWidget>(this->buttonClass, "window1/b");
        this->button->SetRect(rectangle(vector2(0.4f, 0.4f), vector2(0.6f, 0.6f)));
        this->button->SetCommand("incr ::fired");
        this->button->SetDefaultBrush("b1");
        this->button->SetPressedBrush("b2");
        this->button->SetHighlightBrush("b3");
        this->button->SetDisabledBrush("b4");
        this->Ok("set ::fired 0");
    }
    int Fired() { return std::stoi(this->Ok("set ::fired")); }
    bool IsPressed() const
    {
        return this->button->IsA("nguibutton") ? static_cast<nGuiButton*>(this->button)->IsPressed()
                                                : static_cast<nGuiTextButton*>(this->button)->IsPressed();
    }
    /// the colour of the one brush drawn, as the texture and the red channel tell it
    std::string DrawnBrush()
    {
        this->Render();
        if (this->gfx->batches.empty()) return "none";
        const GuiBatch& b = this->gfx->batches[0];
        if (b.color.y < 0.5f) return "b4";
        if (b.texture == "b") return "b3";
        const float u = b.vertices[6];
        return u < 16.0f / 256 ? "b1" : "b2";
    }

    const char* buttonClass = "nguibutton";
    nGuiWindow* win = nullptr;
    nGuiWidget* button = nullptr;
};

TEST_F(ButtonTest, AButtonFiresOnceOnTheReleaseAfterAPress)
{
    this->MouseMove(0.5f, 0.5f);
    this->ButtonDown(0.5f, 0.5f);
    this->Frame();
    EXPECT_TRUE(this->IsPressed());
    EXPECT_EQ(Fired(), 0);
    this->ButtonUp(0.5f, 0.5f);
    this->Frame();
    EXPECT_EQ(Fired(), 1);
    this->ButtonUp(0.5f, 0.5f);
    this->Frame();
    EXPECT_EQ(Fired(), 1);
}

TEST_F(ButtonTest, MovingOutCancelsThePressUnlessTheMouseIsSticky)
{
    for (bool sticky : {false, true})
    {
        this->Ok("set ::fired 0");
        this->button->SetStickyMouse(sticky);
        this->MouseMove(0.5f, 0.5f);
        this->ButtonDown(0.5f, 0.5f);
        this->Frame();
        this->MouseMove(0.9f, 0.9f);
        this->Frame();
        this->ButtonUp(0.9f, 0.9f);
        this->Frame();
        EXPECT_EQ(Fired(), sticky ? 1 : 0) << sticky;
    }
}

TEST_F(ButtonTest, AButtonInAWindowWithoutFocusIgnoresClicks)
{
    nGuiWindow* other = this->gui->NewWindow("nguiwindow", true);
    other->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.1f, 0.1f)));
    EXPECT_FALSE(this->win->HasFocus());
    EXPECT_FALSE(this->button->OnButtonDown(vector2(0.5f, 0.5f)));
    EXPECT_FALSE(this->IsPressed());
    // a button outside any window has no focus either
    auto* loose = New<nGuiButton>("nguibutton", "/loose");
    EXPECT_FALSE(loose->OnButtonDown(vector2(0.5f, 0.5f)));
    // a text button asks for no focus
    auto* tb = New<nGuiTextButton>("nguitextbutton", "window1/tb");
    tb->SetRect(rectangle(vector2(0.4f, 0.4f), vector2(0.6f, 0.6f)));
    EXPECT_TRUE(tb->OnButtonDown(vector2(0.5f, 0.5f)));
    EXPECT_TRUE(tb->IsPressed());
}

TEST_F(ButtonTest, AClickOnAnotherWindowBringsItToTheTopAndPassesTheClick)
{
    nGuiWindow* other = this->gui->NewWindow("nguiwindow", true);
    other->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.1f, 0.1f)));
    this->ButtonDown(0.5f, 0.5f);
    this->Frame();
    EXPECT_EQ(this->root->GetTopMostWindow(), this->win);
    EXPECT_TRUE(this->win->HasFocus());
    EXPECT_TRUE(this->IsPressed());
    // a modal top-most window swallows clicks outside it
    this->ButtonUp(0.5f, 0.5f);
    other->SetModal(true);
    this->root->SetTopMostWindow(other);
    this->ButtonDown(0.5f, 0.5f);
    this->Frame();
    EXPECT_EQ(this->root->GetTopMostWindow(), other);
    EXPECT_TRUE(this->gui->IsMouseOverGui());
}

TEST_F(ButtonTest, TheBrushFollowsPressHoverAndEnable)
{
    EXPECT_EQ(DrawnBrush(), "b1");
    this->MouseMove(0.5f, 0.5f);
    this->Frame();
    EXPECT_EQ(DrawnBrush(), "b3");
    this->ButtonDown(0.5f, 0.5f);
    this->Frame();
    EXPECT_EQ(DrawnBrush(), "b2");
    this->ButtonUp(0.5f, 0.5f);
    this->Frame();
    this->Ok("/gui/window0/window1/b.disable");
    EXPECT_EQ(DrawnBrush(), "b4");
}

class TextButtonTest : public ButtonTest
{
protected:
    void SetUp() override
    {
        this->buttonClass = "nguitextbutton";
        ButtonTest::SetUp();
    }
};

TEST_F(TextButtonTest, ATextButtonFiresLikeAButtonAndHasNoDisabledLook)
{
    auto* tb = static_cast<nGuiTextButton*>(this->button);
    tb->SetText("go");
    this->ButtonDown(0.5f, 0.5f);
    this->Frame();
    this->Render();
    ASSERT_EQ(this->gfx->texts.size(), 1u);
    EXPECT_FLOAT_EQ(this->gfx->texts[0].rect.v0.x, 0.4f + 0.005f + 0.0015f);
    this->ButtonUp(0.5f, 0.5f);
    this->Frame();
    EXPECT_EQ(Fired(), 1);
    this->Ok("/gui/window0/window1/b.disable");
    this->MouseMove(0.9f, 0.9f);
    this->Frame();
    EXPECT_EQ(DrawnBrush(), "b1");
}

TEST_F(GuiTest, AColourLabelLoadsTheSkinsWhiteTextureWhenFirstDrawn)
{
    nGuiSkin* skin = MakeSkin();
    skin->SetTexturePrefix("gui/");
    skin->SetTexturePostfix(".png");
    auto* c = New<nGuiColorLabel>("nguicolorlabel", "c");
    c->SetColor(vector4(0.2f, 0.4f, 0.6f, 0.8f));
    c->Show();
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 1u);
    EXPECT_EQ(this->gfx->batches[0].texture, "gui_white_png");
    EXPECT_NEAR(this->gfx->batches[0].color.z, 0.6f, 1e-6f);
    c->Hide();
    c->Show();
    this->Render();
    EXPECT_EQ(this->gfx->batches.size(), 1u);
}

/// the tooltip "/gui/Tooltip" shown by two requests
class ToolTipTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        MakeSkin();
        this->tip = New<nGuiToolTip>("nguitooltip", "/gui/Tooltip");
        this->tip->SetDefaultBrush("b1");
    }
    void Request()
    {
        this->gui->ShowToolTip("help me", vector4(0, 0, 0, 1));
        this->gui->ShowToolTip("help me", vector4(0, 0, 0, 1));
    }
    nGuiToolTip* tip = nullptr;
};

TEST_F(ToolTipTest, TheTooltipFadesInOverItsFadeTime)
{
    this->SetNow(3.0);
    Request();
    struct Step
    {
        double t;
        float alpha;
    };
    for (const Step& s : {Step{3.0, 0.0f}, Step{3.075, 0.5f}, Step{3.15, 1.0f}, Step{4.0, 1.0f}})
    {
        this->SetNow(s.t);
        this->gui->ShowToolTip("help me", vector4(0, 0, 0, 1));
        this->Render();
        ASSERT_FALSE(this->gfx->texts.empty()) << s.t;
        EXPECT_NEAR(this->gfx->texts.back().color.w, s.alpha, 1e-4f) << s.t;
        EXPECT_NEAR(this->gfx->batches.back().color.w, s.alpha, 1e-4f) << s.t;
    }
}

TEST_F(ToolTipTest, TheTooltipSitsBelowTheMouseAndStaysOnScreen)
{
    this->MouseMove(0.5f, 0.5f);
    this->Frame();
    Request();
    const rectangle r = this->tip->GetRect();
    const float w = 7 * 0.01f + 2 * 0.005f + 0.0025f;
    const float h = 0.02f;
    EXPECT_FLOAT_EQ(r.v0.x, 0.5f);
    EXPECT_FLOAT_EQ(r.v0.y, 0.5f + 32.0f / 600);
    EXPECT_FLOAT_EQ(r.width(), w);
    EXPECT_NEAR(r.height(), h, 1e-6f);
    this->MouseMove(0.99f, 0.99f);
    this->Frame();
    const rectangle c = this->tip->GetRect();
    EXPECT_FLOAT_EQ(c.v1.x, 1.0f);
    EXPECT_FLOAT_EQ(c.v1.y, 1.0f);
    EXPECT_NEAR(c.width(), w, 1e-6f);
    EXPECT_NEAR(c.height(), h, 1e-6f);
}

}  // namespace
