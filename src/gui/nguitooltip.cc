//------------------------------------------------------------------------------
//  nguitooltip.cc
//------------------------------------------------------------------------------
#include "gui/nguitooltip.h"
#include "gui/nguiserver.h"
#include "gfx2/ngfxserver2.h"

nGuiToolTip::nGuiToolTip() : justShown(false), fading(false), fadeStart(0.0), fadeColor(1.0f, 1.0f, 1.0f, 1.0f)
{
}

nGuiToolTip::~nGuiToolTip()
{
}

/*
 * UpdatePlacement --
 *     Side effects: the rectangle becomes the text extent plus the border
 *     (and 0.0025 in width), 32 pixels below the mouse, moved onto the
 *     screen. Without a font or a server the rectangle stays as it is.
 */
void nGuiToolTip::UpdatePlacement()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    nFont2* font = this->FindFont();
    if (!gui || !gfx || !font) return;
    gfx->SetFont(font);
    const char* str = this->GetText();
    vector2 size = gfx->GetTextExtent(nString(str ? str : "")) + this->border * 2.0f;
    size.x += 0.0025f;
    const vector2 offset(0.0f, 32.0f / gui->GetDisplaySize().y);
    const vector2& mouse = gui->GetMousePos();
    rectangle r(mouse + offset, mouse + size + offset);
    nGuiServer::MoveRectToVisibleArea(r);
    this->SetRect(r);
}

void nGuiToolTip::OnShow()
{
    this->UpdatePlacement();
    this->justShown = true;
    this->fading = true;
    nGuiTextLabel::OnShow();
}

bool nGuiToolTip::OnMouseMoved(const vector2& mousePos)
{
    this->UpdatePlacement();
    return nGuiTextLabel::OnMouseMoved(mousePos);
}

void nGuiToolTip::SetText(const char* str)
{
    nGuiTextLabel::SetText(str);
    this->UpdatePlacement();
}

/*
 * Render --
 *     Side effects (shown tooltips): draws as a text label with the
 *     server's global colour set to the fade colour: alpha 0 in the first
 *     drawn frame, then rising linearly over the fade time.
 */
void nGuiToolTip::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    this->fadeColor.set(1.0f, 1.0f, 1.0f, 1.0f);
    const double f = gui->GetToolTipFadeTime();
    const double now = Now();
    if (this->justShown && f > 0.0)
    {
        this->fadeColor.w = 0.0f;
    }
    else if (this->fading)
    {
        if (f > 0.01 && this->fadeStart + f > now)
            this->fadeColor.w = n_saturate(float((now - this->fadeStart) / f));
        else
            this->fading = false;
    }
    const vector4 saved = gui->GetGlobalColor();
    gui->SetGlobalColor(this->fadeColor);
    if (this->justShown)
    {
        this->fadeStart = now;
        this->justShown = false;
    }
    nGuiTextLabel::Render();
    gui->SetGlobalColor(saved);
}
