#ifndef N_GUITOOLTIP_H
#define N_GUITOOLTIP_H
//------------------------------------------------------------------------------
/**
    @class nGuiToolTip
    @ingroup Gui

    The text label that follows the mouse 32 pixels below the pointer,
    stays on screen and fades in over the GUI server's tooltip fade time.
*/
#include "gui/nguitextlabel.h"

class nGuiToolTip : public nGuiTextLabel
{
public:
    nGuiToolTip();

    void OnShow() override;
    bool OnMouseMoved(const vector2& mousePos) override;
    void SetText(const char* text) override;
    void Render() override;
    const vector4& GetFadeColor() const { return this->fadeColor; }

protected:
    ~nGuiToolTip() override;

private:
    /// size the tooltip to its text and put it below the mouse, on screen
    void UpdatePlacement();

    bool justShown;
    bool fading;
    double fadeStart;
    vector4 fadeColor;
};
#endif
