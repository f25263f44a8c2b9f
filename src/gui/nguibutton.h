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
#include "gui/nguipressable.h"

class nGuiButton : public nGuiPressable<nGuiWidget>
{
public:
    nGuiButton();

    void Render() override;
    bool IsMouseOver() const { return this->mouseOver; }

protected:
    ~nGuiButton() override;
};
#endif
