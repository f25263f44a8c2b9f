//------------------------------------------------------------------------------
//  nfxparser.cc
//------------------------------------------------------------------------------
#include "gfx2/nfxparser.h"

#include "gfx2/nfxlexer.h"
#include "platform/ngfxrenderstate.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace
{

/// how a render state's value is written
enum ValueKind
{
    VBool,
    VInt,
    VFloat,
    VCmp,
    VBlend,
    VBlendOp,
    VStencilOp,
    VCull,
    VFill,
};

const struct
{
    const char* name;
    int state;
    ValueKind kind;
} stateTable[] = {
    {"ZEnable", nGfxRS::ZEnable, VBool},
    {"FillMode", nGfxRS::FillMode, VFill},
    {"ZWriteEnable", nGfxRS::ZWriteEnable, VBool},
    {"AlphaTestEnable", nGfxRS::AlphaTestEnable, VBool},
    {"SrcBlend", nGfxRS::SrcBlend, VBlend},
    {"DestBlend", nGfxRS::DestBlend, VBlend},
    {"CullMode", nGfxRS::CullMode, VCull},
    {"ZFunc", nGfxRS::ZFunc, VCmp},
    {"AlphaRef", nGfxRS::AlphaRef, VInt},
    {"AlphaFunc", nGfxRS::AlphaFunc, VCmp},
    {"AlphaBlendEnable", nGfxRS::AlphaBlendEnable, VBool},
    {"StencilEnable", nGfxRS::StencilEnable, VBool},
    {"StencilFail", nGfxRS::StencilFail, VStencilOp},
    {"StencilZFail", nGfxRS::StencilZFail, VStencilOp},
    {"StencilPass", nGfxRS::StencilPass, VStencilOp},
    {"StencilFunc", nGfxRS::StencilFunc, VCmp},
    {"StencilRef", nGfxRS::StencilRef, VInt},
    {"StencilMask", nGfxRS::StencilMask, VInt},
    {"StencilWriteMask", nGfxRS::StencilWriteMask, VInt},
    {"ColorWriteEnable", nGfxRS::ColorWriteEnable, VInt},
    {"BlendOp", nGfxRS::BlendOp, VBlendOp},
    {"ScissorTestEnable", nGfxRS::ScissorTestEnable, VBool},
    {"SlopeScaleDepthBias", nGfxRS::SlopeScaleDepthBias, VFloat},
    {"TwoSidedStencilMode", nGfxRS::TwoSidedStencilMode, VBool},
    {"CCW_StencilFail", nGfxRS::CcwStencilFail, VStencilOp},
    {"CCW_StencilZFail", nGfxRS::CcwStencilZFail, VStencilOp},
    {"CCW_StencilPass", nGfxRS::CcwStencilPass, VStencilOp},
    {"CCW_StencilFunc", nGfxRS::CcwStencilFunc, VCmp},
    {"DepthBias", nGfxRS::DepthBias, VFloat},
};

/// the value names of each kind, in the Direct3D 9 numbering from 1
const char* const cmpNames[] = {"Never", "Less", "Equal", "LessEqual", "Greater", "NotEqual", "GreaterEqual", "Always", nullptr};
const char* const blendNames[] = {"Zero", "One", "SrcColor", "InvSrcColor", "SrcAlpha", "InvSrcAlpha", "DestAlpha",
                                  "InvDestAlpha", "DestColor", "InvDestColor", "SrcAlphaSat", nullptr};
const char* const blendOpNames[] = {"Add", "Subtract", "RevSubtract", "Min", "Max", nullptr};
const char* const stencilOpNames[] = {"Keep", "Zero", "Replace", "IncrSat", "DecrSat", "Invert", "Incr", "Decr", nullptr};
const char* const cullNames[] = {"None", "CW", "CCW", nullptr};
const char* const fillNames[] = {"Point", "Wireframe", "Solid", nullptr};
const char* const addressNames[] = {"Wrap", "Mirror", "Clamp", "Border", "MirrorOnce", nullptr};
/// filters number from 0
const char* const filterNames[] = {"None", "Point", "Linear", "Anisotropic", nullptr};

/// the position of name in a null-ended table (case-insensitive), -1 when absent
int Lookup(const char* const* table, const std::string& name)
{
    for (int i = 0; table[i]; i++)
    {
        if (0 == strcasecmp(table[i], name.c_str()))
        {
            return i;
        }
    }
    return -1;
}

/// the name table of a value kind, null for numbers and bools
const char* const* NamesOf(ValueKind k)
{
    switch (k)
    {
        case VCmp: return cmpNames;
        case VBlend: return blendNames;
        case VBlendOp: return blendOpNames;
        case VStencilOp: return stencilOpNames;
        case VCull: return cullNames;
        case VFill: return fillNames;
        default: return nullptr;
    }
}

/// the parameter kinds by their type names
const struct
{
    const char* name;
    nFxEffect::Kind kind;
} paramTypes[] = {
    {"bool", nFxEffect::KBool},         {"int", nFxEffect::KInt},           {"float", nFxEffect::KFloat},
    {"float2", nFxEffect::KFloat2},     {"float3", nFxEffect::KFloat3},     {"float4", nFxEffect::KFloat4},
    {"float4x4", nFxEffect::KFloat4x4}, {"matrix", nFxEffect::KFloat4x4},   {"texture", nFxEffect::KTexture},
    {"texture2D", nFxEffect::KTexture}, {"textureCUBE", nFxEffect::KTexture}, {"texture3D", nFxEffect::KTexture},
};

/// the GLSL sampler types by their effect type names
const struct
{
    const char* name;
    const char* glsl;
} samplerTypes[] = {
    {"sampler", "sampler2D"},
    {"sampler2D", "sampler2D"},
    {"samplerCUBE", "samplerCube"},
    {"sampler3D", "sampler3D"},
};

/// whether s is a whole number or decimal within a sane range, with its value
bool ToNumber(const std::string& s, double& out)
{
    if (s.empty())
    {
        return false;
    }
    std::string t = s;
    if ('f' == t.back() || 'F' == t.back())
    {
        t.pop_back();
    }
    char* end = nullptr;
    out = (t.size() > 2 && '0' == t[0] && ('x' == t[1] || 'X' == t[1])) ? double(strtoul(t.c_str(), &end, 16))
                                                                          : strtod(t.c_str(), &end);
    return !t.empty() && end && '\0' == *end && out == out && out < 1e30 && out > -1e30;
}

}  // namespace

/*
 * Fail --
 *     Results: false.
 *     Side effects: records "file(line): msg" as the error, unless an
 *     error was recorded already (the first one is the cause).
 */
bool nFxParser::Fail(const Lexer& lex, const std::string& msg)
{
    if (this->error.empty())
    {
        this->error = this->effect->files[lex.File()] + "(" + std::to_string(lex.Line()) + "): " + msg;
    }
    return false;
}

/*
 * Parse --
 *     Results: true when the whole text (and its includes) was read; false
 *     with the first error, "file(line): message", in error.
 *     Side effects: fills effect (which starts empty).
 */
bool nFxParser::Parse(const std::string& fileName, const std::string& text, nFxEffect& out, std::string& err)
{
    out = nFxEffect();
    this->effect = &out;
    this->error.clear();
    this->stack.clear();
    this->numIncludes = 0;
    this->includedBytes = 0;
    out.files.push_back(fileName);
    this->stack.push_back(fileName);
    bool ok = this->ParseFile(fileName, text, 0);
    if (ok && out.techniques.empty())
    {
        this->error = fileName + ": the effect has no technique";
        ok = false;
    }
    err = this->error;
    return ok;
}

/*
 * ParseFile --
 *     Results: false on the first error.
 *     Side effects: adds the file's declarations to the effect; the file
 *     must be the last of 'files'.
 */
bool nFxParser::ParseFile(const std::string& /*fileName*/, const std::string& text, int depth)
{
    Lexer lex(text, int(this->effect->files.size()) - 1);
    while (Token::End != lex.Peek().kind)
    {
        if (!this->ParseStatement(lex, depth))
        {
            return false;
        }
    }
    return true;
}

/*
 * ParseStatement --
 *     Results: false on an error.
 *     Side effects: reads one top-level declaration.
 */
bool nFxParser::ParseStatement(Lexer& lex, int depth)
{
    if (lex.Accept("#"))
    {
        return this->ParseInclude(lex, depth);
    }
    if (Token::Ident != lex.Peek().kind)
    {
        return this->Fail(lex, "unexpected '" + lex.Peek().text + "'");
    }
    const bool shared = lex.IsIdent("shared");
    if (shared)
    {
        lex.Next();
    }
    const std::string word = lex.Next().text;
    for (const auto& t : paramTypes)
    {
        if (word == t.name)
        {
            return this->ParseParam(lex, shared, word);
        }
    }
    if (shared)
    {
        return this->Fail(lex, "'shared' before '" + word + "', which is no parameter type");
    }
    for (const auto& t : samplerTypes)
    {
        if (word == t.name)
        {
            return this->ParseSampler(lex, word);
        }
    }
    if ("vertex" == word || "fragment" == word)
    {
        return this->ParseProgram(lex, "vertex" == word);
    }
    if ("technique" == word)
    {
        return this->ParseTechnique(lex);
    }
    return this->Fail(lex, "unknown declaration '" + word + "'");
}

/*
 * ParseInclude --
 *     Results: false when the include cannot be read, closes a cycle, is
 *     nested too deep, exceeds the effect's total of includes or included
 *     bytes, or fails to parse.
 *     Side effects: reads the included file's declarations into the effect.
 */
bool nFxParser::ParseInclude(Lexer& lex, int depth)
{
    if (!lex.IsIdent("include"))
    {
        return this->Fail(lex, "unknown directive '#" + lex.Peek().text + "'");
    }
    lex.Next();
    if (Token::String != lex.Peek().kind || lex.Peek().text.empty())
    {
        return this->Fail(lex, "#include needs a quoted file name");
    }
    const std::string name = lex.Peek().text;
    if (depth + 1 > MaxIncludeDepth)
    {
        return this->Fail(lex, "includes nested deeper than " + std::to_string(MaxIncludeDepth) + " at '" + name + "'");
    }
    if (++this->numIncludes > MaxIncludes)
    {
        return this->Fail(lex, "more than " + std::to_string(MaxIncludes) + " includes at '" + name + "'");
    }
    std::string resolved;
    std::string text;
    if (!this->include || !this->include(name, resolved, text))
    {
        return this->Fail(lex, "could not open include file '" + name + "'");
    }
    this->includedBytes += text.size();
    if (this->includedBytes > MaxIncludedBytes)
    {
        return this->Fail(lex, "includes bring more than " + std::to_string(MaxIncludedBytes) + " bytes at '" + name + "'");
    }
    for (const std::string& open : this->stack)
    {
        if (open == resolved)
        {
            return this->Fail(lex, "include cycle through '" + resolved + "'");
        }
    }
    lex.Next();
    this->effect->files.push_back(resolved);
    this->stack.push_back(resolved);
    const bool ok = this->ParseFile(resolved, text, depth + 1);
    this->stack.pop_back();
    return ok;
}

/*
 * ParseParam --
 *     Results: false on an error: a bad name, array size, annotation or
 *     default, or a second declaration of the name that differs.
 *     Side effects: adds the parameter (type already read).
 */
bool nFxParser::ParseParam(Lexer& lex, bool shared, const std::string& type)
{
    nFxEffect::Param p;
    for (const auto& t : paramTypes)
    {
        if (type == t.name)
        {
            p.kind = t.kind;
        }
    }
    p.shared = shared;
    p.file = lex.File();
    p.line = lex.Peek().line;
    if (Token::Ident != lex.Peek().kind)
    {
        return this->Fail(lex, "a parameter name must follow '" + type + "'");
    }
    p.name = lex.Next().text;
    if (lex.Accept("["))
    {
        double n = 0;
        if (Token::Number != lex.Peek().kind || !ToNumber(lex.Peek().text, n) || n < 1 || n > 1e9 || n != double(int(n)))
        {
            return this->Fail(lex, "bad array size of '" + p.name + "'");
        }
        if (n > MaxArraySize || nFxEffect::KTexture == p.kind)
        {
            return this->Fail(lex, "array '" + p.name + "' is larger than " + std::to_string(MaxArraySize) +
                                       " elements or of textures");
        }
        p.arraySize = int(n);
        lex.Next();
        if (!lex.Accept("]"))
        {
            return this->Fail(lex, "']' expected after the array size of '" + p.name + "'");
        }
    }
    if (lex.Accept("<") && !this->ParseAnnotations(lex, p.annotations))
    {
        return false;
    }
    if (lex.Accept("="))
    {
        if (nFxEffect::KTexture == p.kind)
        {
            return this->Fail(lex, "texture '" + p.name + "' cannot have a default");
        }
        if (!this->ParseDefaults(lex, p.defaults))
        {
            return false;
        }
        const size_t room = size_t(nFxEffect::Components(p.kind)) * size_t(p.arraySize > 0 ? p.arraySize : 1);
        if (p.defaults.size() > room)
        {
            return this->Fail(lex, "too many default values for '" + p.name + "'");
        }
    }
    if (!lex.Accept(";"))
    {
        return this->Fail(lex, "';' expected after parameter '" + p.name + "'");
    }
    const int existing = this->effect->FindParam(p.name);
    if (existing >= 0)
    {
        const nFxEffect::Param& e = this->effect->params[existing];
        if (e.kind != p.kind || e.arraySize != p.arraySize || e.shared != p.shared)
        {
            return this->Fail(lex, "parameter '" + p.name + "' declared again with another type");
        }
        return true;
    }
    for (const auto& s : this->effect->samplers)
    {
        if (s.name == p.name)
        {
            return this->Fail(lex, "'" + p.name + "' is already a sampler");
        }
    }
    this->effect->params.push_back(p);
    return true;
}

/*
 * ParseAnnotations --
 *     Results: false on an error.
 *     Side effects: reads "type name = value;" entries up to '>' (the '<'
 *     is read) into out.
 */
bool nFxParser::ParseAnnotations(Lexer& lex, std::vector<nFxEffect::Annotation>& out)
{
    while (!lex.Accept(">"))
    {
        nFxEffect::Annotation a;
        if (Token::Ident != lex.Peek().kind)
        {
            return this->Fail(lex, "annotation type expected");
        }
        a.type = lex.Next().text;
        if (Token::Ident != lex.Peek().kind)
        {
            return this->Fail(lex, "annotation name expected");
        }
        a.name = lex.Next().text;
        if (!lex.Accept("="))
        {
            return this->Fail(lex, "'=' expected in annotation '" + a.name + "'");
        }
        if (lex.Accept("-"))
        {
            a.value = "-";
        }
        const Token v = lex.Next();
        if (Token::End == v.kind || Token::Punct == v.kind)
        {
            return this->Fail(lex, "value expected in annotation '" + a.name + "'");
        }
        a.value += v.text;
        if (!lex.Accept(";"))
        {
            return this->Fail(lex, "';' expected after annotation '" + a.name + "'");
        }
        out.push_back(a);
    }
    return true;
}

/*
 * ParseDefaults --
 *     Results: false on an error.
 *     Side effects: reads one value or a braced list of values (numbers,
 *     true, false) into out.
 */
bool nFxParser::ParseDefaults(Lexer& lex, std::vector<float>& out)
{
    const bool list = lex.Accept("{");
    do
    {
        if (list && Token::Punct == lex.Peek().kind && "}" == lex.Peek().text)
        {
            break;
        }
        const bool negative = lex.Accept("-");
        const Token t = lex.Next();
        double v = 0;
        if (Token::Ident == t.kind && ("true" == t.text || "false" == t.text) && !negative)
        {
            v = ("true" == t.text) ? 1.0 : 0.0;
        }
        else if (Token::Number != t.kind || !ToNumber(t.text, v))
        {
            return this->Fail(lex, "bad default value '" + t.text + "'");
        }
        out.push_back(float(negative ? -v : v));
        if (out.size() > size_t(16 * MaxArraySize))
        {
            return this->Fail(lex, "too many default values");
        }
    } while (list && lex.Accept(","));
    if (list && !lex.Accept("}"))
    {
        return this->Fail(lex, "'}' expected after the default values");
    }
    return true;
}

/*
 * ParseSampler --
 *     Results: false on an error: an unknown sampler state or value, or a
 *     texture that is not a declared texture parameter.
 *     Side effects: adds the sampler (type already read).
 */
bool nFxParser::ParseSampler(Lexer& lex, const std::string& type)
{
    nFxEffect::Sampler s;
    for (const auto& t : samplerTypes)
    {
        if (type == t.name)
        {
            s.glslType = t.glsl;
        }
    }
    if (Token::Ident != lex.Peek().kind)
    {
        return this->Fail(lex, "a sampler name must follow '" + type + "'");
    }
    s.name = lex.Next().text;
    if (this->effect->FindParam(s.name) >= 0)
    {
        return this->Fail(lex, "'" + s.name + "' is already a parameter");
    }
    for (const auto& other : this->effect->samplers)
    {
        if (other.name == s.name)
        {
            return this->Fail(lex, "sampler '" + s.name + "' declared twice");
        }
    }
    if (lex.Accept("="))
    {
        if (!lex.IsIdent("sampler_state"))
        {
            return this->Fail(lex, "'sampler_state' expected for sampler '" + s.name + "'");
        }
        lex.Next();
        if (!lex.Accept("{"))
        {
            return this->Fail(lex, "'{' expected after 'sampler_state'");
        }
        while (!lex.Accept("}"))
        {
            if (Token::Ident != lex.Peek().kind)
            {
                return this->Fail(lex, "sampler state expected in '" + s.name + "'");
            }
            const std::string state = lex.Next().text;
            if (!lex.Accept("="))
            {
                return this->Fail(lex, "'=' expected after sampler state '" + state + "'");
            }
            if (0 == strcasecmp(state.c_str(), "Texture"))
            {
                const bool ref = lex.Accept("<");
                const Token t = lex.Next();
                if ((ref && !lex.Accept(">")) || Token::Ident != t.kind)
                {
                    return this->Fail(lex, "'<texture>' expected for the texture of '" + s.name + "'");
                }
                const int p = this->effect->FindParam(t.text);
                if (p < 0 || nFxEffect::KTexture != this->effect->params[p].kind)
                {
                    return this->Fail(lex, "'" + t.text + "' is no texture parameter");
                }
                s.texture = t.text;
            }
            else
            {
                int* slot = nullptr;
                const char* const* names = addressNames;
                int base = 1;
                const char* const addrStates[] = {"AddressU", "AddressV", "AddressW"};
                int* const addrSlots[] = {&s.addressU, &s.addressV, &s.addressW};
                const char* const filtStates[] = {"MinFilter", "MagFilter", "MipFilter"};
                int* const filtSlots[] = {&s.minFilter, &s.magFilter, &s.mipFilter};
                for (int i = 0; i < 3; i++)
                {
                    if (0 == strcasecmp(state.c_str(), addrStates[i]))
                    {
                        slot = addrSlots[i];
                    }
                    if (0 == strcasecmp(state.c_str(), filtStates[i]))
                    {
                        slot = filtSlots[i];
                        names = filterNames;
                        base = 0;
                    }
                }
                if (!slot)
                {
                    return this->Fail(lex, "unknown sampler state '" + state + "'");
                }
                const Token v = lex.Next();
                const int i = Lookup(names, v.text);
                if (i < 0)
                {
                    return this->Fail(lex, "unknown value '" + v.text + "' of sampler state '" + state + "'");
                }
                *slot = i + base;
            }
            if (!lex.Accept(";"))
            {
                return this->Fail(lex, "';' expected after sampler state '" + state + "'");
            }
        }
    }
    if (!lex.Accept(";"))
    {
        return this->Fail(lex, "';' expected after sampler '" + s.name + "'");
    }
    this->effect->samplers.push_back(s);
    return true;
}

/*
 * ParseProgram --
 *     Results: false on an error.
 *     Side effects: adds a named GLSL block, taken raw between its braces.
 */
bool nFxParser::ParseProgram(Lexer& lex, bool vertex)
{
    nFxEffect::Program prog;
    prog.vertex = vertex;
    prog.file = lex.File();
    if (Token::Ident != lex.Peek().kind)
    {
        return this->Fail(lex, "a program name must follow 'vertex' or 'fragment'");
    }
    prog.name = lex.Next().text;
    if (this->effect->FindProgram(prog.name) >= 0)
    {
        return this->Fail(lex, "program '" + prog.name + "' declared twice");
    }
    if (!(Token::Punct == lex.Peek().kind && "{" == lex.Peek().text))
    {
        return this->Fail(lex, "'{' expected after program '" + prog.name + "'");
    }
    if (!lex.TakeBlock(prog.source, prog.line))
    {
        return this->Fail(lex, "program '" + prog.name + "' does not end");
    }
    this->effect->programs.push_back(prog);
    return true;
}

/*
 * ParseTechnique --
 *     Results: false on an error.
 *     Side effects: adds a technique with its passes.
 */
bool nFxParser::ParseTechnique(Lexer& lex)
{
    nFxEffect::Technique tech;
    if (Token::Ident != lex.Peek().kind)
    {
        return this->Fail(lex, "a technique name must follow 'technique'");
    }
    tech.name = lex.Next().text;
    if (!lex.Accept("{"))
    {
        return this->Fail(lex, "'{' expected after technique '" + tech.name + "'");
    }
    while (!lex.Accept("}"))
    {
        if (!lex.IsIdent("pass"))
        {
            return this->Fail(lex, "'pass' expected in technique '" + tech.name + "'");
        }
        lex.Next();
        nFxEffect::Pass pass;
        if (Token::Ident != lex.Peek().kind)
        {
            return this->Fail(lex, "a pass name must follow 'pass'");
        }
        pass.name = lex.Next().text;
        if (!lex.Accept("{") || !this->ParsePass(lex, pass))
        {
            return this->Fail(lex, "'{' expected after pass '" + pass.name + "'");
        }
        tech.passes.push_back(pass);
    }
    if (tech.passes.empty())
    {
        return this->Fail(lex, "technique '" + tech.name + "' has no pass");
    }
    this->effect->techniques.push_back(tech);
    return true;
}

/*
 * ParsePass --
 *     Results: false on an error: an unknown state, a program that is not
 *     declared or of the wrong kind, a pass without both programs.
 *     Side effects: fills pass from its assignments up to '}'.
 */
bool nFxParser::ParsePass(Lexer& lex, nFxEffect::Pass& pass)
{
    while (!lex.Accept("}"))
    {
        if (Token::Ident != lex.Peek().kind)
        {
            return this->Fail(lex, "render state expected in pass '" + pass.name + "'");
        }
        const std::string name = lex.Next().text;
        if (!lex.Accept("="))
        {
            return this->Fail(lex, "'=' expected after '" + name + "'");
        }
        const bool isVertex = 0 == strcasecmp(name.c_str(), "VertexShader");
        if (isVertex || 0 == strcasecmp(name.c_str(), "PixelShader"))
        {
            const Token t = lex.Next();
            const int prog = this->effect->FindProgram(t.text);
            if (Token::Ident != t.kind || prog < 0 || this->effect->programs[prog].vertex != isVertex)
            {
                return this->Fail(lex, "'" + t.text + "' is no " + (isVertex ? "vertex" : "fragment") + " program");
            }
            (isVertex ? pass.vertexProgram : pass.fragmentProgram) = prog;
        }
        else
        {
            int state = -1;
            for (const auto& s : stateTable)
            {
                if (0 == strcasecmp(s.name, name.c_str()))
                {
                    state = s.state;
                }
            }
            if (state < 0)
            {
                return this->Fail(lex, "unknown render state '" + name + "'");
            }
            nFxEffect::StateAssign a;
            if (!this->ParseStateValue(lex, state, a))
            {
                return false;
            }
            pass.states.push_back(a);
        }
        if (!lex.Accept(";"))
        {
            return this->Fail(lex, "';' expected after '" + name + "'");
        }
    }
    if (pass.vertexProgram < 0 || pass.fragmentProgram < 0)
    {
        return this->Fail(lex, "pass '" + pass.name + "' needs a VertexShader and a PixelShader");
    }
    return true;
}

/*
 * ParseStateValue --
 *     Results: false when the value is not one the state takes.
 *     Side effects: fills out with the state and either its constant
 *     value (floats as their bits) or the parameter it reads.
 */
bool nFxParser::ParseStateValue(Lexer& lex, int state, nFxEffect::StateAssign& out)
{
    out.state = state;
    ValueKind kind = VInt;
    for (const auto& s : stateTable)
    {
        if (s.state == state)
        {
            kind = s.kind;
        }
    }
    if (lex.Accept("<"))
    {
        const Token t = lex.Next();
        out.paramIndex = this->effect->FindParam(t.text);
        if (out.paramIndex < 0 || !lex.Accept(">"))
        {
            return this->Fail(lex, "'" + t.text + "' is no parameter");
        }
        const nFxEffect::Param& p = this->effect->params[out.paramIndex];
        if (p.arraySize > 0 || nFxEffect::Components(p.kind) != 1)
        {
            return this->Fail(lex, "parameter '" + p.name + "' cannot give a render state");
        }
        return true;
    }
    const bool negative = lex.Accept("-");
    const Token t = lex.Next();
    double v = 0;
    if (Token::Number == t.kind && ToNumber(t.text, v))
    {
        v = negative ? -v : v;
        if (VFloat == kind)
        {
            const float f = float(v);
            memcpy(&out.value, &f, sizeof(f));
        }
        else
        {
            // out-of-range numbers wrap to 32 bits as written in hex
            out.value = (unsigned int)(long long)std::clamp(v, -4294967295.0, 4294967295.0);
        }
        return true;
    }
    if (Token::Ident == t.kind && !negative)
    {
        if (VBool == kind && (0 == strcasecmp(t.text.c_str(), "true") || 0 == strcasecmp(t.text.c_str(), "false")))
        {
            out.value = (0 == strcasecmp(t.text.c_str(), "true")) ? 1 : 0;
            return true;
        }
        const char* const* names = NamesOf(kind);
        const int i = names ? Lookup(names, t.text) : -1;
        if (i >= 0)
        {
            out.value = unsigned(i + 1);
            return true;
        }
    }
    return this->Fail(lex, "bad value '" + t.text + "' for a render state");
}
