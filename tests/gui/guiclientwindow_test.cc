//------------------------------------------------------------------------------
//  Windows: focus and the top-most window, modality, escape, closing with
//  its fade; client windows with their decorations, moving and resizing;
//  the text window over a text view.
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "gui/nguiclientwindow.h"
#include "gui/nguiskin.h"
#include "gui/nguitextwindow.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/nmodule.h"

#include <fstream>

namespace
{

rectangle Rect(float l, float t, float r, float b)
{
    return rectangle(vector2(l, t), vector2(r, b));
}

void ExpectRect(const rectangle& got, const rectangle& want, const std::string& what)
{
    EXPECT_NEAR(got.v0.x, want.v0.x, 1e-5f) << what << " left";
    EXPECT_NEAR(got.v0.y, want.v0.y, 1e-5f) << what << " top";
    EXPECT_NEAR(got.v1.x, want.v1.x, 1e-5f) << what << " right";
    EXPECT_NEAR(got.v1.y, want.v1.y, 1e-5f) << what << " bottom";
}

class WindowTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        this->skin = this->gui->NewSkin("win");
        this->skin->BeginBrushes();
        const char* names[] = {"window", "titlebar", "close_n", "close_p", "close_h", "size_n", "size_p", "size_h",
                               "button_n", "button_p", "button_h", "list_background"};
        const vector2 sizes[] = {{64, 64}, {200, 30}, {20, 20}, {20, 20}, {20, 20}, {16, 16}, {16, 16}, {16, 16},
                                 {80, 24}, {80, 24}, {80, 24}, {32, 32}};
        for (int i = 0; i < 12; i++)
        {
            this->skin->AddBrush(names[i], "win", vector2(0, 0), sizes[i], vector4(1, 1, 1, 1));
        }
        this->skin->EndBrushes();
        this->skin->SetWindowBorder(vector4(0.01f, 0.02f, 0.03f, 0.04f));
        this->gui->SetSkin(this->skin);
    }

    nGuiClientWindow* NewClient()
    {
        return static_cast<nGuiClientWindow*>(this->gui->NewWindow("nguiclientwindow", true));
    }

    void Click(const vector2& p)
    {
        this->MouseMove(p.x, p.y);
        this->ButtonDown(p.x, p.y);
        this->ButtonUp(p.x, p.y);
        this->Frame();
    }

    nGuiSkin* skin = nullptr;
};

TEST_F(WindowTest, AClientWindowsLayoutAttachedToItsOwnWindowEnds)
{
    nGuiClientWindow* w = this->NewClient();
    ASSERT_NE(w->GetFormLayout(), nullptr);
    w->GetFormLayout()->AttachForm(w, nGuiFormLayout::Left, 0.1f);
    w->SetRect(Rect(0, 0, 0.5f, 0.4f));
    this->Frame();
    EXPECT_NEAR(w->GetRect().v1.y, 0.4f, 1e-6f);
}

TEST_F(WindowTest, AClientWindowIsDecoratedAndLaidOutWhenShown)
{
    nGuiClientWindow* w = this->NewClient();
    ASSERT_NE(w->GetTitleBarWidget(), nullptr);
    ASSERT_NE(w->GetCloseButtonWidget(), nullptr);
    ASSERT_NE(w->GetSizeButtonWidget(), nullptr);
    ASSERT_NE(w->GetFormLayout(), nullptr);
    EXPECT_STREQ(w->GetDefaultBrush(), "window");
    const float tbh = 0.6f * this->gui->ComputeScreenSpaceBrushSize("titlebar").y;
    EXPECT_NEAR(w->GetTitleBarHeight(), tbh, 1e-6f);
    const vector2 cs = this->gui->ComputeScreenSpaceBrushSize("close_n");
    const vector2 ss = this->gui->ComputeScreenSpaceBrushSize("size_n");
    // laid out at show already, in the default rectangle 0.5 x 0.5
    ExpectRect(w->GetTitleBarWidget()->GetRect(), Rect(0, 0, 0.5f, tbh), "title bar at show");
    ExpectRect(w->GetSizeButtonWidget()->GetRect(), Rect(0.5f - ss.x, 0.5f - ss.y, 0.5f, 0.5f), "size at show");

    w->SetRect(Rect(0, 0, 0.5f, 0.4f));
    const float ct = (tbh - cs.y) * 0.5f;
    ExpectRect(w->GetCloseButtonWidget()->GetRect(), Rect(0.5f - cs.x - 0.005f, ct, 0.495f, ct + cs.y), "close");
    ExpectRect(w->GetSizeButtonWidget()->GetRect(), Rect(0.5f - ss.x, 0.4f - ss.y, 0.5f, 0.4f), "size");
    ExpectRect(w->GetTitleBarWidget()->GetRect(), Rect(0, 0, 0.5f, tbh), "title bar");
    ExpectRect(w->GetFormLayout()->GetRect(), Rect(0.01f, tbh + 0.02f, 0.47f, 0.4f - ss.y - 0.04f), "layout");
}

TEST_F(WindowTest, ShowingAShownClientWindowAgainKeepsItsDecorations)
{
    nGuiClientWindow* w = this->NewClient();
    nGuiFormLayout* layout = w->GetFormLayout();
    this->Ok(std::string(w->GetFullName().Get()) + ".show");
    EXPECT_EQ(w->GetFormLayout(), layout);
    int children = 0;
    for (nRoot* c = w->GetHead(); c; c = c->GetSucc()) children++;
    EXPECT_EQ(children, 4);
    w->Hide();
    EXPECT_EQ(w->GetHead(), nullptr);
    w->Show();
    EXPECT_NE(w->GetFormLayout(), nullptr);
}

TEST_F(WindowTest, FlagsChooseTheDecorationsAndTheTitleFollowsScripts)
{
    nGuiClientWindow* w = static_cast<nGuiClientWindow*>(this->gui->NewWindow("nguiclientwindow", false));
    const std::string path = w->GetFullName().Get();
    this->Ok(path + ".setresizable false; " + path + ".setclosebutton false; " + path + ".settitle Hello");
    EXPECT_EQ(this->Ok(path + ".isresizable"), "false");
    EXPECT_EQ(this->Ok(path + ".hasclosebutton"), "false");
    EXPECT_EQ(this->Ok(path + ".ismovable"), "true");
    w->Show();
    EXPECT_EQ(w->GetSizeButtonWidget(), nullptr);
    EXPECT_EQ(w->GetCloseButtonWidget(), nullptr);
    ASSERT_NE(w->GetTitleBarWidget(), nullptr);
    EXPECT_STREQ(w->GetTitleBarWidget()->GetText(), "Hello");
    this->Ok(path + ".settitle World");
    EXPECT_STREQ(w->GetTitleBarWidget()->GetText(), "World");
    EXPECT_EQ(this->Ok(path + ".gettitle"), "World");
    // without a size button the layout reaches the bottom border
    EXPECT_NEAR(w->GetFormLayout()->GetRect().v1.y, 0.5f - 0.04f, 1e-6f);
}

TEST_F(WindowTest, DraggingTheTitleBarStopsAtTheScreenEdgeWithoutShrinking)
{
    nGuiClientWindow* w = this->NewClient();
    w->SetRect(Rect(0.2f, 0.2f, 0.6f, 0.5f));
    this->MouseMove(0.3f, 0.21f);
    this->ButtonDown(0.3f, 0.21f);
    this->Frame();
    EXPECT_TRUE(w->IsDragging());
    this->MouseMove(0.4f, 0.31f);
    this->Frame();
    ExpectRect(w->GetRect(), Rect(0.3f, 0.3f, 0.7f, 0.6f), "moved");
    this->MouseMove(0.95f, 0.21f);
    this->Frame();
    ExpectRect(w->GetRect(), Rect(0.6f, 0.2f, 1.0f, 0.5f), "at the right edge");
    this->MouseMove(-0.5f, -0.5f);
    this->Frame();
    ExpectRect(w->GetRect(), Rect(0.0f, 0.0f, 0.4f, 0.3f), "at the top-left edge");
    this->ButtonUp(-0.5f, -0.5f);
    this->Frame();
    EXPECT_FALSE(w->IsDragging());
}

TEST_F(WindowTest, ResizingStopsAtTheMinimumSizeAndTheScreensRightEdge)
{
    nGuiClientWindow* w = this->NewClient();
    w->SetRect(Rect(0.2f, 0.2f, 0.6f, 0.5f));
    w->SetMinSize(vector2(0.2f, 0.15f));
    const rectangle sb = w->GetSizeButtonWidget()->GetScreenSpaceRect();
    const vector2 p = sb.midpoint();
    this->MouseMove(p.x, p.y);
    this->ButtonDown(p.x, p.y);
    this->Frame();
    EXPECT_TRUE(w->IsResizing());
    this->MouseMove(p.x - 0.35f, p.y - 0.25f);
    this->Frame();
    ExpectRect(w->GetRect(), Rect(0.2f, 0.2f, 0.4f, 0.35f), "minimum size");
    this->MouseMove(p.x + 0.6f, p.y + 0.1f);
    this->Frame();
    ExpectRect(w->GetRect(), Rect(0.2f, 0.2f, 1.0f, 0.6f), "right edge");
    // the size button followed the corner
    ExpectRect(w->GetSizeButtonWidget()->GetRect(), Rect(0.8f - sb.width(), 0.4f - sb.height(), 0.8f, 0.4f),
               "size button");
    this->ButtonUp(0.9f, 0.9f);
    this->Frame();
    EXPECT_FALSE(w->IsResizing());
}

TEST_F(WindowTest, TheCloseButtonFadesTheWindowOutRunsTheCloseCommandOnceAndDeletesIt)
{
    nGuiClientWindow* w = this->NewClient();
    this->Ok("set closed 0");
    w->SetCloseCommand("incr ::closed");
    nRef<nGuiClientWindow> ref(w);
    this->Render();
    this->Click(w->GetCloseButtonWidget()->GetScreenSpaceRect().midpoint());
    EXPECT_TRUE(w->IsCloseRequested());
    this->SetNow(0.1);
    this->Render();
    EXPECT_NEAR(w->GetWindowColor().w, 0.5f, 1e-3f);
    this->Frame();
    EXPECT_FALSE(w->IsDismissed());
    this->SetNow(0.25);
    this->Frame();
    EXPECT_TRUE(ref.isvalid());
    EXPECT_TRUE(w->IsDismissed());
    EXPECT_EQ(this->Ok("set closed"), "1");
    this->Frame();
    EXPECT_FALSE(ref.isvalid());
    EXPECT_EQ(this->Ok("set closed"), "1");
}

TEST_F(WindowTest, TheCloseCommandRunsOnceForAWindowTheServerDoesNotDelete)
{
    // a window inside another window is not deleted by the server
    nGuiWindow* outer = this->gui->NewWindow("nguiwindow", true);
    nGuiWindow* inner = this->New<nGuiWindow>("nguiwindow", std::string(outer->GetName()) + "/inner");
    inner->Show();
    this->Ok("set closed 0");
    inner->SetCloseCommand("incr ::closed");
    inner->Close();
    for (int i = 1; i <= 4; i++)
    {
        this->SetNow(i * 1.0);
        this->Frame();
    }
    EXPECT_TRUE(inner->IsDismissed());
    EXPECT_EQ(this->Ok("set closed"), "1");
}

TEST_F(WindowTest, AModalTopWindowSwallowsClicksOnOtherWindows)
{
    nGuiWindow* under = this->gui->NewWindow("nguiwindow", true);
    under->SetRect(Rect(0.0f, 0.0f, 0.5f, 0.5f));
    nGuiWindow* top = this->gui->NewWindow("nguiwindow", true);
    top->SetRect(Rect(0.6f, 0.6f, 0.9f, 0.9f));
    GuiListener* l = this->New<GuiListener>("nguitestlistener", "/gui/listener");
    this->gui->RegisterEventListener(l);
    top->SetModal(true);
    this->Click(vector2(0.25f, 0.25f));
    EXPECT_EQ(this->root->GetTopMostWindow(), top);
    EXPECT_TRUE(top->HasFocus());
    for (const std::string& h : l->heard) EXPECT_NE(h, std::string("ButtonDown ") + under->GetName());
    top->SetModal(false);
    this->Click(vector2(0.25f, 0.25f));
    EXPECT_EQ(this->root->GetTopMostWindow(), under);
    EXPECT_TRUE(under->HasFocus());
    EXPECT_FALSE(top->HasFocus());
}

TEST_F(WindowTest, EscapeRunsTheEscapeCommandWhenNoChildHandlesIt)
{
    nGuiWindow* w = this->gui->NewWindow("nguiwindow", true);
    this->Ok("set esc 0");
    this->Ok(std::string(w->GetFullName().Get()) + ".setescapecommand {incr ::esc}");
    this->Key(1, 12);
    this->Frame();
    EXPECT_EQ(this->Ok("set esc"), "1");
    this->Key(1, 13);
    this->Frame();
    EXPECT_EQ(this->Ok("set esc"), "1");
}

TEST_F(WindowTest, TheInactiveWindowIsDrawnInTheInactiveColour)
{
    this->skin->SetInactiveWindowColor(vector4(0.5f, 0.5f, 0.5f, 1.0f));
    nGuiWindow* a = this->gui->NewWindow("nguiwindow", true);
    nGuiWindow* b = this->gui->NewWindow("nguiwindow", true);
    this->Render();
    EXPECT_TRUE(b->HasFocus());
    EXPECT_FLOAT_EQ(a->GetWindowColor().x, 0.5f);
    EXPECT_FLOAT_EQ(b->GetWindowColor().x, 1.0f);
}

class TextWindowTest : public WindowTest
{
protected:
    /// the texts drawn by a frame's render
    std::vector<std::string> Drawn()
    {
        this->Render();
        std::vector<std::string> out;
        for (const GuiText& t : this->gfx->texts) out.push_back(t.text);
        return out;
    }
    bool Has(const std::vector<std::string>& texts, const std::string& t)
    {
        return std::find(texts.begin(), texts.end(), t) != texts.end();
    }
    nGuiTextWindow* NewTextWindow(const std::string& file)
    {
        nGuiTextWindow* w = static_cast<nGuiTextWindow*>(this->gui->NewWindow("nguitextwindow", false));
        if (!file.empty()) this->Ok(std::string(w->GetFullName().Get()) + ".settextfile {" + file + "}");
        w->Show();
        return w;
    }
};

TEST_F(TextWindowTest, WithoutAFileNameItSaysSo)
{
    nGuiTextWindow* w = this->NewTextWindow("");
    ExpectRect(w->GetRect(), Rect(0.15f, 0.15f, 0.85f, 0.85f), "window");
    ASSERT_NE(w->GetTextView(), nullptr);
    const auto texts = this->Drawn();
    EXPECT_TRUE(Has(texts, "No filename!"));
    EXPECT_TRUE(Has(texts, "Close"));
}

TEST_F(TextWindowTest, AMissingFileShowsItsErrorLine)
{
    this->NewTextWindow("tst:nothing.txt");
    EXPECT_TRUE(Has(this->Drawn(), "Could not open text file 'tst:nothing.txt'!"));
}

TEST_F(TextWindowTest, AFileShowsItsLinesAndTheCloseButtonClosesIt)
{
    std::ofstream(this->dir + "/notes.txt") << "first line\nsecond line\n";
    nGuiTextWindow* w = this->NewTextWindow("tst:notes.txt");
    const auto texts = this->Drawn();
    EXPECT_TRUE(Has(texts, "first line"));
    EXPECT_TRUE(Has(texts, "second line"));
    // the view sits above the Close button, inside the layout
    const rectangle view = w->GetTextView()->GetRect();
    nGuiWidget* btn = static_cast<nGuiWidget*>(w->GetFormLayout()->Find("CloseButton"));
    ASSERT_NE(btn, nullptr);
    EXPECT_NEAR(view.v1.y, btn->GetRect().v0.y - 0.005f, 1e-5f);
    EXPECT_NEAR(btn->GetRect().v1.x, w->GetFormLayout()->GetRect().width() - 0.005f, 1e-5f);
    this->Click(btn->GetScreenSpaceRect().midpoint());
    EXPECT_TRUE(w->IsCloseRequested());
}

}  // namespace
