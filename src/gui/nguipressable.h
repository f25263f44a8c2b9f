#ifndef N_GUIPRESSABLE_H
#define N_GUIPRESSABLE_H
//------------------------------------------------------------------------------
/**
    @class nGuiPressable
    @ingroup Gui

    The press of a button, shared by the brush button (over nGuiWidget)
    and the text button (over nGuiTextLabel): a button-down on the button
    presses it, with the click sound, and the following release fires its
    command; leaving the button cancels the press unless the mouse is
    sticky. A button that needs the focus takes the mouse only while its
    window has the focus.
*/
#include "gui/nguiwidget.h"

template <class BASE>
class nGuiPressable : public BASE
{
public:
    void OnFrame() override;
    bool OnButtonDown(const vector2& mousePos) override;
    bool OnButtonUp(const vector2& mousePos) override;
    bool IsPressed() const { return this->pressed; }

protected:
    explicit nGuiPressable(bool needsFocus) : needsFocus(needsFocus) {}
    ~nGuiPressable() override = default;

    /// the pressed, highlight (mouse over or blink phase on) or default brush
    nGuiBrush& PressLook();

    bool mouseOver = false;
    bool pressed = false;

private:
    /// whether the mouse at p is on the button where it may be taken
    bool Takes(const vector2& p);

    bool needsFocus;
};

// the members are made once, in nguipressable.cc, for the two buttons
extern template class nGuiPressable<nGuiWidget>;
#endif
