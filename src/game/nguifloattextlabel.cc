//------------------------------------------------------------------------------
//  nguifloattextlabel.cc
//------------------------------------------------------------------------------
#include "game/nguifloattextlabel.h"
#include "game/ngamegui.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nkernelserver.h"

#include <algorithm>

namespace
{

/// the highest top of the label: below the band the match's scripts keep
/// for the boxers' names and the key hints, so a number never covers them
const float TopLimit = 0.14f;

/// the rectangle moved down just as far as its top needs to clear the band
rectangle BelowTopBand(rectangle r)
{
    if (r.v0.y < TopLimit)
    {
        const float down = TopLimit - r.v0.y;
        r.v0.y += down;
        r.v1.y += down;
    }
    return r;
}

}  // namespace

/*
 * nGuiFloatTextLabel --
 *     Side effects: a hidden, centred, white label with the font "score"
 *     in the GUI's root window, when there is one.
 */
nGuiFloatTextLabel::nGuiFloatTextLabel() :
    drift(0.0f)
{
    char name[64];
    nGameGui::UniqueName(this, "", name, sizeof(name));
    nGuiWidget* widget = nGameGui::NewRootWidget("nguitextlabel", name);
    if (!widget)
    {
        n_printf("nGuiFloatTextLabel: no GUI to hold the label\n");
        return;
    }
    nGuiTextLabel* label = static_cast<nGuiTextLabel*>(widget);
    this->m_refLabel.adopt(label);
    label->SetAlignment(nGuiTextLabel::Center);
    label->SetColor(vector4(1.0f, 1.0f, 1.0f, 1.0f));
    label->SetFont("score");
    label->SetRect(rectangle(vector2(0.4f, 0.4f), vector2(0.6f, 0.6f)));
    label->SetText("Hello world!\n");
    label->SetVCenter(true);
    label->Hide();
}

nGuiFloatTextLabel::~nGuiFloatTextLabel() = default;

nGuiTextLabel* nGuiFloatTextLabel::GetLabel() const
{
    n_assert(m_refLabel.isvalid());
    return this->m_refLabel.get();
}

/*
 * SetPosition --
 *     Side effects: the label's rectangle, 0.2 by 0.1, is centred on the
 *     point's screen position (view-projection with the division by w,
 *     y growing downwards), but no higher than the HUD's top band.
 */
void nGuiFloatTextLabel::SetPosition(const vector3& p)
{
    if (!this->m_refLabel.isvalid()) return;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    const vector3 q = gfx ? gfx->GetTransform(nGfxServer2::ViewProjection).transform_coord(p) : p;
    const float x = q.x / 2.0f + 0.5f;
    const float y = q.y * -0.5f + 0.5f;
    this->m_refLabel->SetRect(BelowTopBand(rectangle(vector2(x - 0.1f, y - 0.05f), vector2(x + 0.1f, y + 0.05f))));
}

/*
 * Trigger --
 *     Side effects: while shown, the text's alpha falls by 2 per second
 *     (below 0 the label hides); the drift decays by a factor 10 per
 *     second, never past 0; the label moves by the drift sideways and
 *     0.5 per second upwards until it meets the HUD's top band.
 */
void nGuiFloatTextLabel::Trigger(float dt)
{
    if (!this->m_refLabel.isvalid() || !this->m_refLabel->IsShown()) return;
    nGuiTextLabel* label = this->m_refLabel.get();
    vector4 color = label->GetColor();
    color.w -= dt * 2.0f;
    if (color.w < 0.0f)
    {
        label->Hide();
        return;
    }
    label->SetColor(color);
    float change = this->drift * -10.0f * dt;
    if (this->drift > 0.0f) change = std::max(change, -this->drift);
    else change = std::min(change, -this->drift);
    this->drift += change;
    rectangle r = label->GetRect();
    const vector2 move(this->drift * dt, -0.5f * dt);
    r.v0 += move;
    r.v1 += move;
    label->SetRect(BelowTopBand(r));
}
