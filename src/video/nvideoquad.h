#ifndef N_VIDEOQUAD_H
#define N_VIDEOQUAD_H
//------------------------------------------------------------------------------
/**
    @class nVideoQuad
    @ingroup Video

    The picture of a video on the graphics device: one texture the size
    of the pictures, refilled with each new one, drawn as one textured
    rectangle into the back buffer with a program of its own. Holds its
    device objects from Begin to End; a device that was closed in
    between took them along, and End then only forgets them.
*/
#include "platform/ngfxhandle.h"

#include <string>

class nGfxDevice;
struct nPlatformVideoFrame;

class nVideoQuad
{
public:
    nVideoQuad() = default;
    ~nVideoQuad();
    nVideoQuad(const nVideoQuad&) = delete;
    nVideoQuad& operator=(const nVideoQuad&) = delete;

    /// make the device objects for pictures of width x height; false with the reason
    bool Begin(nGfxDevice* dev, int width, int height, std::string& error);
    /// release the device objects
    void End();
    /// whether Begin succeeded and End has not run
    bool IsReady() const { return this->texture.IsValid(); }
    /// the picture to draw from now on
    void Upload(const nPlatformVideoFrame& frame);
    /// draw the picture over the rectangle (x, y, w, h) of an area of
    /// areaWidth x areaHeight that the back buffer covers (row 0 on top)
    void Draw(int x, int y, int w, int h, int areaWidth, int areaHeight);

private:
    /// whether the device the objects were made on is still open
    bool DeviceAlive() const;
    void SetDrawStates();

    nGfxDevice* device = nullptr;
    nGfxTextureHandle texture;
    nGfxProgramHandle program;
    nGfxSamplerHandle sampler;
    nGfxBufferHandle vertexBuffer;
    nGfxBufferHandle indexBuffer;
    nGfxLayoutHandle layout;
    int width = 0;
    int height = 0;
};
#endif
