//------------------------------------------------------------------------------
//  ngfxdevice.cc
//------------------------------------------------------------------------------
#include "platform/ngfxdevice.h"
#include "platform/ngfxdeviceprobe.h"

const char* nGfxFormatName(nGfxFormat f)
{
    switch (f)
    {
        case nGfxFormat::R8G8B8: return "R8G8B8";
        case nGfxFormat::A8R8G8B8: return "A8R8G8B8";
        case nGfxFormat::X8R8G8B8: return "X8R8G8B8";
        case nGfxFormat::R5G6B5: return "R5G6B5";
        case nGfxFormat::D24S8: return "D24S8";
        case nGfxFormat::D24X4S4: return "D24X4S4";
        case nGfxFormat::D24X8: return "D24X8";
        case nGfxFormat::D16: return "D16";
        case nGfxFormat::A16B16G16R16F: return "A16B16G16R16F";
        default: return "Unknown";
    }
}

int nGfxFormatBits(nGfxFormat f)
{
    switch (f)
    {
        case nGfxFormat::R8G8B8: return 24;
        case nGfxFormat::A8R8G8B8:
        case nGfxFormat::X8R8G8B8: return 32;
        case nGfxFormat::R5G6B5: return 16;
        case nGfxFormat::A16B16G16R16F: return 64;
        default: return 0;
    }
}

//--- effects: the render state cache -------------------------------------------

/*
 * nGfxDevice --
 *     Side effects: every render state holds its default (a backend
 *     applies them when it opens).
 */
nGfxDevice::nGfxDevice()
{
    for (int i = 0; i < nGfxRS::NumStates; i++)
    {
        this->renderStates[i] = nGfxRS::Default(i);
    }
}

/*
 * SetRenderState --
 *     Side effects: keeps the value and has the backend carry it out,
 *     unless the state already has it. Unknown states are ignored.
 */
void nGfxDevice::SetRenderState(int state, unsigned int value)
{
    if (!nGfxRS::IsKnown(state) || this->renderStates[state] == value)
    {
        return;
    }
    this->renderStates[state] = value;
    this->stateChangeCount++;
    this->ApplyRenderState(state, value);
}

void nGfxDevice::TakeChangeCounts(int& renderStateChanges, int& textureChanges)
{
    renderStateChanges = this->stateChangeCount;
    textureChanges = this->textureChangeCount;
    this->stateChangeCount = 0;
    this->textureChangeCount = 0;
}

/*
 * CountTextureBind --
 *     Side effects: counts a texture change when the unit held another
 *     texture (units beyond the sixteen tracked always count).
 */
void nGfxDevice::CountTextureBind(int unit, nGfxTextureHandle texture)
{
    if (unit < 0 || unit >= 16)
    {
        this->textureChangeCount++;
        return;
    }
    if (this->boundTextures[unit] != texture)
    {
        this->boundTextures[unit] = texture;
        this->textureChangeCount++;
    }
}

/*
 * GetRenderState --
 *     Results: the value of the state, 0 for unknown states.
 */
unsigned int nGfxDevice::GetRenderState(int state) const
{
    return nGfxRS::IsKnown(state) ? this->renderStates[state] : 0;
}

/*
 * ResetRenderStates --
 *     Side effects: every known state gets its default and is carried out.
 */
void nGfxDevice::ResetRenderStates()
{
    for (int i = 0; i < nGfxRS::NumStates; i++)
    {
        if (nGfxRS::IsKnown(i))
        {
            this->renderStates[i] = nGfxRS::Default(i);
            this->ApplyRenderState(i, this->renderStates[i]);
        }
    }
}

/*
 * nGfxPrimitiveElements --
 *     Results: the elements (vertices or indices) a draw of primCount
 *     primitives reads: a point each, two per separate line, one more
 *     than the lines of a strip, three per separate triangle, two more
 *     than the triangles of a strip or fan; 0 for nothing to draw.
 */
int nGfxPrimitiveElements(nGfxPrimitive primType, int primCount)
{
    if (primCount < 1)
    {
        return 0;
    }
    switch (primType)
    {
        case nGfxPrimitive::PointList: return primCount;
        case nGfxPrimitive::LineList: return primCount * 2;
        case nGfxPrimitive::LineStrip: return primCount + 1;
        case nGfxPrimitive::TriangleList: return primCount * 3;
        case nGfxPrimitive::TriangleStrip:
        case nGfxPrimitive::TriangleFan: return primCount + 2;
        default: return 0;
    }
}

nGfxDeviceProbe* nGfxDeviceProbe::Of(nGfxDevice* device)
{
    return dynamic_cast<nGfxDeviceProbe*>(device);
}
