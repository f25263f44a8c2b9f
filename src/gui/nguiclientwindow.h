#ifndef N_GUICLIENTWINDOW_H
#define N_GUICLIENTWINDOW_H
//------------------------------------------------------------------------------
/**
    @class nGuiClientWindow
    @ingroup Gui

    A decorated window: when shown it builds a title bar, a close button, a
    size button (each as its flags ask) and a form layout "Layout" for the
    content, lays them out at once, and lets the user move it by the title
    bar and resize it by the size button. The decorations exist only while
    the window is shown: content belongs into "Layout" after showing.
*/
#include "gui/nguiwindow.h"
#include "gui/nguibutton.h"
#include "gui/nguiformlayout.h"
#include "gui/nguitextbutton.h"
#include "kernel/nstrongref.h"

class nGuiClientWindow : public nGuiWindow
{
public:
    enum Flags
    {
        Movable = 1,
        Resizable = 2,
        CloseButton = 4,
        TitleBar = 8,
    };

    nGuiClientWindow();

    void OnShow() override;
    void OnHide() override;
    void SetRect(const rectangle& r) override;
    void OnEvent(const nGuiEvent& event) override;
    bool OnMouseMoved(const vector2& mousePos) override;
    /// place the decorations and the layout in a window of r's size
    virtual void UpdateLayout(const rectangle& r);

    void SetMovable(bool b) { this->SetFlag(Movable, b); }
    bool IsMovable() const { return 0 != (this->flags & Movable); }
    void SetResizable(bool b) { this->SetFlag(Resizable, b); }
    bool IsResizable() const { return 0 != (this->flags & Resizable); }
    void SetCloseButton(bool b) { this->SetFlag(CloseButton, b); }
    bool HasCloseButton() const { return 0 != (this->flags & CloseButton); }
    bool HasTitleBar() const { return 0 != (this->flags & TitleBar); }
    /// store the title and show it in the title bar when there is one
    void SetTitle(const char* title);
    const char* GetTitle() const { return this->title.Get(); }

    void BeginMove();
    void EndMove();
    void CancelMove();
    void BeginResize();
    void EndResize();
    void CancelResize();
    bool IsDragging() const { return this->dragging; }
    bool IsResizing() const { return this->resizing; }
    /// dismiss every sibling window of this window's class
    void DismissSiblings();

    /// the content form (null while hidden)
    nGuiFormLayout* GetFormLayout() const { return this->refFormLayout.get_unsafe(); }
    nGuiButton* GetCloseButtonWidget() const { return this->refCloseButton.get_unsafe(); }
    nGuiButton* GetSizeButtonWidget() const { return this->refSizeButton.get_unsafe(); }
    nGuiTextButton* GetTitleBarWidget() const { return this->refTitleBar.get_unsafe(); }
    float GetTitleBarHeight() const { return this->titleBarHeight; }

protected:
    ~nGuiClientWindow() override;
    /// the brush's screen size, or (0,0) with a message when no skin has it
    static vector2 BrushSize(const char* brushName);
    /// a new child under the kernel's current object, or null (with a
    /// message) when an object of another class already has the name
    static nRoot* NewChild(const char* className, const char* name);

private:
    void SetFlag(ushort flag, bool on);
    /// create the decorations (once) with this window as the current object
    void CreateChildren();

    nString title;
    ushort flags;
    nStrongRef<nGuiButton> refCloseButton;
    nStrongRef<nGuiButton> refSizeButton;
    nStrongRef<nGuiTextButton> refTitleBar;
    nStrongRef<nGuiFormLayout> refFormLayout;
    bool dragging;
    bool resizing;
    vector2 dragStartMousePos;
    rectangle dragStartRect;
    float titleBarHeight;
};
#endif
