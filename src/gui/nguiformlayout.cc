//------------------------------------------------------------------------------
//  nguiformlayout.cc
//------------------------------------------------------------------------------
#include "gui/nguiformlayout.h"

#include <cstring>

nGuiFormLayout::nGuiFormLayout()
{
    this->attachments.reserve(16);
}

nGuiFormLayout::~nGuiFormLayout()
{
}

int nGuiFormLayout::EdgeFromString(const char* name)
{
    if (!name) return 0;
    if (0 == strcmp(name, "top")) return Top;
    if (0 == strcmp(name, "bottom")) return Bottom;
    if (0 == strcmp(name, "left")) return Left;
    if (0 == strcmp(name, "right")) return Right;
    return 0;
}

/*
 * Append --
 *     Results: the index of the new attachment.
 */
int nGuiFormLayout::Append(Type type, nGuiWidget* widget, Edge edge, nGuiWidget* other, float offset)
{
    auto a = std::make_unique<Attachment>();
    a->type = type;
    a->widget.set(widget);
    a->other.set(other);
    a->edge = edge;
    a->offset = offset;
    this->attachments.push_back(std::move(a));
    return int(this->attachments.size()) - 1;
}

int nGuiFormLayout::AttachForm(nGuiWidget* widget, Edge edge, float offset)
{
    n_assert(widget);
    return this->Append(Form, widget, edge, nullptr, offset);
}

int nGuiFormLayout::AttachWidget(nGuiWidget* widget, Edge edge, nGuiWidget* other, float offset)
{
    n_assert(widget && other);
    return this->Append(Widget, widget, edge, other, offset);
}

int nGuiFormLayout::AttachPos(nGuiWidget* widget, Edge edge, float pos)
{
    n_assert(widget);
    return this->Append(Pos, widget, edge, nullptr, pos);
}

void nGuiFormLayout::DetachAll()
{
    this->attachments.clear();
}

/*
 * SetRect --
 *     Side effects: a shown form lays its children out first; then the
 *     rectangle is stored.
 */
void nGuiFormLayout::SetRect(const rectangle& r)
{
    if (this->shown) this->UpdateLayout(r);
    nGuiWidget::SetRect(r);
}

namespace
{

/// the edges lo, hi of a span brought within [minLen, maxLen]: the fixed
/// edge stays (lo when keepLo), a centred span keeps its middle
void LimitSpan(float& lo, float& hi, float minLen, float maxLen, int keep)
{
    const float len = hi - lo;
    float target;
    if (len < minLen)
        target = minLen;
    else if (len > maxLen)
        target = maxLen;
    else
        return;
    if (keep < 0)
        hi = lo + target;
    else if (keep > 0)
        lo = hi - target;
    else
    {
        const float mid = (lo + hi) * 0.5f;
        lo = mid - target * 0.5f;
        hi = mid + target * 0.5f;
    }
}

}  // namespace

/*
 * ApplyLimits --
 *     Side effects: c is brought within [minSize, maxSize] along the axis
 *     of the edge just set, moving the opposite edge (both edges around
 *     the middle for a centre edge).
 */
void nGuiFormLayout::ApplyLimits(rectangle& c, Edge edge, const vector2& minSize, const vector2& maxSize)
{
    switch (edge)
    {
        case Top: LimitSpan(c.v0.y, c.v1.y, minSize.y, maxSize.y, -1); break;
        case Bottom: LimitSpan(c.v0.y, c.v1.y, minSize.y, maxSize.y, 1); break;
        case Left: LimitSpan(c.v0.x, c.v1.x, minSize.x, maxSize.x, -1); break;
        case Right: LimitSpan(c.v0.x, c.v1.x, minSize.x, maxSize.x, 1); break;
        case HCenter: LimitSpan(c.v0.x, c.v1.x, minSize.x, maxSize.x, 0); break;
        case VCenter: LimitSpan(c.v0.y, c.v1.y, minSize.y, maxSize.y, 0); break;
    }
}

/*
 * CenterOn --
 *     Side effects: c keeps its size and is centred on middle along the
 *     axis of the centre edge.
 */
void nGuiFormLayout::CenterOn(rectangle& c, Edge edge, float middle)
{
    if (HCenter == edge)
    {
        const float half = c.width() * 0.5f;
        c.v0.x = middle - half;
        c.v1.x = middle + half;
    }
    else if (VCenter == edge)
    {
        const float half = c.height() * 0.5f;
        c.v0.y = middle - half;
        c.v1.y = middle + half;
    }
}

/*
 * ApplyForm --
 *     Side effects: one edge of the child set from the form's edge, limited,
 *     and handed to the child's SetRect (a centre edge changes nothing and
 *     is not limited).
 */
void nGuiFormLayout::ApplyForm(const Attachment& a, float w, float h)
{
    nGuiWidget* child = a.widget.get();
    rectangle c = child->GetRect();
    switch (a.edge)
    {
        case Top: c.v0.y = a.offset; break;
        case Bottom: c.v1.y = h - a.offset; break;
        case Left: c.v0.x = a.offset; break;
        case Right: c.v1.x = w - a.offset; break;
        default: child->SetRect(c); return;
    }
    ApplyLimits(c, a.edge, child->GetMinSize(), child->GetMaxSize());
    child->SetRect(c);
}

/*
 * ApplyPos --
 *     Side effects: one edge (or the middle) of the child set to a fraction
 *     of the form's size, limited, and handed to the child's SetRect.
 */
void nGuiFormLayout::ApplyPos(const Attachment& a, float w, float h)
{
    nGuiWidget* child = a.widget.get();
    rectangle c = child->GetRect();
    switch (a.edge)
    {
        case Top: c.v0.y = h * a.offset; break;
        case Bottom: c.v1.y = h * a.offset; break;
        case Left: c.v0.x = w * a.offset; break;
        case Right: c.v1.x = w * a.offset; break;
        case HCenter: CenterOn(c, HCenter, w * a.offset); break;
        case VCenter: CenterOn(c, VCenter, h * a.offset); break;
    }
    ApplyLimits(c, a.edge, child->GetMinSize(), child->GetMaxSize());
    child->SetRect(c);
}

/*
 * ReapplyPos --
 *     Side effects: a centre is recomputed on the child's current size and
 *     limited; every position attachment's child gets SetRect again.
 */
void nGuiFormLayout::ReapplyPos(const Attachment& a, float w, float h)
{
    if (HCenter == a.edge || VCenter == a.edge)
    {
        this->ApplyPos(a, w, h);
        return;
    }
    nGuiWidget* child = a.widget.get();
    child->SetRect(rectangle(child->GetRect()));
}

/*
 * ApplyWidget --
 *     Side effects: one edge of the child set beside the opposite edge of
 *     the other widget, limited, and handed to the child's SetRect.
 */
void nGuiFormLayout::ApplyWidget(const Attachment& a)
{
    nGuiWidget* child = a.widget.get();
    const rectangle& o = a.other->GetRect();
    rectangle c = child->GetRect();
    switch (a.edge)
    {
        case Top: c.v0.y = o.v1.y + a.offset; break;
        case Bottom: c.v1.y = o.v0.y - a.offset; break;
        case Left: c.v0.x = o.v1.x + a.offset; break;
        case Right: c.v1.x = o.v0.x - a.offset; break;
        default: child->SetRect(c); return;
    }
    ApplyLimits(c, a.edge, child->GetMinSize(), child->GetMaxSize());
    child->SetRect(c);
}

/*
 * UpdateLayout --
 *     Side effects: three passes over the attachments in order: form and
 *     position ones, position ones again (centres recomputed), then widget
 *     ones, which thus see the final form and position results. Records
 *     whose widget (or other widget) has died are skipped; a child's
 *     SetRect that deletes this form ends the layout. A form reached again
 *     while it lays out (attached to itself, to a form attached back to
 *     it, or to the window it lays out) only takes the rectangle.
 */
void nGuiFormLayout::UpdateLayout(const rectangle& r)
{
    if (this->inLayout) return;
    const float w = r.width();
    const float h = r.height();
    nRef<nGuiWidget> self(this);
    this->inLayout = true;
    this->LayOut(w, h, self);
    if (self.isvalid()) this->inLayout = false;
}

/*
 * LayOut --
 *     Side effects: UpdateLayout's passes on a form of w by h; stops when
 *     self dies.
 */
void nGuiFormLayout::LayOut(float w, float h, const nRef<nGuiWidget>& self)
{
    for (int pass = 0; pass < 3; pass++)
    {
        for (size_t i = 0; i < this->attachments.size(); i++)
        {
            const Attachment& a = *this->attachments[i];
            if (!a.widget.isvalid()) continue;
            if (0 == pass && Form == a.type)
                this->ApplyForm(a, w, h);
            else if (0 == pass && Pos == a.type)
                this->ApplyPos(a, w, h);
            else if (1 == pass && Pos == a.type)
                this->ReapplyPos(a, w, h);
            else if (2 == pass && Widget == a.type && a.other.isvalid())
                this->ApplyWidget(a);
            if (!self.isvalid()) return;
        }
    }
}
