#ifndef N_GUIWINDOW_H
#define N_GUIWINDOW_H
//------------------------------------------------------------------------------
/**
    @class nGuiWindow
    @ingroup Gui

    A top-level widget below the GUI server's root window (the root window
    is one too): the top-most child window and its focus, modality, fading
    in and out, closing with a close command, and an escape command. A
    window starts hidden.
*/
#include "gui/nguiwidget.h"

class nGuiWindow : public nGuiWidget
{
public:
    nGuiWindow();

    bool OnMouseMoved(const vector2& mousePos) override;
    bool OnButtonDown(const vector2& mousePos) override;
    bool OnButtonUp(const vector2& mousePos) override;
    bool OnRButtonDown(const vector2& mousePos) override;
    bool OnRButtonUp(const vector2& mousePos) override;
    bool OnChar(int chr) override;
    bool OnKeyDown(int key) override;
    bool OnKeyUp(int key) override;
    void OnShow() override;
    void OnFrame() override;
    void Render() override;

    /// bring a child window to the top and give it the focus
    virtual void SetTopMostWindow(nGuiWindow* window);
    /// the last shown child window, or null
    virtual nGuiWindow* GetTopMostWindow() const;

    void SetModal(bool b) { this->modal = b; }
    bool IsModal() const { return this->modal; }
    void SetDismissed(bool b) { this->dismissed = b; }
    bool IsDismissed() const { return this->dismissed; }
    void SetFadeInTime(double t) { this->fadeInTime = t; }
    double GetFadeInTime() const { return this->fadeInTime; }
    void SetFadeOutTime(double t) { this->fadeOutTime = t; }
    double GetFadeOutTime() const { return this->fadeOutTime; }
    /// start fading out; dismissed (and the close command run) when faded
    void Close();
    bool IsCloseRequested() const { return this->closeRequested; }
    void SetCloseCommand(const char* s) { this->closeCommand = s; }
    const char* GetCloseCommand() const { return this->closeCommand.Get(); }
    void SetEscapeCommand(const char* s) { this->escapeCommand = s; }
    const char* GetEscapeCommand() const { return this->escapeCommand.Get(); }
    /// compute windowColor from focus, skin and fading
    void UpdateWindowColor();
    const vector4& GetWindowColor() const { return this->windowColor; }

protected:
    ~nGuiWindow() override;

    nString closeCommand;
    nString escapeCommand;
    bool modal;
    bool dismissed;
    bool closeRequested;
    bool justShown;
    double fadeInTime;
    double fadeOutTime;
    double fadeInStart;
    double closeTime;
    vector4 windowColor;
};
#endif
