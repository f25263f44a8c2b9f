//------------------------------------------------------------------------------
//  nguibutton.cc
//------------------------------------------------------------------------------
#include "gui/nguibutton.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"
#include "gui/nguiwindow.h"

nGuiButton::nGuiButton() : mouseOver(false), pressed(false)
{
}

nGuiButton::~nGuiButton()
{
}

/*
 * OwnerHasFocus --
 *     Results: whether the button's window has the focus; a button outside
 *     any window has none.
 */
bool nGuiButton::OwnerHasFocus() const
{
    const nGuiWindow* window = this->GetOwnerWindow();
    return window && window->HasFocus();
}

void nGuiButton::OnFrame()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui && this->Inside(gui->GetMousePos()) && this->OwnerHasFocus())
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

/*
 * OnButtonDown --
 *     Results: whether the button took the click (inside, window focused).
 *     Side effects: pressed, the click sound, then the widget's button-down.
 */
bool nGuiButton::OnButtonDown(const vector2& mousePos)
{
    if (!this->Inside(mousePos) || !this->OwnerHasFocus()) return false;
    this->mouseOver = true;
    this->pressed = true;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui) gui->PlaySound(nGuiSkin::ButtonClick);
    nGuiWidget::OnButtonDown(mousePos);
    return true;
}

/*
 * OnButtonUp --
 *     Results: true.
 *     Side effects: a pressed button is released and fires OnAction after
 *     the widget's button-up.
 */
bool nGuiButton::OnButtonUp(const vector2& mousePos)
{
    if (!this->pressed) return true;
    this->pressed = false;
    this->mouseOver = false;
    nRef<nGuiWidget> self(this);
    nGuiWidget::OnButtonUp(mousePos);
    if (self.isvalid()) this->OnAction();
    return true;
}

void nGuiButton::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    nGuiBrush* brush = &this->defaultBrush;
    if (!this->IsEnabled())
        brush = &this->disabledBrush;
    else if (this->pressed)
        brush = &this->pressedBrush;
    else if (this->mouseOver || (this->blinking && this->IsBlinkPhaseOn()))
        brush = &this->highlightBrush;
    gui->DrawBrush(this->GetScreenSpaceRect(), *brush);
}
