//------------------------------------------------------------------------------
//  The edit line, tab completion, the text entry, the text view with its
//  slider, and the command entry.
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "gui/neditline.h"
#include "gui/nguicmdentry.h"
#include "gui/nguiskin.h"
#include "gui/nguislider2.h"
#include "gui/nguitextentry.h"
#include "gui/nguitextview.h"
#include "gui/ntabcomplete.h"
#include "input/ninputevent.h"
#include "input/ninputstate.h"
#include "kernel/nlinebuffer.h"

#include <gmock/gmock.h>

#include <cmath>
#include <limits>

namespace
{

const int KeyDown = 1;

//--- edit line ----------------------------------------------------------------

/// Applies edit operations written as one character each: '<' left,
/// '>' right, '{' word left, '}' word right, '^' home, '$' end,
/// '#' delete, '~' backspace, '!' toggle overstrike; any other character
/// is typed.
void Apply(nEditLine& line, const std::string& ops)
{
    for (char c : ops)
    {
        switch (c)
        {
            case '<': line.CursorLeft(); break;
            case '>': line.CursorRight(); break;
            case '{': line.WordLeft(); break;
            case '}': line.WordRight(); break;
            case '^': line.CursorHome(); break;
            case '$': line.CursorEnd(); break;
            case '#': line.Delete(); break;
            case '~': line.Backspace(); break;
            case '!': line.ToggleOverstrike(); break;
            default: line.InsertChar(uchar(c)); break;  // a code up to 255, as typed
        }
    }
}

TEST(EditLine, EditingCases)
{
    struct Case
    {
        const char* name;
        int size;
        const char* start;
        bool fileMode;
        std::string ops;
        std::string text;
        int cursor;
    };
    const std::string a47(47, 'a');
    const Case cases[] = {
        {"typing", 48, "", false, "abc", "abc", 3},
        {"a full buffer keeps 47 characters", 48, "", false, std::string(60, 'a'), a47, 47},
        {"insert into a full buffer drops the last", 48, a47.c_str(), false, "^b", "b" + std::string(46, 'a'), 1},
        {"insert in the middle", 48, "ac", false, ">b", "abc", 2},
        {"overstrike in the middle", 48, "abc", false, "!>x", "axc", 2},
        {"overstrike at the end appends", 48, "abc", false, "!$x", "abcx", 4},
        {"overstrike in a full buffer at the end drops", 4, "abc", false, "!$x", "abc", 3},
        {"word left from the end", 48, "abc  def", false, "${", "abc  def", 5},
        {"word left twice", 48, "abc  def", false, "${{", "abc  def", 0},
        {"word left at the start stays", 48, "abc", false, "{", "abc", 0},
        {"word right from the start", 48, "abc def", false, "}", "abc def", 4},
        {"word right over leading spaces", 48, "  abc def", false, "}", "  abc def", 6},
        {"word right at the end stays", 48, "abc", false, "$}", "abc", 3},
        {"home and end", 48, "abc", false, "$<<^>$", "abc", 3},
        {"right stops at the end", 48, "ab", false, ">>>>", "ab", 2},
        {"left stops at the start", 48, "ab", false, "<<", "ab", 0},
        {"delete at the cursor", 48, "abc", false, ">#", "ac", 1},
        {"delete at the end does nothing", 48, "abc", false, "$#", "abc", 3},
        {"backspace", 48, "abc", false, "$~", "ab", 2},
        {"backspace at the start does nothing", 48, "abc", false, "~", "abc", 0},
        {"control characters are refused", 48, "", false, "a\x01\x1f\tb", "ab", 2},
        {"characters above 127 are stored as UTF-8", 48, "", false, "M\xfcller", "M\xc3\xbcller", 7},
        {"left and right step over a whole character", 48, "\xc3\xa4\xc3\xb6", false, "><x", "x\xc3\xa4\xc3\xb6", 1},
        {"backspace removes a whole character", 48, "a\xc3\xa4", false, "$~", "a", 1},
        {"delete removes a whole character", 48, "\xc3\xa4" "b", false, "#", "b", 0},
        {"overstrike replaces a whole character", 48, "\xc3\xa4" "b", false, "!x", "xb", 1},
        {"overstrike of ASCII by a wider character", 48, "ab", false, "!\xe9", "\xc3\xa9" "b", 2},
        {"a full line drops whole characters at its end", 5, "ab\xc3\xa4", false, "^x", "xab", 1},
        {"a character that does not fit is refused", 4, "ab", false, "$\xe9", "ab", 2},
        {"C1 control codes are refused", 48, "", false, "a\x85\x9f\x7f" "b", "ab", 2},
        {"a long start is cut between characters", 4, "a\xc3\xa4\xc3\xb6", false, "", "a\xc3\xa4", 0},
        {"file mode refuses a leading space", 48, "", true, " a b", "a b", 3},
        {"file mode refuses file-name characters", 48, "", true, "a*.?|:\"\\/b", "ab", 2},
        {"size 1 holds nothing", 1, "", false, "abc", "", 0},
        {"a long start is cut", 4, "abcdef", false, "", "abc", 0},
    };
    for (const Case& c : cases)
    {
        nEditLine line(c.size);
        line.SetFileMode(c.fileMode);
        line.SetContent(c.start);
        EXPECT_EQ(line.GetCursorPos(), 0) << c.name;
        Apply(line, c.ops);
        EXPECT_EQ(std::string(line.GetContent()), c.text) << c.name;
        EXPECT_EQ(line.GetCursorPos(), c.cursor) << c.name;
        EXPECT_LE(line.GetLength(), c.size - 1) << c.name;
    }
}

TEST(EditLine, DeletesLeftToTheNearestSeparator)
{
    nEditLine line(64);
    line.SetContent("sel /sys/ser");
    line.CursorEnd();
    line.DeleteLeftToSeparators(" /");
    EXPECT_STREQ(line.GetContent(), "sel /sys/");
    line.DeleteLeftToSeparators(" /");
    EXPECT_STREQ(line.GetContent(), "sel /sys/");
    line.Clear();
    EXPECT_STREQ(line.GetContent(), "");
    EXPECT_EQ(line.GetCursorPos(), 0);
}

TEST(EditLine, InsertedTextKeepsItsUtf8AndTakesStrayBytesAsCharacters)
{
    nEditLine line(16);
    line.InsertString("\xc3\xa4\xe2\x82\xac\xfc");
    EXPECT_STREQ(line.GetContent(), "\xc3\xa4\xe2\x82\xac\xc3\xbc");
    EXPECT_EQ(line.GetCursorPos(), 7);
    line.Backspace();
    line.Backspace();
    EXPECT_STREQ(line.GetContent(), "\xc3\xa4");
    EXPECT_EQ(line.GetCursorPos(), 2);
}

TEST(EditLine, EveryByteTypedAnywhereKeepsTheLineTerminated)
{
    for (bool over : {false, true})
    {
        nEditLine line(8);
        line.SetOverstrike(over);
        for (int i = 0; i < 256; i++)
        {
            line.InsertChar(uchar(i));
            if (0 == i % 5) line.CursorLeft();
            if (0 == i % 7) line.WordLeft();
            if (0 == i % 11) line.WordRight();
            ASSERT_LE(line.GetLength(), 7);
            ASSERT_LE(line.GetCursorPos(), line.GetLength());
        }
    }
}

//--- tab completion -------------------------------------------------------------

TEST(TabComplete, CyclesThroughTheMatchesAndWraps)
{
    nTabComplete tc;
    for (const char* s : {"script", "x", "servers", "sel", "Se"}) tc.AddCandidate(nString(s));
    tc.SetPrefix(nString("se"));
    EXPECT_STREQ(tc.GetNext().Get(), "servers");
    EXPECT_STREQ(tc.GetNext().Get(), "sel");
    EXPECT_STREQ(tc.GetNext().Get(), "servers");
    tc.SetPrefix(nString(""));
    EXPECT_STREQ(tc.GetNext().Get(), "script");
    EXPECT_STREQ(tc.GetNext().Get(), "x");
    tc.SetPrefix(nString("zz"));
    EXPECT_STREQ(tc.GetNext().Get(), "zz");
    tc.Clear();
    tc.SetPrefix(nString("s"));
    EXPECT_STREQ(tc.GetNext().Get(), "s");
}

//--- text entry -----------------------------------------------------------------

class TextEntryTest : public GuiTest
{
protected:
    nGuiTextEntry* NewEntry()
    {
        auto* e = New<nGuiTextEntry>("nguitextentry", "e");
        e->SetRect(rectangle(vector2(0.1f, 0.2f), vector2(0.5f, 0.3f)));
        return e;
    }
    void Type(const std::string& s)
    {
        for (char c : s)
        {
            nInputEvent* e = this->input->NewEvent();
            e->SetType(N_INPUT_KEY_CHAR);
            e->SetDeviceId(0x10000);
            e->SetChar(uchar(c));
            this->input->LinkEvent(e);
        }
    }
};

TEST_F(TextEntryTest, AClickActivatesAndReturnInTheSameFrameDoesNotCommit)
{
    nGuiTextEntry* e = this->NewEntry();
    this->Ok("set ::fired 0; /gui/window0/e.setcommand {incr ::fired}");
    this->MouseMove(0.2f, 0.25f);
    this->ButtonDown(0.2f, 0.25f);
    this->Key(KeyDown, 6);
    this->Frame();
    EXPECT_TRUE(e->GetActive());
    EXPECT_EQ(this->Ok("set ::fired"), "0");
    this->Render();
    this->Type("hi");
    this->Key(KeyDown, 6);
    this->Frame();
    EXPECT_FALSE(e->GetActive());
    EXPECT_EQ(this->Ok("set ::fired"), "1");
    EXPECT_EQ(this->Ok("/gui/window0/e.gettext"), "hi");
}

TEST_F(TextEntryTest, CommittingAnEmptyEntryPutsTheEmptyTextAndFiresOnce)
{
    nGuiTextEntry* e = this->NewEntry();
    this->Ok("set ::fired 0; /gui/window0/e.setcommand {incr ::fired}; /gui/window0/e.setemptytext 0");
    this->Ok("/gui/window0/e.setactive true");
    this->Render();
    this->Key(KeyDown, 12);  // escape commits as return does
    this->Frame();
    EXPECT_STREQ(e->GetText(), "0");
    EXPECT_EQ(this->Ok("set ::fired"), "1");
    EXPECT_EQ(this->Ok("/gui/window0/e.getactive"), "false");
}

TEST_F(TextEntryTest, AClickOutsideOrHidingCommits)
{
    nGuiTextEntry* e = this->NewEntry();
    this->Ok("set ::fired 0; /gui/window0/e.setcommand {incr ::fired}");
    e->SetActive(true);
    this->MouseMove(0.9f, 0.9f);
    this->ButtonDown(0.9f, 0.9f);
    this->Frame();
    EXPECT_FALSE(e->GetActive());
    e->SetActive(true);
    e->Hide();
    EXPECT_FALSE(e->GetActive());
    EXPECT_EQ(this->Ok("set ::fired"), "2");
}

TEST_F(TextEntryTest, AnInactiveEntryTakesNoKeysAndTheDefaultHolds47Characters)
{
    nGuiTextEntry* e = this->NewEntry();
    EXPECT_FALSE(e->OnKeyDown(4));
    EXPECT_EQ(this->Ok("/gui/window0/e.getmaxlength"), "48");
    e->SetActive(true);
    for (int i = 0; i < 60; i++) e->OnChar('z');
    EXPECT_EQ(std::string(e->GetText()), std::string(47, 'z'));
    EXPECT_EQ(e->GetEditLine().GetCursorPos(), 47);
    EXPECT_TRUE(e->OnKeyDown(17));
    EXPECT_EQ(e->GetEditLine().GetCursorPos(), 0);
    EXPECT_FALSE(e->OnKeyDown(99));
}

TEST_F(TextEntryTest, MaximumLengthsOutsideTheRangeAreRefused)
{
    nGuiTextEntry* e = this->NewEntry();
    e->SetText("keep");
    for (const char* n : {"0", "-1", "2147483647"})
    {
        this->Fails(std::string("/gui/window0/e.setmaxlength ") + n);
    }
    EXPECT_FALSE(e->SetMaxLength(0));
    EXPECT_STREQ(e->GetText(), "keep");
    EXPECT_EQ(e->GetMaxLength(), 48);
    this->Ok("/gui/window0/e.setoverstrike true; /gui/window0/e.setmaxlength 4");
    EXPECT_EQ(e->GetMaxLength(), 4);
    EXPECT_STREQ(e->GetText(), "");
    EXPECT_TRUE(e->GetEditLine().GetOverstrike());
    this->Fails("/gui/window0/e.setinitialcursorpos middle");
    EXPECT_EQ(e->GetInitialCursorPos(), 2);
}

TEST_F(TextEntryTest, TheInitialCursorPositionIsTheStartOrTheEnd)
{
    nGuiTextEntry* e = this->NewEntry();
    e->SetText("abc");
    this->Ok("/gui/window0/e.setinitialcursorpos left; /gui/window0/e.setactive true");
    EXPECT_EQ(e->GetEditLine().GetCursorPos(), 0);
    e->SetActive(false);
    this->Ok("/gui/window0/e.setinitialcursorpos right; /gui/window0/e.setactive true");
    EXPECT_EQ(e->GetEditLine().GetCursorPos(), 3);
}

TEST_F(TextEntryTest, TheCursorRectangleFollowsTheAlignment)
{
    nGuiTextEntry* e = this->NewEntry();
    e->SetText("abcd");
    e->SetActive(true);
    e->OnKeyDown(18);
    e->OnKeyDown(18);  // cursor at 2: characters are 0.01 wide and 0.02 high
    struct Case
    {
        int alignment;
        float x;
    };
    for (const Case& c : {Case{0, 0.105f + 0.02f}, Case{1, 0.105f + (0.39f - 0.04f) / 2 + 0.02f}, Case{2, 0.495f - 0.02f}})
    {
        e->SetAlignment(c.alignment);
        const rectangle r = e->CursorRect();
        EXPECT_NEAR(r.v0.x, c.x, 1e-5f) << c.alignment;
        EXPECT_NEAR(r.v1.x, c.x + 0.01f, 1e-5f) << c.alignment;
        EXPECT_NEAR(r.v0.y, 0.24f, 1e-5f);
        EXPECT_NEAR(r.v1.y, 0.26f, 1e-5f);
    }
    this->gfx->charWidth = 0.0f;
    EXPECT_NEAR(e->CursorRect().width(), 0.005f, 1e-6f);
}

TEST_F(TextEntryTest, AnActiveEntryDrawsItsCursorAndText)
{
    this->MakeSkin();
    nGuiTextEntry* e = this->NewEntry();
    this->Ok("/gui/window0/e.setcursorbrush b3; /gui/window0/e.setpressedbrush b1");
    EXPECT_EQ(this->Ok("/gui/window0/e.getcursorbrush"), "b3");
    e->SetText("abc");
    this->Render();
    EXPECT_EQ(this->gfx->batches.size(), 0u);
    e->SetActive(true);
    this->Render();
    ASSERT_EQ(this->gfx->texts.size(), 1u);
    EXPECT_EQ(this->gfx->texts[0].text, "abc");
    EXPECT_EQ(this->gfx->texts[0].flags, 0x4u | 0x20u);
    ASSERT_EQ(this->gfx->batches.size(), 2u);
    EXPECT_EQ(this->gfx->batches[1].texture, "b");
}

TEST_F(TextEntryTest, AnyTypedBytesAreSafe)
{
    nGuiTextEntry* e = this->NewEntry();
    e->SetActive(true);
    this->Render();
    for (int i = 0; i < 256; i++)
    {
        e->OnChar(uchar(i));
        if (0 == i % 3) e->OnKeyDown(18);
        if (0 == i % 13) e->OnKeyDown(27);
        e->CursorRect();
    }
    EXPECT_LE(int(strlen(e->GetText())), 47);
    for (int key = 0; key < 120; key++)
    {
        if (key != 6 && key != 12) e->OnKeyDown(key);
    }
}

//--- text view ------------------------------------------------------------------

class TextViewTest : public GuiTest
{
protected:
    /// a shown, focused view 0.09 high (4 lines of 0.02) with n lines
    nGuiTextView* NewView(int n, bool foreignSlider = false)
    {
        auto* v = New<nGuiTextView>("nguitextview", "v");
        if (foreignSlider) this->ks->New("nguiwidget", "/gui/window0/v/Slider");
        v->Hide();
        v->SetRect(rectangle(vector2(0.1f, 0.1f), vector2(0.5f, 0.19f)));
        v->BeginAppend();
        for (int i = 0; i < n; i++) v->AppendLine(("line" + std::to_string(i)).c_str());
        v->EndAppend();
        v->Show();
        v->OnObtainFocus();
        return v;
    }
    void Scroll(const char* state)
    {
        nInputState* s = this->input->FindInputState(state);
        if (!s) s = this->input->CreateInputState(state);
        s->SetButton(true);
        this->MouseMove(0.2f, 0.15f);
        this->Frame();
        s->SetButton(false);
    }
};

TEST_F(TextViewTest, ScrollingTenLinesWithFourVisible)
{
    nGuiTextView* v = this->NewView(10);
    EXPECT_EQ(this->Ok("/gui/window0/v.getnumvisiblelines"), "4");
    for (int i = 0; i < 3; i++) this->Scroll("ScrollUp");
    EXPECT_EQ(v->GetFirstLine(), 6);
    this->Scroll("ScrollDown");
    EXPECT_EQ(v->GetFirstLine(), 3);
    ASSERT_NE(v->GetSlider(), nullptr);
    EXPECT_FLOAT_EQ(v->GetSlider()->GetCurrentValue(), 3.0f);
    EXPECT_FLOAT_EQ(v->GetSlider()->GetRangeSize(), 10.0f);
    EXPECT_FLOAT_EQ(v->GetSlider()->GetVisibleRangeSize(), 4.0f);
    EXPECT_TRUE(v->GetSlider()->IsShown());
    this->Render();
    ASSERT_EQ(this->gfx->texts.size(), 4u);
    EXPECT_EQ(this->gfx->texts[0].text, "line3");
    EXPECT_EQ(this->gfx->texts[3].text, "line6");
    EXPECT_EQ(this->gfx->texts[0].flags, 0x8u | 0x80u);
    EXPECT_NEAR(this->gfx->texts[1].rect.v0.y, 0.12f, 1e-5f);
    EXPECT_NEAR(this->gfx->texts[1].rect.v0.x, 0.105f, 1e-5f);
}

TEST_F(TextViewTest, AnUnknownFontIsReportedOnceAndItsLinesAreNotDrawn)
{
    nGuiTextView* v = this->NewView(3);
    v->SetFont("nosuchfont");
    this->Render();
    this->Render();
    EXPECT_TRUE(this->gfx->texts.empty());
    const std::string msg = "Unknown font 'nosuchfont'!";
    const size_t first = this->log.text.find(msg);
    EXPECT_NE(first, std::string::npos) << this->log.text;
    EXPECT_EQ(this->log.text.find(msg, first + 1), std::string::npos) << this->log.text;
}

TEST_F(TextViewTest, AHugeLogIsAppendedInLinearTime)
{
    // growing the line array by a fixed step made this hang
    const int n = 400000;
    nGuiTextView* v = this->NewView(n);
    EXPECT_EQ(v->GetNumLines(), n);
    EXPECT_STREQ(v->GetLine(n - 1), ("line" + std::to_string(n - 1)).c_str());
    v->BeginAppend();
    v->AppendLine("again");
    v->EndAppend();
    EXPECT_EQ(v->GetNumLines(), 1);
    EXPECT_STREQ(v->GetLine(0), "again");
}

TEST_F(TextViewTest, TheSliderSitsAtTheRightEdgeAndShowsOnlyWhenNeeded)
{
    nGuiTextView* v = this->NewView(3);
    nGuiSlider2* s = v->GetSlider();
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->IsShown());
    EXPECT_NEAR(s->GetRect().v1.x, 0.4f, 1e-6f);
    EXPECT_NEAR(s->GetRect().v0.x, 0.38f, 1e-6f);
    EXPECT_NEAR(s->GetRect().v0.y, 0.0f, 1e-6f);
    EXPECT_NEAR(s->GetRect().v1.y, 0.09f, 1e-6f);
    v->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.6f, 0.5f)));
    EXPECT_NEAR(s->GetRect().v1.x, 0.6f, 1e-6f);
    v->Hide();
    EXPECT_EQ(v->GetSlider(), nullptr);
    EXPECT_EQ(this->ks->Lookup("/gui/window0/v/Slider"), nullptr);
}

TEST_F(TextViewTest, TheSliderDrawsWithTheSkinsScrollBarBrushesAfterEveryShow)
{
    nGuiSkin* skin = this->gui->NewSkin("scroll");
    skin->BeginBrushes();
    skin->AddBrush("slider_track", "track", vector2(0, 0), vector2(4, 4), vector4(0.2f, 0.2f, 0.2f, 1));
    skin->AddBrush("slider_thumb", "thumb", vector2(0, 0), vector2(4, 4), vector4(1, 1, 1, 1));
    skin->EndBrushes();
    this->gui->SetSkin(skin);
    nGuiTextView* v = this->NewView(10);
    for (int show = 0; show < 2; show++)
    {
        nGuiSlider2* s = v->GetSlider();
        ASSERT_NE(s, nullptr);
        EXPECT_STREQ(s->GetDefaultBrush(), "slider_track");
        EXPECT_STREQ(s->GetHighlightBrush(), "slider_thumb");
        this->Render();
        bool track = false;
        bool thumb = false;
        for (const GuiBatch& b : this->gfx->batches)
        {
            track = track || b.texture.find("track") != std::string::npos;
            thumb = thumb || b.texture.find("thumb") != std::string::npos;
        }
        EXPECT_TRUE(track && thumb) << "show " << show;
        v->Hide();
        v->Show();
    }
}

TEST_F(TextViewTest, WithoutTheSkinsBrushesTheSliderHasNone)
{
    this->MakeSkin();
    nGuiTextView* v = this->NewView(10);
    ASSERT_NE(v->GetSlider(), nullptr);
    EXPECT_EQ(v->GetSlider()->GetDefaultBrush(), nullptr);
}

TEST_F(TextViewTest, MovingTheSliderSetsTheFirstLine)
{
    nGuiTextView* v = this->NewView(10);
    this->Frame();
    nGuiSlider2* s = v->GetSlider();
    ASSERT_TRUE(s->IsShown());
    // the slider covers the view's height; a click at its bottom asks for the last lines
    const rectangle r = s->GetScreenSpaceRect();
    this->ButtonDown(r.v0.x + 0.001f, r.v1.y - 0.001f);
    this->Frame();
    EXPECT_EQ(v->GetFirstLine(), 6);
    this->MouseMove(r.v0.x + 0.001f, r.v0.y + 0.0275f);
    this->Frame();
    EXPECT_EQ(v->GetFirstLine(), 3);
    this->ButtonUp(r.v0.x + 0.001f, r.v0.y);
    this->Frame();
}

TEST_F(TextViewTest, TheFirstLineStaysWithinTheLines)
{
    nGuiTextView* v = this->NewView(10);
    v->SetFirstLine(100);
    EXPECT_EQ(v->GetFirstLine(), 6);
    v->SetFirstLine(-5);
    EXPECT_EQ(v->GetFirstLine(), 0);
    v->SetFirstLine(6);
    v->BeginAppend();
    v->AppendLine("only");
    v->EndAppend();
    this->Render();
    ASSERT_EQ(this->gfx->texts.size(), 1u);
    EXPECT_EQ(this->gfx->texts[0].text, "only");
    EXPECT_EQ(v->GetFirstLine(), 0);
}

TEST_F(TextViewTest, AClickSelectsALineAndADoubleClickIsPosted)
{
    nGuiTextView* v = this->NewView(10);
    auto* l = New<GuiListener>("nguitestlistener", "/gui/listener");
    this->gui->RegisterEventListener(l);
    this->Ok("/gui/window0/v.setselectionenabled true");
    EXPECT_EQ(this->Ok("/gui/window0/v.getselectionenabled"), "1");
    v->SetFirstLine(2);
    this->SetNow(1.0);
    this->ButtonDown(0.2f, 0.1f + 0.025f);
    this->Frame();
    EXPECT_EQ(this->Ok("/gui/window0/v.getselectionindex"), "3");
    EXPECT_THAT(l->heard, ::testing::Contains("SelectionChanged v"));
    this->SetNow(1.1);
    this->ButtonDown(0.2f, 0.1f + 0.025f);
    this->Frame();
    EXPECT_THAT(l->heard, ::testing::Contains("SelectionDblClicked v"));
    this->MakeSkin();
    this->Ok("/gui/window0/v.sethighlightbrush b3");
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 1u);
    EXPECT_EQ(this->gfx->batches[0].texture, "b");
}

TEST_F(TextViewTest, AnUnusableLineHeightGivesNoVisibleLines)
{
    for (float h : {0.0f, -0.02f, std::numeric_limits<float>::quiet_NaN(), 1e-30f})
    {
        this->gfx->lineHeight = h;
        auto* v = New<nGuiTextView>("nguitextview", "h");
        v->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.5f, 0.5f)));
        const int n = v->GetNumVisibleLines();
        EXPECT_GE(n, 0) << h;
        if (!(h > 0.0f)) EXPECT_EQ(n, 0) << h;
        v->SetSelectionEnabled(true);
        v->OnButtonDown(vector2(0.1f, 0.4f));
        this->Render();
        v->Release();
    }
}

TEST_F(TextViewTest, AViewWithoutItsSliderStillWorks)
{
    nGuiTextView* v = this->NewView(10, true);
    EXPECT_EQ(v->GetSlider(), nullptr);
    this->Scroll("ScrollUp");
    EXPECT_EQ(v->GetFirstLine(), 3);
    this->Render();
    EXPECT_EQ(this->gfx->texts.size(), 4u);
    v->Hide();
    EXPECT_NE(this->ks->Lookup("/gui/window0/v/Slider"), nullptr);
}

TEST_F(TextViewTest, ScriptCommandsSetTheLooks)
{
    New<nGuiTextView>("nguitextview", "v");
    this->Ok("/gui/window0/v.setborder 0.01; /gui/window0/v.settextcolor 1 0 0 1; /gui/window0/v.setfont GuiDefault");
    EXPECT_EQ(this->Ok("/gui/window0/v.getborder"), "0.01");
    EXPECT_EQ(this->Ok("/gui/window0/v.getfont"), "GuiDefault");
    EXPECT_EQ(this->Ok("/gui/window0/v.gettextcolor"), "1.0 0.0 0.0 1.0");
    for (const char* bad : {"abc", "", "nan", "1x"}) this->Fails(std::string("/gui/window0/v.setborder {") + bad + "}");
    // built on the form layout, but without its commands
    this->Fails("/gui/window0/v.attachform /gui/window0/v top 0");
    this->Ok("/gui/window0/v.setfont NoSuchFont");
    this->Fails("/gui/window0/v.getnumvisiblelines");
}

//--- command entry --------------------------------------------------------------

using LineLog = LineCaptureLog;

class CmdEntryTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        this->ks->SetLogHandler(&this->lineLog);
        this->ks->New("nroot", "/tree/sela");
        this->ks->New("nroot", "/tree/other");
        this->ks->New("nroot", "/tree/selb");
        this->entry = New<nGuiCmdEntry>("nguicmdentry", "c");
        this->entry->Hide();
        this->entry->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 0.11f)));
        this->entry->Show();
        this->entry->OnObtainFocus();
        this->ks->SetCwd(nullptr);
    }
    void Line(const std::string& s)
    {
        for (char c : s) this->entry->OnChar(uchar(c));
    }
    std::string Text() const { return this->entry->GetEditLine().GetContent(); }

    LineLog lineLog;
    nGuiCmdEntry* entry = nullptr;
};

TEST_F(CmdEntryTest, ALineRunsAndAnErrorIsShownNotFatal)
{
    this->Line("set ::x 5");
    EXPECT_TRUE(this->entry->OnKeyDown(6));
    EXPECT_EQ(this->Ok("set ::x"), "5");
    EXPECT_EQ(this->Text(), "");
    EXPECT_TRUE(this->script->GetFailOnError());
    this->Line("nosuchcommand %s%n%x");
    this->entry->OnKeyDown(6);
    EXPECT_TRUE(this->script->GetFailOnError());
    EXPECT_NE(this->lineLog.text.find("/> nosuchcommand %s%n%x\n"), std::string::npos);
    EXPECT_NE(this->lineLog.text.find("unknown command 'nosuchcommand'"), std::string::npos);
    this->Frame();
    ASSERT_GE(this->entry->GetNumLines(), 2);
    // the newest log lines (one fewer than fit) and the prompt line below them
    EXPECT_EQ(this->entry->GetNumLines(), 5);
    EXPECT_STREQ(this->entry->GetLine(4), "/> |");
}

TEST_F(CmdEntryTest, ALineThatDeletesTheEntryEndsItsKey)
{
    // nothing of the entry may be read after its line (the sanitizer sees it)
    this->Line("delete " + std::string(this->entry->GetFullName().Get()));
    EXPECT_TRUE(this->entry->OnKeyDown(6));
    this->entry = nullptr;
    this->Frame();
}

TEST_F(CmdEntryTest, HistoryWalksBackAndForthWithinItsEnds)
{
    for (const char* l : {"set a 1", "set b 2"})
    {
        this->Line(l);
        this->entry->OnKeyDown(6);
    }
    this->entry->OnKeyDown(6);  // an empty line is not kept
    EXPECT_EQ(this->entry->GetHistorySize(), 2);
    this->entry->OnKeyDown(19);
    EXPECT_EQ(this->Text(), "set b 2");
    EXPECT_EQ(this->entry->GetEditLine().GetCursorPos(), 7);
    this->entry->OnKeyDown(19);
    EXPECT_EQ(this->Text(), "set a 1");
    this->entry->OnKeyDown(19);
    EXPECT_EQ(this->Text(), "set a 1");
    this->entry->OnKeyDown(21);
    EXPECT_EQ(this->Text(), "set b 2");
    this->entry->OnKeyDown(21);
    EXPECT_EQ(this->Text(), "set b 2");
}

TEST_F(CmdEntryTest, TabCyclesOverTheMatchingChildren)
{
    this->Line("sel /tree/se");
    EXPECT_FALSE(this->entry->OnKeyDown(5));
    EXPECT_EQ(this->Text(), "sel /tree/sela");
    this->entry->OnKeyDown(5);
    EXPECT_EQ(this->Text(), "sel /tree/selb");
    this->entry->OnKeyDown(5);
    EXPECT_EQ(this->Text(), "sel /tree/sela");
    this->entry->OnKeyDown(4);
    this->Line("x");
    this->entry->OnKeyDown(5);
    EXPECT_EQ(this->Text(), "sel /tree/selx");
    // a directory that names nothing gives no candidates
    for (int i = 0; i < 14; i++) this->entry->OnKeyDown(4);
    this->Line("/nothing/here/s");
    this->entry->OnKeyDown(5);
    EXPECT_EQ(this->Text(), "/nothing/here/s");
}

TEST_F(CmdEntryTest, SelChangesTheEntrysObjectAndPrompt)
{
    nRoot* before = this->ks->GetCwd();
    this->Line("sel /tree");
    this->entry->OnKeyDown(6);
    EXPECT_EQ(this->ks->GetCwd(), before);
    EXPECT_EQ(this->entry->GetCwd(), this->ks->Lookup("/tree"));
    EXPECT_STREQ(this->entry->PromptLine().Get(), "/tree> |");
    this->Line("oth");
    this->entry->OnKeyDown(5);
    EXPECT_EQ(this->Text(), "other");
    this->entry->OnKeyDown(18);
    this->entry->OnKeyDown(18);
    EXPECT_STREQ(this->entry->PromptLine().Get(), "/tree> oth|er");
    this->entry->OnKeyDown(16);
    for (int i = 0; i < 5; i++) this->entry->OnKeyDown(4);
    this->Line("set ::where [psel]");
    this->entry->OnKeyDown(6);
    EXPECT_EQ(this->Ok("set ::where"), "/tree");
}

TEST_F(CmdEntryTest, ADeletedObjectFallsBackToTheRoot)
{
    this->Line("sel /tree");
    this->entry->OnKeyDown(6);
    this->ks->Lookup("/tree")->Release();
    EXPECT_EQ(this->entry->GetCwd(), this->ks->GetRoot());
    EXPECT_STREQ(this->entry->PromptLine().Get(), "/> |");
    this->Line("gu");
    this->entry->OnKeyDown(5);
    EXPECT_EQ(this->Text(), "gui");
    for (int i = 0; i < 3; i++) this->entry->OnKeyDown(4);
    this->Line("set ::where [psel]");
    this->entry->OnKeyDown(6);
    EXPECT_EQ(this->Ok("set ::where"), "/");
    // a line that deletes the entry's own object
    this->Line("sel /tree2");
    this->entry->OnKeyDown(6);
    this->ks->New("nroot", "/tree2");
    this->Line("sel /tree2; delete /tree2");
    this->entry->OnKeyDown(6);
    EXPECT_STREQ(this->entry->PromptLine().Get(), "/> |");
}

TEST_F(CmdEntryTest, CtrlMovesByWords)
{
    this->Line("abc  def");
    this->entry->OnKeyDown(8);
    this->entry->OnKeyDown(18);
    EXPECT_EQ(this->entry->GetEditLine().GetCursorPos(), 5);
    this->entry->OnKeyUp(8);
    this->entry->OnKeyDown(18);
    EXPECT_EQ(this->entry->GetEditLine().GetCursorPos(), 4);
    this->entry->OnKeyDown(17);
    this->entry->OnKeyDown(8);
    this->entry->OnKeyDown(20);
    EXPECT_EQ(this->entry->GetEditLine().GetCursorPos(), 5);
}

TEST_F(CmdEntryTest, AnyBytesAndLongResultsAreSafe)
{
    for (int i = 1; i < 256; i++)
    {
        this->entry->OnChar(uchar(i));
        if (0 == i % 17) this->entry->OnKeyDown(5);
    }
    this->entry->OnKeyDown(6);
    this->Line("string repeat x 100000");
    this->entry->OnKeyDown(6);
    this->Line(std::string(2000, '/'));
    this->entry->OnKeyDown(5);
    this->entry->OnKeyDown(6);
    this->Frame();
    this->Render();
    EXPECT_TRUE(this->script->GetFailOnError());
}

TEST_F(CmdEntryTest, ATallEntryShowsAtMost511LogLines)
{
    for (int i = 0; i < 600; i++) n_printf("log %d\n", i);
    this->entry->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 100.0f)));
    this->Frame();
    EXPECT_LE(this->entry->GetNumLines(), 512);
    EXPECT_STREQ(this->entry->GetLine(this->entry->GetNumLines() - 2), "log 599");
}

}  // namespace
