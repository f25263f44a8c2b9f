#ifndef N_GFXDEVICE_H
#define N_GFXDEVICE_H
//------------------------------------------------------------------------------
/**
    @class nGfxDevice
    @ingroup Platform

    The graphics device under the engine's Direct3D 9 classes: one
    interface with an OpenGL 3.3 backend (nGLDevice) and a backend that
    only records (nNullDevice) for tests without any GL. The engine's
    server keeps the Direct3D-shaped logic (format search, loss and reset,
    resource restore); a backend answers format questions, owns the
    context and the back buffer and carries out the frame's calls.

    The back buffer is a framebuffer the device owns at the size the
    present parameters give; Present shows it in the window. Image row 0
    is the top row.
*/
#include <SDL.h>

#include "platform/ngfxrenderstate.h"

#include <memory>
#include <string>

/// surface formats, by the names the format tables of the engine use
enum class nGfxFormat
{
    Unknown = 0,
    R8G8B8,
    A8R8G8B8,
    X8R8G8B8,
    R5G6B5,
    D24S8,
    D24X4S4,
    D24X8,
    D16,
    A16B16G16R16F,
};

/// the name of a format ("X8R8G8B8" ...), "Unknown" for others
const char* nGfxFormatName(nGfxFormat f);
/// bits per pixel of a colour format, 0 for the others
int nGfxFormatBits(nGfxFormat f);

/// what the device can do
struct nGfxDeviceCaps
{
    /// vertex program model, 0x0101 for 1.1, 0x0300 for 3.0
    int vertexShaderVersion = 0;
    bool hardwareTransformAndLight = false;
    bool pureDevice = false;
};

/// how the device presents and what its back buffer is
struct nGfxPresentParams
{
    int width = 0;
    int height = 0;
    nGfxFormat backBufferFormat = nGfxFormat::Unknown;
    nGfxFormat depthStencilFormat = nGfxFormat::Unknown;
    bool windowed = true;
    bool vsync = false;
    bool lockableBackBuffer = false;
};

/// the types of program uniforms
enum class nGfxUniform
{
    Bool,
    Int,
    Float,
    Vec2,
    Vec3,
    Vec4,
    Mat4,
};

/// how a texture unit samples, by the Direct3D 9 numbers of nGfxRS
struct nGfxSamplerDesc
{
    int addressU = nGfxRS::AddressWrap;
    int addressV = nGfxRS::AddressWrap;
    int addressW = nGfxRS::AddressWrap;
    int minFilter = nGfxRS::FilterPoint;
    int magFilter = nGfxRS::FilterPoint;
    int mipFilter = nGfxRS::FilterNone;
};

/// the answer of TestCooperativeLevel
enum class nGfxDeviceState
{
    Ok = 0,
    /// lost: frames must be skipped until it can be reset
    Lost,
    /// lost, and ready to be reset
    NotReset,
};

class nGfxDevice
{
public:
    /// the buffers Clear affects
    enum ClearFlags
    {
        ClearColor = 1,
        ClearDepth = 2,
        ClearStencil = 4,
    };

    /// render states at their defaults
    nGfxDevice();
    virtual ~nGfxDevice() = default;

    /// "gl" or "null"
    virtual const char* GetName() const = 0;
    /// whether the window must be made for OpenGL
    virtual bool NeedsGLWindow() const = 0;

    //--- before the device opens -------------------------------------------------
    virtual nGfxDeviceCaps GetCaps() const = 0;
    /// the colour format of the desktop the window opens on
    virtual nGfxFormat GetDesktopFormat() const = 0;
    /// whether a texture (or render target) of the format can be made
    virtual bool CheckTextureFormat(nGfxFormat format, bool renderTarget) const = 0;
    /// whether the depth format is usable with that display format
    virtual bool CheckDepthFormat(nGfxFormat display, nGfxFormat depth) const = 0;
    /// whether the depth format goes with that back buffer
    virtual bool CheckDepthStencilMatch(nGfxFormat display, nGfxFormat back, nGfxFormat depth) const = 0;

    //--- life ---------------------------------------------------------------------
    /// open on the window; false with the reason in 'error'
    virtual bool Open(SDL_Window* window, const nGfxPresentParams& params, std::string& error) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual const nGfxPresentParams& GetPresentParams() const = 0;
    virtual nGfxDeviceState TestCooperativeLevel() = 0;
    /// remake the back buffer with new parameters; false when that fails
    virtual bool Reset(const nGfxPresentParams& params) = 0;

    //--- frame ----------------------------------------------------------------------
    /// the viewport: the whole back buffer after Open and Reset
    virtual void GetViewport(int& x, int& y, int& w, int& h, float& minZ, float& maxZ) const = 0;
    virtual void Clear(int flags, float r, float g, float b, float a, float z, int stencil) = 0;
    /// show the back buffer in the window
    virtual void Present() = 0;
    /// the colour of one back-buffer pixel as RGBA bytes; false outside it
    virtual bool ReadPixel(int x, int y, unsigned char rgba[4]) = 0;

    //--- effects: programs, uniforms, samplers and render states -----------------
    /// compile and link a program; 0 with the compiler's log in 'log' when that fails
    virtual unsigned int CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc, std::string& log) = 0;
    virtual void DeleteProgram(unsigned int program) = 0;
    /// the program later draws and uniform sets use
    virtual void UseProgram(unsigned int program) = 0;
    /// the location of a uniform of a program, -1 when it has none of that name
    virtual int GetUniformLocation(unsigned int program, const char* name) = 0;
    /// set count elements of a uniform of the program in use (matrices uploaded as they are)
    virtual void SetUniform(int location, nGfxUniform type, int count, const void* values) = 0;
    /// a sampler object for the description; 0 when none can be made
    virtual unsigned int CreateSampler(const nGfxSamplerDesc& desc) = 0;
    virtual void DeleteSampler(unsigned int sampler) = 0;
    /// bind a texture object (0 for none) and a sampler to a texture unit
    virtual void BindTexture(int unit, unsigned int texture, bool cube, unsigned int sampler) = 0;
    /// set a render state (an nGfxRS number); the device skips values it already has
    void SetRenderState(int state, unsigned int value);
    /// the value a render state has now
    unsigned int GetRenderState(int state) const;

protected:
    /// carry out a render state whose cached value just changed
    virtual void ApplyRenderState(int state, unsigned int value) = 0;
    /// every state back to its default, applied
    void ResetRenderStates();

private:
    unsigned int renderStates[nGfxRS::NumStates];
};

/// the OpenGL device
std::unique_ptr<nGfxDevice> nNewGLDevice();
#endif
