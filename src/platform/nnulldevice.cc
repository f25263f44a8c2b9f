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

//--- effects --------------------------------------------------------------------------

/*
 * CreateProgram --
 *     Results: a new number, or 0 with the refused text as the log when
 *     either source contains refuseProgramsWith.
 *     Side effects: records "CreateProgram <n>" or "CreateProgram failed".
 */
unsigned int nNullDevice::CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc, std::string& log)
{
    const std::string& bad = this->refuseProgramsWith;
    if (!bad.empty() && (vertexSrc.find(bad) != std::string::npos || fragmentSrc.find(bad) != std::string::npos))
    {
        log = "0:1(1): error: " + bad;
        this->calls.push_back("CreateProgram failed");
        return 0;
    }
    const unsigned int p = this->nextHandle++;
    this->calls.push_back("CreateProgram " + std::to_string(p));
    return p;
}

void nNullDevice::DeleteProgram(unsigned int program)
{
    this->calls.push_back("DeleteProgram " + std::to_string(program));
}

void nNullDevice::UseProgram(unsigned int program)
{
    this->calls.push_back("UseProgram " + std::to_string(program));
}

/*
 * GetUniformLocation --
 *     Results: a location unique to program and name.
 */
int nNullDevice::GetUniformLocation(unsigned int program, const char* name)
{
    for (const auto& [loc, n] : this->uniformNames)
    {
        if (n == std::to_string(program) + ":" + name)
        {
            return loc;
        }
    }
    const int loc = int(this->uniformNames.size());
    this->uniformNames[loc] = std::to_string(program) + ":" + name;
    return loc;
}

void nNullDevice::SetUniform(int location, nGfxUniform type, int count, const void* values)
{
    static const int widths[] = {1, 1, 1, 2, 3, 4, 16};
    const int n = widths[int(type)] * count;
    std::vector<float>& v = this->uniforms[location];
    v.resize(size_t(n));
    for (int i = 0; i < n; i++)
    {
        v[size_t(i)] = (nGfxUniform::Bool == type || nGfxUniform::Int == type)
                           ? float(static_cast<const int*>(values)[i])
                           : static_cast<const float*>(values)[i];
    }
}

/*
 * GetUniform --
 *     Results: the last value set on a location of that uniform name.
 */
std::vector<float> nNullDevice::GetUniform(const std::string& name) const
{
    for (const auto& [loc, n] : this->uniformNames)
    {
        auto it = this->uniforms.find(loc);
        if (n.substr(n.find(':') + 1) == name && it != this->uniforms.end())
        {
            return it->second;
        }
    }
    return {};
}

unsigned int nNullDevice::CreateSampler(const nGfxSamplerDesc& /*desc*/)
{
    return this->nextHandle++;
}

void nNullDevice::DeleteSampler(unsigned int /*sampler*/) {}

void nNullDevice::BindTexture(int unit, unsigned int texture, bool /*cube*/, unsigned int /*sampler*/)
{
    this->calls.push_back("BindTexture " + std::to_string(unit) + " " + std::to_string(texture));
}

void nNullDevice::ApplyRenderState(int state, unsigned int value)
{
    this->calls.push_back("RenderState " + std::to_string(state) + " " + std::to_string(value));
}
