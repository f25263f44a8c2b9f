//------------------------------------------------------------------------------
//  ngldevicetexture.cc
//
//  The textures and render targets of the OpenGL device. Handles are the
//  GL names of the textures and depth renderbuffers. Data goes up as
//  Direct3D laid it out in memory, row 0 first, so that texture
//  coordinate v = 0 reaches row 0 as it did there; cube faces keep the
//  same face numbers and orientation.
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include "platform/ngldevice.h"

#include <GL/glcorearb.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

const GLenum CompressedDXT1 = 0x83F1;
const GLenum CompressedDXT3 = 0x83F2;
const GLenum CompressedDXT5 = 0x83F3;

/// how a format is stored and uploaded
struct GLFormat
{
    GLenum internal;
    GLenum format;
    GLenum type;
    /// the swizzle of red, green, blue, alpha
    GLint swizzle[4];
};

const GLint Rgba[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};

/*
 * GetGLFormat --
 *     Results: false for formats GL cannot store; 'out' otherwise. One-
 *     and two-channel formats read 1 in the channels they lack, A8 reads
 *     as alpha only, X8R8G8B8 as opaque.
 */
bool GetGLFormat(nGfxTexFormat f, GLFormat& out)
{
    const GLint one = GL_ONE;
    const GLint zero = GL_ZERO;
    auto set = [&out](GLenum i, GLenum fmt, GLenum t, GLint r, GLint g, GLint b, GLint a) {
        out = GLFormat{i, fmt, t, {r, g, b, a}};
        return true;
    };
    switch (f)
    {
        case nGfxTexFormat::X8R8G8B8: return set(GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, GL_RED, GL_GREEN, GL_BLUE, one);
        case nGfxTexFormat::A8R8G8B8: return set(GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, Rgba[0], Rgba[1], Rgba[2], Rgba[3]);
        case nGfxTexFormat::R5G6B5:
            return set(GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, GL_RED, GL_GREEN, GL_BLUE, one);
        case nGfxTexFormat::A1R5G5B5:
            return set(GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, Rgba[0], Rgba[1], Rgba[2], Rgba[3]);
        case nGfxTexFormat::A4R4G4B4:
            return set(GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, Rgba[0], Rgba[1], Rgba[2], Rgba[3]);
        case nGfxTexFormat::P8: return set(GL_R8, GL_RED, GL_UNSIGNED_BYTE, GL_RED, one, one, one);
        case nGfxTexFormat::A8: return set(GL_R8, GL_RED, GL_UNSIGNED_BYTE, zero, zero, zero, GL_RED);
        case nGfxTexFormat::DXT1: return set(CompressedDXT1, 0, 0, Rgba[0], Rgba[1], Rgba[2], Rgba[3]);
        case nGfxTexFormat::DXT2:
        case nGfxTexFormat::DXT3: return set(CompressedDXT3, 0, 0, Rgba[0], Rgba[1], Rgba[2], Rgba[3]);
        case nGfxTexFormat::DXT4:
        case nGfxTexFormat::DXT5: return set(CompressedDXT5, 0, 0, Rgba[0], Rgba[1], Rgba[2], Rgba[3]);
        case nGfxTexFormat::R16F: return set(GL_R16F, GL_RED, GL_HALF_FLOAT, GL_RED, one, one, one);
        case nGfxTexFormat::G16R16F: return set(GL_RG16F, GL_RG, GL_HALF_FLOAT, GL_RED, GL_GREEN, one, one);
        case nGfxTexFormat::A16B16G16R16F:
            return set(GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, Rgba[0], Rgba[1], Rgba[2], Rgba[3]);
        case nGfxTexFormat::R32F: return set(GL_R32F, GL_RED, GL_FLOAT, GL_RED, one, one, one);
        case nGfxTexFormat::G32R32F: return set(GL_RG32F, GL_RG, GL_FLOAT, GL_RED, GL_GREEN, one, one);
        case nGfxTexFormat::A32B32G32R32F:
            return set(GL_RGBA32F, GL_RGBA, GL_FLOAT, Rgba[0], Rgba[1], Rgba[2], Rgba[3]);
        default: return false;
    }
}

/// whether the context offers S3TC compressed textures
bool HasS3TC()
{
    GLint n = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &n);
    for (GLint i = 0; i < n; i++)
    {
        const char* ext = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, GLuint(i)));
        if (ext && 0 == strcmp(ext, "GL_EXT_texture_compression_s3tc"))
        {
            return true;
        }
    }
    return false;
}

/// the direction that meets a cube face at u, v (0..1, row 0 on top)
void CubeDirection(int face, float u, float v, float dir[3])
{
    const float s = 2.0f * u - 1.0f;
    const float t = 2.0f * v - 1.0f;
    const float dirs[6][3] = {{1, -t, -s}, {-1, -t, s}, {s, 1, t}, {s, -1, -t}, {s, -t, 1}, {-s, -t, -1}};
    for (int i = 0; i < 3; i++)
    {
        dir[i] = dirs[face][i];
    }
}

const char* const sampleVS =
    "#version 330 core\n"
    "void main() { gl_Position = vec4(0.0, 0.0, 0.0, 1.0); gl_PointSize = 1.0; }\n";
const char* const sampleFS =
    "#version 330 core\n"
    "uniform sampler2D tex2d;\n"
    "uniform samplerCube texCube;\n"
    "uniform int cube;\n"
    "uniform vec3 coord;\n"
    "uniform float lod;\n"
    "out vec4 color;\n"
    "void main() {\n"
    "    color = (cube != 0) ? textureLod(texCube, coord, lod) : textureLod(tex2d, coord.xy, lod);\n"
    "}\n";

/// a compiled shader stage, 0 on failure
GLuint CompileStage(GLenum kind, const char* src)
{
    const GLuint s = glCreateShader(kind);
    glShaderSource(s, 1, &src, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok)
    {
        glDeleteShader(s);
        return 0;
    }
    return s;
}

/// One whole level of one face, checked and bound for a transfer.
struct LevelAccess
{
    const nGfxTextureDesc* desc = nullptr;
    GLFormat gl;
    int width = 0;
    int height = 0;
};

/*
 * BindLevel --
 *     Results: true with the level's description, GL format and size when
 *     the texture, face and level exist and 'size' is the level's byte
 *     size; false otherwise.
 *     Side effects: on success the texture is bound to its unit.
 */
bool BindLevel(const std::map<unsigned int, nGfxTextureDesc>& textures, unsigned int tex, int face, int level,
               const void* data, size_t size, LevelAccess& access)
{
    auto it = textures.find(tex);
    if (it == textures.end() || !data || !GetGLFormat(it->second.format, access.gl))
    {
        return false;
    }
    const nGfxTextureDesc& d = it->second;
    access.desc = &d;
    access.width = std::max(1, d.width >> level);
    access.height = std::max(1, d.height >> level);
    if (level < 0 || level >= d.levels || face < 0 || face >= (d.cube ? 6 : 1) ||
        size != nGfxTexLevelSize(d.format, access.width, access.height))
    {
        return false;
    }
    glActiveTexture(d.cube ? GL_TEXTURE1 : GL_TEXTURE0);
    glBindTexture(d.cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, tex);
    return true;
}

}  // namespace

int nGLDevice::GetMaxTextureSize() const
{
    if (!this->context)
    {
        return 0;
    }
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

/*
 * CheckTextureFormat --
 *     Results: whether GL stores the format (DXT only with S3TC, known
 *     once the context is there); render targets in the 8888 and float
 *     formats only.
 */
bool nGLDevice::CheckTextureFormat(nGfxTexFormat format, bool renderTarget) const
{
    GLFormat gl;
    if (!GetGLFormat(format, gl))
    {
        return false;
    }
    if (renderTarget)
    {
        return nGfxTexFormat::X8R8G8B8 == format || nGfxTexFormat::A8R8G8B8 == format ||
               (format >= nGfxTexFormat::R16F && format <= nGfxTexFormat::A32B32G32R32F);
    }
    return !nGfxTexFormatIsCompressed(format) || (this->context && HasS3TC());
}

unsigned int nGLDevice::FaceTarget(const nGfxTextureDesc& d, int face)
{
    return d.cube ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + GLenum(face) : GL_TEXTURE_2D;
}

/*
 * CreateTexture --
 *     Results: the GL name of a texture with storage for every level of
 *     every face, or 0 when the format, size or level count is refused.
 *     Side effects: binds the texture to unit 0 (unit 1 for cubes).
 */
nGfxTextureHandle nGLDevice::CreateTexture(const nGfxTextureDesc& d)
{
    GLFormat gl;
    const int maxSize = this->GetMaxTextureSize();
    if (!this->CheckTextureFormat(d.format, d.renderTarget) || !GetGLFormat(d.format, gl) || d.width <= 0 ||
        d.height <= 0 || d.width > maxSize || d.height > maxSize || d.levels < 1 || d.levels > 16 ||
        (d.cube && d.width != d.height))
    {
        return nGfxTextureHandle();
    }
    const GLenum target = d.cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glActiveTexture(d.cube ? GL_TEXTURE1 : GL_TEXTURE0);
    glBindTexture(target, tex);
    glTexParameteri(target, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, d.levels - 1);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, (d.levels > 1) ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteriv(target, GL_TEXTURE_SWIZZLE_RGBA, gl.swizzle);
    const bool compressed = nGfxTexFormatIsCompressed(d.format);
    const int faces = d.cube ? 6 : 1;
    for (int face = 0; face < faces; face++)
    {
        for (int level = 0; level < d.levels; level++)
        {
            const int w = std::max(1, d.width >> level);
            const int h = std::max(1, d.height >> level);
            if (compressed)
            {
                const std::vector<unsigned char> zero(nGfxTexLevelSize(d.format, w, h));
                glCompressedTexImage2D(FaceTarget(d, face), level, gl.internal, w, h, 0, GLsizei(zero.size()),
                                       zero.data());
            }
            else
            {
                glTexImage2D(FaceTarget(d, face), level, GLint(gl.internal), w, h, 0, gl.format, gl.type, nullptr);
            }
        }
    }
    if (glGetError() != GL_NO_ERROR)
    {
        glDeleteTextures(1, &tex);
        return nGfxTextureHandle();
    }
    this->textures[tex] = d;
    return nGfxTextureHandle(tex);
}

void nGLDevice::ReleaseTexture(nGfxTextureHandle tex)
{
    if (this->textures.erase(tex.GetRaw()))
    {
        GLuint name = tex.GetRaw();
        glDeleteTextures(1, &name);
    }
}

/*
 * UploadTexture --
 *     Results: false for an unknown texture, face or level, or a size
 *     that is not the level's.
 */
bool nGLDevice::UploadTexture(nGfxTextureHandle tex, int face, int level, const void* data, size_t size)
{
    LevelAccess a;
    if (!BindLevel(this->textures, tex.GetRaw(), face, level, data, size, a))
    {
        return false;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (nGfxTexFormatIsCompressed(a.desc->format))
    {
        glCompressedTexSubImage2D(FaceTarget(*a.desc, face), level, 0, 0, a.width, a.height, a.gl.internal,
                                  GLsizei(size), data);
    }
    else
    {
        glTexSubImage2D(FaceTarget(*a.desc, face), level, 0, 0, a.width, a.height, a.gl.format, a.gl.type, data);
    }
    return glGetError() == GL_NO_ERROR;
}

bool nGLDevice::ReadTexture(nGfxTextureHandle tex, int face, int level, void* data, size_t size)
{
    LevelAccess a;
    if (!BindLevel(this->textures, tex.GetRaw(), face, level, data, size, a))
    {
        return false;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (nGfxTexFormatIsCompressed(a.desc->format))
    {
        glGetCompressedTexImage(FaceTarget(*a.desc, face), level, data);
    }
    else
    {
        glGetTexImage(FaceTarget(*a.desc, face), level, a.gl.format, a.gl.type, data);
    }
    return glGetError() == GL_NO_ERROR;
}

void nGLDevice::GenerateTextureMipMaps(nGfxTextureHandle handle)
{
    const GLuint tex = handle.GetRaw();
    auto it = this->textures.find(tex);
    if (it == this->textures.end() || nGfxTexFormatIsCompressed(it->second.format))
    {
        return;
    }
    const GLenum target = it->second.cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    glActiveTexture(it->second.cube ? GL_TEXTURE1 : GL_TEXTURE0);
    glBindTexture(target, tex);
    glGenerateMipmap(target);
}

nGfxDepthSurfaceHandle nGLDevice::CreateDepthSurface(int width, int height)
{
    const int maxSize = this->GetMaxTextureSize();
    if (width <= 0 || height <= 0 || width > maxSize || height > maxSize)
    {
        return nGfxDepthSurfaceHandle();
    }
    GLuint rb = 0;
    glGenRenderbuffers(1, &rb);
    glBindRenderbuffer(GL_RENDERBUFFER, rb);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    if (glGetError() != GL_NO_ERROR)
    {
        glDeleteRenderbuffers(1, &rb);
        return nGfxDepthSurfaceHandle();
    }
    this->depthSurfaces.insert(rb);
    return nGfxDepthSurfaceHandle(rb);
}

void nGLDevice::ReleaseDepthSurface(nGfxDepthSurfaceHandle surface)
{
    if (this->depthSurfaces.erase(surface.GetRaw()))
    {
        GLuint rb = surface.GetRaw();
        glDeleteRenderbuffers(1, &rb);
    }
}

/*
 * SetRenderTarget --
 *     Results: false when the pair cannot be drawn into (drawing then
 *     goes to the back buffer).
 *     Side effects: binds the target's framebuffer and sets the viewport
 *     to its size, or the back buffer's. A colour target without a depth
 *     surface of its own that fits within the back buffer tests and
 *     writes the back buffer's depth, as a Direct3D 9 device keeps its
 *     depth-stencil surface when only the colour target changes; a scene
 *     drawn off-screen would otherwise have no depth test at all.
 */
bool nGLDevice::SetRenderTarget(nGfxTextureHandle colorHandle, nGfxDepthSurfaceHandle depthHandle)
{
    const GLuint colorTex = colorHandle.GetRaw();
    const GLuint depthSurface = depthHandle.GetRaw();
    this->targetActive = false;
    glBindFramebuffer(GL_FRAMEBUFFER, this->framebuffer);
    glViewport(0, 0, this->params.width, this->params.height);
    if (0 == colorTex && 0 == depthSurface)
    {
        return true;
    }
    auto it = this->textures.find(colorTex);
    if ((colorTex && (it == this->textures.end() || it->second.cube)) ||
        (depthSurface && !this->depthSurfaces.count(depthSurface)))
    {
        return false;
    }
    if (!this->targetFramebuffer)
    {
        glGenFramebuffers(1, &this->targetFramebuffer);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, this->targetFramebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTex, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
    const bool sharesDepth = colorTex && !depthSurface && it->second.width <= this->params.width &&
                             it->second.height <= this->params.height;
    if (sharesDepth)
    {
        this->AttachBackBufferDepth();
    }
    else
    {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthSurface);
    }
    const GLenum buffer = colorTex ? GL_COLOR_ATTACHMENT0 : GL_NONE;
    glDrawBuffers(1, &buffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    {
        glBindFramebuffer(GL_FRAMEBUFFER, this->framebuffer);
        return false;
    }
    GLint w = 0, h = 0;
    if (colorTex)
    {
        w = it->second.width;
        h = it->second.height;
    }
    else
    {
        glBindRenderbuffer(GL_RENDERBUFFER, depthSurface);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &w);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &h);
    }
    glViewport(0, 0, w, h);
    this->targetActive = true;
    return true;
}

bool nGLDevice::MakeSampler()
{
    if (this->sampleProgram)
    {
        return true;
    }
    const GLuint vs = CompileStage(GL_VERTEX_SHADER, sampleVS);
    const GLuint fs = CompileStage(GL_FRAGMENT_SHADER, sampleFS);
    if (!vs || !fs)
    {
        if (vs) glDeleteShader(vs);
        if (fs) glDeleteShader(fs);
        return false;
    }
    this->sampleProgram = glCreateProgram();
    glAttachShader(this->sampleProgram, vs);
    glAttachShader(this->sampleProgram, fs);
    glLinkProgram(this->sampleProgram);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(this->sampleProgram, GL_LINK_STATUS, &ok);
    if (!ok)
    {
        glDeleteProgram(this->sampleProgram);
        this->sampleProgram = 0;
        return false;
    }
    glGenVertexArrays(1, &this->sampleVao);
    glGenTextures(1, &this->sampleColor);
    glBindTexture(GL_TEXTURE_2D, this->sampleColor);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, nullptr);
    glGenFramebuffers(1, &this->sampleFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, this->sampleFramebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, this->sampleColor, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, this->CurrentFramebuffer());
    return true;
}

/*
 * SampleTexture --
 *     Results: the filtered value a shader reads at u, v and the mip
 *     level, as floats; false for an unknown texture or face.
 *     Side effects: draws one point into a 1x1 float target of its own;
 *     the framebuffer drawn into and the viewport are put back, and no
 *     program stays bound.
 */
bool nGLDevice::SampleTexture(nGfxTextureHandle handle, int face, float u, float v, float level, float rgba[4])
{
    const GLuint tex = handle.GetRaw();
    auto it = this->textures.find(tex);
    if (it == this->textures.end() || face < 0 || face >= (it->second.cube ? 6 : 1) || !this->MakeSampler())
    {
        return false;
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glBindFramebuffer(GL_FRAMEBUFFER, this->sampleFramebuffer);
    glViewport(0, 0, 1, 1);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glUseProgram(this->sampleProgram);
    const bool cube = it->second.cube;
    glActiveTexture(cube ? GL_TEXTURE1 : GL_TEXTURE0);
    glBindTexture(cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, tex);
    glUniform1i(glGetUniformLocation(this->sampleProgram, "tex2d"), 0);
    glUniform1i(glGetUniformLocation(this->sampleProgram, "texCube"), 1);
    glUniform1i(glGetUniformLocation(this->sampleProgram, "cube"), cube ? 1 : 0);
    float coord[3] = {u, v, 0.0f};
    if (cube)
    {
        CubeDirection(face, u, v, coord);
    }
    glUniform3fv(glGetUniformLocation(this->sampleProgram, "coord"), 1, coord);
    glUniform1f(glGetUniformLocation(this->sampleProgram, "lod"), level);
    glBindVertexArray(this->sampleVao);
    glDrawArrays(GL_POINTS, 0, 1);
    glBindVertexArray(0);
    glUseProgram(0);
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_FLOAT, rgba);
    glBindFramebuffer(GL_FRAMEBUFFER, this->CurrentFramebuffer());
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    return glGetError() == GL_NO_ERROR;
}

void nGLDevice::ReleaseTextureObjects()
{
    while (!this->textures.empty())
    {
        this->ReleaseTexture(nGfxTextureHandle(this->textures.begin()->first));
    }
    while (!this->depthSurfaces.empty())
    {
        this->ReleaseDepthSurface(nGfxDepthSurfaceHandle(*this->depthSurfaces.begin()));
    }
    if (this->targetFramebuffer) glDeleteFramebuffers(1, &this->targetFramebuffer);
    if (this->sampleFramebuffer) glDeleteFramebuffers(1, &this->sampleFramebuffer);
    if (this->sampleColor) glDeleteTextures(1, &this->sampleColor);
    if (this->sampleVao) glDeleteVertexArrays(1, &this->sampleVao);
    if (this->sampleProgram) glDeleteProgram(this->sampleProgram);
    this->targetFramebuffer = this->sampleFramebuffer = this->sampleColor = this->sampleVao = 0;
    this->sampleProgram = 0;
    this->targetActive = false;
}
