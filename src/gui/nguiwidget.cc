//------------------------------------------------------------------------------
//  nguiwidget.cc
//------------------------------------------------------------------------------
#include "gui/nguiwidget.h"
#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "kernel/nkernelserver.h"
#include "kernel/ntimeserver.h"

#include <cmath>

nClass* nGuiWidget::widgetClass = nullptr;
nClass* nGuiWidget::windowClass = nullptr;

namespace
{

/// how soon a second button-down counts as a double click, in seconds
const double DoubleClickTime = 0.2;

const char* NullIfEmpty(const nString& s)
{
    return s.IsEmpty() ? nullptr : s.Get();
}

}  // namespace

nGuiWidget::nGuiWidget() :
    lastButtonDownTime(0.0),
    hoverStartTime(0.0),
    shown(true),
    enabled(true),
    stickyMouse(false),
    focus(false),
    hovering(false),
    rect(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f)),
    minSize(0.0f, 0.0f),
    maxSize(1.0f, 1.0f),
    blinking(false),
    blinkStarted(0.0),
    blinkTimeOut(0.0),
    blinkRate(1.0)
{
    widgetClass = kernelServer->FindClass("nguiwidget");
    windowClass = kernelServer->FindClass("nguiwindow");
}

nGuiWidget::~nGuiWidget()
{
}

/*
 * Now --
 *     Results: the time server's time, 0 when the kernel has none.
 */
double nGuiWidget::Now()
{
    nRoot* ts = kernelServer ? kernelServer->GetTimeServerObject() : nullptr;
    return ts ? static_cast<nTimeServer*>(ts)->GetTime() : 0.0;
}

double nGuiWidget::GuiTime()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    return gui ? gui->GetTime() : 0.0;
}

void nGuiWidget::PutEvent(nGuiEvent::Type type)
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    nGuiEvent event(this, type);
    gui->PutEvent(event);
}

void nGuiWidget::RunCommand(const nString& cmd)
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui && !cmd.IsEmpty()) gui->RunCommand(this, cmd.Get());
}

//--- state ----------------------------------------------------------------------

bool nGuiWidget::IsEnabled() const
{
    return this->enabled;
}

/*
 * Show --
 *     Side effects: OnShow, then the shown flag (whatever it was before:
 *     a shown widget shown again runs OnShow again).
 */
void nGuiWidget::Show()
{
    nRef<nGuiWidget> self(this);
    this->OnShow();
    if (self.isvalid()) this->shown = true;
}

void nGuiWidget::Hide()
{
    nRef<nGuiWidget> self(this);
    this->OnHide();
    if (self.isvalid()) this->shown = false;
}

void nGuiWidget::Enable()
{
    this->enabled = true;
    this->OnEnable();
}

void nGuiWidget::Disable()
{
    this->enabled = false;
    this->OnDisable();
}

void nGuiWidget::SetBlinking(bool on, double timeOut)
{
    this->blinking = on;
    this->blinkTimeOut = timeOut;
    this->blinkStarted = GuiTime();
}

bool nGuiWidget::IsBlinkPhaseOn() const
{
    if (this->blinkRate <= 0.0) return false;
    return fmod(GuiTime(), this->blinkRate) > this->blinkRate / 2.0;
}

const char* nGuiWidget::GetCommand() const
{
    return NullIfEmpty(this->command);
}

void nGuiWidget::SetButtonDownCommand(const char* s)
{
    n_assert(s);
    this->buttonDownCommand = s;
}

void nGuiWidget::SetTooltip(const char* s)
{
    n_assert(s);
    this->tooltip = s;
}

const char* nGuiWidget::GetDefaultBrush() const
{
    return NullIfEmpty(this->defaultBrush.GetName());
}

const char* nGuiWidget::GetPressedBrush() const
{
    return NullIfEmpty(this->pressedBrush.GetName());
}

const char* nGuiWidget::GetHighlightBrush() const
{
    return NullIfEmpty(this->highlightBrush.GetName());
}

const char* nGuiWidget::GetDisabledBrush() const
{
    return NullIfEmpty(this->disabledBrush.GetName());
}

/*
 * GetOwnerWindow --
 *     Results: this widget or the nearest ancestor that is a window; null
 *     when there is none.
 */
nGuiWindow* nGuiWidget::GetOwnerWindow() const
{
    for (const nRoot* cur = this; cur; cur = cur->GetParent())
    {
        if (windowClass && cur->IsA(windowClass))
        {
            return static_cast<nGuiWindow*>(const_cast<nRoot*>(cur));
        }
    }
    return nullptr;
}

//--- coordinates ------------------------------------------------------------------

void nGuiWidget::SetRect(const rectangle& r)
{
    this->rect = r;
}

/*
 * ConvertToScreenSpace --
 *     Results: r (relative to this widget) moved by the top-left corners of
 *     this widget and of every widget ancestor up to the first non-widget.
 */
rectangle nGuiWidget::ConvertToScreenSpace(const rectangle& r) const
{
    rectangle result = r;
    for (const nRoot* cur = this; cur && cur->IsA(widgetClass); cur = cur->GetParent())
    {
        const vector2& corner = static_cast<const nGuiWidget*>(cur)->rect.v0;
        result.v0 += corner;
        result.v1 += corner;
    }
    return result;
}

rectangle nGuiWidget::GetScreenSpaceRect() const
{
    const nRoot* parent = this->GetParent();
    if (parent && parent->IsA(widgetClass))
    {
        return static_cast<const nGuiWidget*>(parent)->ConvertToScreenSpace(this->rect);
    }
    return this->rect;
}

bool nGuiWidget::Inside(const vector2& p)
{
    if (!this->shown) return false;
    return this->GetScreenSpaceRect().inside(p);
}

//--- drawing and input --------------------------------------------------------------

void nGuiWidget::Render()
{
    if (!this->shown) return;
    this->ForEachChild([](nGuiWidget* child) {
        child->Render();
        return false;
    });
}

bool nGuiWidget::OnMouseMoved(const vector2& mousePos)
{
    if (!this->shown) return false;
    this->ForEachEnabledChild([&mousePos](nGuiWidget* child) {
        child->OnMouseMoved(mousePos);
        return false;
    });
    return true;
}

/*
 * OnButtonDown --
 *     Results: whether a child took the click (this widget's own hit does
 *     not count).
 *     Side effects: the enabled children are offered the click last to
 *     first until one takes it; then, when the point is inside, the
 *     ButtonDown event, the button-down command and, for a second press
 *     within 0.2 s (GUI time, strictly later), OnDoubleClick.
 */
bool nGuiWidget::OnButtonDown(const vector2& mousePos)
{
    if (!this->shown) return false;
    nRef<nGuiWidget> self(this);
    bool handled = false;
    if (!this->ForEachEnabledChild(
            [&](nGuiWidget* child) {
                handled = child->OnButtonDown(mousePos);
                return handled;
            },
            true))
    {
        return handled;
    }
    if (this->Inside(mousePos))
    {
        this->PutEvent(nGuiEvent::ButtonDown);
        if (!self.isvalid()) return handled;
        this->RunCommand(this->buttonDownCommand);
        if (!self.isvalid()) return handled;
        const double t = GuiTime();
        const double dt = t - this->lastButtonDownTime;
        if (dt > 0.0 && dt < DoubleClickTime)
        {
            this->OnDoubleClick(mousePos);
            if (!self.isvalid()) return handled;
        }
        this->lastButtonDownTime = t;
    }
    return handled;
}

bool nGuiWidget::OnButtonUp(const vector2& mousePos)
{
    if (!this->shown) return false;
    nRef<nGuiWidget> self(this);
    this->PutEvent(nGuiEvent::ButtonUp);
    if (!self.isvalid()) return false;
    this->ForEachEnabledChild([&mousePos](nGuiWidget* child) {
        child->OnButtonUp(mousePos);
        return false;
    });
    return false;
}

bool nGuiWidget::OnRButtonDown(const vector2& mousePos)
{
    if (!this->shown) return false;
    nRef<nGuiWidget> self(this);
    this->PutEvent(nGuiEvent::RButtonDown);
    if (!self.isvalid()) return false;
    bool handled = false;
    this->ForEachEnabledChild([&](nGuiWidget* child) {
        if (child->OnRButtonDown(mousePos)) handled = true;
        return false;
    });
    return handled;
}

bool nGuiWidget::OnRButtonUp(const vector2& mousePos)
{
    if (!this->shown) return false;
    nRef<nGuiWidget> self(this);
    this->PutEvent(nGuiEvent::RButtonUp);
    if (!self.isvalid()) return false;
    this->ForEachEnabledChild([&mousePos](nGuiWidget* child) {
        child->OnRButtonUp(mousePos);
        return false;
    });
    return false;
}

bool nGuiWidget::OnDoubleClick(const vector2& /*mousePos*/)
{
    if (this->shown) this->PutEvent(nGuiEvent::DoubleClick);
    return false;
}

bool nGuiWidget::OnChar(int chr)
{
    if (!this->shown) return false;
    nRef<nGuiWidget> self(this);
    this->PutEvent(nGuiEvent::Char);
    if (!self.isvalid()) return false;
    bool handled = false;
    this->ForEachEnabledChild([&](nGuiWidget* child) {
        if (child->OnChar(chr)) handled = true;
        return false;
    });
    return handled;
}

bool nGuiWidget::OnKeyDown(int key)
{
    if (!this->shown) return false;
    nRef<nGuiWidget> self(this);
    this->PutEvent(nGuiEvent::KeyDown);
    if (!self.isvalid()) return false;
    bool handled = false;
    this->ForEachEnabledChild([&](nGuiWidget* child) {
        if (child->OnKeyDown(key)) handled = true;
        return false;
    });
    return handled;
}

bool nGuiWidget::OnKeyUp(int key)
{
    if (!this->shown) return false;
    nRef<nGuiWidget> self(this);
    this->PutEvent(nGuiEvent::KeyUp);
    if (!self.isvalid()) return false;
    bool handled = false;
    this->ForEachEnabledChild([&](nGuiWidget* child) {
        if (child->OnKeyUp(key)) handled = true;
        return false;
    });
    return handled;
}

/*
 * OnShow --
 *     Side effects: the show command, the Show event, then OnShow of every
 *     child that is shown.
 */
void nGuiWidget::OnShow()
{
    nRef<nGuiWidget> self(this);
    this->RunCommand(this->showCommand);
    if (!self.isvalid()) return;
    this->PutEvent(nGuiEvent::Show);
    if (!self.isvalid()) return;
    this->ForEachChild([](nGuiWidget* child) {
        if (child->IsShown()) child->OnShow();
        return false;
    });
}

void nGuiWidget::OnHide()
{
    nRef<nGuiWidget> self(this);
    this->RunCommand(this->hideCommand);
    if (!self.isvalid()) return;
    this->ForEachChild([](nGuiWidget* child) {
        if (child->IsShown()) child->OnHide();
        return false;
    });
}

void nGuiWidget::OnAction()
{
    nRef<nGuiWidget> self(this);
    this->RunCommand(this->command);
    if (self.isvalid()) this->PutEvent(nGuiEvent::Action);
}

void nGuiWidget::OnEnable()
{
    this->PutEvent(nGuiEvent::Enabled);
}

void nGuiWidget::OnDisable()
{
    this->PutEvent(nGuiEvent::Disabled);
}

void nGuiWidget::OnEvent(const nGuiEvent& /*event*/)
{
}

void nGuiWidget::OnObtainFocus()
{
    this->focus = true;
    this->ForEachChild([](nGuiWidget* child) {
        child->OnObtainFocus();
        return false;
    });
}

void nGuiWidget::OnLoseFocus()
{
    this->focus = false;
    this->ForEachChild([](nGuiWidget* child) {
        child->OnLoseFocus();
        return false;
    });
}

/*
 * OnFrame --
 *     Side effects (shown widgets only): the hover clock (a tooltip is
 *     asked for every frame once the mouse has hovered longer than the
 *     server's delay), the blink time-out, the frame command, then the
 *     children's OnFrame.
 */
void nGuiWidget::OnFrame()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    const bool over = gui && this->Inside(gui->GetMousePos());
    if (!over || this->tooltip.IsEmpty())
    {
        this->hovering = false;
    }
    else
    {
        const double now = Now();
        if (this->hovering)
        {
            if (this->hoverStartTime + gui->GetToolTipDelay() < now)
            {
                gui->ShowToolTip(this->tooltip.Get(), vector4(0.0f, 0.0f, 0.0f, 1.0f));
            }
        }
        else
        {
            this->hoverStartTime = now;
            this->hovering = true;
        }
    }
    if (this->blinking && this->blinkTimeOut > 0.0 && this->blinkStarted + this->blinkTimeOut <= GuiTime())
    {
        this->SetBlinking(false, 0.0);
    }
    nRef<nGuiWidget> self(this);
    this->RunCommand(this->frameCommand);
    if (!self.isvalid()) return;
    this->ForEachChild([](nGuiWidget* child) {
        child->OnFrame();
        return false;
    });
}
