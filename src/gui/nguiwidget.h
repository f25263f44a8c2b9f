#ifndef N_GUIWIDGET_H
#define N_GUIWIDGET_H
//------------------------------------------------------------------------------
/**
    @class nGuiWidget
    @ingroup Gui

    The base of every GUI element: a named tree object whose children are
    its child widgets (tree order is drawing order; the last children get
    clicks first). It holds the rectangle relative to the parent, the
    visibility, enabled, focus and hover state, six command strings, the
    tooltip, blinking and four skin brushes; it passes input and frames
    down the tree, posts a GUI event for each, and runs its command strings
    through the GUI server with itself as the current object.

    A command or listener may delete any widget, this one included. Every
    operation therefore watches its own widget through a reference after
    each call that can run a script and stops touching it once it died;
    child walks hold the next child the same way.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "mathlib/rectangle.h"
#include "mathlib/vector2.h"
#include "mathlib/vector4.h"
#include "util/nstring.h"
#include "gui/nguibrush.h"
#include "gui/nguievent.h"

class nGuiWindow;

class nGuiWidget : public nRoot
{
public:
    nGuiWidget();

    bool SaveCmds(nPersistServer* ps) override;

    virtual bool IsEnabled() const;
    virtual void Render();
    virtual bool OnMouseMoved(const vector2& mousePos);
    virtual bool OnButtonDown(const vector2& mousePos);
    virtual bool OnButtonUp(const vector2& mousePos);
    virtual bool OnRButtonDown(const vector2& mousePos);
    virtual bool OnRButtonUp(const vector2& mousePos);
    virtual bool OnDoubleClick(const vector2& mousePos);
    virtual bool OnChar(int chr);
    virtual bool OnKeyDown(int key);
    virtual bool OnKeyUp(int key);
    virtual void OnShow();
    virtual void OnHide();
    virtual void OnFrame();
    virtual void OnAction();
    virtual void OnEnable();
    virtual void OnDisable();
    virtual void SetRect(const rectangle& r);
    virtual void OnEvent(const nGuiEvent& event);
    virtual void OnObtainFocus();
    virtual void OnLoseFocus();
    virtual bool Inside(const vector2& p);
    virtual rectangle ConvertToScreenSpace(const rectangle& r) const;
    virtual rectangle GetScreenSpaceRect() const;

    void Show();
    void Hide();
    void Enable();
    void Disable();
    bool IsShown() const { return this->shown; }
    bool HasFocus() const { return this->focus; }
    const rectangle& GetRect() const { return this->rect; }
    void SetMinSize(const vector2& s) { this->minSize = s; }
    const vector2& GetMinSize() const { return this->minSize; }
    void SetMaxSize(const vector2& s) { this->maxSize = s; }
    const vector2& GetMaxSize() const { return this->maxSize; }

    /// switch blinking; it ends by itself timeOut seconds later (0: never)
    void SetBlinking(bool on, double timeOut);
    void SetBlinkRate(double rate) { this->blinkRate = rate; }
    double GetBlinkRate() const { return this->blinkRate; }
    bool GetBlinking() const { return this->blinking; }
    double GetBlinkTimeOut() const { return this->blinkTimeOut; }
    /// a pressed button whose mouse leaves stays pressed
    void SetStickyMouse(bool b) { this->stickyMouse = b; }
    bool GetStickyMouse() const { return this->stickyMouse; }

    void SetCommand(const char* s) { this->command = s; }
    /// null when empty
    const char* GetCommand() const;
    void SetShowCommand(const char* s) { this->showCommand = s; }
    const char* GetShowCommand() const { return this->showCommand.Get(); }
    void SetHideCommand(const char* s) { this->hideCommand = s; }
    const char* GetHideCommand() const { return this->hideCommand.Get(); }
    void SetFrameCommand(const char* s) { this->frameCommand = s; }
    const char* GetFrameCommand() const { return this->frameCommand.Get(); }
    void SetButtonDownCommand(const char* s);
    const char* GetButtonDownCommand() const { return this->buttonDownCommand.Get(); }
    void SetTooltip(const char* s);
    const char* GetTooltip() const { return this->tooltip.Get(); }

    void SetDefaultBrush(const char* n) { this->defaultBrush.SetName(n); }
    /// null when empty (as the other three brush getters)
    const char* GetDefaultBrush() const;
    void SetPressedBrush(const char* n) { this->pressedBrush.SetName(n); }
    const char* GetPressedBrush() const;
    void SetHighlightBrush(const char* n) { this->highlightBrush.SetName(n); }
    const char* GetHighlightBrush() const;
    void SetDisabledBrush(const char* n) { this->disabledBrush.SetName(n); }
    const char* GetDisabledBrush() const;

    /// the nearest window, this widget included, going up the tree; or null
    nGuiWindow* GetOwnerWindow() const;
    /// whether the blink phase is on (the first half of each period is off)
    bool IsBlinkPhaseOn() const;

    /// the class of every widget (set by the first widget made)
    static nClass* WidgetClass() { return widgetClass; }
    static nClass* WindowClass() { return windowClass; }

protected:
    ~nGuiWidget() override;

    /// post an event of this widget to the GUI server's listeners
    void PutEvent(nGuiEvent::Type type);
    /// run a command string with this widget as the current object
    void RunCommand(const nString& cmd);
    /// the time server's time (0 without one)
    static double Now();
    /// the GUI time (0 without a GUI server)
    static double GuiTime();

    /// Calls f(child) for each child widget, first to last, or last to
    /// first with backwards; f returns true to stop the walk.
    /// Results: false when this widget died during the walk.
    template <class F> bool ForEachChild(F&& f, bool backwards = false);
    /// as ForEachChild, only over children that are enabled
    template <class F> bool ForEachEnabledChild(F&& f, bool backwards = false);

    nString command;
    nString showCommand;
    nString hideCommand;
    nString frameCommand;
    nString buttonDownCommand;
    nString tooltip;
    double lastButtonDownTime;
    double hoverStartTime;
    bool shown;
    bool enabled;
    bool stickyMouse;
    bool focus;
    bool hovering;
    rectangle rect;
    vector2 minSize;
    vector2 maxSize;
    bool blinking;
    double blinkStarted;
    double blinkTimeOut;
    double blinkRate;
    nGuiBrush defaultBrush;
    nGuiBrush pressedBrush;
    nGuiBrush highlightBrush;
    nGuiBrush disabledBrush;

    static nClass* widgetClass;
    static nClass* windowClass;
};

template <class F> bool
nGuiWidget::ForEachChild(F&& f, bool backwards)
{
    nRef<nGuiWidget> self(this);
    nRef<nRoot> next;
    nRoot* cur = backwards ? this->GetTail() : this->GetHead();
    while (cur)
    {
        next.set(backwards ? cur->GetPred() : cur->GetSucc());
        if (cur->IsA(widgetClass))
        {
            const bool stop = f(static_cast<nGuiWidget*>(cur));
            if (!self.isvalid()) return false;
            if (stop) return true;
        }
        cur = next.get_unsafe();
    }
    return true;
}

template <class F> bool
nGuiWidget::ForEachEnabledChild(F&& f, bool backwards)
{
    return this->ForEachChild([&f](nGuiWidget* child) { return child->IsEnabled() ? f(child) : false; }, backwards);
}
#endif
