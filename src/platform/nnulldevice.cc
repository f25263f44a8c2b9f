//------------------------------------------------------------------------------
//  nnulldevice.cc
//------------------------------------------------------------------------------
#include "platform/nnulldevice.h"

#include <cmath>

namespace
{

/// a colour channel in 0..1 as a byte
unsigned char ToByte(float c)
{
    if (!(c > 0.0f)) return 0;
    if (c >= 1.0f) return 255;
    return (unsigned char)std::lround(c * 255.0f);
}

}  // namespace

void nNullDevice::ScriptStates(std::initializer_list<nGfxDeviceState> list)
{
    this->states.assign(list.begin(), list.end());
}

bool nNullDevice::CheckTextureFormat(nGfxFormat format, bool /*renderTarget*/) const
{
    return !this->Refuses(format);
}

bool nNullDevice::CheckDepthFormat(nGfxFormat display, nGfxFormat depth) const
{
    return !this->Refuses(display) && !this->Refuses(depth);
}

bool nNullDevice::CheckDepthStencilMatch(nGfxFormat display, nGfxFormat back, nGfxFormat depth) const
{
    return !this->Refuses(display) && !this->Refuses(back) && !this->Refuses(depth);
}

/*
 * Record --
 *     Side effects: appends "<what> WxH back depth" to the calls.
 */
void nNullDevice::Record(const nGfxPresentParams& p, const char* what)
{
    this->calls.push_back(std::string(what) + " " + std::to_string(p.width) + "x" + std::to_string(p.height) + " " +
                          nGfxFormatName(p.backBufferFormat) + " " + nGfxFormatName(p.depthStencilFormat));
}

bool nNullDevice::Open(SDL_Window* /*window*/, const nGfxPresentParams& p, std::string& error)
{
    this->Record(p, "Open");
    if (!this->openResult)
    {
        error = "the null device was told to fail";
        return false;
    }
    this->params = p;
    this->open = true;
    return true;
}

void nNullDevice::Close()
{
    this->calls.push_back("Close");
    this->open = false;
}

nGfxDeviceState nNullDevice::TestCooperativeLevel()
{
    if (this->states.empty())
    {
        return nGfxDeviceState::Ok;
    }
    const nGfxDeviceState s = this->states.front();
    this->states.pop_front();
    return s;
}

bool nNullDevice::Reset(const nGfxPresentParams& p)
{
    this->Record(p, this->resetResult ? "Reset" : "Reset failed");
    if (this->resetResult)
    {
        this->params = p;
    }
    return this->resetResult;
}

void nNullDevice::GetViewport(int& x, int& y, int& w, int& h, float& minZ, float& maxZ) const
{
    x = 0;
    y = 0;
    w = this->params.width;
    h = this->params.height;
    minZ = 0.0f;
    maxZ = 1.0f;
}

void nNullDevice::Clear(int flags, float r, float g, float b, float a, float /*z*/, int /*stencil*/)
{
    this->calls.push_back("Clear " + std::to_string(flags));
    if (flags & ClearColor)
    {
        this->color[0] = ToByte(r);
        this->color[1] = ToByte(g);
        this->color[2] = ToByte(b);
        this->color[3] = ToByte(a);
    }
}

void nNullDevice::Present()
{
    this->calls.push_back("Present");
}

bool nNullDevice::ReadPixel(int x, int y, unsigned char rgba[4])
{
    if (!this->open || x < 0 || y < 0 || x >= this->params.width || y >= this->params.height)
    {
        return false;
    }
    for (int i = 0; i < 4; i++)
    {
        rgba[i] = this->color[i];
    }
    return true;
}
