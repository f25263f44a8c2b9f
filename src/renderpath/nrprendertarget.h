#ifndef N_RPRENDERTARGET_H
#define N_RPRENDERTARGET_H
//------------------------------------------------------------------------------
/**
    @class nRpRenderTarget
    @ingroup RenderPath

    A render target the render path declares: a texture that passes draw
    into, either of a fixed size or of a size relative to the display.
*/
#include "kernel/nstrongref.h"
#include "gfx2/ntexture2.h"
#include "util/nstring.h"

class nRpRenderTarget
{
public:
    nRpRenderTarget() = default;

    void SetName(const nString& n) { this->name = n; }
    const nString& GetName() const { return this->name; }
    void SetFormat(nTexture2::Format f) { this->format = f; }
    nTexture2::Format GetFormat() const { return this->format; }
    void SetRelSize(float s) { this->relSize = s; }
    float GetRelSize() const { return this->relSize; }
    void SetWidth(int w) { this->width = w; }
    int GetWidth() const { return this->width; }
    void SetHeight(int h) { this->height = h; }
    int GetHeight() const { return this->height; }
    /// the render-target texture, null before Validate
    nTexture2* GetTexture() const { return this->texture.get_unsafe(); }

    /// create the texture unless there is one
    void Validate();

private:
    nString name;
    nTexture2::Format format = nTexture2::X8R8G8B8;
    float relSize = 1.0f;
    int width = 0;
    int height = 0;
    nStrongRef<nTexture2> texture;
};
#endif
