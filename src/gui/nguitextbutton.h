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
#include "gui/nguipressable.h"

extern template class nGuiPressable<nGuiTextLabel>;

class nGuiTextButton : public nGuiPressable<nGuiTextLabel>
{
public:
    nGuiTextButton();

    void Render() override;

protected:
    ~nGuiTextButton() override;
};
#endif
