//------------------------------------------------------------------------------
//  nguilabel.cc
//------------------------------------------------------------------------------
#include "gui/nguilabel.h"
#include "gui/nguiserver.h"

nGuiLabel::nGuiLabel() : mouseOver(false)
{
}

nGuiLabel::~nGuiLabel()
{
}

bool nGuiLabel::OnMouseMoved(const vector2& mousePos)
{
    this->mouseOver = this->Inside(mousePos);
    return nGuiWidget::OnMouseMoved(mousePos);
}

/*
 * Render --
 *     Side effects (shown labels): the disabled brush when disabled, the
 *     highlight brush in the on-phase of blinking, else the default brush.
 */
void nGuiLabel::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    nGuiBrush* brush = &this->defaultBrush;
    if (!this->IsEnabled())
        brush = &this->disabledBrush;
    else if (this->blinking && this->IsBlinkPhaseOn())
        brush = &this->highlightBrush;
    gui->DrawBrush(this->GetScreenSpaceRect(), *brush);
}
