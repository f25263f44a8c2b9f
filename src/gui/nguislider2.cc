//------------------------------------------------------------------------------
//  nguislider2.cc
//------------------------------------------------------------------------------
#include "gui/nguislider2.h"
#include "gui/nguiserver.h"

#include <cmath>

nGuiSlider2::nGuiSlider2() :
    rangeSize(0.0f),
    currentValue(0.0f),
    visibleRangeSize(0.0f),
    changed(false),
    dragging(false)
{
    this->maxSize.x = 0.02f;
}

nGuiSlider2::~nGuiSlider2()
{
}

/*
 * Store --
 *     Side effects: a finite f differing from the field is stored and
 *     flags the slider as changed; others are ignored.
 */
void nGuiSlider2::Store(float& field, float f)
{
    if (std::isfinite(f) && f != field)
    {
        field = f;
        this->changed = true;
    }
}

void nGuiSlider2::SetRangeSize(float f)
{
    this->Store(this->rangeSize, f);
}

void nGuiSlider2::SetCurrentValue(float f)
{
    this->Store(this->currentValue, f);
}

void nGuiSlider2::SetVisibleRangeSize(float f)
{
    this->Store(this->visibleRangeSize, f);
}

/*
 * ThumbRect --
 *     Results: the part of the track that stands for the visible range;
 *     the whole track when the range is empty or all visible.
 */
rectangle nGuiSlider2::ThumbRect() const
{
    rectangle r = this->GetScreenSpaceRect();
    if (this->rangeSize <= 0.0f || this->visibleRangeSize >= this->rangeSize) return r;
    const float h = r.height();
    const float top = r.v0.y + h * fmaxf(this->currentValue, 0.0f) / this->rangeSize;
    const float bottom = top + h * fmaxf(this->visibleRangeSize, 0.0f) / this->rangeSize;
    return rectangle(vector2(r.v0.x, top), vector2(r.v1.x, fminf(bottom, r.v1.y)));
}

/*
 * Drag --
 *     Side effects: the current value becomes the range position under
 *     the mouse, kept within 0..range - visible range; SliderChanged is
 *     posted.
 */
void nGuiSlider2::Drag(const vector2& mousePos)
{
    const rectangle r = this->GetScreenSpaceRect();
    const float h = r.height();
    if (h <= 0.0f) return;
    const float maxValue = fmaxf(this->rangeSize - this->visibleRangeSize, 0.0f);
    const float v = (mousePos.y - r.v0.y) / h * this->rangeSize;
    this->SetCurrentValue(fminf(fmaxf(std::isfinite(v) ? v : 0.0f, 0.0f), maxValue));
    this->PutEvent(nGuiEvent::SliderChanged);
}

bool nGuiSlider2::OnButtonDown(const vector2& mousePos)
{
    if (!this->Inside(mousePos)) return false;
    nRef<nGuiSlider2> self(this);
    nGuiWidget::OnButtonDown(mousePos);
    if (!self.isvalid()) return true;
    this->dragging = true;
    this->Drag(mousePos);
    return true;
}

bool nGuiSlider2::OnMouseMoved(const vector2& mousePos)
{
    if (this->dragging && this->shown)
    {
        nRef<nGuiSlider2> self(this);
        this->Drag(mousePos);
        if (!self.isvalid()) return true;
    }
    return nGuiWidget::OnMouseMoved(mousePos);
}

bool nGuiSlider2::OnButtonUp(const vector2& mousePos)
{
    this->dragging = false;
    return nGuiWidget::OnButtonUp(mousePos);
}

void nGuiSlider2::Render()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!this->shown || !gui) return;
    gui->DrawBrush(this->GetScreenSpaceRect(), this->defaultBrush);
    gui->DrawBrush(this->ThumbRect(), this->highlightBrush);
}
