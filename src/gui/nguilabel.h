#ifndef N_GUILABEL_H
#define N_GUILABEL_H
//------------------------------------------------------------------------------
/**
    @class nGuiLabel
    @ingroup Gui

    A widget that draws one skin brush: disabled, highlight while blinking,
    or default.
*/
#include "gui/nguiwidget.h"

class nGuiLabel : public nGuiWidget
{
public:
    nGuiLabel();

    bool OnMouseMoved(const vector2& mousePos) override;
    void Render() override;
    bool IsMouseOver() const { return this->mouseOver; }

protected:
    ~nGuiLabel() override;

    bool mouseOver;
};
#endif
