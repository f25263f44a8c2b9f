#ifndef N_NULLDEVICE_H
#define N_NULLDEVICE_H
//------------------------------------------------------------------------------
/**
    @class nNullDevice
    @ingroup Platform

    A graphics device that draws nothing and writes each call it gets into
    'calls' ("Open 640x480 X8R8G8B8 D24S8", "Clear 7", "Present" ...). It
    can refuse formats, report scripted lost states and fail resets, so
    that the engine's format search and its loss and reset protocol run
    without GL. Its back buffer holds the colour of the last colour clear.
*/
#include "platform/ngfxdevice.h"
#include "platform/ngfxdeviceprobe.h"
#include "platform/ngfxbufferstore.h"

#include <deque>
#include <map>
#include <set>
#include <vector>

class nNullDevice : public nGfxDevice, public nGfxDeviceProbe
{
public:
    nNullDevice() = default;

    //--- configuration -------------------------------------------------------------
    /// every display and depth check naming this format fails from now on
    void RefuseFormat(nGfxFormat f) { this->refused.insert(f); }
    /// the states TestCooperativeLevel reports next, one per call; Ok after them
    void ScriptStates(std::initializer_list<nGfxDeviceState> states);
    /// whether Reset succeeds
    void SetResetResult(bool ok) { this->resetResult = ok; }
    /// whether Open succeeds (the error text is fixed)
    void SetOpenResult(bool ok) { this->openResult = ok; }

    nGfxDeviceCaps caps{0x0300, 0x0300, true, true};
    nGfxFormat desktopFormat = nGfxFormat::X8R8G8B8;
    std::vector<std::string> calls;

    //--- nGfxDevice ------------------------------------------------------------------
    const char* GetName() const override { return "null"; }
    bool NeedsGLWindow() const override { return false; }
    nGfxDeviceCaps GetCaps() const override { return this->caps; }
    nGfxFormat GetDesktopFormat() const override { return this->desktopFormat; }
    bool CheckDepthFormat(nGfxFormat display, nGfxFormat depth) const override;
    bool CheckDepthStencilMatch(nGfxFormat display, nGfxFormat back, nGfxFormat depth) const override;
    bool Open(const nPlatformWindow* window, const nGfxPresentParams& params, std::string& error) override;
    void Close() override;
    bool IsOpen() const override { return this->open; }
    const nGfxPresentParams& GetPresentParams() const override { return this->params; }
    nGfxDeviceState TestCooperativeLevel() override;
    bool Reset(const nGfxPresentParams& params) override;
    void GetViewport(int& x, int& y, int& w, int& h, float& minZ, float& maxZ) const override;
    void Clear(int flags, float r, float g, float b, float a, float z, int stencil) override;
    void Present() override;
    bool ReadPixel(int x, int y, unsigned char rgba[4]) override;

    //--- meshes: buffers and vertex layouts ------------------------------------------
    // recorded as "CreateBuffer Vertex 96 usage 0x8 pool Managed -> 1",
    // "Upload 1", "CreateLayout 3 stride 32 vb 1 ib 2 -> 3", "Draw 3 0 6" ...
    nGfxBufferHandle CreateBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool) override;
    void* LockBuffer(nGfxBufferHandle buffer) override;
    void UnlockBuffer(nGfxBufferHandle buffer) override;
    void ReleaseBuffer(nGfxBufferHandle buffer) override;
    int GetBufferSize(nGfxBufferHandle buffer) const override;
    nGfxLayoutHandle CreateVertexLayout(const nGfxVertexElement* elements, int numElements, int stride,
                                        nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer) override;
    void ReleaseVertexLayout(nGfxLayoutHandle layout) override;
    void DrawIndexedTriangles(nGfxLayoutHandle layout, int firstIndex, int numIndices) override;
    /// the buffers and layouts alive
    nGfxBufferStore& GetBufferStore() { return this->store; }

private:
    /// the shadow of a layout's buffer goes to the "device" when it changed
    void Upload(nGfxBufferHandle buffer);
    nGfxBufferStore store;

public:
    //--- textures and render targets: kept in memory, sampling is not offered ------------
    /// the largest texture side reported
    int maxTextureSize = 4096;
    int GetMaxTextureSize() const override { return this->maxTextureSize; }
    bool CheckTextureFormat(nGfxTexFormat format, bool renderTarget) const override;
    nGfxTextureHandle CreateTexture(const nGfxTextureDesc& desc) override;
    void ReleaseTexture(nGfxTextureHandle tex) override;
    bool UploadTexture(nGfxTextureHandle tex, int face, int level, const void* data, size_t size) override;
    bool ReadTexture(nGfxTextureHandle tex, int face, int level, void* data, size_t size) override;
    void GenerateTextureMipMaps(nGfxTextureHandle tex) override;
    nGfxDepthSurfaceHandle CreateDepthSurface(int width, int height) override;
    void ReleaseDepthSurface(nGfxDepthSurfaceHandle surface) override;
    bool SetRenderTarget(nGfxTextureHandle colorTex, nGfxDepthSurfaceHandle depthSurface) override;
    bool SampleTexture(nGfxTextureHandle tex, int face, float u, float v, float level, float rgba[4]) override;
    /// the number of textures and depth surfaces alive
    size_t GetNumTextures() const { return this->textures.size(); }
    size_t GetNumDepthSurfaces() const { return this->depthSurfaces.size(); }
    /// refuse every texture of the format from now on
    void RefuseTexFormat(nGfxTexFormat f) { this->refusedTex.insert(f); }

private:
    /// a texture: its description and one byte block per face and level
    struct Texture
    {
        nGfxTextureDesc desc;
        std::vector<std::vector<unsigned char>> levels;
    };
    /// the level block of a face and level, or null
    std::vector<unsigned char>* FindLevel(nGfxTextureHandle tex, int face, int level);

    std::map<unsigned int, Texture> textures;
    std::set<unsigned int> depthSurfaces;
    std::set<nGfxTexFormat> refusedTex;
    unsigned int nextHandle = 1;

public:
    //--- effects: programs are numbered, uniforms kept by location ----------------
    /// programs whose source contains this text fail to compile, with it as their log
    std::string refuseProgramsWith;
    /// the values last set per uniform location, as floats (ints converted)
    std::map<int, std::vector<float>> uniforms;
    /// the names of the uniform locations
    std::map<int, std::string> uniformNames;
    nGfxProgramHandle CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc,
                                    std::string& log) override;
    void DeleteProgram(nGfxProgramHandle program) override;
    void UseProgram(nGfxProgramHandle program) override;
    int GetUniformLocation(nGfxProgramHandle program, const char* name) override;
    void SetUniform(int location, nGfxUniform type, int count, const void* values) override;
    nGfxSamplerHandle CreateSampler(const nGfxSamplerDesc& desc) override;
    void DeleteSampler(nGfxSamplerHandle sampler) override;
    void BindTexture(int unit, nGfxTextureHandle texture, bool cube, nGfxSamplerHandle sampler) override;
    /// the value of a uniform by name (of any program), empty when never set
    std::vector<float> GetUniform(const std::string& name) const;

    //--- rendering: recorded ------------------------------------------------------------
    // "DrawIndexed <layout> <prim> <minVertex> <numVertices> <firstIndex> <primCount>",
    // "DrawPrims <layout> <prim> <firstVertex> <primCount>" (nothing for no
    // primitives), "CreateStreamLayout <n> streams <k> -> <h>", "Lines <n> 3d|2d"
    void DrawIndexedPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int minVertex, int numVertices,
                               int firstIndex, int primCount) override;
    void DrawPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int firstVertex, int primCount) override;
    nGfxLayoutHandle CreateStreamLayout(const nGfxVertexElement* elements, const int* streams, int numElements,
                                        const nGfxBufferHandle* vertexBuffers, const int* strides, int numStreams,
                                        nGfxBufferHandle indexBuffer) override;
    void DrawLineStrip(const float* points, int numPoints, const float* matrix, const float rgba[4]) override;
    /// the back buffer filled with the last clear colour
    bool ReadFrame(std::vector<unsigned char>& rgba, int& width, int& height) override;
    /// recorded as "Viewport x y w h"
    void SetViewport(int x, int y, int w, int h, float minZ, float maxZ) override;
    /// the elements (vertices or indices) each recorded draw read
    std::vector<int> drawnElements;

protected:
    void ApplyRenderState(int state, unsigned int value) override;

private:
    bool Refuses(nGfxFormat f) const { return this->refused.count(f) != 0; }
    void Record(const nGfxPresentParams& p, const char* what);

    std::set<nGfxFormat> refused;
    std::deque<nGfxDeviceState> states;
    bool resetResult = true;
    bool openResult = true;
    bool open = false;
    nGfxPresentParams params;
    unsigned char color[4] = {0, 0, 0, 0};
};
#endif
