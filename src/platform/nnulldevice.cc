//------------------------------------------------------------------------------
//  nnulldevice.cc
//------------------------------------------------------------------------------
#include "platform/nnulldevice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{

/// a colour channel in 0..1 as a byte
unsigned char ToByte(float c)
{
    if (!(c > 0.0f)) return 0;
    if (c >= 1.0f) return 255;
    return (unsigned char)std::lround(c * 255.0f);
}

/// a primitive type as its number in the recorded calls
std::string PrimName(nGfxPrimitive primType)
{
    return std::to_string(static_cast<int>(primType));
}

}  // namespace

void nNullDevice::ScriptStates(std::initializer_list<nGfxDeviceState> list)
{
    this->states.assign(list.begin(), list.end());
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

bool nNullDevice::Open(const nPlatformWindow* /*window*/, const nGfxPresentParams& p, std::string& error)
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

//--- meshes: buffers and vertex layouts ---------------------------------------------

namespace
{

const char* PoolName(nGfxPool pool)
{
    switch (pool)
    {
        case nGfxPool::Default: return "Default";
        case nGfxPool::Managed: return "Managed";
        default: return "SystemMem";
    }
}

}  // namespace

/*
 * CreateBuffer --
 *     Results: the handle of a zeroed buffer; 0 while closed or for a
 *     size that is not positive.
 *     Side effects: records the call with its usage and pool.
 */
nGfxBufferHandle nNullDevice::CreateBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool)
{
    const nGfxBufferHandle handle =
        (this->open && byteSize > 0) ? this->store.AddBuffer(type, byteSize, usage, pool) : nGfxBufferHandle();
    char text[128];
    snprintf(text, sizeof(text), "CreateBuffer %s %d usage 0x%x pool %s -> %d",
             type == nGfxBufferType::Vertex ? "Vertex" : "Index16", byteSize, usage, PoolName(pool), handle.GetRaw());
    this->calls.push_back(text);
    return handle;
}

void* nNullDevice::LockBuffer(nGfxBufferHandle buffer)
{
    nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    this->calls.push_back("Lock " + std::to_string(buffer.GetRaw()));
    return b ? b->shadow.data() : nullptr;
}

void nNullDevice::UnlockBuffer(nGfxBufferHandle buffer)
{
    nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    if (b) b->dirty = true;
    this->calls.push_back("Unlock " + std::to_string(buffer.GetRaw()));
}

void nNullDevice::ReleaseBuffer(nGfxBufferHandle buffer)
{
    this->store.RemoveBuffer(buffer);
    this->calls.push_back("ReleaseBuffer " + std::to_string(buffer.GetRaw()));
}

int nNullDevice::GetBufferSize(nGfxBufferHandle buffer) const
{
    const nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    return b ? (int)b->shadow.size() : 0;
}

nGfxLayoutHandle nNullDevice::CreateVertexLayout(const nGfxVertexElement* elements, int numElements, int stride,
                                                 nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer)
{
    const nGfxLayoutHandle handle = this->open
        ? this->store.AddLayout(elements, numElements, stride, vertexBuffer, indexBuffer)
        : nGfxLayoutHandle();
    char text[128];
    snprintf(text, sizeof(text), "CreateLayout %d stride %d vb %d ib %d -> %d", numElements, stride,
             vertexBuffer.GetRaw(), indexBuffer.GetRaw(), handle.GetRaw());
    this->calls.push_back(text);
    return handle;
}

void nNullDevice::ReleaseVertexLayout(nGfxLayoutHandle layout)
{
    this->store.RemoveLayout(layout);
    this->calls.push_back("ReleaseLayout " + std::to_string(layout.GetRaw()));
}

/*
 * Upload --
 *     Side effects: records "Upload <handle>" and clears the buffer's
 *     change flag when it had one.
 */
void nNullDevice::Upload(nGfxBufferHandle buffer)
{
    nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    if (b && b->dirty)
    {
        b->dirty = false;
        this->calls.push_back("Upload " + std::to_string(buffer.GetRaw()));
    }
}

void nNullDevice::DrawIndexedTriangles(nGfxLayoutHandle layout, int firstIndex, int numIndices)
{
    const nGfxBufferStore::Layout* l = this->store.GetLayout(layout);
    if (l)
    {
        this->Upload(l->vertexBuffer);
        this->Upload(l->indexBuffer);
    }
    this->calls.push_back("Draw " + std::to_string(layout.GetRaw()) + " " + std::to_string(firstIndex) + " " +
                          std::to_string(numIndices));
}

//--- textures and render targets --------------------------------------------------------

bool nNullDevice::CheckTextureFormat(nGfxTexFormat format, bool /*renderTarget*/) const
{
    return 0 == this->refusedTex.count(format);
}

/*
 * CreateTexture --
 *     Results: a new handle, 0 for a refused format, a bad size or level
 *     count. Side effects: records "CreateTexture 2D|Cube WxH format levels [rt]".
 */
nGfxTextureHandle nNullDevice::CreateTexture(const nGfxTextureDesc& d)
{
    this->calls.push_back(std::string("CreateTexture ") + (d.cube ? "Cube " : "2D ") + std::to_string(d.width) + "x" +
                          std::to_string(d.height) + " " + nGfxTexFormatName(d.format) + " " +
                          std::to_string(d.levels) + (d.renderTarget ? " rt" : ""));
    if (!this->CheckTextureFormat(d.format, d.renderTarget) || nGfxTexFormat::None == d.format || d.width <= 0 ||
        d.height <= 0 || d.width > this->maxTextureSize || d.height > this->maxTextureSize || d.levels < 1 ||
        d.levels > 16)
    {
        return nGfxTextureHandle();
    }
    Texture t;
    t.desc = d;
    const int faces = d.cube ? 6 : 1;
    for (int f = 0; f < faces; f++)
    {
        for (int l = 0; l < d.levels; l++)
        {
            const int w = std::max(1, d.width >> l);
            const int h = std::max(1, d.height >> l);
            t.levels.emplace_back(nGfxTexLevelSize(d.format, w, h));
        }
    }
    const unsigned int handle = this->nextHandle++;
    this->textures[handle] = std::move(t);
    return nGfxTextureHandle(handle);
}

void nNullDevice::ReleaseTexture(nGfxTextureHandle tex)
{
    this->calls.push_back("ReleaseTexture");
    this->textures.erase(tex.GetRaw());
}

std::vector<unsigned char>* nNullDevice::FindLevel(nGfxTextureHandle tex, int face, int level)
{
    auto it = this->textures.find(tex.GetRaw());
    if (it == this->textures.end() || level < 0 || level >= it->second.desc.levels || face < 0 ||
        face >= (it->second.desc.cube ? 6 : 1))
    {
        return nullptr;
    }
    return &it->second.levels[size_t(face * it->second.desc.levels + level)];
}

bool nNullDevice::UploadTexture(nGfxTextureHandle tex, int face, int level, const void* data, size_t size)
{
    this->calls.push_back("UploadTexture " + std::to_string(face) + " " + std::to_string(level));
    std::vector<unsigned char>* bytes = this->FindLevel(tex, face, level);
    if (!bytes || !data || size != bytes->size())
    {
        return false;
    }
    std::copy_n(static_cast<const unsigned char*>(data), size, bytes->begin());
    return true;
}

bool nNullDevice::ReadTexture(nGfxTextureHandle tex, int face, int level, void* data, size_t size)
{
    std::vector<unsigned char>* bytes = this->FindLevel(tex, face, level);
    if (!bytes || !data || size != bytes->size())
    {
        return false;
    }
    std::copy(bytes->begin(), bytes->end(), static_cast<unsigned char*>(data));
    return true;
}

void nNullDevice::GenerateTextureMipMaps(nGfxTextureHandle /*tex*/)
{
    this->calls.push_back("GenerateTextureMipMaps");
}

nGfxDepthSurfaceHandle nNullDevice::CreateDepthSurface(int width, int height)
{
    this->calls.push_back("CreateDepthSurface " + std::to_string(width) + "x" + std::to_string(height));
    if (width <= 0 || height <= 0 || width > this->maxTextureSize || height > this->maxTextureSize)
    {
        return nGfxDepthSurfaceHandle();
    }
    const unsigned int handle = this->nextHandle++;
    this->depthSurfaces.insert(handle);
    return nGfxDepthSurfaceHandle(handle);
}

void nNullDevice::ReleaseDepthSurface(nGfxDepthSurfaceHandle surface)
{
    this->calls.push_back("ReleaseDepthSurface");
    this->depthSurfaces.erase(surface.GetRaw());
}

bool nNullDevice::SetRenderTarget(nGfxTextureHandle colorTex, nGfxDepthSurfaceHandle depthSurface)
{
    this->calls.push_back("SetRenderTarget " + std::to_string(colorTex.GetRaw()) + " " +
                          std::to_string(depthSurface.GetRaw()));
    return (!colorTex || this->textures.count(colorTex.GetRaw())) &&
           (!depthSurface || this->depthSurfaces.count(depthSurface.GetRaw()));
}

bool nNullDevice::SampleTexture(nGfxTextureHandle /*tex*/, int /*face*/, float /*u*/, float /*v*/, float /*level*/,
                                float /*rgba*/[4])
{
    return false;
}

//--- effects --------------------------------------------------------------------------

/*
 * CreateProgram --
 *     Results: a new number, or 0 with the refused text as the log when
 *     either source contains refuseProgramsWith.
 *     Side effects: records "CreateProgram <n>" or "CreateProgram failed".
 */
nGfxProgramHandle nNullDevice::CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc,
                                             std::string& log)
{
    const std::string& bad = this->refuseProgramsWith;
    if (!bad.empty() && (vertexSrc.find(bad) != std::string::npos || fragmentSrc.find(bad) != std::string::npos))
    {
        log = "0:1(1): error: " + bad;
        this->calls.push_back("CreateProgram failed");
        return nGfxProgramHandle();
    }
    const unsigned int p = this->nextHandle++;
    this->calls.push_back("CreateProgram " + std::to_string(p));
    return nGfxProgramHandle(p);
}

void nNullDevice::DeleteProgram(nGfxProgramHandle program)
{
    this->calls.push_back("DeleteProgram " + std::to_string(program.GetRaw()));
}

void nNullDevice::UseProgram(nGfxProgramHandle program)
{
    this->calls.push_back("UseProgram " + std::to_string(program.GetRaw()));
}

/*
 * GetUniformLocation --
 *     Results: a location unique to program and name.
 */
int nNullDevice::GetUniformLocation(nGfxProgramHandle program, const char* name)
{
    for (const auto& [loc, n] : this->uniformNames)
    {
        if (n == std::to_string(program.GetRaw()) + ":" + name)
        {
            return loc;
        }
    }
    const int loc = int(this->uniformNames.size());
    this->uniformNames[loc] = std::to_string(program.GetRaw()) + ":" + name;
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

nGfxSamplerHandle nNullDevice::CreateSampler(const nGfxSamplerDesc& /*desc*/)
{
    return nGfxSamplerHandle(this->nextHandle++);
}

void nNullDevice::DeleteSampler(nGfxSamplerHandle /*sampler*/) {}

void nNullDevice::BindTexture(int unit, nGfxTextureHandle texture, bool /*cube*/, nGfxSamplerHandle /*sampler*/)
{
    this->CountTextureBind(unit, texture);
    this->calls.push_back("BindTexture " + std::to_string(unit) + " " + std::to_string(texture.GetRaw()));
}

void nNullDevice::ApplyRenderState(int state, unsigned int value)
{
    this->calls.push_back("RenderState " + std::to_string(state) + " " + std::to_string(value));
}

//--- rendering -----------------------------------------------------------------------

void nNullDevice::DrawIndexedPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int minVertex,
                                        int numVertices, int firstIndex, int primCount)
{
    const int n = nGfxPrimitiveElements(primType, primCount);
    if (0 == n)
    {
        return;
    }
    const nGfxBufferStore::Layout* l = this->store.GetLayout(layout);
    if (l)
    {
        this->Upload(l->vertexBuffer);
        this->Upload(l->indexBuffer);
    }
    this->drawnElements.push_back(n);
    this->calls.push_back("DrawIndexed " + std::to_string(layout.GetRaw()) + " " + PrimName(primType) + " " +
                          std::to_string(minVertex) + " " + std::to_string(numVertices) + " " +
                          std::to_string(firstIndex) + " " + std::to_string(primCount));
}

void nNullDevice::DrawPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int firstVertex, int primCount)
{
    const int n = nGfxPrimitiveElements(primType, primCount);
    if (0 == n)
    {
        return;
    }
    const nGfxBufferStore::Layout* l = this->store.GetLayout(layout);
    if (l)
    {
        this->Upload(l->vertexBuffer);
    }
    this->drawnElements.push_back(n);
    this->calls.push_back("DrawPrims " + std::to_string(layout.GetRaw()) + " " + PrimName(primType) + " " +
                          std::to_string(firstVertex) + " " + std::to_string(primCount));
}

nGfxLayoutHandle nNullDevice::CreateStreamLayout(const nGfxVertexElement* elements, const int* /*streams*/,
                                                 int numElements, const nGfxBufferHandle* vertexBuffers,
                                                 const int* strides, int numStreams, nGfxBufferHandle indexBuffer)
{
    if (!this->open || numStreams < 1)
    {
        return nGfxLayoutHandle();
    }
    const nGfxLayoutHandle h =
        this->store.AddLayout(elements, numElements, strides[0], vertexBuffers[0], indexBuffer);
    this->calls.push_back("CreateStreamLayout " + std::to_string(numElements) + " streams " +
                          std::to_string(numStreams) + " -> " + std::to_string(h.GetRaw()));
    return h;
}

void nNullDevice::DrawLineStrip(const float* /*points*/, int numPoints, const float* matrix, const float* /*rgba*/)
{
    this->calls.push_back("Lines " + std::to_string(numPoints) + (matrix ? " 3d" : " 2d"));
}

bool nNullDevice::ReadFrame(std::vector<unsigned char>& rgba, int& width, int& height)
{
    if (!this->open)
    {
        return false;
    }
    width = this->params.width;
    height = this->params.height;
    rgba.resize((size_t)width * height * 4);
    for (size_t i = 0; i < rgba.size(); i += 4)
    {
        std::copy_n(this->color, 4, rgba.begin() + (long)i);
    }
    return true;
}

void nNullDevice::SetViewport(int x, int y, int w, int h, float /*minZ*/, float /*maxZ*/)
{
    this->calls.push_back("Viewport " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " +
                          std::to_string(h));
}
