//------------------------------------------------------------------------------
//  framerecorder.cc
//------------------------------------------------------------------------------
#include "framerecorder.h"

#include <algorithm>
#include <cstring>

FrameRecorder::FrameRecorder(std::unique_ptr<nGfxDevice> dev) : inner(std::move(dev)) {}

FrameRecorder::Call& FrameRecorder::Add(Op op)
{
    this->frame.emplace_back();
    this->frame.back().op = op;
    return this->frame.back();
}

/*
 * Begin --
 *     Side effects: the frame's calls are written from now on; the
 *     bindings, states and buffer contents of this moment are kept as the
 *     replay's starting point.
 */
void FrameRecorder::Begin()
{
    this->frame.clear();
    this->start = this->now;
    this->start.states.assign(nGfxRS::NumStates, 0);
    for (int s = 0; s < nGfxRS::NumStates; s++) this->start.states[s] = this->GetRenderState(s);
    for (auto& [handle, b] : this->buffers)
    {
        const nGfxBufferHandle buffer(handle);
        const auto* data = static_cast<const unsigned char*>(this->inner->LockBuffer(buffer));
        b.start.assign(data, data + this->inner->GetBufferSize(buffer));
    }
    this->recording = true;
}

bool FrameRecorder::Open(const nPlatformWindow* window, const nGfxPresentParams& params, std::string& error)
{
    const bool ok = this->inner->Open(window, params, error);
    if (ok) this->TargetChanged(nGfxTextureHandle(), nGfxDepthSurfaceHandle());
    return ok;
}

bool FrameRecorder::Reset(const nGfxPresentParams& params)
{
    const bool ok = this->inner->Reset(params);
    this->TargetChanged(nGfxTextureHandle(), nGfxDepthSurfaceHandle());
    return ok;
}

void FrameRecorder::TargetChanged(nGfxTextureHandle colorTex, nGfxDepthSurfaceHandle depthSurface)
{
    this->now.colorTarget = colorTex;
    this->now.depthTarget = depthSurface;
    int x = 0, y = 0, w = 0, h = 0;
    float minZ = 0.0f, maxZ = 1.0f;
    this->inner->GetViewport(x, y, w, h, minZ, maxZ);
    if (colorTex && this->textures.count(colorTex.GetRaw()))
    {
        w = this->textures[colorTex.GetRaw()].width;
        h = this->textures[colorTex.GetRaw()].height;
    }
    else if (depthSurface && this->depthSurfaces.count(depthSurface.GetRaw()))
    {
        w = this->depthSurfaces[depthSurface.GetRaw()].first;
        h = this->depthSurfaces[depthSurface.GetRaw()].second;
    }
    const int vp[4] = {0, 0, w, h};
    std::copy(vp, vp + 4, this->now.viewport);
}

void FrameRecorder::Clear(int flags, float r, float g, float b, float a, float z, int stencil)
{
    this->inner->Clear(flags, r, g, b, a, z, stencil);
    if (!this->recording) return;
    Call& c = this->Add(Op::Clear);
    c.a = flags;
    c.b = stencil;
    const float v[5] = {r, g, b, a, z};
    std::copy(v, v + 5, c.v);
}

void FrameRecorder::Present()
{
    this->inner->Present();
    if (this->recording) this->Add(Op::Present);
}

nGfxBufferHandle FrameRecorder::CreateBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool)
{
    const nGfxBufferHandle handle = this->inner->CreateBuffer(type, byteSize, usage, pool);
    if (handle)
    {
        Buffer& b = this->buffers[handle.GetRaw()];
        b.type = type;
        b.usage = usage;
    }
    return handle;
}

void FrameRecorder::UnlockBuffer(nGfxBufferHandle buffer)
{
    this->inner->UnlockBuffer(buffer);
    auto it = this->buffers.find(buffer.GetRaw());
    if (it != this->buffers.end()) it->second.dirty = true;
}

void FrameRecorder::ReleaseBuffer(nGfxBufferHandle buffer)
{
    this->inner->ReleaseBuffer(buffer);
    this->buffers.erase(buffer.GetRaw());
}

nGfxLayoutHandle FrameRecorder::CreateVertexLayout(const nGfxVertexElement* elements, int numElements, int stride,
                                                   nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer)
{
    const nGfxLayoutHandle handle =
        this->inner->CreateVertexLayout(elements, numElements, stride, vertexBuffer, indexBuffer);
    if (handle)
    {
        Layout& l = this->layouts[handle.GetRaw()];
        l.elements.assign(elements, elements + numElements);
        l.streams.assign(numElements, 0);
        l.vertexBuffers = {vertexBuffer};
        l.strides = {stride};
        l.indexBuffer = indexBuffer;
    }
    return handle;
}

nGfxLayoutHandle FrameRecorder::CreateStreamLayout(const nGfxVertexElement* elements, const int* streams,
                                                   int numElements, const nGfxBufferHandle* vertexBuffers,
                                                   const int* strides, int numStreams, nGfxBufferHandle indexBuffer)
{
    const nGfxLayoutHandle handle = this->inner->CreateStreamLayout(elements, streams, numElements, vertexBuffers,
                                                                    strides, numStreams, indexBuffer);
    if (handle)
    {
        Layout& l = this->layouts[handle.GetRaw()];
        l.elements.assign(elements, elements + numElements);
        l.streams.assign(streams, streams + numElements);
        l.vertexBuffers.assign(vertexBuffers, vertexBuffers + numStreams);
        l.strides.assign(strides, strides + numStreams);
        l.indexBuffer = indexBuffer;
    }
    return handle;
}

void FrameRecorder::ReleaseVertexLayout(nGfxLayoutHandle layout)
{
    this->inner->ReleaseVertexLayout(layout);
    this->layouts.erase(layout.GetRaw());
}

/*
 * RecordUploads --
 *     Side effects: every changed buffer of the layout is marked sent; while
 *     recording, an Upload call with the bytes the draw reads (all for 0)
 *     goes before the draw, as the GL device sends them then.
 */
void FrameRecorder::RecordUploads(nGfxLayoutHandle layout, size_t vertexBytes, size_t indexBytes)
{
    auto l = this->layouts.find(layout.GetRaw());
    if (l == this->layouts.end()) return;
    auto upload = [this](nGfxBufferHandle handle, size_t needed) {
        auto it = this->buffers.find(handle.GetRaw());
        if (it == this->buffers.end() || !it->second.dirty) return;
        it->second.dirty = false;
        if (!this->recording) return;
        const auto* data = static_cast<const unsigned char*>(this->inner->LockBuffer(handle));
        const size_t size = (size_t)this->inner->GetBufferSize(handle);
        needed = (0 == needed) ? size : std::min(needed, size);
        Call& c = this->Add(Op::Upload);
        c.a = handle.GetRaw();
        c.bytes.assign(data, data + needed);
    };
    const bool oneStream = l->second.vertexBuffers.size() == 1;
    for (size_t s = 0; s < l->second.vertexBuffers.size(); s++)
    {
        upload(l->second.vertexBuffers[s], oneStream ? vertexBytes : 0);
    }
    if (l->second.indexBuffer) upload(l->second.indexBuffer, oneStream ? indexBytes : 0);
}

void FrameRecorder::DrawIndexedTriangles(nGfxLayoutHandle layout, int firstIndex, int numIndices)
{
    this->DrawIndexedPrimitives(layout, nGfxPrimitive::TriangleList, 0, 0, firstIndex, numIndices / 3);
}

void FrameRecorder::DrawIndexedPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int minVertex,
                                          int numVertices, int firstIndex, int primCount)
{
    const int n = nGfxPrimitiveElements(primType, primCount);
    auto l = this->layouts.find(layout.GetRaw());
    if (n > 0 && l != this->layouts.end())
    {
        const size_t vertexBytes =
            numVertices > 0 ? (size_t)(std::max(minVertex, 0) + numVertices) * (size_t)l->second.strides[0] : 0;
        this->RecordUploads(layout, vertexBytes, (size_t)(firstIndex + n) * 2);
        if (this->recording)
        {
            Call& c = this->Add(Op::DrawIndexed);
            c.a = layout.GetRaw();
            c.b = static_cast<int>(primType);
            c.c = firstIndex;
            c.d = n;
        }
    }
    this->inner->DrawIndexedPrimitives(layout, primType, minVertex, numVertices, firstIndex, primCount);
}

void FrameRecorder::DrawPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int firstVertex, int primCount)
{
    const int n = nGfxPrimitiveElements(primType, primCount);
    auto l = this->layouts.find(layout.GetRaw());
    if (n > 0 && l != this->layouts.end())
    {
        this->RecordUploads(layout, (size_t)(firstVertex + n) * (size_t)l->second.strides[0], 0);
        if (this->recording)
        {
            Call& c = this->Add(Op::Draw);
            c.a = layout.GetRaw();
            c.b = static_cast<int>(primType);
            c.c = firstVertex;
            c.d = n;
        }
    }
    this->inner->DrawPrimitives(layout, primType, firstVertex, primCount);
}

void FrameRecorder::DrawLineStrip(const float* points, int numPoints, const float* matrix, const float rgba[4])
{
    this->inner->DrawLineStrip(points, numPoints, matrix, rgba);
    if (this->recording) this->Add(Op::Lines).a = numPoints;
}

nGfxTextureHandle FrameRecorder::CreateTexture(const nGfxTextureDesc& desc)
{
    const nGfxTextureHandle tex = this->inner->CreateTexture(desc);
    if (tex) this->textures[tex.GetRaw()] = desc;
    return tex;
}

void FrameRecorder::ReleaseTexture(nGfxTextureHandle tex)
{
    this->inner->ReleaseTexture(tex);
    this->textures.erase(tex.GetRaw());
}

nGfxDepthSurfaceHandle FrameRecorder::CreateDepthSurface(int width, int height)
{
    const nGfxDepthSurfaceHandle s = this->inner->CreateDepthSurface(width, height);
    if (s) this->depthSurfaces[s.GetRaw()] = {width, height};
    return s;
}

void FrameRecorder::ReleaseDepthSurface(nGfxDepthSurfaceHandle surface)
{
    this->inner->ReleaseDepthSurface(surface);
    this->depthSurfaces.erase(surface.GetRaw());
}

bool FrameRecorder::SetRenderTarget(nGfxTextureHandle colorTex, nGfxDepthSurfaceHandle depthSurface)
{
    const bool ok = this->inner->SetRenderTarget(colorTex, depthSurface);
    this->TargetChanged(ok ? colorTex : nGfxTextureHandle(), ok ? depthSurface : nGfxDepthSurfaceHandle());
    if (this->recording)
    {
        Call& c = this->Add(Op::Target);
        c.a = (int)this->now.colorTarget.GetRaw();
        c.b = (int)this->now.depthTarget.GetRaw();
        c.c = this->now.viewport[2];
        c.d = this->now.viewport[3];
    }
    return ok;
}

nGfxProgramHandle FrameRecorder::CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc,
                                               std::string& log)
{
    const nGfxProgramHandle handle = this->inner->CreateProgram(vertexSrc, fragmentSrc, log);
    if (handle)
    {
        const unsigned int p = handle.GetRaw();
        this->programs[p] = Program();
        this->programs[p].vertex = vertexSrc;
        this->programs[p].fragment = fragmentSrc;
    }
    return handle;
}

void FrameRecorder::DeleteProgram(nGfxProgramHandle program)
{
    this->inner->DeleteProgram(program);
    this->programs.erase(program.GetRaw());
}

void FrameRecorder::UseProgram(nGfxProgramHandle program)
{
    this->inner->UseProgram(program);
    this->now.program = program;
    if (this->recording) this->Add(Op::Program).a = (int)program.GetRaw();
}

int FrameRecorder::GetUniformLocation(nGfxProgramHandle program, const char* name)
{
    const int loc = this->inner->GetUniformLocation(program, name);
    auto p = this->programs.find(program.GetRaw());
    if (loc >= 0 && p != this->programs.end()) p->second.uniformNames[loc] = name;
    return loc;
}

namespace
{
size_t UniformBytes(nGfxUniform type, int count)
{
    switch (type)
    {
        case nGfxUniform::Vec2: return 8u * (size_t)count;
        case nGfxUniform::Vec3: return 12u * (size_t)count;
        case nGfxUniform::Vec4: return 16u * (size_t)count;
        case nGfxUniform::Mat4: return 64u * (size_t)count;
        default: return 4u * (size_t)count;
    }
}
}  // namespace

void FrameRecorder::SetUniform(int location, nGfxUniform type, int count, const void* values)
{
    this->inner->SetUniform(location, type, count, values);
    if (location < 0 || count < 1) return;
    const auto* data = static_cast<const unsigned char*>(values);
    const size_t size = UniformBytes(type, count);
    auto p = this->programs.find(this->now.program.GetRaw());
    if (p != this->programs.end())
    {
        Program::Value& v = p->second.values[location];
        v.type = type;
        v.count = count;
        v.bytes.assign(data, data + size);
    }
    if (!this->recording) return;
    Call& c = this->Add(Op::Uniform);
    c.a = location;
    c.b = count;
    c.type = type;
    c.bytes.assign(data, data + size);
}

nGfxSamplerHandle FrameRecorder::CreateSampler(const nGfxSamplerDesc& desc)
{
    const nGfxSamplerHandle s = this->inner->CreateSampler(desc);
    if (s) this->samplers[s.GetRaw()] = desc;
    return s;
}

void FrameRecorder::DeleteSampler(nGfxSamplerHandle sampler)
{
    this->inner->DeleteSampler(sampler);
    this->samplers.erase(sampler.GetRaw());
}

void FrameRecorder::BindTexture(int unit, nGfxTextureHandle texture, bool cube, nGfxSamplerHandle sampler)
{
    this->CountTextureBind(unit, texture);
    this->inner->BindTexture(unit, texture, cube, sampler);
    this->now.units[unit] = Binding{texture, cube, sampler};
    if (!this->recording) return;
    Call& c = this->Add(Op::Texture);
    c.a = unit;
    c.b = (int)texture.GetRaw();
    c.c = cube ? 1 : 0;
    c.d = (int)sampler.GetRaw();
}

void FrameRecorder::SetViewport(int x, int y, int w, int h, float minZ, float maxZ)
{
    this->inner->SetViewport(x, y, w, h, minZ, maxZ);
    const int vp[4] = {x, y, w, h};
    std::copy(vp, vp + 4, this->now.viewport);
    this->now.depthRange[0] = minZ;
    this->now.depthRange[1] = maxZ;
    if (!this->recording) return;
    Call& c = this->Add(Op::Viewport);
    c.a = x;
    c.b = y;
    c.c = w;
    c.d = h;
    c.v[0] = minZ;
    c.v[1] = maxZ;
}

void FrameRecorder::ApplyRenderState(int state, unsigned int value)
{
    this->inner->SetRenderState(state, value);
    if (!this->recording) return;
    Call& c = this->Add(Op::State);
    c.a = state;
    c.b = (int)value;
}
