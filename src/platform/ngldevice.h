#ifndef N_GLDEVICE_H
#define N_GLDEVICE_H
//------------------------------------------------------------------------------
/**
    @class nGLDevice
    @ingroup Platform

    The graphics device on an OpenGL 3.3 core context of the SDL window.
    The back buffer is a framebuffer of its own (colour and depth-stencil
    renderbuffers at the present parameters' size); Present blits it to
    the window, top row first, and swaps. A GL device is never lost.

    GL 3.3 guarantees the formats the engine's tables use (8888, 565,
    D24S8, D24X8, D16 and float targets); there is no D24X4S4.

    A debug build, or any build run with ENGINE_GL_DEBUG set (not "0"),
    asks for a debug context and logs GL errors and high-severity
    messages as they happen (KHR_debug); a context without KHR_debug is
    checked with glGetError once a frame instead. Without either the
    device adds no work to any call.
*/
#include "platform/ngfxdevice.h"
#include "platform/ngfxdeviceprobe.h"
#include "platform/ngfxbufferstore.h"

#include <SDL.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class nGLDevice : public nGfxDevice, public nGfxDeviceProbe
{
public:
    nGLDevice() = default;
    ~nGLDevice() override;
    nGLDevice(const nGLDevice&) = delete;
    nGLDevice& operator=(const nGLDevice&) = delete;

    const char* GetName() const override { return "gl"; }
    bool NeedsGLWindow() const override { return true; }
    nGfxDeviceCaps GetCaps() const override;
    nGfxFormat GetDesktopFormat() const override;
    bool CheckDepthFormat(nGfxFormat display, nGfxFormat depth) const override;
    bool CheckDepthStencilMatch(nGfxFormat display, nGfxFormat back, nGfxFormat depth) const override;
    bool Open(const nPlatformWindow* window, const nGfxPresentParams& params, std::string& error) override;
    void Close() override;
    bool IsOpen() const override { return this->context != nullptr; }
    const nGfxPresentParams& GetPresentParams() const override { return this->params; }
    nGfxDeviceState TestCooperativeLevel() override { return nGfxDeviceState::Ok; }
    bool Reset(const nGfxPresentParams& params) override;
    void GetViewport(int& x, int& y, int& w, int& h, float& minZ, float& maxZ) const override;
    void Clear(int flags, float r, float g, float b, float a, float z, int stencil) override;
    void Present() override;
    bool ReadPixel(int x, int y, unsigned char rgba[4]) override;

    //--- GL errors ----------------------------------------------------------------------
    /// the GL errors reported since the last call, by any context of the process
    /// (at most the first 64 of them); forgets them
    static std::vector<std::string> TakeErrors();
    /// whether the context reports GL errors as they happen, as against at frame end
    bool HasDebugOutput() const { return this->debugOutput; }

private:
    /// turn on error reporting when the build or the environment asks for it
    void StartErrorReports();
    /// report what glGetError holds (the check at frame end)
    void DrainErrors() const;
    bool debugOutput = false;
    bool checkAtPresent = false;

public:

    //--- meshes: buffers and vertex layouts ------------------------------------------
    nGfxBufferHandle CreateBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool) override;
    void* LockBuffer(nGfxBufferHandle buffer) override;
    void UnlockBuffer(nGfxBufferHandle buffer) override;
    void ReleaseBuffer(nGfxBufferHandle buffer) override;
    int GetBufferSize(nGfxBufferHandle buffer) const override;
    nGfxLayoutHandle CreateVertexLayout(const nGfxVertexElement* elements, int numElements, int stride,
                                        nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer) override;
    void ReleaseVertexLayout(nGfxLayoutHandle layout) override;
    void DrawIndexedTriangles(nGfxLayoutHandle layout, int firstIndex, int numIndices) override;

private:
    /// delete every GL buffer and vertex array still held
    void ReleaseMeshObjects();
    nGfxBufferStore store;

public:
    //--- textures and render targets (ngldevicetexture.cc) ---------------------------------
    int GetMaxTextureSize() const override;
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

private:
    /// the framebuffer drawing goes to: a render target's or the back buffer
    unsigned int CurrentFramebuffer() const { return this->targetActive ? this->targetFramebuffer : this->framebuffer; }
    /// free every texture, depth surface and the sampler's objects (context current)
    void ReleaseTextureObjects();
    /// make the program and the 1x1 float target SampleTexture draws with; false on failure
    bool MakeSampler();
    /// the GL target of one face of a texture
    static unsigned int FaceTarget(const nGfxTextureDesc& d, int face);

    std::map<unsigned int, nGfxTextureDesc> textures;
    std::set<unsigned int> depthSurfaces;
    unsigned int targetFramebuffer = 0;
    bool targetActive = false;
    unsigned int sampleFramebuffer = 0;
    unsigned int sampleColor = 0;
    unsigned int sampleProgram = 0;
    unsigned int sampleVao = 0;

public:
    //--- effects ----------------------------------------------------------------------
    nGfxProgramHandle CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc,
                                    std::string& log) override;
    void DeleteProgram(nGfxProgramHandle program) override;
    void UseProgram(nGfxProgramHandle program) override;
    int GetUniformLocation(nGfxProgramHandle program, const char* name) override;
    void SetUniform(int location, nGfxUniform type, int count, const void* values) override;
    nGfxSamplerHandle CreateSampler(const nGfxSamplerDesc& desc) override;
    void DeleteSampler(nGfxSamplerHandle sampler) override;
    void BindTexture(int unit, nGfxTextureHandle texture, bool cube, nGfxSamplerHandle sampler) override;

    //--- rendering (ngldevicerender.cc) ----------------------------------------------
    void DrawIndexedPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int minVertex, int numVertices,
                               int firstIndex, int primCount) override;
    void DrawPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int firstVertex, int primCount) override;
    nGfxLayoutHandle CreateStreamLayout(const nGfxVertexElement* elements, const int* streams, int numElements,
                                        const nGfxBufferHandle* vertexBuffers, const int* strides, int numStreams,
                                        nGfxBufferHandle indexBuffer) override;
    void DrawLineStrip(const float* points, int numPoints, const float* matrix, const float rgba[4]) override;
    bool ReadFrame(std::vector<unsigned char>& rgba, int& width, int& height) override;
    void SetViewport(int x, int y, int w, int h, float minZ, float maxZ) override;

private:
    /// send the first 'needed' bytes of a buffer (all for 0) when the device
    /// lacks them; a dynamic buffer with a non-zero alignment appends them
    /// behind its last upload at a multiple of it (0 keeps them at the start)
    void UploadRange(nGfxBufferHandle buffer, size_t needed, size_t align);
    /// upload what the layout's vertex streams and indices need; false for
    /// an unknown layout; where the draw finds its vertices (added to every
    /// index or first vertex) and its indices (bytes) in the GL buffers
    bool PrepareLayout(nGfxLayoutHandle layout, size_t vertexBytes, size_t indexBytes, int& baseVertex,
                       size_t& indexOffset);
    /// make the line program and its buffers; false when GL refuses
    bool MakeLineObjects();
    void ReleaseRenderObjects();
    /// the extra vertex buffers of stream layouts (stream 0 is the layout's own)
    std::map<int, std::vector<nGfxBufferHandle>> streamBuffers;
    unsigned int lineProgram = 0;
    unsigned int lineVao = 0;
    unsigned int lineVbo = 0;
    int lineMatrixLocation = -1;
    int lineColorLocation = -1;
    int linePixelLocation = -1;

protected:
    void ApplyRenderState(int state, unsigned int value) override;

private:
    /// carry out the stencil states of both faces together
    void ApplyStencil();
    /// make the back buffer for the parameters; false with the reason
    bool MakeBackBuffer(const nGfxPresentParams& p, std::string& error);
    void ReleaseBackBuffer();
    /// attach the back buffer's depth surface to the bound framebuffer at its attachment point
    void AttachBackBufferDepth() const;

    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    nGfxPresentParams params;
    unsigned int framebuffer = 0;
    unsigned int colorBuffer = 0;
    unsigned int depthBuffer = 0;
};
#endif
