#ifndef N_GUIBUTTON_H
#define N_GUIBUTTON_H
//------------------------------------------------------------------------------
/**
    @class nGuiButton
    @ingroup Gui

    A brush button: pressed on a button-down inside (when its window has
    the focus), it fires its command on the following release. Leaving the
    button, or the window losing the focus, cancels the press unless the
    mouse is sticky.
*/
#include "gui/nguiwidget.h"

class nGuiButton : public nGuiWidget
{
public:
    nGuiButton();

    void OnFrame() override;
    bool OnButtonDown(const vector2& mousePos) override;
    bool OnButtonUp(const vector2& mousePos) override;
    void Render() override;
    bool IsPressed() const { return this->pressed; }
    bool IsMouseOver() const { return this->mouseOver; }

protected:
    ~nGuiButton() override;
    /// whether the owner window has the focus (false without one)
    bool OwnerHasFocus() const;

    bool mouseOver;
    bool pressed;
};
#endif
