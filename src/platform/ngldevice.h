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
*/
#include "platform/ngfxdevice.h"

class nGLDevice : public nGfxDevice
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
    bool CheckTextureFormat(nGfxFormat format, bool renderTarget) const override;
    bool CheckDepthFormat(nGfxFormat display, nGfxFormat depth) const override;
    bool CheckDepthStencilMatch(nGfxFormat display, nGfxFormat back, nGfxFormat depth) const override;
    bool Open(SDL_Window* window, const nGfxPresentParams& params, std::string& error) override;
    void Close() override;
    bool IsOpen() const override { return this->context != nullptr; }
    const nGfxPresentParams& GetPresentParams() const override { return this->params; }
    nGfxDeviceState TestCooperativeLevel() override { return nGfxDeviceState::Ok; }
    bool Reset(const nGfxPresentParams& params) override;
    void GetViewport(int& x, int& y, int& w, int& h, float& minZ, float& maxZ) const override;
    void Clear(int flags, float r, float g, float b, float a, float z, int stencil) override;
    void Present() override;
    bool ReadPixel(int x, int y, unsigned char rgba[4]) override;

    //--- effects ----------------------------------------------------------------------
    unsigned int CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc, std::string& log) override;
    void DeleteProgram(unsigned int program) override;
    void UseProgram(unsigned int program) override;
    int GetUniformLocation(unsigned int program, const char* name) override;
    void SetUniform(int location, nGfxUniform type, int count, const void* values) override;
    unsigned int CreateSampler(const nGfxSamplerDesc& desc) override;
    void DeleteSampler(unsigned int sampler) override;
    void BindTexture(int unit, unsigned int texture, bool cube, unsigned int sampler) override;

protected:
    void ApplyRenderState(int state, unsigned int value) override;

private:
    /// carry out the stencil states of both faces together
    void ApplyStencil();
    /// make the back buffer for the parameters; false with the reason
    bool MakeBackBuffer(const nGfxPresentParams& p, std::string& error);
    void ReleaseBackBuffer();

    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    nGfxPresentParams params;
    unsigned int framebuffer = 0;
    unsigned int colorBuffer = 0;
    unsigned int depthBuffer = 0;
};
#endif
