#ifndef N_VIEWPORT_H
#define N_VIEWPORT_H
//------------------------------------------------------------------------------
/**
    @class nViewport
    @ingroup Gfx2

    The part of the render target that is drawn to, in pixels, and its
    depth range.
*/
class nViewport
{
public:
    nViewport() = default;
    nViewport(float x, float y, float w, float h, float nz, float fz) :
        x(x), y(y), width(w), height(h), nearZ(nz), farZ(fz)
    {
    }

    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float nearZ = 0.0f;
    float farZ = 0.0f;
};
#endif
