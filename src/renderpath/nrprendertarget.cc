//------------------------------------------------------------------------------
//  nrprendertarget.cc
//------------------------------------------------------------------------------
#include "renderpath/nrprendertarget.h"
#include "gfx2/ngfxserver2.h"

namespace
{

/// the largest side a display-relative target gets: an absurd relative
/// size must not overflow the int it is stored in
constexpr double MaxRelativeSide = 16384.0;

/*
 * RelativeSide --
 *     Results: the display side times the relative size, truncated towards
 *     zero, at least 1 and at most MaxRelativeSide (NaN gives 1).
 *     Side effects: none.
 */
int RelativeSide(int displaySide, float relSize)
{
    const double side = double(displaySide) * double(relSize);
    if (!(side >= 1.0)) return 1;
    if (side > MaxRelativeSide) return int(MaxRelativeSide);
    return int(side);
}

}  // namespace

/*
 * Validate --
 *     Results: none.
 *     Side effects: without a texture, creates it through the graphics
 *     server's NewRenderTarget at the declared size, or, when width or
 *     height is below 1, at the display size times relSize (both sides).
 *     A target the graphics server cannot create is a fatal error naming
 *     it: drawing into the back buffer instead would hide the fault.
 */
void nRpRenderTarget::Validate()
{
    if (this->texture.isvalid()) return;
    int w = this->width;
    int h = this->height;
    if ((w < 1) || (h < 1))
    {
        const nDisplayMode2& mode = nGfxServer2::Instance()->GetDisplayMode();
        w = RelativeSide(mode.GetWidth(), this->relSize);
        h = RelativeSide(mode.GetHeight(), this->relSize);
    }
    nTexture2* tex = nGfxServer2::Instance()->NewRenderTarget(this->name.Get(), w, h, this->format,
                                                              nTexture2::RenderTargetColor);
    if (!tex)
    {
        n_error("nRpRenderTarget: could not create render target '%s' (%dx%d)!", this->name.Get(), w, h);
    }
    this->texture.adopt(tex);
}
