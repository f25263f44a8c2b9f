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
#include "platform/ngfxhandle.h"
#include "platform/ngfxvertexlocations.h"
#include "platform/ngfxtexture.h"

class nPlatformWindow;

#include "platform/ngfxrenderstate.h"

#include <memory>
#include <string>
#include <vector>

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
    /// fragment program model, the same numbering
    int pixelShaderVersion = 0;
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

//--- meshes: buffers and vertex layouts ----------------------------------------------
/// what a device buffer holds
enum class nGfxBufferType
{
    Vertex = 0,
    /// 16-bit indices
    Index16,
};

/// where a buffer lives, by the Direct3D 9 pools
enum class nGfxPool
{
    Default = 0,
    Managed = 1,
    SystemMem = 2,
};

/// buffer usage bits, by the values Direct3D 9 gave them
enum nGfxBufferUsage
{
    nGfxUsageWriteOnly = 0x8,
    nGfxUsageSoftwareProcessing = 0x10,
    nGfxUsagePoints = 0x40,
    nGfxUsageDynamic = 0x200,
    nGfxUsageRTPatches = 0x800,
};

/// one vertex component of a layout: floats at a byte offset of the vertex
struct nGfxVertexElement
{
    /// the fixed attribute location (nGfxVertexLocation)
    int location = 0;
    int numFloats = 0;
    int byteOffset = 0;
};

/// what the vertices or indices of a draw make, by the engine's numbers
enum class nGfxPrimitive
{
    PointList = 0,
    LineList = 1,
    LineStrip = 2,
    TriangleList = 3,
    TriangleStrip = 4,
    TriangleFan = 5,
};

/// the vertices or indices primCount primitives of a type take (0 for an
/// unknown type or a count below 1)
int nGfxPrimitiveElements(nGfxPrimitive primType, int primCount);

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
    /// whether the depth format is usable with that display format
    virtual bool CheckDepthFormat(nGfxFormat display, nGfxFormat depth) const = 0;
    /// whether the depth format goes with that back buffer
    virtual bool CheckDepthStencilMatch(nGfxFormat display, nGfxFormat back, nGfxFormat depth) const = 0;

    //--- life ---------------------------------------------------------------------
    /// open on the window; false with the reason in 'error'
    virtual bool Open(const nPlatformWindow* window, const nGfxPresentParams& params, std::string& error) = 0;
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

    //--- meshes: buffers and vertex layouts ------------------------------------------
    // Every buffer keeps a CPU shadow: Lock hands it out, Unlock marks it
    // for upload, and the upload happens before the next draw that uses
    // it. A Dynamic buffer gets each change after the last one in its
    // device storage, and fresh storage (orphaned) only when the change
    // does not fit behind it any more, so that a discarding lock costs no
    // allocation per draw. Raw ids are positive; the default handle is none.

    /// a buffer of byteSize bytes (zeroed); none when the device is closed or
    /// the size is not positive
    virtual nGfxBufferHandle CreateBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool) = 0;
    /// the buffer's shadow, null for an unknown handle
    virtual void* LockBuffer(nGfxBufferHandle buffer) = 0;
    /// the shadow goes to the device before the next draw
    virtual void UnlockBuffer(nGfxBufferHandle buffer) = 0;
    virtual void ReleaseBuffer(nGfxBufferHandle buffer) = 0;
    /// the byte size of a buffer, 0 for an unknown handle
    virtual int GetBufferSize(nGfxBufferHandle buffer) const = 0;
    /// one vertex array: the elements read the vertex buffer (stride bytes
    /// per vertex), the index buffer gives the indices (either may be none);
    /// none when the device is closed
    virtual nGfxLayoutHandle CreateVertexLayout(const nGfxVertexElement* elements, int numElements, int stride,
                                                nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer) = 0;
    virtual void ReleaseVertexLayout(nGfxLayoutHandle layout) = 0;
    /// draw numIndices indices from firstIndex as a triangle list with the
    /// program the caller made current; uploads the layout's changed
    /// buffers first
    virtual void DrawIndexedTriangles(nGfxLayoutHandle layout, int firstIndex, int numIndices) = 0;
    //--- textures and render targets ---------------------------------------------------
    /// the largest side of a texture
    virtual int GetMaxTextureSize() const = 0;
    /// whether textures of the format can be made (as render targets, when
    /// asked); answered before the device opens too, where a backend knows
    /// (GL learns of block compression only from its context)
    virtual bool CheckTextureFormat(nGfxTexFormat format, bool renderTarget) const = 0;
    /// a new texture with undefined contents; none when it cannot be made
    virtual nGfxTextureHandle CreateTexture(const nGfxTextureDesc& desc) = 0;
    virtual void ReleaseTexture(nGfxTextureHandle tex) = 0;
    /// replace a whole level of a face (0 for 2D) by 'size' bytes of data
    virtual bool UploadTexture(nGfxTextureHandle tex, int face, int level, const void* data, size_t size) = 0;
    /// copy a whole level of a face into 'data'; false when it cannot be read
    virtual bool ReadTexture(nGfxTextureHandle tex, int face, int level, void* data, size_t size) = 0;
    /// fill the lower levels from level 0
    virtual void GenerateTextureMipMaps(nGfxTextureHandle tex) = 0;
    /// a depth surface for render targets; none when it cannot be made
    virtual nGfxDepthSurfaceHandle CreateDepthSurface(int width, int height) = 0;
    virtual void ReleaseDepthSurface(nGfxDepthSurfaceHandle surface) = 0;
    /// draw into a render-target texture and/or depth surface; none and none is the back buffer
    virtual bool SetRenderTarget(nGfxTextureHandle colorTex, nGfxDepthSurfaceHandle depthSurface) = 0;
    //--- effects: programs, uniforms, samplers and render states -----------------
    /// compile and link a program; none with the compiler's log in 'log' when that fails
    virtual nGfxProgramHandle CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc,
                                            std::string& log) = 0;
    virtual void DeleteProgram(nGfxProgramHandle program) = 0;
    /// the program later draws and uniform sets use
    virtual void UseProgram(nGfxProgramHandle program) = 0;
    /// the location of a uniform of a program, -1 when it has none of that name
    virtual int GetUniformLocation(nGfxProgramHandle program, const char* name) = 0;
    /// set count elements of a uniform of the program in use (matrices uploaded as they are)
    virtual void SetUniform(int location, nGfxUniform type, int count, const void* values) = 0;
    /// a sampler object for the description; none when none can be made
    virtual nGfxSamplerHandle CreateSampler(const nGfxSamplerDesc& desc) = 0;
    virtual void DeleteSampler(nGfxSamplerHandle sampler) = 0;
    /// bind a texture object (or none) and a sampler to a texture unit
    virtual void BindTexture(int unit, nGfxTextureHandle texture, bool cube, nGfxSamplerHandle sampler) = 0;
    /// the texture last bound to a unit (none, also for units beyond the sixteen tracked)
    nGfxTextureHandle GetBoundTexture(int unit) const
    {
        return (unit >= 0 && unit < 16) ? this->boundTextures[unit] : nGfxTextureHandle();
    }
    //--- rendering: draws over the primitive types, lines, read-back ----------------------
    // A draw names its primitive count as Direct3D did; the device turns it
    // into a vertex or index count and draws nothing for a count below 1,
    // an unknown type or a range outside the buffers.
    /// draw primCount primitives from the layout's indices starting at
    /// firstIndex (the vertices they name lie in minVertex..minVertex+numVertices)
    virtual void DrawIndexedPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int minVertex,
                                       int numVertices, int firstIndex, int primCount) = 0;
    /// draw primCount primitives from the layout's vertices starting at firstVertex
    virtual void DrawPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int firstVertex, int primCount) = 0;
    /// a layout over several vertex streams: element i reads stream streams[i]
    /// (vertexBuffers[s] with strides[s] bytes per vertex); none when closed
    virtual nGfxLayoutHandle CreateStreamLayout(const nGfxVertexElement* elements, const int* streams,
                                                int numElements, const nGfxBufferHandle* vertexBuffers,
                                                const int* strides, int numStreams, nGfxBufferHandle indexBuffer) = 0;
    /// draw a connected line through numPoints points (x, y, z each) with the
    /// row-vector matrix (16 floats) in one RGBA colour; 2-D points are passed
    /// as pixels with a null matrix
    virtual void DrawLineStrip(const float* points, int numPoints, const float* matrix, const float rgba[4]) = 0;
    /// the presented frame as RGBA rows, row 0 on top; false while closed
    virtual bool ReadFrame(std::vector<unsigned char>& rgba, int& width, int& height) = 0;
    /// draw into this rectangle of the target (row 0 on top) with this depth range
    virtual void SetViewport(int x, int y, int w, int h, float minZ, float maxZ) = 0;

    /// set a render state (an nGfxRS number); the device skips values it already has
    void SetRenderState(int state, unsigned int value);
    /// the value a render state has now
    unsigned int GetRenderState(int state) const;
    /// the render states carried out and the texture units that got another
    /// texture since the last call (for the frame statistics); both zeroed
    void TakeChangeCounts(int& renderStateChanges, int& textureChanges);

protected:
    /// carry out a render state whose cached value just changed
    virtual void ApplyRenderState(int state, unsigned int value) = 0;
    /// every state back to its default, applied
    void ResetRenderStates();
    /// a backend's BindTexture reports each bind here; a change of a unit's texture counts
    void CountTextureBind(int unit, nGfxTextureHandle texture);

private:
    unsigned int renderStates[nGfxRS::NumStates];
    int stateChangeCount = 0;
    int textureChangeCount = 0;
    nGfxTextureHandle boundTextures[16] = {};
};

/// the OpenGL device
std::unique_ptr<nGfxDevice> nNewGLDevice();
#endif
