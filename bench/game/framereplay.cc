//------------------------------------------------------------------------------
//  framereplay.cc
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include "framereplay.h"

#include <GL/glcorearb.h>
#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace
{

GLenum GLCmp(unsigned int v)
{
    static const GLenum map[] = {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return (v >= 1 && v <= 8) ? map[v - 1] : GL_ALWAYS;
}

GLenum BlendFactor(unsigned int v)
{
    static const GLenum map[] = {GL_ZERO,          GL_ONE,       GL_SRC_COLOR,           GL_ONE_MINUS_SRC_COLOR,
                                 GL_SRC_ALPHA,     GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                                 GL_DST_COLOR,     GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE};
    return (v >= 1 && v <= 11) ? map[v - 1] : GL_ONE;
}

GLenum GLBlendEq(unsigned int v)
{
    static const GLenum map[] = {GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_MIN, GL_MAX};
    return (v >= 1 && v <= 5) ? map[v - 1] : GL_FUNC_ADD;
}

GLenum GLStencilOp(unsigned int v)
{
    static const GLenum map[] = {GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT, GL_INCR_WRAP, GL_DECR_WRAP};
    return (v >= 1 && v <= 8) ? map[v - 1] : GL_KEEP;
}

GLenum Address(int v)
{
    switch (v)
    {
        case nGfxRS::AddressMirror: return GL_MIRRORED_REPEAT;
        case nGfxRS::AddressClamp: return GL_CLAMP_TO_EDGE;
        case nGfxRS::AddressBorder: return GL_CLAMP_TO_BORDER;
        case nGfxRS::AddressMirrorOnce: return GL_MIRRORED_REPEAT;
        default: return GL_REPEAT;
    }
}

GLenum MinFilter(int min, int mip)
{
    const bool linear = min >= nGfxRS::FilterLinear;
    if (mip == nGfxRS::FilterNone) return linear ? GL_LINEAR : GL_NEAREST;
    if (mip == nGfxRS::FilterPoint) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

GLenum Mode(int prim)
{
    static const GLenum map[] = {GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN};
    return (prim >= 0 && prim <= 5) ? map[prim] : GL_TRIANGLES;
}

GLuint Stage(GLenum type, const std::string& src, std::string& error)
{
    const GLuint sh = glCreateShader(type);
    const char* text = src.c_str();
    glShaderSource(sh, 1, &text, nullptr);
    glCompileShader(sh);
    GLint ok = GL_FALSE;
    glGetShaderiv(sh, GL_COMPILE_STATUS, &ok);
    if (GL_TRUE != ok) error = "a recorded shader does not compile";
    return sh;
}

}  // namespace

FrameReplay::FrameReplay(const FrameRecorder& rec, int w, int h) : width(w), height(h)
{
    this->Load(rec);
    if (this->error.empty()) this->Compile(rec);
}

FrameReplay::~FrameReplay()
{
    for (auto& [k, p] : this->programs) glDeleteProgram(p);
    for (auto& [k, s] : this->samplers) glDeleteSamplers(1, &s);
    for (auto& [k, b] : this->buffers) glDeleteBuffers(1, &b);
    for (auto& [k, v] : this->vaos) glDeleteVertexArrays(1, &v);
    for (auto& [k, f] : this->framebuffers) glDeleteFramebuffers(1, &f);
    glDeleteFramebuffers(1, &this->backFramebuffer);
    glDeleteRenderbuffers(1, &this->backColor);
    glDeleteRenderbuffers(1, &this->backDepth);
}

void FrameReplay::Add(Cmd cmd, unsigned int a, unsigned int b, unsigned int c, unsigned int d)
{
    Command x{cmd};
    x.a = a;
    x.b = b;
    x.c = c;
    x.d = d;
    this->commands.push_back(x);
}

/*
 * Load --
 *     Side effects: the recording's programs (with the uniform values they
 *     last had), samplers, buffers (with the contents they had when the
 *     frame began), vertex arrays and a back buffer of the size are made.
 */
void FrameReplay::Load(const FrameRecorder& rec)
{
    glGenRenderbuffers(1, &this->backColor);
    glBindRenderbuffer(GL_RENDERBUFFER, this->backColor);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, this->width, this->height);
    glGenRenderbuffers(1, &this->backDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, this->backDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, this->width, this->height);
    glGenFramebuffers(1, &this->backFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, this->backFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, this->backColor);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, this->backDepth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) this->error = "no back buffer";
    this->framebuffers[{0u, 0u}] = this->backFramebuffer;

    for (const auto& [handle, p] : rec.programs)
    {
        const GLuint vs = Stage(GL_VERTEX_SHADER, p.vertex, this->error);
        const GLuint fs = Stage(GL_FRAGMENT_SHADER, p.fragment, this->error);
        const GLuint prog = glCreateProgram();
        glAttachShader(prog, vs);
        glAttachShader(prog, fs);
        glLinkProgram(prog);
        glDeleteShader(vs);
        glDeleteShader(fs);
        this->programs[handle] = prog;
        glUseProgram(prog);
        for (const auto& [loc, v] : p.values)
        {
            auto name = p.uniformNames.find(loc);
            if (name == p.uniformNames.end()) continue;
            const GLint l = glGetUniformLocation(prog, name->second.c_str());
            const float* f = reinterpret_cast<const float*>(v.bytes.data());
            const int* i = reinterpret_cast<const int*>(v.bytes.data());
            switch (v.type)
            {
                case nGfxUniform::Bool:
                case nGfxUniform::Int: glUniform1iv(l, v.count, i); break;
                case nGfxUniform::Float: glUniform1fv(l, v.count, f); break;
                case nGfxUniform::Vec2: glUniform2fv(l, v.count, f); break;
                case nGfxUniform::Vec3: glUniform3fv(l, v.count, f); break;
                case nGfxUniform::Vec4: glUniform4fv(l, v.count, f); break;
                case nGfxUniform::Mat4: glUniformMatrix4fv(l, v.count, GL_FALSE, f); break;
            }
        }
    }
    for (const auto& [handle, d] : rec.samplers)
    {
        GLuint s = 0;
        glGenSamplers(1, &s);
        glSamplerParameteri(s, GL_TEXTURE_WRAP_S, (GLint)Address(d.addressU));
        glSamplerParameteri(s, GL_TEXTURE_WRAP_T, (GLint)Address(d.addressV));
        glSamplerParameteri(s, GL_TEXTURE_WRAP_R, (GLint)Address(d.addressW));
        glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, (GLint)MinFilter(d.minFilter, d.mipFilter));
        glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, d.magFilter >= nGfxRS::FilterLinear ? GL_LINEAR : GL_NEAREST);
        this->samplers[handle] = s;
    }
    for (const auto& [handle, b] : rec.buffers)
    {
        GLuint name = 0;
        glGenBuffers(1, &name);
        glBindBuffer(GL_COPY_WRITE_BUFFER, name);
        glBufferData(GL_COPY_WRITE_BUFFER, (GLsizeiptr)b.start.size(), b.start.data(),
                     (b.usage & nGfxUsageDynamic) ? GL_STREAM_DRAW : GL_STATIC_DRAW);
        this->buffers[handle] = name;
    }
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    for (const auto& [handle, l] : rec.layouts)
    {
        GLuint vao = 0;
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        for (size_t i = 0; i < l.elements.size(); i++)
        {
            const size_t s = (size_t)l.streams[i];
            auto vb = this->buffers.find(s < l.vertexBuffers.size() ? l.vertexBuffers[s].GetRaw() : 0);
            if (vb == this->buffers.end()) continue;
            glBindBuffer(GL_ARRAY_BUFFER, vb->second);
            const nGfxVertexElement& e = l.elements[i];
            glEnableVertexAttribArray((GLuint)e.location);
            glVertexAttribPointer((GLuint)e.location, e.numFloats, GL_FLOAT, GL_FALSE, l.strides[s],
                                  reinterpret_cast<const void*>((size_t)e.byteOffset));
        }
        auto ib = this->buffers.find(l.indexBuffer.GetRaw());
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib == this->buffers.end() ? 0 : ib->second);
        glBindVertexArray(0);
        this->vaos[handle] = vao;
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

unsigned int FrameReplay::TargetFramebuffer(const FrameRecorder& rec, unsigned int color, unsigned int depth)
{
    auto it = this->framebuffers.find({color, depth});
    if (it != this->framebuffers.end()) return it->second;
    GLuint fb = 0;
    glGenFramebuffers(1, &fb);
    glBindFramebuffer(GL_FRAMEBUFFER, fb);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color, 0);
    auto tex = rec.textures.find(color);
    const bool sharesDepth = color && !depth && tex != rec.textures.end() && tex->second.width <= this->width &&
                             tex->second.height <= this->height;
    if (sharesDepth)
    {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, this->backDepth);
    }
    else
    {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    }
    const GLenum buffer = color ? GL_COLOR_ATTACHMENT0 : GL_NONE;
    glDrawBuffers(1, &buffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) this->error = "a target is incomplete";
    this->framebuffers[{color, depth}] = fb;
    return fb;
}

/*
 * ApplyState --
 *     Side effects: the GL commands that carry out a state change, as the
 *     GL device does them, appended; the state table follows.
 */
void FrameReplay::ApplyState(int state, unsigned int v)
{
    using namespace nGfxRS;
    this->rs[state] = v;
    this->stateChanges++;
    switch (state)
    {
        case ZEnable: this->Add(v ? Cmd::Enable : Cmd::Disable, GL_DEPTH_TEST); break;
        case ZWriteEnable: this->Add(Cmd::DepthMask, v ? 1 : 0); break;
        case ZFunc: this->Add(Cmd::DepthFunc, GLCmp(v)); break;
        case FillMode: this->Add(Cmd::PolygonMode, v == FillPoint ? GL_POINT : (v == FillWireframe ? GL_LINE : GL_FILL)); break;
        case CullMode:
            this->Add(v == CullNone ? Cmd::Disable : Cmd::Enable, GL_CULL_FACE);
            this->Add(Cmd::CullFace, v == CullCW ? GL_FRONT : GL_BACK);
            break;
        case AlphaBlendEnable: this->Add(v ? Cmd::Enable : Cmd::Disable, GL_BLEND); break;
        case SrcBlend:
        case DestBlend: this->Add(Cmd::BlendFunc, BlendFactor(this->rs[SrcBlend]), BlendFactor(this->rs[DestBlend])); break;
        case BlendOp: this->Add(Cmd::BlendEquation, GLBlendEq(v)); break;
        case ColorWriteEnable: this->Add(Cmd::ColorMask, v); break;
        case ScissorTestEnable: this->Add(v ? Cmd::Enable : Cmd::Disable, GL_SCISSOR_TEST); break;
        case StencilEnable: this->Add(v ? Cmd::Enable : Cmd::Disable, GL_STENCIL_TEST); break;
        case StencilWriteMask: this->Add(Cmd::StencilMask, v); break;
        case StencilFail: case StencilZFail: case StencilPass: case StencilFunc: case StencilRef: case StencilMask:
        case TwoSidedStencilMode: case CcwStencilFail: case CcwStencilZFail: case CcwStencilPass: case CcwStencilFunc:
        {
            const bool two = this->rs[TwoSidedStencilMode] != 0;
            this->Add(Cmd::StencilFuncSeparate, GL_FRONT, GLCmp(this->rs[StencilFunc]), this->rs[StencilRef], this->rs[StencilMask]);
            this->Add(Cmd::StencilOpSeparate, GL_FRONT, GLStencilOp(this->rs[StencilFail]), GLStencilOp(this->rs[StencilZFail]),
                      GLStencilOp(this->rs[StencilPass]));
            const int f = two ? CcwStencilFunc : StencilFunc;
            const int o = two ? CcwStencilFail : StencilFail;
            this->Add(Cmd::StencilFuncSeparate, GL_BACK, GLCmp(this->rs[f]), this->rs[StencilRef], this->rs[StencilMask]);
            this->Add(Cmd::StencilOpSeparate, GL_BACK, GLStencilOp(this->rs[o]), GLStencilOp(this->rs[o + 1]), GLStencilOp(this->rs[o + 2]));
            break;
        }
        case DepthBias:
        case SlopeScaleDepthBias:
        {
            float bias = 0.0f, slope = 0.0f;
            memcpy(&bias, &this->rs[DepthBias], sizeof(bias));
            memcpy(&slope, &this->rs[SlopeScaleDepthBias], sizeof(slope));
            this->Add(bias != 0.0f || slope != 0.0f ? Cmd::Enable : Cmd::Disable, GL_POLYGON_OFFSET_FILL);
            Command c{Cmd::PolygonOffset};
            c.f[0] = slope;
            c.f[1] = bias * 16777216.0f;
            this->commands.push_back(c);
            break;
        }
        default: this->stateChanges--; break;
    }
}

/*
 * Compile --
 *     Side effects: the starting state is set on the context now; the
 *     frame's calls become 'commands' with the replay's names, uniform
 *     locations and buffers, and without masks that already hold. A
 *     dynamic buffer's uploads are placed while running (behind each
 *     other, fresh storage when full, as the GL device does).
 */
void FrameReplay::Compile(const FrameRecorder& rec)
{
    const FrameRecorder::Start& s = rec.start;
    // the starting state, issued once outside the frame
    this->rs.assign(nGfxRS::NumStates, 0);
    glFrontFace(GL_CCW);
    for (int st = 0; st < nGfxRS::NumStates; st++)
    {
        if (nGfxRS::IsKnown(st)) this->ApplyState(st, s.states[st]);
    }
    unsigned int current = this->TargetFramebuffer(rec, s.colorTarget.GetRaw(), s.depthTarget.GetRaw());
    glBindFramebuffer(GL_FRAMEBUFFER, current);
    glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    glDepthRange(s.depthRange[0], s.depthRange[1]);
    for (const auto& [unit, b] : s.units)
    {
        glActiveTexture(GL_TEXTURE0 + (GLenum)unit);
        glBindTexture(b.cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, b.texture.GetRaw());
        glBindSampler((GLuint)unit, b.sampler ? this->samplers[b.sampler.GetRaw()] : 0);
    }
    unsigned int program = s.program.GetRaw();
    glUseProgram(program ? this->programs[program] : 0);
    this->Run();
    this->commands.clear();
    this->stateChanges = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, current);

    std::map<int, unsigned int> slotOf;
    this->slots.clear();
    for (const auto& [handle, b] : rec.buffers)
    {
        slotOf[handle] = (unsigned int)this->slots.size();
        this->slots.push_back(Slot{0, b.start.size(), b.start.size()});
    }
    std::vector<const FrameRecorder::Call*> pending;
    unsigned int activeUnit = ~0u;
    for (const FrameRecorder::Call& c : rec.frame)
    {
        using Op = FrameRecorder::Op;
        switch (c.op)
        {
            case Op::Clear:
            {
                const unsigned int cw = this->rs[nGfxRS::ColorWriteEnable];
                const unsigned int zw = this->rs[nGfxRS::ZWriteEnable];
                const unsigned int sw = this->rs[nGfxRS::StencilWriteMask];
                GLbitfield mask = 0;
                if (c.a & nGfxDevice::ClearColor)
                {
                    if (cw != 0xF) this->Add(Cmd::ColorMask, 0xF);
                    Command x{Cmd::ClearColor};
                    std::copy(c.v, c.v + 4, x.f);
                    this->commands.push_back(x);
                    mask |= GL_COLOR_BUFFER_BIT;
                }
                if (c.a & nGfxDevice::ClearDepth)
                {
                    if (!zw) this->Add(Cmd::DepthMask, 1);
                    Command x{Cmd::ClearDepth};
                    x.f[0] = c.v[4];
                    this->commands.push_back(x);
                    mask |= GL_DEPTH_BUFFER_BIT;
                }
                if (c.a & nGfxDevice::ClearStencil)
                {
                    if (sw != 0xFF) this->Add(Cmd::StencilMask, 0xFF);
                    this->Add(Cmd::ClearStencil, (unsigned int)c.b);
                    mask |= GL_STENCIL_BUFFER_BIT;
                }
                this->Add(Cmd::Clear, mask);
                if ((c.a & nGfxDevice::ClearColor) && cw != 0xF) this->Add(Cmd::ColorMask, cw);
                if ((c.a & nGfxDevice::ClearDepth) && !zw) this->Add(Cmd::DepthMask, 0);
                if ((c.a & nGfxDevice::ClearStencil) && sw != 0xFF) this->Add(Cmd::StencilMask, sw);
                break;
            }
            case Op::Viewport:
            {
                this->Add(Cmd::Viewport, (unsigned int)c.a, (unsigned int)c.b, (unsigned int)std::max(c.c, 0),
                          (unsigned int)std::max(c.d, 0));
                Command x{Cmd::DepthRange};
                x.f[0] = std::clamp(c.v[0], 0.0f, 1.0f);
                x.f[1] = std::clamp(c.v[1], 0.0f, 1.0f);
                this->commands.push_back(x);
                break;
            }
            case Op::Target:
                current = this->TargetFramebuffer(rec, (unsigned int)c.a, (unsigned int)c.b);
                this->Add(Cmd::Framebuffer, current);
                this->Add(Cmd::Viewport, 0, 0, (unsigned int)c.c, (unsigned int)c.d);
                break;
            case Op::Program:
                program = (unsigned int)c.a;
                this->Add(Cmd::UseProgram, program ? this->programs[program] : 0);
                break;
            case Op::Uniform:
            {
                auto p = rec.programs.find(program);
                if (p == rec.programs.end()) break;
                auto name = p->second.uniformNames.find(c.a);
                if (name == p->second.uniformNames.end()) break;
                Command x{Cmd::Uniform};
                x.i = glGetUniformLocation(this->programs[program], name->second.c_str());
                x.a = (unsigned int)c.b;
                x.type = c.type;
                x.data = c.bytes.data();
                this->commands.push_back(x);
                this->uniformSets++;
                break;
            }
            case Op::Texture:
                if (activeUnit != (unsigned int)c.a) this->Add(Cmd::ActiveTexture, GL_TEXTURE0 + (unsigned int)c.a);
                activeUnit = (unsigned int)c.a;
                this->Add(Cmd::BindTexture, c.c ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, (unsigned int)c.b);
                this->Add(Cmd::BindSampler, (unsigned int)c.a, c.d ? this->samplers[(unsigned int)c.d] : 0);
                break;
            case Op::State: this->ApplyState(c.a, (unsigned int)c.b); break;
            case Op::Upload: pending.push_back(&c); break;
            case Op::DrawIndexed:
            case Op::Draw:
            {
                auto l = rec.layouts.find(c.a);
                if (l == rec.layouts.end()) break;
                const bool oneStream = l->second.vertexBuffers.size() == 1;
                for (const FrameRecorder::Call* u : pending)
                {
                    const bool isIndex = u->a == l->second.indexBuffer.GetRaw();
                    const size_t align = !oneStream ? 0 : (isIndex ? 2 : (size_t)std::max(l->second.strides[0], 0));
                    const bool dynamic = (rec.buffers.at(u->a).usage & nGfxUsageDynamic) != 0;
                    Command x{dynamic ? Cmd::Write : Cmd::SubData, this->buffers[u->a], slotOf[u->a],
                              (unsigned int)u->bytes.size(), (unsigned int)align};
                    x.data = u->bytes.data();
                    this->commands.push_back(x);
                    this->uploads++;
                }
                pending.clear();
                const auto& vbs = l->second.vertexBuffers;
                const unsigned int stride = oneStream ? (unsigned int)std::max(l->second.strides[0], 0) : 0;
                this->Add(Cmd::Vao, this->vaos[c.a]);
                Command x{c.op == Op::DrawIndexed ? Cmd::DrawElements : Cmd::DrawArrays, Mode(c.b), (unsigned int)c.d,
                          (unsigned int)c.c, stride};
                x.i = (stride > 0 && !vbs.empty() && slotOf.count(vbs[0].GetRaw())) ? (int)slotOf[vbs[0].GetRaw()] : -1;
                const int ib = l->second.indexBuffer.GetRaw();
                x.e = slotOf.count(ib) ? (int)slotOf[ib] : -1;
                this->commands.push_back(x);
                this->draws++;
                break;
            }
            case Op::Lines: this->error = "the frame draws lines, which the replay does not carry"; break;
            case Op::Present:
                this->Add(Cmd::Present, current, this->rs[nGfxRS::ScissorTestEnable]);
                current = this->backFramebuffer;
                this->Add(Cmd::Framebuffer, current);
                break;
        }
    }
    // a frame that ends with other states than it began gets them back, so every run is the same
    for (int st = 0; st < nGfxRS::NumStates; st++)
    {
        if (nGfxRS::IsKnown(st) && this->rs[st] != s.states[st]) this->ApplyState(st, s.states[st]);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, this->TargetFramebuffer(rec, s.colorTarget.GetRaw(), s.depthTarget.GetRaw()));
}

std::vector<unsigned char> FrameReplay::ReadFrame() const
{
    std::vector<unsigned char> rgba((size_t)this->width * (size_t)this->height * 4);
    GLint fb = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &fb);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, this->backFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, this->width, this->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindFramebuffer(GL_FRAMEBUFFER, (GLuint)fb);
    return rgba;
}

/*
 * Run --
 *     Side effects: the frame's GL commands, ending with the blit of the
 *     back buffer into the window and the swap.
 */
void FrameReplay::Run() const
{
    for (const Command& c : this->commands)
    {
        switch (c.cmd)
        {
            case Cmd::Enable: glEnable(c.a); break;
            case Cmd::Disable: glDisable(c.a); break;
            case Cmd::DepthMask: glDepthMask(c.a ? GL_TRUE : GL_FALSE); break;
            case Cmd::DepthFunc: glDepthFunc(c.a); break;
            case Cmd::PolygonMode: glPolygonMode(GL_FRONT_AND_BACK, c.a); break;
            case Cmd::CullFace: glCullFace(c.a); break;
            case Cmd::BlendFunc: glBlendFunc(c.a, c.b); break;
            case Cmd::BlendEquation: glBlendEquation(c.a); break;
            case Cmd::ColorMask: glColorMask((c.a & 1) != 0, (c.a & 2) != 0, (c.a & 4) != 0, (c.a & 8) != 0); break;
            case Cmd::StencilMask: glStencilMask(c.a); break;
            case Cmd::StencilFuncSeparate: glStencilFuncSeparate(c.a, c.b, (GLint)c.c, c.d); break;
            case Cmd::StencilOpSeparate: glStencilOpSeparate(c.a, c.b, c.c, c.d); break;
            case Cmd::PolygonOffset: glPolygonOffset(c.f[0], c.f[1]); break;
            case Cmd::ClearColor: glClearColor(c.f[0], c.f[1], c.f[2], c.f[3]); break;
            case Cmd::ClearDepth: glClearDepth(c.f[0]); break;
            case Cmd::ClearStencil: glClearStencil((GLint)c.a); break;
            case Cmd::Clear: glClear(c.a); break;
            case Cmd::Viewport: glViewport((GLint)c.a, (GLint)c.b, (GLsizei)c.c, (GLsizei)c.d); break;
            case Cmd::DepthRange: glDepthRange(c.f[0], c.f[1]); break;
            case Cmd::Framebuffer: glBindFramebuffer(GL_FRAMEBUFFER, c.a); break;
            case Cmd::UseProgram: glUseProgram(c.a); break;
            case Cmd::Uniform:
            {
                const float* f = static_cast<const float*>(c.data);
                const int* i = static_cast<const int*>(c.data);
                const GLsizei n = (GLsizei)c.a;
                switch (c.type)
                {
                    case nGfxUniform::Bool:
                    case nGfxUniform::Int: glUniform1iv(c.i, n, i); break;
                    case nGfxUniform::Float: glUniform1fv(c.i, n, f); break;
                    case nGfxUniform::Vec2: glUniform2fv(c.i, n, f); break;
                    case nGfxUniform::Vec3: glUniform3fv(c.i, n, f); break;
                    case nGfxUniform::Vec4: glUniform4fv(c.i, n, f); break;
                    case nGfxUniform::Mat4: glUniformMatrix4fv(c.i, n, GL_FALSE, f); break;
                }
                break;
            }
            case Cmd::ActiveTexture: glActiveTexture(c.a); break;
            case Cmd::BindTexture: glBindTexture(c.a, c.b); break;
            case Cmd::BindSampler: glBindSampler(c.a, c.b); break;
            case Cmd::Write:
            {
                // streamed behind the last upload; fresh storage only when it does not fit
                Slot& sl = this->slots[c.b];
                size_t offset = 0;
                if (c.d > 0)
                {
                    offset = (sl.offset + sl.uploaded + c.d - 1) / c.d * c.d;
                    if (offset > sl.size || c.c > sl.size - offset) offset = 0;
                }
                glBindBuffer(GL_COPY_WRITE_BUFFER, c.a);
                if (0 == offset) glBufferData(GL_COPY_WRITE_BUFFER, (GLsizeiptr)sl.size, nullptr, GL_STREAM_DRAW);
                void* dst = glMapBufferRange(GL_COPY_WRITE_BUFFER, (GLintptr)offset, (GLsizeiptr)c.c,
                                             GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
                if (dst)
                {
                    memcpy(dst, c.data, c.c);
                    glUnmapBuffer(GL_COPY_WRITE_BUFFER);
                }
                sl.offset = offset;
                sl.uploaded = c.c;
                break;
            }
            case Cmd::SubData:
                glBindBuffer(GL_COPY_WRITE_BUFFER, c.a);
                glBufferSubData(GL_COPY_WRITE_BUFFER, 0, (GLsizeiptr)c.c, c.data);
                this->slots[c.b].offset = 0;
                this->slots[c.b].uploaded = c.c;
                break;
            case Cmd::Vao: glBindVertexArray(c.a); break;
            case Cmd::DrawElements:
            {
                const GLint base = c.i >= 0 ? (GLint)(this->slots[(size_t)c.i].offset / c.d) : 0;
                const size_t first = (c.e >= 0 ? this->slots[(size_t)c.e].offset : 0) + (size_t)c.c * 2;
                glDrawElementsBaseVertex(c.a, (GLsizei)c.b, GL_UNSIGNED_SHORT, reinterpret_cast<const void*>(first), base);
                break;
            }
            case Cmd::DrawArrays:
            {
                const GLint base = c.i >= 0 ? (GLint)(this->slots[(size_t)c.i].offset / c.d) : 0;
                glDrawArrays(c.a, (GLint)c.c + base, (GLsizei)c.b);
                break;
            }
            case Cmd::Present:
                glBindFramebuffer(GL_READ_FRAMEBUFFER, this->backFramebuffer);
                glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
                glDisable(GL_SCISSOR_TEST);
                glBlitFramebuffer(0, 0, this->width, this->height, 0, this->height, this->width, 0, GL_COLOR_BUFFER_BIT,
                                  GL_LINEAR);
                if (c.b) glEnable(GL_SCISSOR_TEST);
                SDL_GL_SwapWindow(SDL_GL_GetCurrentWindow());
                break;
        }
    }
}
