#ifndef N_GUITEXTUREVIEW_H
#define N_GUITEXTUREVIEW_H
//------------------------------------------------------------------------------
/**
    @class nGuiTextureView
    @ingroup Gui

    Draws a whole texture, tinted by a colour, over its rectangle (above its
    default brush). The texture is not faded with its window: only the
    brush is. The owner sets the texture; the view does not hold a count
    on it.
*/
#include "gui/nguiwidget.h"
#include "gfx2/ntexture2.h"

class nGuiTextureView : public nGuiWidget
{
public:
    nGuiTextureView();

    void Render() override;

    /// the texture to draw (null draws only the brush)
    void SetTexture(nTexture2* tex) { this->refTexture.set(tex); }
    nTexture2* GetTexture() const { return this->refTexture.get_unsafe(); }
    void SetColor(const vector4& c) { this->color = c; }
    const vector4& GetColor() const { return this->color; }

protected:
    ~nGuiTextureView() override;

    nRef<nTexture2> refTexture;
    vector4 color;
};
#endif
