#ifndef N_D3D9SURFACE_H
#define N_D3D9SURFACE_H
//------------------------------------------------------------------------------
/**
    @class nD3D9Surface
    @ingroup Gfx2

    One image level of a 2D texture of the Direct3D 9 server's device.
    The surface holds a reference to its texture; locking locks that level
    of the texture (a copy in memory, put back on Unlock).
*/
#include "gfx2/nsurface.h"

class nD3D9Texture;

class nD3D9Surface : public nSurface
{
public:
    nD3D9Surface() = default;

    /// the texture level this surface stands for (one more reference to the texture)
    void SetBaseSurface(nD3D9Texture* texture, int level);
    bool HasBaseSurface() const { return this->baseSurface != nullptr; }

    void LoadFromMemory(const void* srcPixels, nTexture2::Format srcFormat, int width, int height,
                        int srcPitch) override;
    void Lock(int& pitch, void*& pixels) override;
    void Unlock() override;

protected:
    /// releases the texture
    ~nD3D9Surface() override;

private:
    nD3D9Texture* baseSurface = nullptr;
    int level = 0;
};
#endif
