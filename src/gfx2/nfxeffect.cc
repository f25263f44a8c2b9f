//------------------------------------------------------------------------------
//  nfxeffect.cc
//------------------------------------------------------------------------------
#include "gfx2/nfxeffect.h"

#include "platform/ngfxvertexlocations.h"

namespace
{

/// the vertex components by their attribute names and fixed locations
const struct
{
    const char* decl;
    int location;
} vertexAttributes[] = {
    {"vec4 nPosition", nGfxLocCoord},   {"vec3 nNormal", nGfxLocNormal},     {"vec2 nUv0", nGfxLocUv0},
    {"vec2 nUv1", nGfxLocUv1},          {"vec2 nUv2", nGfxLocUv2},           {"vec2 nUv3", nGfxLocUv3},
    {"vec4 nColor", nGfxLocColor},      {"vec3 nTangent", nGfxLocTangent},   {"vec3 nBinormal", nGfxLocBinormal},
    {"vec4 nWeights", nGfxLocWeights},  {"vec4 nJIndices", nGfxLocJIndices}, {"vec4 nPosition1", nGfxLocCoord1},
    {"vec3 nNormal1", nGfxLocNormal1},  {"vec4 nColor1", nGfxLocColor1},     {"vec3 nTangent1", nGfxLocTangent1},
    {"vec3 nBinormal1", nGfxLocBinormal1},
};

// The layer's conventions, applied after the effect's own main: Direct3D
// 9's half-pixel offset (nHalfPixel is one pixel in clip units), the y flip
// that puts row 0 at the top and the depth remap from [0,w] to [-w,w].
const char* const vertexEpilogue =
    "uniform vec2 nHalfPixel;\n"
    "void main()\n"
    "{\n"
    "    nMain();\n"
    "    gl_Position.xy += vec2(nHalfPixel.x, -nHalfPixel.y) * gl_Position.w;\n"
    "    gl_Position.y = -gl_Position.y;\n"
    "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n"
    "}\n";

// GL core has no alpha test: the fragment's alpha, in steps of 1/255 as the
// fixed-function test saw it, is compared with the reference by the
// Direct3D 9 comparison number; a failed test discards.
const char* const fragmentEpilogue =
    "uniform int nAlphaFunc;\n"
    "uniform float nAlphaRef;\n"
    "void main()\n"
    "{\n"
    "    nMain();\n"
    "    float a = floor(clamp(nFragColor.a, 0.0, 1.0) * 255.0 + 0.5);\n"
    "    bool pass = true;\n"
    "    if (nAlphaFunc == 1) pass = false;\n"
    "    else if (nAlphaFunc == 2) pass = a < nAlphaRef;\n"
    "    else if (nAlphaFunc == 3) pass = a == nAlphaRef;\n"
    "    else if (nAlphaFunc == 4) pass = a <= nAlphaRef;\n"
    "    else if (nAlphaFunc == 5) pass = a > nAlphaRef;\n"
    "    else if (nAlphaFunc == 6) pass = a != nAlphaRef;\n"
    "    else if (nAlphaFunc == 7) pass = a >= nAlphaRef;\n"
    "    if (!pass) discard;\n"
    "}\n";

}  // namespace

/*
 * Components --
 *     Results: the numbers one element of the kind holds (0 for textures).
 */
int nFxEffect::Components(Kind k)
{
    switch (k)
    {
        case KFloat2: return 2;
        case KFloat3: return 3;
        case KFloat4: return 4;
        case KFloat4x4: return 16;
        case KTexture: return 0;
        default: return 1;
    }
}

/*
 * ShaderType --
 *     Results: the engine's value type for a kind: vectors of any width
 *     are Float4.
 */
nShaderState::Type nFxEffect::ShaderType(Kind k)
{
    switch (k)
    {
        case KBool: return nShaderState::Bool;
        case KInt: return nShaderState::Int;
        case KFloat: return nShaderState::Float;
        case KFloat2:
        case KFloat3:
        case KFloat4: return nShaderState::Float4;
        case KFloat4x4: return nShaderState::Matrix44;
        default: return nShaderState::Texture;
    }
}

/*
 * GlslType --
 *     Results: the GLSL type name of a kind ("" for textures, which have
 *     no uniform of their own).
 */
const char* nFxEffect::GlslType(Kind k)
{
    switch (k)
    {
        case KBool: return "bool";
        case KInt: return "int";
        case KFloat: return "float";
        case KFloat2: return "vec2";
        case KFloat3: return "vec3";
        case KFloat4: return "vec4";
        case KFloat4x4: return "mat4";
        default: return "";
    }
}

/*
 * FindParam --
 *     Results: the index of the parameter of that name, -1 when none is.
 */
int nFxEffect::FindParam(const std::string& name) const
{
    for (size_t i = 0; i < this->params.size(); i++)
    {
        if (this->params[i].name == name)
        {
            return int(i);
        }
    }
    return -1;
}

/*
 * FindProgram --
 *     Results: the index of the program of that name, -1 when none is.
 */
int nFxEffect::FindProgram(const std::string& name) const
{
    for (size_t i = 0; i < this->programs.size(); i++)
    {
        if (this->programs[i].name == name)
        {
            return int(i);
        }
    }
    return -1;
}

/*
 * ProgramSource --
 *     Results: the GLSL 330 source of one program: the version, the fixed
 *     vertex attributes (vertex programs) or the colour output (fragment
 *     programs), one uniform per parameter and sampler, the block under a
 *     #line directive naming its file by index into 'files', and the
 *     epilogue that calls the block's main.
 */
std::string nFxEffect::ProgramSource(const Program& prog) const
{
    std::string s = "#version 330 core\n";
    if (prog.vertex)
    {
        for (const auto& a : vertexAttributes)
        {
            s += "layout(location = " + std::to_string(a.location) + ") in " + a.decl + ";\n";
        }
    }
    else
    {
        s += "out vec4 nFragColor;\n";
    }
    for (const Param& p : this->params)
    {
        if (KTexture != p.kind)
        {
            s += std::string("uniform ") + GlslType(p.kind) + " " + p.name;
            if (p.arraySize > 0)
            {
                s += "[" + std::to_string(p.arraySize) + "]";
            }
            s += ";\n";
        }
    }
    for (const Sampler& smp : this->samplers)
    {
        s += "uniform " + smp.glslType + " " + smp.name + ";\n";
    }
    s += "#define main nMain\n";
    s += "#line " + std::to_string(prog.line) + " " + std::to_string(prog.file) + "\n";
    s += prog.source;
    s += "\n#undef main\n#line 1 " + std::to_string(this->files.size()) + "\n";
    s += prog.vertex ? vertexEpilogue : fragmentEpilogue;
    return s;
}
