#ifndef N_GFXDEVICEPROBE_H
#define N_GFXDEVICEPROBE_H
//------------------------------------------------------------------------------
/**
    @class nGfxDeviceProbe
    @ingroup Platform

    What a test reads back from a graphics device beside the presented
    frame: one back-buffer pixel, and a texture as a shader samples it.
    The GL and null devices implement it next to nGfxDevice; the engine
    never calls it, so the device interface stays free of it, and a test
    reaches it through Of.
*/
#include "platform/ngfxhandle.h"

class nGfxDevice;

class nGfxDeviceProbe
{
public:
    virtual ~nGfxDeviceProbe() = default;

    /// the colour of one back-buffer pixel as RGBA bytes; false outside it
    virtual bool ReadPixel(int x, int y, unsigned char rgba[4]) = 0;
    /// the texture as a shader sees it at u, v (on the face, 0..1, row 0 on
    /// top) and mip level; false where the device cannot sample
    virtual bool SampleTexture(nGfxTextureHandle tex, int face, float u, float v, float level, float rgba[4]) = 0;

    /// the probe of a device, null for a device that offers none
    static nGfxDeviceProbe* Of(nGfxDevice* device);
};
#endif
