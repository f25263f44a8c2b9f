//------------------------------------------------------------------------------
//  nguitextview.cc
//------------------------------------------------------------------------------
#include "gui/nguitextview.h"
#include "gui/nguiserver.h"
#include "gui/nguislider2.h"
#include "gui/nguitextlabel.h"
#include "gfx2/ngfxserver2.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"
#include "resource/nresourceserver.h"

#include <cmath>

namespace
{

/// lines scrolled by one wheel step
const int ScrollStep = 3;
/// more visible lines than this are not counted (a tiny line height)
const int MaxVisibleLines = 1 << 20;
/// the skin's brushes of the scroll bar: its track and its thumb
const char* const SliderTrackBrush = "slider_track";
const char* const SliderThumbBrush = "slider_thumb";

}  // namespace

nGuiTextView::nGuiTextView() :
    fontName("GuiSmall"),
    lineHeight(0.0f),
    border(0.005f),
    textColor(0.0f, 0.0f, 0.0f, 1.0f),
    textArray(32, 32),
    colorArray(32, 32),
    selectionEnabled(false),
    firstLine(0),
    selectionIndex(0)
{
    // a log or a long text file appends many thousands of lines: growing by a
    // fixed step would copy the whole array again every few lines
    this->textArray.SetFlags(nArray<nString>::DoubleGrowSize);
    this->colorArray.SetFlags(nArray<vector4>::DoubleGrowSize);
}

nGuiTextView::~nGuiTextView()
{
}

void nGuiTextView::SetFont(const char* name)
{
    n_assert(name);
    this->fontName = name;
    // found again by name at the next use
    this->refFont.set(nullptr);
    this->fontReported = false;
}

/*
 * FindFont --
 *     Results: the font resource named fontName (resolved once and kept),
 *     or null when there is none.
 *     Side effects: on resolving, the font is set on the graphics server
 *     and the line height becomes the height of "X" in it.
 */
nFont2* nGuiTextView::FindFont()
{
    if (!this->refFont.isvalid())
    {
        nResourceServer* rs = nGuiServer::FindServer<nResourceServer>("/sys/servers/resource", "nresourceserver");
        nResource* res = rs ? rs->FindResource(this->fontName.Get(), nResource::Font) : nullptr;
        this->refFont.set(static_cast<nFont2*>(res));
        nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
        if (res && gfx)
        {
            gfx->SetFont(this->refFont.get());
            this->lineHeight = gfx->GetTextExtent(nString("X")).y;
        }
    }
    return this->refFont.get_unsafe();
}

/*
 * ResolveFont --
 *     Results: the view's font, or null when no font of its name exists
 *     (the data's fault: the view then draws no text).
 *     Side effects: an unknown font is reported once per name.
 */
nFont2* nGuiTextView::ResolveFont()
{
    nFont2* font = this->FindFont();
    if (!font && !this->fontReported)
    {
        n_printf("nGuiTextView %s: Unknown font '%s'!\n", this->GetName(), this->fontName.Get());
        this->fontReported = true;
    }
    return font;
}

void nGuiTextView::SetGfxFont()
{
    n_assert(this->refFont.isvalid());
    nGfxServer2::Instance()->SetFont(this->refFont.get());
}

/*
 * GetNumVisibleLines --
 *     Results: how many whole lines of the line height fit the view's
 *     height; 0 without a font or with a line height that is not above 0.
 */
int nGuiTextView::GetNumVisibleLines()
{
    this->FindFont();
    if (!(this->lineHeight > 0.0f)) return 0;
    const float n = this->rect.height() / this->lineHeight;
    if (!(n > 0.0f)) return 0;
    return n >= float(MaxVisibleLines) ? MaxVisibleLines : int(n);
}

void nGuiTextView::SetFirstLine(int l)
{
    const int maxFirst = this->GetNumLines() - this->GetNumVisibleLines();
    if (l > maxFirst) l = maxFirst;
    this->firstLine = l < 0 ? 0 : l;
}

nGuiSlider2* nGuiTextView::GetSlider() const
{
    return this->refSlider.isvalid() ? this->refSlider.get() : nullptr;
}

void nGuiTextView::BeginAppend()
{
    this->textArray.Clear();
    this->colorArray.Clear();
}

void nGuiTextView::AppendLine(const char* text)
{
    n_assert(text);
    this->AppendColoredLine(text, this->textColor);
}

void nGuiTextView::AppendColoredLine(const char* text, const vector4& color)
{
    n_assert(text);
    this->textArray.Append(nString(text));
    this->colorArray.Append(color);
}

void nGuiTextView::EndAppend()
{
    this->UpdateSlider();
}

void nGuiTextView::UpdateSlider()
{
    nGuiSlider2* slider = this->GetSlider();
    if (!slider) return;
    slider->SetRangeSize(float(this->GetNumLines()));
    slider->SetCurrentValue(float(this->firstLine));
    slider->SetVisibleRangeSize(float(this->GetNumVisibleLines()));
}

void nGuiTextView::UpdateSliderVisibility()
{
    nGuiSlider2* slider = this->GetSlider();
    if (!slider) return;
    const bool needed = this->GetNumLines() > this->GetNumVisibleLines();
    if (needed && !slider->IsShown())
        slider->Show();
    else if (!needed && slider->IsShown())
        slider->Hide();
}

/*
 * SkinSlider --
 *     Side effects: the slider draws its track with the skin's brush
 *     "slider_track" and its thumb with "slider_thumb", those the skin has;
 *     without them it stays invisible, as it draws nothing.
 */
static void SkinSlider(nGuiSlider2* slider)
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    if (gui->CanResolveBrush(SliderTrackBrush)) slider->SetDefaultBrush(SliderTrackBrush);
    if (gui->CanResolveBrush(SliderThumbBrush)) slider->SetHighlightBrush(SliderThumbBrush);
}

/*
 * OnShow --
 *     Side effects: the widget's show; the child "Slider" is made (an
 *     existing child of another class leaves the view without a slider),
 *     given the skin's scroll-bar brushes, attached to the top, right and bottom edges and laid out, filled and shown only when not every line fits; the view
 *     listens to GUI events.
 */
void nGuiTextView::OnShow()
{
    nRef<nGuiTextView> self(this);
    nGuiFormLayout::OnShow();
    if (!self.isvalid()) return;
    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(this);
    nRoot* obj = static_cast<nRoot*>(ks->New("nguislider2", "Slider"));
    ks->PopCwd();
    n_assert(obj);
    if (obj->IsA(ks->FindClass("nguislider2")))
    {
        nGuiSlider2* slider = static_cast<nGuiSlider2*>(obj);
        this->refSlider.adopt(slider);
        SkinSlider(slider);
        this->AttachForm(slider, Top, 0.0f);
        this->AttachForm(slider, Right, 0.0f);
        this->AttachForm(slider, Bottom, 0.0f);
        // placed now rather than at the next SetRect, so that it never
        // covers the lines with its default rectangle
        this->UpdateLayout(this->rect);
        this->UpdateSlider();
        this->refSlider->OnShow();
        if (!self.isvalid()) return;
        this->UpdateSliderVisibility();
    }
    else
    {
        n_printf("nGuiTextView %s: child 'Slider' is no slider; the view does not scroll by it\n", this->GetName());
    }
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui) gui->RegisterEventListener(this);
}

void nGuiTextView::OnHide()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui) gui->UnregisterEventListener(this);
    this->DetachAll();
    this->refSlider.reset();
    n_assert(!this->refSlider.isvalid());
    nGuiFormLayout::OnHide();
}

void nGuiTextView::SetRect(const rectangle& r)
{
    nGuiFormLayout::SetRect(r);
    if (this->shown) this->UpdateSlider();
}

/*
 * OnFrame --
 *     Side effects: with the mouse over the focused view the input states
 *     "ScrollUp" and "ScrollDown" move the first line by three; the slider
 *     follows and shows only when needed; then the widget's frame.
 */
void nGuiTextView::OnFrame()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    nInputServer* input = nGuiServer::FindServer<nInputServer>("/sys/servers/input", "ninputserver");
    if (gui && input && this->focus && this->Inside(gui->GetMousePos()))
    {
        if (input->GetButton("ScrollUp"))
        {
            this->SetFirstLine(this->firstLine + ScrollStep);
            this->UpdateSlider();
        }
        else if (input->GetButton("ScrollDown"))
        {
            this->SetFirstLine(this->firstLine - ScrollStep);
            this->UpdateSlider();
        }
    }
    this->UpdateSliderVisibility();
    nGuiFormLayout::OnFrame();
}

/*
 * OnEvent --
 *     Side effects: the slider moving sets the first line to its value; a
 *     double click anywhere but on the shown slider posts
 *     SelectionDblClicked from this view.
 */
void nGuiTextView::OnEvent(const nGuiEvent& event)
{
    nGuiSlider2* slider = this->GetSlider();
    nGuiWidget* source = event.GetWidget();
    if (nGuiEvent::SliderChanged == event.GetType() && slider && source == slider)
    {
        this->SetFirstLine(int(lroundf(slider->GetCurrentValue())));
    }
    else if (nGuiEvent::DoubleClick == event.GetType())
    {
        nGuiServer* gui = nGuiServer::InstanceOrNull();
        const bool onSlider = slider && slider->IsShown() && gui && slider->Inside(gui->GetMousePos());
        if (!onSlider)
        {
            nRef<nGuiTextView> self(this);
            this->PutEvent(nGuiEvent::SelectionDblClicked);
            if (!self.isvalid()) return;
        }
    }
    nGuiFormLayout::OnEvent(event);
}

/*
 * OnButtonDown --
 *     Results: the widget's result; false when hidden or missed.
 *     Side effects: with selection on, a click on a line (not on the
 *     shown slider) selects it and posts SelectionChanged.
 */
bool nGuiTextView::OnButtonDown(const vector2& mousePos)
{
    if (!this->shown || !this->Inside(mousePos)) return false;
    nGuiSlider2* slider = this->GetSlider();
    const bool onSlider = slider && slider->IsShown() && slider->Inside(mousePos);
    if (this->selectionEnabled && !onSlider && this->lineHeight > 0.0f)
    {
        const float l = (mousePos.y - this->GetScreenSpaceRect().v0.y) / this->lineHeight;
        const int line = l < float(MaxVisibleLines) ? int(l) : MaxVisibleLines;
        if (this->firstLine + line < this->GetNumLines())
        {
            this->selectionIndex = this->firstLine + line;
            nRef<nGuiTextView> self(this);
            this->PutEvent(nGuiEvent::SelectionChanged);
            if (!self.isvalid()) return true;
        }
    }
    return nGuiFormLayout::OnButtonDown(mousePos);
}

/*
 * Render --
 *     Side effects: the background brush, the visible lines top-down in
 *     bands of the line height (the selected one over the highlight
 *     brush), then the slider.
 */
void nGuiTextView::Render()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!this->shown || !gui) return;
    const rectangle screen = this->GetScreenSpaceRect();
    gui->DrawBrush(screen, this->defaultBrush);
    n_assert(this->textArray.Size() == this->colorArray.Size());
    nFont2* font = this->ResolveFont();
    if (!font)
    {
        nGuiFormLayout::Render();
        return;
    }
    nGfxServer2::Instance()->SetFont(font);
    this->SetFirstLine(this->firstLine);
    const int numLines = this->GetNumLines();
    const int visible = this->GetNumVisibleLines();
    const int end = this->firstLine + visible < numLines ? this->firstLine + visible : numLines;
    float top = screen.v0.y;
    for (int i = this->firstLine; i < end; i++, top += this->lineHeight)
    {
        rectangle band(vector2(screen.v0.x, top), vector2(screen.v1.x, top + this->lineHeight));
        if (this->selectionEnabled && i == this->selectionIndex) gui->DrawBrush(band, this->highlightBrush);
        band.v0.x += this->border;
        band.v1.x -= this->border;
        gui->DrawText(this->textArray[i].Get(), this->colorArray[i], band,
                      nGuiTextLabel::TextLeft | nGuiTextLabel::TextExpandTabs);
    }
    nGuiFormLayout::Render();
}
