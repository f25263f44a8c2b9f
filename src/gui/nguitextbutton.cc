//------------------------------------------------------------------------------
//  nguitextbutton.cc
//------------------------------------------------------------------------------
#include "gui/nguitextbutton.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"

nGuiTextButton::nGuiTextButton() : mouseOver(false), pressed(false)
{
}

nGuiTextButton::~nGuiTextButton()
{
}

void nGuiTextButton::OnFrame()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui && this->Inside(gui->GetMousePos()))
    {
        this->mouseOver = true;
    }
    else if (!this->stickyMouse)
    {
        this->mouseOver = false;
        this->pressed = false;
    }
    nGuiWidget::OnFrame();
}

bool nGuiTextButton::OnButtonDown(const vector2& mousePos)
{
    if (!this->Inside(mousePos)) return false;
    this->mouseOver = true;
    this->pressed = true;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui) gui->PlaySound(nGuiSkin::ButtonClick);
    nGuiWidget::OnButtonDown(mousePos);
    return true;
}

bool nGuiTextButton::OnButtonUp(const vector2& mousePos)
{
    if (!this->pressed) return true;
    this->pressed = false;
    this->mouseOver = false;
    nRef<nGuiWidget> self(this);
    nGuiWidget::OnButtonUp(mousePos);
    if (self.isvalid()) this->OnAction();
    return true;
}

/*
 * Render --
 *     Side effects (shown buttons): pressed, highlight (mouse over or blink
 *     phase) or default brush, then the text, moved while pressed.
 */
void nGuiTextButton::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    nGuiBrush* brush = &this->defaultBrush;
    if (this->pressed)
        brush = &this->pressedBrush;
    else if (this->mouseOver || (this->blinking && this->IsBlinkPhaseOn()))
        brush = &this->highlightBrush;
    gui->DrawBrush(this->GetScreenSpaceRect(), *brush);
    this->RenderText(this->pressed);
}
