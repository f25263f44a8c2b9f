//------------------------------------------------------------------------------
//  nguipressable.cc
//------------------------------------------------------------------------------
#include "gui/nguipressable.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"
#include "gui/nguitextlabel.h"
#include "gui/nguiwindow.h"

/*
 * Takes --
 *     Results: whether p is inside the button and, for a button that needs
 *     the focus, its window has it (a button outside any window has none).
 */
template <class BASE>
bool nGuiPressable<BASE>::Takes(const vector2& p)
{
    if (!this->Inside(p)) return false;
    if (!this->needsFocus) return true;
    const nGuiWindow* window = this->GetOwnerWindow();
    return window && window->HasFocus();
}

/*
 * OnFrame --
 *     Side effects: the mouse is over while it is on the button; off it, a
 *     press ends unless the mouse is sticky. Then the widget's frame.
 */
template <class BASE>
void nGuiPressable<BASE>::OnFrame()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui && this->Takes(gui->GetMousePos()))
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
 *     Results: whether the button took the click.
 *     Side effects: pressed, the click sound, then the widget's button-down.
 */
template <class BASE>
bool nGuiPressable<BASE>::OnButtonDown(const vector2& mousePos)
{
    if (!this->Takes(mousePos)) return false;
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
template <class BASE>
bool nGuiPressable<BASE>::OnButtonUp(const vector2& mousePos)
{
    if (!this->pressed) return true;
    this->pressed = false;
    this->mouseOver = false;
    nRef<nGuiWidget> self(this);
    nGuiWidget::OnButtonUp(mousePos);
    if (self.isvalid()) this->OnAction();
    return true;
}

template <class BASE>
nGuiBrush& nGuiPressable<BASE>::PressLook()
{
    if (this->pressed) return this->pressedBrush;
    if (this->mouseOver || (this->blinking && this->IsBlinkPhaseOn())) return this->highlightBrush;
    return this->defaultBrush;
}

template class nGuiPressable<nGuiWidget>;
template class nGuiPressable<nGuiTextLabel>;
