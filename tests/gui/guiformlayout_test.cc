//------------------------------------------------------------------------------
//  The form layout: form, position and widget attachments, the three
//  passes and the size limits, as tables of cases.
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "gui/nguiformlayout.h"

#include <functional>

namespace
{

using Edge = nGuiFormLayout::Edge;

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

class FormLayoutTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        this->form = this->New<nGuiFormLayout>("nguiformlayout", "form");
        this->a = this->New<nGuiWidget>("nguiwidget", "form/a");
        this->b = this->New<nGuiWidget>("nguiwidget", "form/b");
        this->a->SetRect(Rect(0.1f, 0.1f, 0.2f, 0.2f));
        this->b->SetRect(Rect(0.3f, 0.3f, 0.4f, 0.4f));
    }

    nGuiFormLayout* form = nullptr;
    nGuiWidget* a = nullptr;
    nGuiWidget* b = nullptr;
};

struct LayoutCase
{
    const char* name;
    /// attachments (and limits) made on the form with children a and b
    std::function<void(nGuiFormLayout*, nGuiWidget*, nGuiWidget*)> attach;
    rectangle formRect;
    rectangle wantA;
    rectangle wantB;
};

TEST_F(FormLayoutTest, AttachmentsPlaceTheChildrenAsTheTableSays)
{
    const rectangle a0 = Rect(0.1f, 0.1f, 0.2f, 0.2f);
    const rectangle b0 = Rect(0.3f, 0.3f, 0.4f, 0.4f);
    const LayoutCase cases[] = {
        {"form left and right",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) {
             f->AttachForm(a, Edge::Left, 0.01f);
             f->AttachForm(a, Edge::Right, 0.01f);
         },
         Rect(0, 0, 0.5f, 0.5f), Rect(0.01f, 0.1f, 0.49f, 0.2f), b0},
        {"form top and bottom",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) {
             f->AttachForm(a, Edge::Top, 0.02f);
             f->AttachForm(a, Edge::Bottom, 0.03f);
         },
         Rect(0.2f, 0.2f, 0.6f, 0.6f), Rect(0.1f, 0.02f, 0.2f, 0.37f), b0},
        {"max size at the bottom-right of a small form",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) {
             a->SetMaxSize(vector2(0.1f, 0.1f));
             f->AttachForm(a, Edge::Right, 0.005f);
             f->AttachForm(a, Edge::Bottom, 0.005f);
         },
         Rect(0, 0, 0.5f, 0.4f), Rect(0.395f, 0.295f, 0.495f, 0.395f), b0},
        {"max size at the bottom-right of a large form",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) {
             a->SetMaxSize(vector2(0.1f, 0.1f));
             f->AttachForm(a, Edge::Right, 0.005f);
             f->AttachForm(a, Edge::Bottom, 0.005f);
         },
         Rect(0, 0, 0.9f, 0.8f), Rect(0.795f, 0.695f, 0.895f, 0.795f), b0},
        {"min size keeps the attached left edge and moves the right",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) {
             a->SetMinSize(vector2(0.3f, 0.0f));
             f->AttachForm(a, Edge::Left, 0.05f);
         },
         Rect(0, 0, 1, 1), Rect(0.05f, 0.1f, 0.35f, 0.2f), b0},
        {"min size keeps the attached top edge and moves the bottom",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) {
             a->SetMinSize(vector2(0.0f, 0.25f));
             f->AttachForm(a, Edge::Top, 0.15f);
         },
         Rect(0, 0, 1, 1), Rect(0.1f, 0.15f, 0.2f, 0.4f), b0},
        {"position left 0.5 is the form's middle",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) { f->AttachPos(a, Edge::Left, 0.5f); },
         Rect(0, 0, 0.3f, 0.3f), Rect(0.15f, 0.1f, 0.2f, 0.2f), b0},
        {"position right and bottom",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) {
             f->AttachPos(a, Edge::Right, 0.5f);
             f->AttachPos(a, Edge::Bottom, 0.5f);
         },
         Rect(0, 0, 0.8f, 0.6f), Rect(0.1f, 0.1f, 0.4f, 0.3f), b0},
        {"horizontal centre keeps the width",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) { f->AttachPos(a, Edge::HCenter, 0.5f); },
         Rect(0, 0, 0.8f, 0.6f), Rect(0.35f, 0.1f, 0.45f, 0.2f), b0},
        {"vertical centre limited to the maximum height around the middle",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) {
             a->SetRect(Rect(0.1f, 0.0f, 0.2f, 0.4f));
             a->SetMaxSize(vector2(1.0f, 0.2f));
             f->AttachPos(a, Edge::VCenter, 0.5f);
         },
         Rect(0, 0, 1, 1), Rect(0.1f, 0.4f, 0.2f, 0.6f), b0},
        {"a form centre edge changes nothing",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget*) { f->AttachForm(a, Edge::HCenter, 0.3f); },
         Rect(0, 0, 1, 1), a0, b0},
        {"widget bottom above another placed by later form attachments",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget* b) {
             f->AttachWidget(a, Edge::Bottom, b, 0.005f);
             f->AttachForm(b, Edge::Top, 0.5f);
             f->AttachForm(b, Edge::Bottom, 0.1f);
         },
         Rect(0, 0, 1, 1), Rect(0.1f, 0.1f, 0.2f, 0.495f), Rect(0.3f, 0.5f, 0.4f, 0.9f)},
        {"widget left and right beside another",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget* b) {
             f->AttachWidget(a, Edge::Left, b, 0.01f);
             f->AttachWidget(b, Edge::Right, a, 0.02f);
             f->AttachForm(a, Edge::Right, 0.05f);
         },
         Rect(0, 0, 1, 1), Rect(0.41f, 0.1f, 0.95f, 0.2f), Rect(0.3f, 0.3f, 0.39f, 0.4f)},
        {"widget top below another placed by a position",
         [](nGuiFormLayout* f, nGuiWidget* a, nGuiWidget* b) {
             f->AttachWidget(a, Edge::Top, b, 0.01f);
             f->AttachPos(b, Edge::Bottom, 0.6f);
             f->AttachForm(a, Edge::Bottom, 0.05f);
         },
         Rect(0, 0, 1, 0.8f), Rect(0.1f, 0.49f, 0.2f, 0.75f), Rect(0.3f, 0.3f, 0.4f, 0.48f)},
    };
    for (const LayoutCase& c : cases)
    {
        this->a->SetRect(a0);
        this->b->SetRect(b0);
        this->a->SetMinSize(vector2(0, 0));
        this->a->SetMaxSize(vector2(1, 1));
        this->form->DetachAll();
        c.attach(this->form, this->a, this->b);
        this->form->SetRect(c.formRect);
        ExpectRect(this->a->GetRect(), c.wantA, std::string(c.name) + ": a");
        ExpectRect(this->b->GetRect(), c.wantB, std::string(c.name) + ": b");
    }
}

TEST_F(FormLayoutTest, AHiddenFormMovesNoChildUntilItsRectIsSetWhileShown)
{
    this->form->AttachForm(this->a, Edge::Left, 0.01f);
    this->form->Hide();
    this->form->SetRect(Rect(0, 0, 0.5f, 0.5f));
    ExpectRect(this->a->GetRect(), Rect(0.1f, 0.1f, 0.2f, 0.2f), "hidden");
    ExpectRect(this->form->GetRect(), Rect(0, 0, 0.5f, 0.5f), "form");
    this->form->Show();
    this->form->SetRect(Rect(0, 0, 0.5f, 0.5f));
    ExpectRect(this->a->GetRect(), Rect(0.01f, 0.1f, 0.2f, 0.2f), "shown");
}

TEST_F(FormLayoutTest, AttachmentsOfADeletedWidgetAreSkipped)
{
    this->form->AttachWidget(this->a, Edge::Left, this->b, 0.01f);
    this->form->AttachForm(this->b, Edge::Top, 0.2f);
    this->form->AttachForm(this->a, Edge::Top, 0.3f);
    this->b->Release();
    this->form->SetRect(Rect(0, 0, 1, 1));
    ExpectRect(this->a->GetRect(), Rect(0.1f, 0.3f, 0.2f, 0.3f), "a");
    EXPECT_EQ(this->form->GetNumAttachments(), 3);
}

TEST_F(FormLayoutTest, ACycleOfAttachmentsEndsAtTheFormThatLaysOut)
{
    const std::vector<std::pair<const char*, std::function<void(nGuiFormLayout*, nGuiWidget*)>>> cycles = {
        {"to itself", [](nGuiFormLayout* f, nGuiWidget*) { f->AttachForm(f, Edge::Left, 0.1f); }},
        {"to itself beside a child", [](nGuiFormLayout* f, nGuiWidget* a) { f->AttachWidget(f, Edge::Top, a, 0.0f); }},
        {"two forms to each other",
         [this](nGuiFormLayout* f, nGuiWidget*) {
             auto* other = this->New<nGuiFormLayout>("nguiformlayout", "form/other");
             other->Show();
             f->AttachForm(other, Edge::Left, 0.1f);
             other->AttachPos(f, Edge::Right, 0.9f);
         }},
    };
    for (const auto& [name, attach] : cycles)
    {
        SCOPED_TRACE(name);
        this->form->DetachAll();
        attach(this->form, this->a);
        this->form->AttachForm(this->a, Edge::Top, 0.2f);
        this->form->Show();
        this->form->SetRect(Rect(0, 0, 1, 1));
        ExpectRect(this->a->GetRect(), Rect(0.1f, 0.2f, 0.2f, 0.2f), "a");
    }
}

TEST_F(FormLayoutTest, ScriptsAttachByEdgeNameAndGetTheIndex)
{
    EXPECT_EQ(this->Ok("/gui/window0/form.attachform /gui/window0/form/a left 0.01"), "0");
    EXPECT_EQ(this->Ok("/gui/window0/form.attachwidget /gui/window0/form/a top /gui/window0/form/b 0.02"), "1");
    EXPECT_EQ(this->Ok("/gui/window0/form.attachpos /gui/window0/form/b right 0.5"), "2");
    this->form->SetRect(Rect(0, 0, 1, 1));
    ExpectRect(this->a->GetRect(), Rect(0.01f, 0.42f, 0.2f, 0.42f), "a");
    ExpectRect(this->b->GetRect(), Rect(0.3f, 0.3f, 0.5f, 0.4f), "b");
}

TEST_F(FormLayoutTest, BadScriptArgumentsAreScriptErrors)
{
    const char* bad[] = {
        "/gui/window0/form.attachform /gui/window0/form/a middle 0.01",
        "/gui/window0/form.attachform /gui/window0/form/a {} 0.01",
        "/gui/window0/form.attachform /sys/servers/gui left 0.01",
        "/gui/window0/form.attachform :null: left 0.01",
        "/gui/window0/form.attachwidget /gui/window0/form/a top /sys/servers/gui 0.02",
        "/gui/window0/form.attachpos /gui/window0/form/b right nan",
        "/gui/window0/form.attachpos /gui/window0/form/nothing right 0.5",
    };
    for (const char* line : bad) this->Fails(line);
    EXPECT_EQ(this->form->GetNumAttachments(), 0);
    EXPECT_NE(this->log.text.find("invalid Edge type string 'middle'"), std::string::npos);
}

}  // namespace
