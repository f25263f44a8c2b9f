//------------------------------------------------------------------------------
//  The widget base: coordinates, clicks and double clicks, commands,
//  hovering and tooltips, blinking, saving, and widgets that delete
//  widgets from their own commands.
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "gui/nguibutton.h"
#include "gui/nguitooltip.h"
#include "gui/nguiskin.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace
{

TEST_F(GuiTest, ChildRectanglesAreRelativeToTheParentsCorner)
{
    auto* parent = New<nGuiWidget>("nguiwidget", "p");
    auto* child = New<nGuiWidget>("nguiwidget", "p/c");
    parent->SetRect(rectangle(vector2(0.5f, 0.5f), vector2(1.0f, 1.0f)));
    child->SetRect(rectangle(vector2(0.1f, 0.1f), vector2(0.2f, 0.2f)));
    this->root->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f)));
    const rectangle r = child->GetScreenSpaceRect();
    EXPECT_FLOAT_EQ(r.v0.x, 0.6f);
    EXPECT_FLOAT_EQ(r.v0.y, 0.6f);
    EXPECT_FLOAT_EQ(r.v1.x, 0.7f);
    EXPECT_FLOAT_EQ(r.v1.y, 0.7f);
    EXPECT_TRUE(child->Inside(vector2(0.7f, 0.6f)));
    EXPECT_FALSE(child->Inside(vector2(0.71f, 0.6f)));
    child->Hide();
    EXPECT_FALSE(child->Inside(vector2(0.65f, 0.65f)));
}

TEST_F(GuiTest, SetRectTakesLeftRightTopBottom)
{
    New<nGuiWidget>("nguiwidget", "w");
    this->Ok("/gui/window0/w.setrect 0.125 0.875 0.25 0.75");
    const rectangle& r = static_cast<nGuiWidget*>(this->ks->Lookup("/gui/window0/w"))->GetRect();
    EXPECT_FLOAT_EQ(r.v0.x, 0.125f);
    EXPECT_FLOAT_EQ(r.v1.x, 0.875f);
    EXPECT_FLOAT_EQ(r.v0.y, 0.25f);
    EXPECT_FLOAT_EQ(r.v1.y, 0.75f);
    EXPECT_EQ(this->Ok("/gui/window0/w.getrect"), "0.125 0.875 0.25 0.75");
    this->Fails("/gui/window0/w.setrect NaN 0.9 0.2 0.8");
}

TEST_F(GuiTest, ASecondPressWithinTheDoubleClickTimeIsADoubleClick)
{
    auto* w = New<nGuiWidget>("nguiwidget", "w");
    auto* l = New<GuiListener>("nguitestlistener", "/gui/l");
    this->gui->RegisterEventListener(l);
    auto doubleClicks = [l] { return std::count(l->heard.begin(), l->heard.end(), "DoubleClick w"); };
    struct Step
    {
        double t;
        long doubles;
    };
    // 1.0 and 1.1 are 0.1 s apart; 1.1 twice is no time at all; 1.5 is too late
    for (const Step& s : {Step{1.0, 0}, Step{1.1, 1}, Step{1.1, 1}, Step{1.5, 1}, Step{1.69, 2}})
    {
        this->SetNow(s.t);
        this->ButtonDown(0.5f, 0.5f);
        this->Frame();
        EXPECT_EQ(doubleClicks(), s.doubles) << s.t;
    }
    (void)w;
}

TEST_F(GuiTest, AClickGoesToTheLastChildThatTakesIt)
{
    nGuiWindow* win = FocusedWindow();
    win->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f)));
    auto* first = New<nGuiButton>("nguibutton", "window1/first");
    auto* second = New<nGuiButton>("nguibutton", "window1/second");
    auto* third = New<nGuiButton>("nguibutton", "window1/third");
    first->SetRect(rectangle(vector2(0.1f, 0.1f), vector2(0.5f, 0.5f)));
    second->SetRect(rectangle(vector2(0.3f, 0.3f), vector2(0.6f, 0.6f)));
    third->SetRect(rectangle(vector2(0.7f, 0.7f), vector2(0.8f, 0.8f)));
    this->ButtonDown(0.4f, 0.4f);
    this->Frame();
    EXPECT_FALSE(first->IsPressed());
    EXPECT_TRUE(second->IsPressed());
    EXPECT_FALSE(third->IsPressed());
}

TEST_F(GuiTest, CommandsRunWithTheWidgetAsTheCurrentObject)
{
    New<nGuiWidget>("nguiwidget", "w");
    this->Ok("/gui/window0/w.setbuttondowncommand {set ::who [psel]}");
    this->Ok("/gui/window0/w.setshowcommand {incr ::shows}");
    this->Ok("set ::shows 0");
    this->ButtonDown(0.5f, 0.5f);
    this->Frame();
    EXPECT_EQ(this->Ok("set ::who"), "/gui/window0/w");
    // showing a shown widget runs its show command again
    this->Ok("/gui/window0/w.show");
    this->Ok("/gui/window0/w.show");
    EXPECT_EQ(this->Ok("set ::shows"), "2");
}

TEST_F(GuiTest, CommandsMayDeleteTheirWidgetASiblingOrTheParent)
{
    for (bool onPress : {true, false})
    {
        for (const char* victim : {"b", "other", "", "root"})
        {
            if (!this->gui->GetRootWindowPointer())
            {
                this->root = this->gui->NewWindow("nguiwindow", true);
                this->gui->SetRootWindowPointer(this->root);
            }
            nGuiWindow* win = this->gui->NewWindow("nguiwindow", true);
            win->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f)));
            const std::string wp = win->GetFullName().Get();
            auto* b = static_cast<nGuiButton*>(this->ks->New("nguibutton", (wp + "/b").c_str()));
            auto* other = static_cast<nGuiButton*>(this->ks->New("nguibutton", (wp + "/other").c_str()));
            other->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.1f, 0.1f)));
            const std::string target = std::string(victim) == "root" ? std::string(this->root->GetFullName().Get())
                                                                      : wp + (victim[0] ? "/" : "") + victim;
            const std::string del = "delete " + target;
            if (onPress)
                b->SetButtonDownCommand(del.c_str());
            else
                b->SetCommand(del.c_str());
            this->ButtonDown(0.5f, 0.5f);
            this->ButtonUp(0.5f, 0.5f);
            this->MouseMove(0.5f, 0.5f);
            this->Frame();
            this->Render();
            this->Frame();
            EXPECT_EQ(this->ks->Lookup(target.c_str()), nullptr) << target << (onPress ? " on press" : " on release");
            nRoot* left = this->ks->Lookup(wp.c_str());
            if (left) left->Release();
        }
    }
}

TEST_F(GuiTest, HoveringPastTheDelayShowsTheTooltipAndLeavingResetsIt)
{
    MakeSkin();
    auto* tip = New<nGuiToolTip>("nguitooltip", "/gui/Tooltip");
    tip->SetDefaultBrush("b1");
    tip->Hide();
    auto* w = New<nGuiWidget>("nguiwidget", "w");
    w->SetRect(rectangle(vector2(0.1f, 0.1f), vector2(0.3f, 0.3f)));
    w->SetTooltip("help");
    this->SetNow(10.0);
    this->MouseMove(0.2f, 0.2f);
    this->Frame();
    this->Render();
    this->SetNow(10.15);
    this->Frame();
    this->Render();
    EXPECT_FALSE(tip->IsShown());
    // past the delay: the first request only finds the tooltip, the next shows it
    for (double t : {10.25, 10.3})
    {
        this->SetNow(t);
        this->Frame();
        this->Render();
    }
    EXPECT_TRUE(tip->IsShown());
    EXPECT_STREQ(tip->GetText(), "help");
    this->MouseMove(0.9f, 0.9f);
    this->Frame();
    this->Render();
    EXPECT_FALSE(tip->IsShown());
    this->SetNow(10.35);
    this->MouseMove(0.2f, 0.2f);
    this->Frame();
    this->Render();
    this->SetNow(10.4);
    this->Frame();
    this->Render();
    EXPECT_FALSE(tip->IsShown());
}

TEST_F(GuiTest, BlinkingEndsAfterItsTimeOutOrNever)
{
    auto* a = New<nGuiWidget>("nguiwidget", "a");
    auto* b = New<nGuiWidget>("nguiwidget", "b");
    this->SetNow(5.0);
    this->Ok("/gui/window0/a.setblinking true 2");
    this->Ok("/gui/window0/b.setblinking true 0");
    this->SetNow(6.99);
    this->Frame();
    EXPECT_TRUE(a->GetBlinking());
    this->SetNow(7.0);
    this->Frame();
    EXPECT_FALSE(a->GetBlinking());
    this->SetNow(1000.0);
    this->Frame();
    EXPECT_TRUE(b->GetBlinking());
    this->Fails("/gui/window0/b.setblinkrate 0");
}

TEST_F(GuiTest, ADefaultWidgetSavesOnlyItsTooltipAndRectangle)
{
    nGuiWidget* w = New<nGuiWidget>("nguiwidget", "/w");
    const std::string text = SaveText(w);
    EXPECT_THAT(text, HasSubstr(".settooltip \"\""));
    EXPECT_THAT(text, HasSubstr(".setrect 0.000000 1.000000 0.000000 1.000000"));
    for (const char* absent : {".hide", ".disable", ".setcommand", ".setblinking", "brush"})
    {
        EXPECT_THAT(text, Not(HasSubstr(absent))) << absent;
    }
}

TEST_F(GuiTest, AChangedWidgetSavesItsStateInOrderAndLoadsBack)
{
    nGuiWidget* w = New<nGuiWidget>("nguilabel", "/w");
    this->Ok("/w.hide; /w.disable; /w.setcommand {puts hi}; /w.setframecommand {incr x}");
    this->Ok("/w.setblinking true 3; /w.setblinkrate 0.5; /w.setdefaultbrush b1; /w.setdisabledbrush b3");
    this->Ok("/w.settooltip tip; /w.setrect 0.1 0.2 0.3 0.4");
    const std::string text = SaveText(w);
    const char* const order[] = {".hide", ".disable", ".setcommand", ".setframecommand", ".settooltip",
                                 ".setblinking true 3.000000", ".setblinkrate 0.500000", ".setdefaultbrush \"b1\"",
                                 ".setdisabledbrush \"b3\"", ".setrect 0.100000 0.200000 0.300000 0.400000"};
    size_t pos = 0;
    for (const char* cmd : order)
    {
        const size_t at = text.find(cmd, pos);
        ASSERT_NE(at, std::string::npos) << cmd << " in\n" << text;
        pos = at;
    }
    w->Release();
    nGuiWidget* back = static_cast<nGuiWidget*>(this->ks->LoadAs("tst:save.n2", "/back"));
    ASSERT_NE(back, nullptr);
    EXPECT_FALSE(back->IsShown());
    EXPECT_FALSE(back->IsEnabled());
    EXPECT_STREQ(back->GetDefaultBrush(), "b1");
    EXPECT_STREQ(back->GetTooltip(), "tip");
}

TEST_F(GuiTest, EmptyStringGettersFollowTheirRule)
{
    New<nGuiWidget>("nguiwidget", "w");
    // command and brush getters give null, the others the empty string
    EXPECT_EQ(this->Ok("/gui/window0/w.getcommand"), ":null:");
    EXPECT_EQ(this->Ok("/gui/window0/w.getdefaultbrush"), ":null:");
    EXPECT_EQ(this->Ok("/gui/window0/w.getshowcommand"), "");
    this->Fails("/gui/window0/w.settooltip :null:");
    this->Fails("/gui/window0/w.setbuttondowncommand :null:");
}

}  // namespace
