#ifndef N_GUICOLORLABEL_H
#define N_GUICOLORLABEL_H
//------------------------------------------------------------------------------
/**
    @class nGuiColorLabel
    @ingroup Gui

    A solid rectangle of one colour, drawn with the skin's white texture,
    which is loaded when the label is first drawn.
*/
#include "gui/nguiwidget.h"
#include "gfx2/ntexture2.h"

class nGuiColorLabel : public nGuiWidget
{
public:
    nGuiColorLabel();

    void OnHide() override;
    void Render() override;
    void SetColor(const vector4& c) { this->color = c; }
    const vector4& GetColor() const { return this->color; }

protected:
    ~nGuiColorLabel() override;

private:
    /// get and load the skin's white texture; false without a skin
    bool ValidateTexture();
    void ReleaseTexture();

    nRef<nTexture2> refTexture;
    /// the texture did not load: reported, not tried again
    bool textureFailed = false;
    vector4 color;
};
#endif
