#ifndef N_GUITEXTBUTTON_H
#define N_GUITEXTBUTTON_H
//------------------------------------------------------------------------------
/**
    @class nGuiTextButton
    @ingroup Gui

    A text label that acts as a button. Unlike the brush button it does not
    ask its window for the focus, and it has no disabled look.
*/
#include "gui/nguitextlabel.h"

class nGuiTextButton : public nGuiTextLabel
{
public:
    nGuiTextButton();

    void OnFrame() override;
    bool OnButtonDown(const vector2& mousePos) override;
    bool OnButtonUp(const vector2& mousePos) override;
    void Render() override;
    bool IsPressed() const { return this->pressed; }

protected:
    ~nGuiTextButton() override;

    bool mouseOver;
    bool pressed;
};
#endif
