#ifndef BENCH_FRAMERECORDER_H
#define BENCH_FRAMERECORDER_H
//------------------------------------------------------------------------------
//  FrameRecorder
//
//  A graphics device that passes every call on to another (the GL device)
//  and keeps what a replay of one frame needs: the program sources and
//  their uniform names and values, the sampler descriptions, the layouts,
//  the buffers' contents, the textures' sizes and the bindings. Between
//  Begin and End it also writes the frame's calls into 'frame', each with
//  the bytes a draw uploads, so that FrameReplay can issue the same GL work
//  without the engine. Textures stay the GL device's objects (the replay
//  runs in the same context and samples them as they are). The maps and the
//  recorded calls keep the devices' raw ids, which the replay hands to GL.
//------------------------------------------------------------------------------
#include "platform/ngfxdevice.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class FrameRecorder : public nGfxDevice
{
public:
    /// what one recorded call does
    enum class Op
    {
        Clear,
        Viewport,
        Target,
        Program,
        Uniform,
        Texture,
        State,
        Upload,
        DrawIndexed,
        Draw,
        Lines,
        Present,
    };
    /// one recorded call; the fields an op does not use stay 0
    struct Call
    {
        Op op = Op::Clear;
        int a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
        float v[6] = {};
        /// uniform values or uploaded bytes
        std::vector<unsigned char> bytes;
        nGfxUniform type = nGfxUniform::Float;
    };
    struct Layout
    {
        std::vector<nGfxVertexElement> elements;
        /// the stream of each element
        std::vector<int> streams;
        std::vector<nGfxBufferHandle> vertexBuffers;
        std::vector<int> strides;
        nGfxBufferHandle indexBuffer;
    };
    struct Buffer
    {
        nGfxBufferType type = nGfxBufferType::Vertex;
        int usage = 0;
        /// the shadow as it was when the frame began
        std::vector<unsigned char> start;
        bool dirty = false;
    };
    struct Program
    {
        std::string vertex;
        std::string fragment;
        std::map<int, std::string> uniformNames;
        /// the last values per location (type, count, bytes)
        struct Value
        {
            nGfxUniform type = nGfxUniform::Float;
            int count = 0;
            std::vector<unsigned char> bytes;
        };
        std::map<int, Value> values;
    };
    struct Binding
    {
        nGfxTextureHandle texture;
        bool cube = false;
        nGfxSamplerHandle sampler;
    };
    /// everything bound or set when the frame began
    struct Start
    {
        nGfxProgramHandle program;
        nGfxTextureHandle colorTarget;
        nGfxDepthSurfaceHandle depthTarget;
        int viewport[4] = {};
        float depthRange[2] = {0.0f, 1.0f};
        std::map<int, Binding> units;
        std::vector<unsigned int> states;
    };

    explicit FrameRecorder(std::unique_ptr<nGfxDevice> inner);

    /// start writing the calls of a frame (after a Present)
    void Begin();
    /// stop writing
    void End() { this->recording = false; }

    std::vector<Call> frame;
    Start start;
    std::map<int, Buffer> buffers;
    std::map<int, Layout> layouts;
    std::map<unsigned int, Program> programs;
    std::map<unsigned int, nGfxSamplerDesc> samplers;
    std::map<unsigned int, nGfxTextureDesc> textures;
    std::map<unsigned int, std::pair<int, int>> depthSurfaces;

    //--- nGfxDevice: passed on ---------------------------------------------------------
    const char* GetName() const override { return this->inner->GetName(); }
    bool NeedsGLWindow() const override { return this->inner->NeedsGLWindow(); }
    nGfxDeviceCaps GetCaps() const override { return this->inner->GetCaps(); }
    nGfxFormat GetDesktopFormat() const override { return this->inner->GetDesktopFormat(); }
    bool CheckDepthFormat(nGfxFormat d, nGfxFormat z) const override { return this->inner->CheckDepthFormat(d, z); }
    bool CheckDepthStencilMatch(nGfxFormat d, nGfxFormat b, nGfxFormat z) const override
    {
        return this->inner->CheckDepthStencilMatch(d, b, z);
    }
    bool Open(const nPlatformWindow* window, const nGfxPresentParams& params, std::string& error) override;
    void Close() override { this->inner->Close(); }
    bool IsOpen() const override { return this->inner->IsOpen(); }
    const nGfxPresentParams& GetPresentParams() const override { return this->inner->GetPresentParams(); }
    nGfxDeviceState TestCooperativeLevel() override { return this->inner->TestCooperativeLevel(); }
    bool Reset(const nGfxPresentParams& params) override;
    void GetViewport(int& x, int& y, int& w, int& h, float& minZ, float& maxZ) const override
    {
        this->inner->GetViewport(x, y, w, h, minZ, maxZ);
    }
    void Clear(int flags, float r, float g, float b, float a, float z, int stencil) override;
    void Present() override;
    nGfxBufferHandle CreateBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool) override;
    void* LockBuffer(nGfxBufferHandle buffer) override { return this->inner->LockBuffer(buffer); }
    void UnlockBuffer(nGfxBufferHandle buffer) override;
    void ReleaseBuffer(nGfxBufferHandle buffer) override;
    int GetBufferSize(nGfxBufferHandle buffer) const override { return this->inner->GetBufferSize(buffer); }
    nGfxLayoutHandle CreateVertexLayout(const nGfxVertexElement* elements, int numElements, int stride,
                                        nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer) override;
    void ReleaseVertexLayout(nGfxLayoutHandle layout) override;
    void DrawIndexedTriangles(nGfxLayoutHandle layout, int firstIndex, int numIndices) override;
    int GetMaxTextureSize() const override { return this->inner->GetMaxTextureSize(); }
    bool CheckTextureFormat(nGfxTexFormat f, bool rt) const override
    {
        return this->inner->CheckTextureFormat(f, rt);
    }
    nGfxTextureHandle CreateTexture(const nGfxTextureDesc& desc) override;
    void ReleaseTexture(nGfxTextureHandle tex) override;
    bool UploadTexture(nGfxTextureHandle tex, int face, int level, const void* data, size_t size) override
    {
        return this->inner->UploadTexture(tex, face, level, data, size);
    }
    bool ReadTexture(nGfxTextureHandle tex, int face, int level, void* data, size_t size) override
    {
        return this->inner->ReadTexture(tex, face, level, data, size);
    }
    void GenerateTextureMipMaps(nGfxTextureHandle tex) override { this->inner->GenerateTextureMipMaps(tex); }
    nGfxDepthSurfaceHandle CreateDepthSurface(int width, int height) override;
    void ReleaseDepthSurface(nGfxDepthSurfaceHandle surface) override;
    bool SetRenderTarget(nGfxTextureHandle colorTex, nGfxDepthSurfaceHandle depthSurface) override;
    nGfxProgramHandle CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc,
                                    std::string& log) override;
    void DeleteProgram(nGfxProgramHandle program) override;
    void UseProgram(nGfxProgramHandle program) override;
    int GetUniformLocation(nGfxProgramHandle program, const char* name) override;
    void SetUniform(int location, nGfxUniform type, int count, const void* values) override;
    nGfxSamplerHandle CreateSampler(const nGfxSamplerDesc& desc) override;
    void DeleteSampler(nGfxSamplerHandle sampler) override;
    void BindTexture(int unit, nGfxTextureHandle texture, bool cube, nGfxSamplerHandle sampler) override;
    void DrawIndexedPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int minVertex, int numVertices,
                               int firstIndex, int primCount) override;
    void DrawPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int firstVertex, int primCount) override;
    nGfxLayoutHandle CreateStreamLayout(const nGfxVertexElement* elements, const int* streams, int numElements,
                                        const nGfxBufferHandle* vertexBuffers, const int* strides, int numStreams,
                                        nGfxBufferHandle indexBuffer) override;
    void DrawLineStrip(const float* points, int numPoints, const float* matrix, const float rgba[4]) override;
    bool ReadFrame(std::vector<unsigned char>& rgba, int& width, int& height) override
    {
        return this->inner->ReadFrame(rgba, width, height);
    }
    void SetViewport(int x, int y, int w, int h, float minZ, float maxZ) override;

protected:
    void ApplyRenderState(int state, unsigned int value) override;

private:
    /// a call to the frame while recording
    Call& Add(Op op);
    /// the uploads a draw from the layout makes of changed buffers
    void RecordUploads(nGfxLayoutHandle layout, size_t vertexBytes, size_t indexBytes);
    /// the current state after a change of target or a reset
    void TargetChanged(nGfxTextureHandle colorTex, nGfxDepthSurfaceHandle depthSurface);

    std::unique_ptr<nGfxDevice> inner;
    bool recording = false;
    Start now;
};
#endif
