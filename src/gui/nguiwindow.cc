//------------------------------------------------------------------------------
//  nguiwindow.cc
//------------------------------------------------------------------------------
#include "gui/nguiwindow.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"

namespace
{

/// the engine key code of "esc"
const int EscapeKey = 12;

}  // namespace

nGuiWindow::nGuiWindow() :
    modal(false),
    dismissed(false),
    closeRequested(false),
    justShown(false),
    fadeInTime(0.0),
    fadeOutTime(0.0),
    fadeInStart(0.0),
    closeTime(0.0),
    windowColor(1.0f, 1.0f, 1.0f, 1.0f)
{
    n_assert(windowClass);
    this->shown = false;
}

nGuiWindow::~nGuiWindow()
{
}

/*
 * GetTopMostWindow --
 *     Results: the last child that is a shown window, or null.
 */
nGuiWindow* nGuiWindow::GetTopMostWindow() const
{
    for (nRoot* cur = this->GetTail(); cur; cur = cur->GetPred())
    {
        if (cur->IsA(windowClass) && static_cast<nGuiWindow*>(cur)->IsShown())
        {
            return static_cast<nGuiWindow*>(cur);
        }
    }
    return nullptr;
}

/*
 * SetTopMostWindow --
 *     Side effects: the focused top-most window loses the focus; the
 *     window becomes the last child and obtains it.
 */
void nGuiWindow::SetTopMostWindow(nGuiWindow* window)
{
    n_assert(window);
    n_assert(window->IsA(this->windowClass));
    n_assert(this == window->GetParent());
    n_assert(this != window);
    nGuiWindow* top = this->GetTopMostWindow();
    if (top && top->HasFocus()) top->OnLoseFocus();
    window->Remove();
    this->AddTail(window);
    window->OnObtainFocus();
}

void nGuiWindow::OnShow()
{
    nRef<nGuiWidget> self(this);
    nGuiWidget::OnShow();
    if (self.isvalid()) this->justShown = true;
}

void nGuiWindow::Close()
{
    if (!this->closeRequested)
    {
        this->closeRequested = true;
        this->closeTime = Now();
    }
}

/*
 * OnFrame --
 *     Side effects: gives the top-most child window the focus it lacks;
 *     guards the fade clocks against a clock that ran backwards; a closing
 *     window that has faded out is dismissed and runs its close command
 *     once; then the widget's frame.
 */
void nGuiWindow::OnFrame()
{
    nRef<nGuiWidget> self(this);
    nGuiWindow* top = this->GetTopMostWindow();
    if (top && !top->HasFocus()) top->OnObtainFocus();
    const double now = Now();
    if (now < this->fadeInStart) this->fadeInStart = now - this->fadeInTime;
    if (this->closeRequested && !this->dismissed)
    {
        if (now < this->closeTime) this->closeTime = now;
        if (now > this->closeTime + this->fadeOutTime)
        {
            this->dismissed = true;
            this->RunCommand(this->closeCommand);
            if (!self.isvalid()) return;
        }
    }
    nGuiWidget::OnFrame();
}

bool nGuiWindow::OnMouseMoved(const vector2& mousePos)
{
    if (!this->shown) return false;
    return nGuiWidget::OnMouseMoved(mousePos);
}

/*
 * OnButtonDown --
 *     Results: false when hidden or outside; true whenever a top-most
 *     child window exists (a modal one swallows clicks outside it).
 *     Side effects: a click outside the top-most window on another shown
 *     child window brings that one to the top and passes the click on.
 */
bool nGuiWindow::OnButtonDown(const vector2& mousePos)
{
    if (!this->shown || !this->Inside(mousePos)) return false;
    nGuiWindow* top = this->GetTopMostWindow();
    if (!top) return nGuiWidget::OnButtonDown(mousePos);
    if (top->Inside(mousePos))
    {
        top->OnButtonDown(mousePos);
        return true;
    }
    if (top->IsModal()) return true;
    for (nRoot* cur = this->GetTail(); cur; cur = cur->GetPred())
    {
        if (cur == top || !cur->IsA(windowClass)) continue;
        nGuiWindow* w = static_cast<nGuiWindow*>(cur);
        if (w->IsShown() && w->Inside(mousePos))
        {
            nRef<nGuiWidget> self(this);
            nRef<nGuiWidget> refW(w);
            this->SetTopMostWindow(w);
            if (self.isvalid() && refW.isvalid()) w->OnButtonDown(mousePos);
            return true;
        }
    }
    return true;
}

bool nGuiWindow::OnButtonUp(const vector2& mousePos)
{
    if (!this->shown) return false;
    nGuiWindow* top = this->GetTopMostWindow();
    if (top)
        top->OnButtonUp(mousePos);
    else
        nGuiWidget::OnButtonUp(mousePos);
    return true;
}

bool nGuiWindow::OnRButtonDown(const vector2& mousePos)
{
    if (!this->shown || !this->Inside(mousePos)) return false;
    nGuiWindow* top = this->GetTopMostWindow();
    if (top)
        top->OnRButtonDown(mousePos);
    else
        nGuiWidget::OnRButtonDown(mousePos);
    return true;
}

bool nGuiWindow::OnRButtonUp(const vector2& mousePos)
{
    if (!this->shown) return false;
    nGuiWindow* top = this->GetTopMostWindow();
    if (top)
        top->OnRButtonUp(mousePos);
    else
        nGuiWidget::OnRButtonUp(mousePos);
    return true;
}

bool nGuiWindow::OnChar(int chr)
{
    if (!this->shown) return false;
    nGuiWindow* top = this->GetTopMostWindow();
    return top ? top->OnChar(chr) : nGuiWidget::OnChar(chr);
}

bool nGuiWindow::OnKeyUp(int key)
{
    if (!this->shown) return false;
    nGuiWindow* top = this->GetTopMostWindow();
    return top ? top->OnKeyUp(key) : nGuiWidget::OnKeyUp(key);
}

/*
 * OnKeyDown --
 *     Results: whether the key was handled.
 *     Side effects: forwarded to the top-most child window or the
 *     widget's children; "esc" nobody handled runs the escape command.
 */
bool nGuiWindow::OnKeyDown(int key)
{
    if (!this->shown) return false;
    nRef<nGuiWidget> self(this);
    nGuiWindow* top = this->GetTopMostWindow();
    const bool handled = top ? top->OnKeyDown(key) : nGuiWidget::OnKeyDown(key);
    if (!self.isvalid()) return handled;
    if (!handled && EscapeKey == key && !this->escapeCommand.IsEmpty())
    {
        this->RunCommand(this->escapeCommand);
        return true;
    }
    return handled;
}

/*
 * UpdateWindowColor --
 *     Side effects: windowColor = the skin's active colour for the focused
 *     window or the root window, else its inactive colour ((1,1,1,1)
 *     without a skin); alpha follows the fade in and out.
 */
void nGuiWindow::UpdateWindowColor()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    nGuiSkin* skin = gui ? gui->GetSkin() : nullptr;
    const vector4 active = skin ? skin->GetActiveWindowColor() : vector4(1.0f, 1.0f, 1.0f, 1.0f);
    const vector4 inactive = skin ? skin->GetInactiveWindowColor() : vector4(1.0f, 1.0f, 1.0f, 1.0f);
    const bool isRoot = gui && gui->GetRootWindowPointer() == this;
    this->windowColor = (this->focus || isRoot) ? active : inactive;
    const double now = Now();
    if (this->justShown && this->fadeInTime > 0.0)
    {
        this->windowColor.w = 0.0f;
    }
    else if (this->closeRequested)
    {
        if (this->fadeOutTime > 0.01 && now > this->closeTime)
        {
            this->windowColor.w *= 1.0f - n_saturate(float((now - this->closeTime) / this->fadeOutTime));
        }
    }
    else if (this->fadeInTime > 0.01 && this->fadeInStart + this->fadeInTime > now)
    {
        this->windowColor.w *= n_saturate(float((now - this->fadeInStart) / this->fadeInTime));
    }
}

/*
 * Render --
 *     Side effects (shown windows): draws the default brush and the
 *     children with the window colour as the server's global colour; the
 *     first drawn frame starts the fade-in clock.
 */
void nGuiWindow::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    this->UpdateWindowColor();
    const vector4 saved = gui->GetGlobalColor();
    gui->SetGlobalColor(this->windowColor);
    gui->DrawBrush(this->GetScreenSpaceRect(), this->defaultBrush);
    if (this->justShown)
    {
        this->fadeInStart = Now();
        this->justShown = false;
    }
    nGuiWidget::Render();
    gui->SetGlobalColor(saved);
}
