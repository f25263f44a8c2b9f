//------------------------------------------------------------------------------
//  ngldevice.cc
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include "platform/ngldevice.h"
#include "platform/nplatformwindow.h"

#include <GL/glcorearb.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace
{

/// the most GL error messages kept between two TakeErrors
const size_t maxKeptErrors = 64;
std::mutex errorLock;
std::vector<std::string> errorMessages;

/// log a GL error and keep it for TakeErrors
void KeepError(const std::string& message)
{
    SDL_Log("GL error: %s", message.c_str());
    const std::lock_guard<std::mutex> hold(errorLock);
    if (errorMessages.size() < maxKeptErrors)
    {
        errorMessages.push_back(message);
    }
}

/// debug builds report GL errors; optimised ones only when the environment asks
bool ErrorReportsWanted()
{
#ifdef NDEBUG
    const char* v = getenv("ENGINE_GL_DEBUG");
    return v && *v && strcmp(v, "0") != 0;
#else
    return true;
#endif
}

void APIENTRY OnDebugMessage(GLenum source, GLenum /*type*/, GLuint /*id*/, GLenum /*severity*/, GLsizei /*length*/,
                             const GLchar* message, const void* /*user*/)
{
    // a stage that does not compile is its caller's to report, with the log
    if (GL_DEBUG_SOURCE_SHADER_COMPILER != source)
    {
        KeepError(message);
    }
}

/// the name of a glGetError code
std::string ErrorName(GLenum e)
{
    switch (e)
    {
        case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
        case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
        case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
        case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
        case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
        default: return "error " + std::to_string(e);
    }
}

/// the renderbuffer format of a colour format, 0 when GL has none
GLenum ColorStorage(nGfxFormat f)
{
    switch (f)
    {
        case nGfxFormat::X8R8G8B8:
        case nGfxFormat::A8R8G8B8:
        case nGfxFormat::R8G8B8: return GL_RGBA8;
        case nGfxFormat::R5G6B5: return GL_RGB565;
        case nGfxFormat::A16B16G16R16F: return GL_RGBA16F;
        default: return 0;
    }
}

/// the renderbuffer format of a depth format, 0 when GL has none
GLenum DepthStorage(nGfxFormat f)
{
    switch (f)
    {
        case nGfxFormat::D24S8: return GL_DEPTH24_STENCIL8;
        case nGfxFormat::D24X8: return GL_DEPTH_COMPONENT24;
        case nGfxFormat::D16: return GL_DEPTH_COMPONENT16;
        default: return 0;
    }
}

/// the framebuffer attachment point of a depth format
GLenum DepthAttachment(nGfxFormat f)
{
    return (nGfxFormat::D24S8 == f) ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
}

}  // namespace

std::unique_ptr<nGfxDevice> nNewGLDevice()
{
    return std::make_unique<nGLDevice>();
}

nGLDevice::~nGLDevice()
{
    this->Close();
}

/*
 * GetCaps --
 *     Results: what every GL 3.3 core context has: vertex programs beyond
 *     model 3.0 in hardware.
 */
nGfxDeviceCaps nGLDevice::GetCaps() const
{
    nGfxDeviceCaps caps;
    caps.vertexShaderVersion = 0x0300;
    caps.pixelShaderVersion = 0x0300;
    caps.hardwareTransformAndLight = true;
    caps.pureDevice = true;
    return caps;
}

/*
 * GetDesktopFormat --
 *     Results: R5G6B5 on a desktop of 16 bits or less, X8R8G8B8 otherwise
 *     (also when SDL video is not running or knows no desktop mode).
 */
nGfxFormat nGLDevice::GetDesktopFormat() const
{
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && 0 == SDL_GetDesktopDisplayMode(0, &mode) &&
        SDL_BITSPERPIXEL(mode.format) > 0 && SDL_BITSPERPIXEL(mode.format) <= 16)
    {
        return nGfxFormat::R5G6B5;
    }
    return nGfxFormat::X8R8G8B8;
}

bool nGLDevice::CheckDepthFormat(nGfxFormat display, nGfxFormat depth) const
{
    return ColorStorage(display) != 0 && DepthStorage(depth) != 0;
}

bool nGLDevice::CheckDepthStencilMatch(nGfxFormat display, nGfxFormat back, nGfxFormat depth) const
{
    return ColorStorage(display) != 0 && ColorStorage(back) != 0 && DepthStorage(depth) != 0;
}

/*
 * Open --
 *     Results: true with a current context and the back buffer; false
 *     with SDL's or GL's reason in 'error' (nothing is left made).
 *     Side effects: makes the context current on the window; sets the
 *     swap interval by vsync (a window system may ignore it).
 */
bool nGLDevice::Open(const nPlatformWindow* platformWindow, const nGfxPresentParams& p, std::string& error)
{
    SDL_Window* win = platformWindow ? platformWindow->GetSDLWindow() : nullptr;
    if (this->context)
    {
        error = "the device is open already";
        return false;
    }
    if (!win)
    {
        error = "there is no window";
        return false;
    }
    int flags = 0;
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_FLAGS, &flags);
    if (ErrorReportsWanted())
    {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, flags | SDL_GL_CONTEXT_DEBUG_FLAG);
    }
    this->context = SDL_GL_CreateContext(win);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, flags);
    if (!this->context)
    {
        error = SDL_GetError();
        return false;
    }
    this->window = win;
    if (SDL_GL_MakeCurrent(win, this->context) != 0)
    {
        error = SDL_GetError();
        this->Close();
        return false;
    }
    this->StartErrorReports();
    SDL_GL_SetSwapInterval(p.vsync ? 1 : 0);
    if (!this->MakeBackBuffer(p, error))
    {
        this->Close();
        return false;
    }
    this->params = p;
    this->ResetRenderStates();
    return true;
}

/*
 * StartErrorReports --
 *     Side effects: with KHR_debug, GL errors and high-severity messages
 *     reach KeepError inside the call at fault (notifications and other
 *     chatter are switched off); without it Present asks glGetError once
 *     a frame. Nothing when the build and the environment do not ask.
 */
void nGLDevice::StartErrorReports()
{
    this->debugOutput = false;
    this->checkAtPresent = false;
    if (!ErrorReportsWanted())
    {
        return;
    }
    const auto callback =
        reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKPROC>(SDL_GL_GetProcAddress("glDebugMessageCallback"));
    const auto control = reinterpret_cast<PFNGLDEBUGMESSAGECONTROLPROC>(SDL_GL_GetProcAddress("glDebugMessageControl"));
    if (!SDL_GL_ExtensionSupported("GL_KHR_debug") || !callback || !control)
    {
        this->checkAtPresent = true;
        return;
    }
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    control(GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE, 0, nullptr, GL_FALSE);
    control(GL_DONT_CARE, GL_DEBUG_TYPE_ERROR, GL_DONT_CARE, 0, nullptr, GL_TRUE);
    control(GL_DONT_CARE, GL_DONT_CARE, GL_DEBUG_SEVERITY_HIGH, 0, nullptr, GL_TRUE);
    callback(OnDebugMessage, nullptr);
    this->debugOutput = true;
}

void nGLDevice::DrainErrors() const
{
    // one flag per kind of error: a few calls empty it
    for (int i = 0; i < 8; i++)
    {
        const GLenum e = glGetError();
        if (GL_NO_ERROR == e)
        {
            return;
        }
        KeepError(ErrorName(e) + " during the frame");
    }
}

std::vector<std::string> nGLDevice::TakeErrors()
{
    const std::lock_guard<std::mutex> hold(errorLock);
    std::vector<std::string> taken;
    taken.swap(errorMessages);
    return taken;
}

void nGLDevice::Close()
{
    if (this->context)
    {
        SDL_GL_MakeCurrent(this->window, this->context);
        this->ReleaseRenderObjects();
        this->ReleaseMeshObjects();
        this->ReleaseTextureObjects();
        this->ReleaseBackBuffer();
        SDL_GL_MakeCurrent(this->window, nullptr);
        SDL_GL_DeleteContext(this->context);
        this->context = nullptr;
    }
    this->window = nullptr;
}

void nGLDevice::AttachBackBufferDepth() const
{
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, DepthAttachment(this->params.depthStencilFormat), GL_RENDERBUFFER,
                              this->depthBuffer);
}

/*
 * MakeBackBuffer --
 *     Results: false with the reason when a format has no GL storage or
 *     the framebuffer is incomplete (the buffers are released then).
 *     Side effects: the back buffer is the bound framebuffer afterwards,
 *     its viewport the whole of it.
 */
bool nGLDevice::MakeBackBuffer(const nGfxPresentParams& p, std::string& error)
{
    const GLenum colorFormat = ColorStorage(p.backBufferFormat);
    const GLenum depthFormat = DepthStorage(p.depthStencilFormat);
    if (0 == colorFormat || 0 == depthFormat || p.width <= 0 || p.height <= 0)
    {
        error = std::string("no back buffer of ") + nGfxFormatName(p.backBufferFormat) + "/" +
                nGfxFormatName(p.depthStencilFormat) + " at " + std::to_string(p.width) + "x" +
                std::to_string(p.height);
        return false;
    }
    glGenFramebuffers(1, &this->framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, this->framebuffer);
    glGenRenderbuffers(1, &this->colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, this->colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, colorFormat, p.width, p.height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, this->colorBuffer);
    glGenRenderbuffers(1, &this->depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, this->depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, depthFormat, p.width, p.height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, DepthAttachment(p.depthStencilFormat), GL_RENDERBUFFER,
                              this->depthBuffer);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE)
    {
        error = "the back buffer framebuffer is incomplete (status " + std::to_string(status) + ")";
        this->ReleaseBackBuffer();
        return false;
    }
    glViewport(0, 0, p.width, p.height);
    glDepthRange(0.0, 1.0);
    return true;
}

void nGLDevice::ReleaseBackBuffer()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (this->framebuffer) glDeleteFramebuffers(1, &this->framebuffer);
    if (this->colorBuffer) glDeleteRenderbuffers(1, &this->colorBuffer);
    if (this->depthBuffer) glDeleteRenderbuffers(1, &this->depthBuffer);
    this->framebuffer = 0;
    this->colorBuffer = 0;
    this->depthBuffer = 0;
}

/*
 * Reset --
 *     Results: false when the new back buffer cannot be made (the device
 *     then has none until the next successful Reset).
 */
bool nGLDevice::Reset(const nGfxPresentParams& p)
{
    if (!this->context)
    {
        return false;
    }
    this->ReleaseBackBuffer();
    std::string error;
    if (!this->MakeBackBuffer(p, error))
    {
        return false;
    }
    SDL_GL_SetSwapInterval(p.vsync ? 1 : 0);
    this->params = p;
    return true;
}

void nGLDevice::GetViewport(int& x, int& y, int& w, int& h, float& minZ, float& maxZ) const
{
    x = 0;
    y = 0;
    w = this->params.width;
    h = this->params.height;
    minZ = 0.0f;
    maxZ = 1.0f;
}

/*
 * Clear --
 *     Side effects: clears the chosen buffers of the back buffer (or of
 *     the render target drawn into); the
 *     write masks are opened for it, as a Direct3D clear ignores them.
 */
void nGLDevice::Clear(int flags, float r, float g, float b, float a, float z, int stencil)
{
    if (!this->framebuffer)
    {
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, this->CurrentFramebuffer());
    GLbitfield mask = 0;
    if (flags & ClearColor)
    {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(r, g, b, a);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & ClearDepth)
    {
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & ClearStencil)
    {
        glStencilMask(0xFF);
        glClearStencil(stencil);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
    // a clear ignores the write masks; put back the ones the render states hold
    this->ApplyRenderState(nGfxRS::ColorWriteEnable, this->GetRenderState(nGfxRS::ColorWriteEnable));
    this->ApplyRenderState(nGfxRS::ZWriteEnable, this->GetRenderState(nGfxRS::ZWriteEnable));
    this->ApplyRenderState(nGfxRS::StencilWriteMask, this->GetRenderState(nGfxRS::StencilWriteMask));
}

/*
 * Present --
 *     Side effects: blits the back buffer, top row to the top, into the
 *     largest area of its aspect in the middle of the window's drawable
 *     (black bars beside or above and below it, as a full-screen desktop
 *     or a resized window need) and swaps; the back buffer stays bound
 *     for the next frame.
 */
void nGLDevice::Present()
{
    if (!this->framebuffer)
    {
        return;
    }
    int dw = 0;
    int dh = 0;
    if (this->checkAtPresent)
    {
        this->DrainErrors();
    }
    SDL_GL_GetDrawableSize(this->window, &dw, &dh);
    const nPlatformWindow::Area area = nPlatformWindow::Letterbox(this->params.width, this->params.height, dw, dh);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, this->framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // the blit and the clear of the bars must reach the whole drawable
    glDisable(GL_SCISSOR_TEST);
    if (area.w != dw || area.h != dh)
    {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        this->ApplyRenderState(nGfxRS::ColorWriteEnable, this->GetRenderState(nGfxRS::ColorWriteEnable));
    }
    const int top = dh - area.y;
    glBlitFramebuffer(0, 0, this->params.width, this->params.height, area.x, top, area.x + area.w, top - area.h,
                      GL_COLOR_BUFFER_BIT, GL_LINEAR);
    this->ApplyRenderState(nGfxRS::ScissorTestEnable, this->GetRenderState(nGfxRS::ScissorTestEnable));
    SDL_GL_SwapWindow(this->window);
    glBindFramebuffer(GL_FRAMEBUFFER, this->framebuffer);
}

/*
 * ReadPixel --
 *     Results: the pixel at x, y (row 0 on top) of the back buffer. The
 *     y flip that ends every vertex program puts the top row at the
 *     framebuffer's row 0 (Present turns it round for the window).
 */
bool nGLDevice::ReadPixel(int x, int y, unsigned char rgba[4])
{
    if (!this->framebuffer || x < 0 || y < 0 || x >= this->params.width || y >= this->params.height)
    {
        return false;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, this->framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return glGetError() == GL_NO_ERROR;
}

//--- meshes: buffers and vertex layouts ---------------------------------------------

/*
 * CreateBuffer --
 *     Results: the handle of a zeroed buffer with a GL buffer of the same
 *     size; 0 while closed or for a size that is not positive. Dynamic
 *     buffers are made for streaming, the others for static data.
 */
nGfxBufferHandle nGLDevice::CreateBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool)
{
    if (!this->context || byteSize <= 0)
    {
        return nGfxBufferHandle();
    }
    const nGfxBufferHandle handle = this->store.AddBuffer(type, byteSize, usage, pool);
    nGfxBufferStore::Buffer* b = this->store.GetBuffer(handle);
    glGenBuffers(1, &b->deviceName);
    glBindBuffer(GL_COPY_WRITE_BUFFER, b->deviceName);
    glBufferData(GL_COPY_WRITE_BUFFER, byteSize, nullptr, (usage & nGfxUsageDynamic) ? GL_STREAM_DRAW : GL_STATIC_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    return handle;
}

void* nGLDevice::LockBuffer(nGfxBufferHandle buffer)
{
    nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    return b ? b->shadow.data() : nullptr;
}

void nGLDevice::UnlockBuffer(nGfxBufferHandle buffer)
{
    nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    if (b)
    {
        b->dirty = true;
    }
}

void nGLDevice::ReleaseBuffer(nGfxBufferHandle buffer)
{
    nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    if (b && this->context)
    {
        glDeleteBuffers(1, &b->deviceName);
    }
    this->store.RemoveBuffer(buffer);
}

int nGLDevice::GetBufferSize(nGfxBufferHandle buffer) const
{
    const nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    return b ? (int)b->shadow.size() : 0;
}

/*
 * CreateVertexLayout --
 *     Results: the handle of a vertex array that reads each element at
 *     its fixed location from the vertex buffer and takes the indices
 *     from the index buffer; 0 while closed.
 */
nGfxLayoutHandle nGLDevice::CreateVertexLayout(const nGfxVertexElement* elements, int numElements, int stride,
                                               nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer)
{
    if (!this->context)
    {
        return nGfxLayoutHandle();
    }
    const nGfxLayoutHandle handle = this->store.AddLayout(elements, numElements, stride, vertexBuffer, indexBuffer);
    nGfxBufferStore::Layout* l = this->store.GetLayout(handle);
    const nGfxBufferStore::Buffer* vb = this->store.GetBuffer(vertexBuffer);
    const nGfxBufferStore::Buffer* ib = this->store.GetBuffer(indexBuffer);
    glGenVertexArrays(1, &l->deviceName);
    glBindVertexArray(l->deviceName);
    glBindBuffer(GL_ARRAY_BUFFER, vb ? vb->deviceName : 0);
    for (int i = 0; vb && i < numElements; i++)
    {
        const nGfxVertexElement& e = elements[i];
        glEnableVertexAttribArray((GLuint)e.location);
        glVertexAttribPointer((GLuint)e.location, e.numFloats, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>((size_t)e.byteOffset));
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib ? ib->deviceName : 0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return handle;
}

void nGLDevice::ReleaseVertexLayout(nGfxLayoutHandle layout)
{
    nGfxBufferStore::Layout* l = this->store.GetLayout(layout);
    if (l && this->context)
    {
        glDeleteVertexArrays(1, &l->deviceName);
    }
    this->streamBuffers.erase(layout.GetRaw());
    this->store.RemoveLayout(layout);
}

/*
 * DrawIndexedTriangles --
 *     Side effects: uploads the layout's changed buffers and draws the
 *     index range into the back buffer with the current program; an
 *     unknown layout or a range outside the index buffer draws nothing.
 */
void nGLDevice::DrawIndexedTriangles(nGfxLayoutHandle layout, int firstIndex, int numIndices)
{
    const nGfxBufferStore::Layout* l = this->store.GetLayout(layout);
    const nGfxBufferStore::Buffer* ib = l ? this->store.GetBuffer(l->indexBuffer) : nullptr;
    int baseVertex = 0;
    size_t indexOffset = 0;
    if (!this->framebuffer || !ib || firstIndex < 0 || numIndices <= 0 ||
        (size_t)(firstIndex + (long long)numIndices) * 2 > ib->shadow.size() ||
        !this->PrepareLayout(layout, 0, 0, baseVertex, indexOffset))
    {
        return;
    }
    glBindVertexArray(l->deviceName);
    glDrawElementsBaseVertex(GL_TRIANGLES, numIndices, GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(indexOffset + (size_t)firstIndex * sizeof(unsigned short)),
                             baseVertex);
    glBindVertexArray(0);
}

/*
 * ReleaseMeshObjects --
 *     Side effects: deletes the GL objects of every buffer and layout the
 *     engine did not release before the context goes.
 */
void nGLDevice::ReleaseMeshObjects()
{
    for (auto& entry : this->store.Layouts())
    {
        glDeleteVertexArrays(1, &entry.second.deviceName);
    }
    for (auto& entry : this->store.Buffers())
    {
        glDeleteBuffers(1, &entry.second.deviceName);
    }
    this->store.Clear();
}

//--- effects: programs, uniforms, samplers and render states ----------------------

namespace
{

/// the GL comparison of a Direct3D 9 one
GLenum GLCmp(unsigned int c)
{
    static const GLenum t[] = {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return (c >= 1 && c <= 8) ? t[c - 1] : GL_ALWAYS;
}

/// the GL blend factor of a Direct3D 9 one
GLenum GLBlend(unsigned int b)
{
    static const GLenum t[] = {GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA,
                               GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_DST_COLOR,
                               GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE};
    return (b >= 1 && b <= 11) ? t[b - 1] : GL_ONE;
}

/// the GL blend equation of a Direct3D 9 one
GLenum GLBlendOp(unsigned int o)
{
    static const GLenum t[] = {GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_MIN, GL_MAX};
    return (o >= 1 && o <= 5) ? t[o - 1] : GL_FUNC_ADD;
}

/// the GL stencil operation of a Direct3D 9 one
GLenum GLStencilOp(unsigned int o)
{
    static const GLenum t[] = {GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT, GL_INCR_WRAP, GL_DECR_WRAP};
    return (o >= 1 && o <= 8) ? t[o - 1] : GL_KEEP;
}

/// the GL wrap mode of a Direct3D 9 address mode
GLint GLAddress(int a)
{
    switch (a)
    {
        case nGfxRS::AddressMirror: return GL_MIRRORED_REPEAT;
        case nGfxRS::AddressClamp: return GL_CLAMP_TO_EDGE;
        case nGfxRS::AddressBorder: return GL_CLAMP_TO_BORDER;
        case nGfxRS::AddressMirrorOnce: return GL_MIRRORED_REPEAT;
        default: return GL_REPEAT;
    }
}

/// the GL minification filter of Direct3D 9's min and mip filters
GLint GLMinFilter(int minFilter, int mipFilter)
{
    const bool linear = minFilter >= nGfxRS::FilterLinear;
    switch (mipFilter)
    {
        case nGfxRS::FilterNone: return linear ? GL_LINEAR : GL_NEAREST;
        case nGfxRS::FilterPoint: return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        default: return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
}

/// compile one stage; 0 with the log appended when that fails
GLuint CompileStage(GLenum type, const std::string& src, std::string& log)
{
    GLuint sh = glCreateShader(type);
    const char* text = src.c_str();
    glShaderSource(sh, 1, &text, nullptr);
    glCompileShader(sh);
    GLint ok = GL_FALSE;
    glGetShaderiv(sh, GL_COMPILE_STATUS, &ok);
    if (GL_TRUE != ok)
    {
        char buf[4096] = "";
        glGetShaderInfoLog(sh, sizeof(buf), nullptr, buf);
        log += buf;
        glDeleteShader(sh);
        return 0;
    }
    return sh;
}

}  // namespace

/*
 * CreateProgram --
 *     Results: the linked program, 0 with the compiler's or linker's log
 *     in 'log' when a stage does not compile or the program does not link.
 */
nGfxProgramHandle nGLDevice::CreateProgram(const std::string& vertexSrc, const std::string& fragmentSrc,
                                           std::string& log)
{
    log.clear();
    if (!this->context)
    {
        log = "the device is not open";
        return nGfxProgramHandle();
    }
    GLuint vs = CompileStage(GL_VERTEX_SHADER, vertexSrc, log);
    GLuint fs = vs ? CompileStage(GL_FRAGMENT_SHADER, fragmentSrc, log) : 0;
    if (!vs || !fs)
    {
        if (vs) glDeleteShader(vs);
        return nGfxProgramHandle();
    }
    GLuint prog = glCreateProgram();
    glAttachShader(prog, vs);
    glAttachShader(prog, fs);
    glLinkProgram(prog);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(prog, GL_LINK_STATUS, &ok);
    if (GL_TRUE != ok)
    {
        char buf[4096] = "";
        glGetProgramInfoLog(prog, sizeof(buf), nullptr, buf);
        log = buf;
        glDeleteProgram(prog);
        return nGfxProgramHandle();
    }
    return nGfxProgramHandle(prog);
}

void nGLDevice::DeleteProgram(nGfxProgramHandle program)
{
    if (this->context && program)
    {
        glDeleteProgram(program.GetRaw());
    }
}

void nGLDevice::UseProgram(nGfxProgramHandle program)
{
    glUseProgram(program.GetRaw());
}

int nGLDevice::GetUniformLocation(nGfxProgramHandle program, const char* name)
{
    return glGetUniformLocation(program.GetRaw(), name);
}

/*
 * SetUniform --
 *     Side effects: sets the uniform of the program in use; matrices go
 *     untransposed, so the engine's row-vector matrices multiply as
 *     "matrix * vector" in GLSL.
 */
void nGLDevice::SetUniform(int location, nGfxUniform type, int count, const void* values)
{
    const float* f = static_cast<const float*>(values);
    const int* i = static_cast<const int*>(values);
    switch (type)
    {
        case nGfxUniform::Bool:
        case nGfxUniform::Int: glUniform1iv(location, count, i); break;
        case nGfxUniform::Float: glUniform1fv(location, count, f); break;
        case nGfxUniform::Vec2: glUniform2fv(location, count, f); break;
        case nGfxUniform::Vec3: glUniform3fv(location, count, f); break;
        case nGfxUniform::Vec4: glUniform4fv(location, count, f); break;
        case nGfxUniform::Mat4: glUniformMatrix4fv(location, count, GL_FALSE, f); break;
    }
}

nGfxSamplerHandle nGLDevice::CreateSampler(const nGfxSamplerDesc& d)
{
    GLuint s = 0;
    glGenSamplers(1, &s);
    glSamplerParameteri(s, GL_TEXTURE_WRAP_S, GLAddress(d.addressU));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_T, GLAddress(d.addressV));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_R, GLAddress(d.addressW));
    glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, GLMinFilter(d.minFilter, d.mipFilter));
    glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, d.magFilter >= nGfxRS::FilterLinear ? GL_LINEAR : GL_NEAREST);
    return nGfxSamplerHandle(s);
}

void nGLDevice::DeleteSampler(nGfxSamplerHandle sampler)
{
    if (this->context && sampler)
    {
        const GLuint name = sampler.GetRaw();
        glDeleteSamplers(1, &name);
    }
}

void nGLDevice::BindTexture(int unit, nGfxTextureHandle texture, bool cube, nGfxSamplerHandle sampler)
{
    this->CountTextureBind(unit, texture);
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, texture.GetRaw());
    glBindSampler(unit, sampler.GetRaw());
}

/*
 * ApplyStencil --
 *     Side effects: sets both faces' stencil tests from the cached states.
 *     GL's front faces are Direct3D's clockwise ones (the y flip turns the
 *     winding round and glFrontFace stays GL_CCW); with two-sided mode the
 *     counter-clockwise states go to the back faces.
 */
void nGLDevice::ApplyStencil()
{
    using namespace nGfxRS;
    const bool two = this->GetRenderState(TwoSidedStencilMode) != 0;
    const GLint ref = GLint(this->GetRenderState(StencilRef));
    const GLuint mask = this->GetRenderState(StencilMask);
    glStencilFuncSeparate(GL_FRONT, GLCmp(this->GetRenderState(StencilFunc)), ref, mask);
    glStencilOpSeparate(GL_FRONT, GLStencilOp(this->GetRenderState(StencilFail)),
                        GLStencilOp(this->GetRenderState(StencilZFail)), GLStencilOp(this->GetRenderState(StencilPass)));
    const int f = two ? CcwStencilFunc : StencilFunc;
    const int o = two ? CcwStencilFail : StencilFail;
    glStencilFuncSeparate(GL_BACK, GLCmp(this->GetRenderState(f)), ref, mask);
    glStencilOpSeparate(GL_BACK, GLStencilOp(this->GetRenderState(o)), GLStencilOp(this->GetRenderState(o + 1)),
                        GLStencilOp(this->GetRenderState(o + 2)));
}

/*
 * ApplyRenderState --
 *     Side effects: carries out one state on the context. The alpha test
 *     states are left to the programs (GL core has no alpha test).
 */
void nGLDevice::ApplyRenderState(int state, unsigned int v)
{
    using namespace nGfxRS;
    if (!this->context)
    {
        return;
    }
    float f = 0.0f;
    switch (state)
    {
        case ZEnable: (v ? glEnable : glDisable)(GL_DEPTH_TEST); break;
        case ZWriteEnable: glDepthMask(v ? GL_TRUE : GL_FALSE); break;
        case ZFunc: glDepthFunc(GLCmp(v)); break;
        case FillMode: glPolygonMode(GL_FRONT_AND_BACK, FillPoint == v ? GL_POINT : (FillWireframe == v ? GL_LINE : GL_FILL)); break;
        case CullMode:
            // Direct3D's counter-clockwise faces are GL's clockwise, its back faces
            (CullNone == v ? glDisable : glEnable)(GL_CULL_FACE);
            glFrontFace(GL_CCW);
            glCullFace(CullCW == v ? GL_FRONT : GL_BACK);
            break;
        case AlphaBlendEnable: (v ? glEnable : glDisable)(GL_BLEND); break;
        case SrcBlend:
        case DestBlend: glBlendFunc(GLBlend(this->GetRenderState(SrcBlend)), GLBlend(this->GetRenderState(DestBlend))); break;
        case BlendOp: glBlendEquation(GLBlendOp(v)); break;
        case ColorWriteEnable: glColorMask((v & 1) != 0, (v & 2) != 0, (v & 4) != 0, (v & 8) != 0); break;
        case ScissorTestEnable: (v ? glEnable : glDisable)(GL_SCISSOR_TEST); break;
        case StencilEnable: (v ? glEnable : glDisable)(GL_STENCIL_TEST); break;
        case StencilWriteMask: glStencilMask(v); break;
        case StencilFail: case StencilZFail: case StencilPass: case StencilFunc: case StencilRef: case StencilMask:
        case TwoSidedStencilMode: case CcwStencilFail: case CcwStencilZFail: case CcwStencilPass:
        case CcwStencilFunc: this->ApplyStencil(); break;
        case DepthBias:
        case SlopeScaleDepthBias:
        {
            // Direct3D's bias is in depth units of [0,1]; GL's in steps of a 24-bit buffer
            float bias = 0.0f;
            const unsigned int b = this->GetRenderState(DepthBias);
            const unsigned int s = this->GetRenderState(SlopeScaleDepthBias);
            memcpy(&bias, &b, sizeof(bias));
            memcpy(&f, &s, sizeof(f));
            (bias != 0.0f || f != 0.0f ? glEnable : glDisable)(GL_POLYGON_OFFSET_FILL);
            glPolygonOffset(f, bias * 16777216.0f);
            break;
        }
        default: break;
    }
}
