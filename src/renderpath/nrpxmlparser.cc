//------------------------------------------------------------------------------
//  nrpxmlparser.cc
//------------------------------------------------------------------------------
#include "renderpath/nrpxmlparser.h"
#include "renderpath/nrenderpath2.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "variable/nvariableserver.h"
#include "xml/nxmldocument.h"

#include <cfloat>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

/// an attribute's text, empty when it is missing
const char* GetString(const TiXmlElement* elm, const char* name)
{
    const char* s = elm->Attribute(name);
    return s ? s : "";
}

/// a double narrowed to a float without overflow: out-of-range values
/// become the largest float of their sign
float ToFloat(double d)
{
    if (d > FLT_MAX) return FLT_MAX;
    if (d < -FLT_MAX) return -FLT_MAX;
    return float(d);
}

int GetInt(const TiXmlElement* elm, const char* name, int def)
{
    int value = def;
    return (TIXML_SUCCESS == elm->QueryIntAttribute(name, &value)) ? value : def;
}

float GetFloat(const TiXmlElement* elm, const char* name, float def)
{
    double value = 0.0;
    return (TIXML_SUCCESS == elm->QueryDoubleAttribute(name, &value)) ? ToFloat(value) : def;
}

bool GetBool(const TiXmlElement* elm, const char* name, bool def)
{
    const char* s = elm->Attribute(name);
    if (!s) return def;
    static const char* const trueWords[] = {"true", "True", "on", "On", "yes", "Yes"};
    for (const char* w : trueWords)
    {
        if (0 == strcmp(s, w)) return true;
    }
    return false;
}

/*
 * ParseFloat4 --
 *     Results: true with the first four of the numbers separated by blanks
 *     in the text (each read as a float, text that is no number as 0);
 *     false when the text holds fewer than four.
 *     Side effects: none.
 */
bool ParseFloat4(const char* text, nFloat4& out)
{
    float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int n = 0;
    const char* p = text;
    while (*p && (n < 4))
    {
        while (*p && strchr(" \t\r\n", *p)) p++;
        if (!*p) break;
        const char* start = p;
        while (*p && !strchr(" \t\r\n", *p)) p++;
        const std::string token(start, size_t(p - start));
        v[n++] = ToFloat(strtod(token.c_str(), nullptr));
    }
    if (n < 4) return false;
    out = nFloat4{v[0], v[1], v[2], v[3]};
    return true;
}

}  // namespace

nRpXmlParser::~nRpXmlParser()
{
    delete this->xmlDocument;
}

void nRpXmlParser::SetRenderPath(nRenderPath2* rp)
{
    n_assert(rp);
    this->renderPath = rp;
}

/*
 * Fail --
 *     Results: false.
 *     Side effects: logs "nRpXmlParser: '<file>': <message>".
 */
bool nRpXmlParser::Fail(const char* fmt, ...) const
{
    char msg[1024];
    va_list args;
    va_start(args, fmt);
    vsnprintf(msg, sizeof(msg), fmt, args);
    va_end(args);
    n_printf("nRpXmlParser: '%.512s': %s\n", this->renderPath->GetFilename().Get(), msg);
    return false;
}

/*
 * OpenXml --
 *     Results: true when the file (its name mangled through the file
 *     server's assigns) was read and parsed and its RenderPath element
 *     gives a name and a shader path; else false with a message.
 *     Side effects: keeps the document until CloseXml (deleted again on
 *     failure); sets the render path's name and shader path.
 */
bool nRpXmlParser::OpenXml()
{
    n_assert(this->renderPath);
    n_assert(0 == this->xmlDocument);
    const nString path = nKernelServer::Instance()->GetFileServer()->ManglePath(this->renderPath->GetFilename().Get());
    this->xmlDocument = new nXmlDocument;
    bool ok = this->xmlDocument->Load(path.Get());
    if (!ok)
    {
        this->Fail("%s (row %d, column %d)", this->xmlDocument->ErrorDesc(), this->xmlDocument->ErrorRow(),
                   this->xmlDocument->ErrorCol());
    }
    else
    {
        TiXmlElement* elmRenderPath = this->xmlDocument->FirstChildElement("RenderPath");
        if (!elmRenderPath)
        {
            ok = this->Fail("no RenderPath element");
        }
        else
        {
            this->renderPath->SetName(GetString(elmRenderPath, "name"));
            this->renderPath->SetShaderPath(GetString(elmRenderPath, "shaderpath"));
            if (this->renderPath->GetName().IsEmpty()) ok = this->Fail("the RenderPath element has no name");
            if (this->renderPath->GetShaderPath().IsEmpty())
            {
                ok = this->Fail("the RenderPath element has no shaderpath");
            }
        }
    }
    if (!ok)
    {
        delete this->xmlDocument;
        this->xmlDocument = nullptr;
    }
    return ok;
}

void nRpXmlParser::CloseXml()
{
    n_assert(this->xmlDocument);
    delete this->xmlDocument;
    this->xmlDocument = nullptr;
}

/*
 * ParseXml --
 *     Results: true when every child of RenderPath was built; false at the
 *     first fault, with a message.
 *     Side effects: children in document order: RenderTarget adds a render
 *     target (created at once), Float, Float4, Int and Texture add global
 *     variables, Pass adds a pass; other elements are skipped.
 */
bool nRpXmlParser::ParseXml()
{
    n_assert(this->renderPath);
    n_assert(this->xmlDocument);
    TiXmlElement* elmRenderPath = this->xmlDocument->FirstChildElement("RenderPath");
    n_assert(elmRenderPath);
    for (TiXmlElement* child = elmRenderPath->FirstChildElement(); child; child = child->NextSiblingElement())
    {
        const char* value = child->Value();
        bool ok = true;
        if (0 == strcmp(value, "RenderTarget"))
        {
            ok = this->ParseRenderTarget(child);
        }
        else if ((0 == strcmp(value, "Float")) || (0 == strcmp(value, "Float4")) || (0 == strcmp(value, "Int")) ||
                 (0 == strcmp(value, "Texture")))
        {
            ok = this->ParseGlobalVariable(child);
        }
        else if (0 == strcmp(value, "Pass"))
        {
            ok = this->ParsePass(child);
        }
        if (!ok) return false;
    }
    return true;
}

/*
 * ParseRenderTarget --
 *     Results: false with a message for a missing name, a missing or
 *     unknown format.
 *     Side effects: the render target is added (its texture created).
 */
bool nRpXmlParser::ParseRenderTarget(TiXmlElement* elm)
{
    nRpRenderTarget rt;
    rt.SetName(GetString(elm, "name"));
    if (rt.GetName().IsEmpty()) return this->Fail("a RenderTarget has no name");
    const char* formatName = elm->Attribute("format");
    if (!formatName) return this->Fail("RenderTarget '%.256s' has no format", rt.GetName().Get());
    const nTexture2::Format format = nTexture2::StringToFormat(formatName);
    rt.SetFormat(format);
    if (nTexture2::NOFORMAT == format) return this->Fail("nTexture2::StringToFormat(): invalid string '%.256s'", formatName);
    rt.SetRelSize(GetFloat(elm, "relSize", 1.0f));
    rt.SetWidth(GetInt(elm, "width", 0));
    rt.SetHeight(GetInt(elm, "height", 0));
    this->renderPath->AddRenderTarget(rt);
    return true;
}

/*
 * LoadTexture --
 *     Results: the texture of the file, loaded, or null with a message.
 *     Side effects: the render path keeps a reference on it until Close.
 */
nTexture2* nRpXmlParser::LoadTexture(const char* fileName)
{
    nTexture2* tex = nGfxServer2::Instance()->NewTexture(fileName);
    if (!tex)
    {
        // the pool's object of that name is no texture (reported there)
        this->Fail("nRpXmlParser::ParseGlobalVariable(): could not load texture '%.256s'!", fileName);
        return nullptr;
    }
    if (!tex->IsLoaded())
    {
        tex->SetFilename(fileName);
        if (!tex->Load())
        {
            tex->Release();
            this->Fail("nRpXmlParser::ParseGlobalVariable(): could not load texture '%.256s'!", fileName);
            return nullptr;
        }
    }
    this->renderPath->KeepTexture(tex);
    return tex;
}

/*
 * ParseGlobalVariable --
 *     Results: false with a message for a missing name, a Float4 value of
 *     fewer than four numbers, a Texture without a file or whose file does
 *     not load.
 *     Side effects: the variable is declared (by name) and set globally.
 */
bool nRpXmlParser::ParseGlobalVariable(TiXmlElement* elm)
{
    const char* varName = GetString(elm, "name");
    if (!*varName) return this->Fail("a global %s variable has no name", elm->Value());
    const int handle = nVariableServer::Instance()->GetVariableHandleByName(varName);
    const char* type = elm->Value();
    nVariable var;
    if (0 == strcmp(type, "Float"))
    {
        var = nVariable(handle, GetFloat(elm, "value", 0.0f));
    }
    else if (0 == strcmp(type, "Int"))
    {
        var = nVariable(handle, GetInt(elm, "value", 0));
    }
    else if (0 == strcmp(type, "Float4"))
    {
        nFloat4 f4 = {0.0f, 0.0f, 0.0f, 0.0f};
        const char* text = elm->Attribute("value");
        if (text && !ParseFloat4(text, f4))
        {
            return this->Fail("global variable '%.256s': '%.256s' is not four numbers", varName, text);
        }
        vector4 v(f4.x, f4.y, f4.z, f4.w);
        var = nVariable(handle, v);
    }
    else
    {
        const char* fileName = GetString(elm, "value");
        if (!*fileName) return this->Fail("global texture variable '%.256s' has no file name", varName);
        nTexture2* tex = this->LoadTexture(fileName);
        if (!tex) return false;
        var = nVariable(handle, static_cast<nObject*>(tex));
    }
    this->renderPath->AddVariable(var);
    return true;
}

/*
 * ParsePass --
 *     Results: false with a message at the first fault of the pass, its
 *     shader states or its phases.
 *     Side effects: the finished pass is appended to the render path.
 */
bool nRpXmlParser::ParsePass(TiXmlElement* elm)
{
    nRpPass pass;
    pass.SetName(GetString(elm, "name"));
    pass.SetShaderPath(GetString(elm, "shader"));
    pass.SetRenderTargetName(GetString(elm, "renderTarget"));
    int clearFlags = 0;
    const char* clearColor = elm->Attribute("clearColor");
    if (clearColor)
    {
        clearFlags |= nGfxServer2::ColorBuffer;
        nFloat4 c = {0.0f, 0.0f, 0.0f, 1.0f};
        // an empty colour means the default; a partial one is a mistake
        bool blank = true;
        for (const char* p = clearColor; *p; p++)
        {
            if (!strchr(" \t\r\n", *p)) blank = false;
        }
        if (!blank && !ParseFloat4(clearColor, c))
        {
            return this->Fail("pass '%.256s': clearColor '%.256s' is not four numbers", pass.GetName().Get(),
                              clearColor);
        }
        pass.SetClearColor(vector4(c.x, c.y, c.z, c.w));
    }
    if (elm->Attribute("clearDepth"))
    {
        clearFlags |= nGfxServer2::DepthBuffer;
        pass.SetClearDepth(GetFloat(elm, "clearDepth", 1.0f));
    }
    if (elm->Attribute("clearStencil"))
    {
        clearFlags |= nGfxServer2::StencilBuffer;
        pass.SetClearStencil(GetInt(elm, "clearStencil", 0));
    }
    pass.SetClearFlags(clearFlags);
    pass.SetDrawQuad(GetBool(elm, "drawQuad", false));
    pass.SetDrawShadowVolumes(GetBool(elm, "drawShadowVolumes", false));
    pass.SetDrawGui(GetBool(elm, "drawGui", false));
    pass.SetTechnique(GetString(elm, "technique"));
    pass.SetShadowEnabledCondition(GetBool(elm, "shadowEnabledCondition", false));

    for (TiXmlElement* child = elm->FirstChildElement(); child; child = child->NextSiblingElement())
    {
        const char* value = child->Value();
        bool ok = true;
        if ((0 == strcmp(value, "Float")) || (0 == strcmp(value, "Float4")) || (0 == strcmp(value, "Int")) ||
            (0 == strcmp(value, "Texture")))
        {
            ok = this->ParseShaderState(child, pass);
        }
        else if (0 == strcmp(value, "Phase"))
        {
            ok = this->ParsePhase(child, pass);
        }
        if (!ok) return false;
    }
    this->renderPath->AddPass(pass);
    return true;
}

/*
 * ParseShaderState --
 *     Results: false with a message for a parameter name the vocabulary
 *     lacks, a Float4 of fewer than four numbers, a Texture that does not
 *     load, or an empty variable name.
 *     Side effects: with "value", the constant is set in the pass's
 *     parameters; else with "variable", the parameter gets an empty value
 *     of its type and the pass a binding to the global variable; with
 *     neither, nothing.
 */
bool nRpXmlParser::ParseShaderState(TiXmlElement* elm, nRpPass& pass)
{
    const char* value = elm->Attribute("value");
    const char* variable = elm->Attribute("variable");
    if (!value && !variable) return true;
    const char* paramName = GetString(elm, "name");
    const nShaderState::Param p = nShaderState::StringToParam(paramName);
    if (nShaderState::InvalidParameter == p)
    {
        return this->Fail("pass '%.256s': unknown shader parameter '%.256s'", pass.GetName().Get(), paramName);
    }
    const char* type = elm->Value();
    nShaderState::Type argType = nShaderState::Texture;
    if (0 == strcmp(type, "Float")) argType = nShaderState::Float;
    else if (0 == strcmp(type, "Int")) argType = nShaderState::Int;
    else if (0 == strcmp(type, "Float4")) argType = nShaderState::Float4;

    if (!value)
    {
        if (!*variable)
        {
            return this->Fail("pass '%.256s': shader parameter '%.256s' binds an empty variable name",
                              pass.GetName().Get(), paramName);
        }
        pass.SetShaderArg(p, nShaderArg(argType));
        pass.AddVariableShaderParam(nVariableServer::Instance()->GetVariableHandleByName(variable), p);
        return true;
    }
    nShaderArg arg;
    switch (argType)
    {
        case nShaderState::Float: arg = nShaderArg(GetFloat(elm, "value", 0.0f)); break;
        case nShaderState::Int: arg = nShaderArg(GetInt(elm, "value", 0)); break;
        case nShaderState::Float4:
        {
            nFloat4 f4 = {0.0f, 0.0f, 0.0f, 0.0f};
            if (!ParseFloat4(value, f4))
            {
                return this->Fail("pass '%.256s': shader parameter '%.256s': '%.256s' is not four numbers",
                                  pass.GetName().Get(), paramName, value);
            }
            arg = nShaderArg(f4);
            break;
        }
        default:
        {
            if (!*value)
            {
                return this->Fail("pass '%.256s': texture parameter '%.256s' has no file name", pass.GetName().Get(),
                                  paramName);
            }
            nTexture2* tex = this->LoadTexture(value);
            if (!tex) return false;
            arg = nShaderArg(tex);
            break;
        }
    }
    pass.SetShaderArg(p, arg);
    return true;
}

/*
 * ParsePhase --
 *     Results: false with a message for a phase without shader, a fourcc
 *     that is not four characters, a missing or unknown sort word, or a
 *     sequence without shader.
 *     Side effects: the phase with its sequences is appended to the pass.
 */
bool nRpXmlParser::ParsePhase(TiXmlElement* elm, nRpPass& pass)
{
    nRpPhase phase;
    phase.SetName(GetString(elm, "name"));
    phase.SetShaderPath(GetString(elm, "shader"));
    if (phase.GetShaderPath().IsEmpty())
    {
        return this->Fail("phase '%.256s' of pass '%.256s' has no shader", phase.GetName().Get(),
                          pass.GetName().Get());
    }
    const char* fourcc = GetString(elm, "fourcc");
    if (4 != strlen(fourcc))
    {
        return this->Fail("phase '%.256s': fourcc '%.256s' is not four characters", phase.GetName().Get(), fourcc);
    }
    phase.SetFourCC(nFourCC(uchar(fourcc[0])) | (nFourCC(uchar(fourcc[1])) << 8) |
                    (nFourCC(uchar(fourcc[2])) << 16) | (nFourCC(uchar(fourcc[3])) << 24));
    const char* sort = GetString(elm, "sort");
    bool known = false;
    phase.SetSortingOrder(nRpPhase::StringToSortingOrder(sort, known));
    if (!known) return this->Fail("nRpPhase::StringToSortingOrder(): invalid string '%.256s'!", sort);
    phase.SetLightsEnabled(GetBool(elm, "lights", false));
    phase.SetTechnique(GetString(elm, "technique"));

    for (TiXmlElement* child = elm->FirstChildElement("Sequence"); child;
         child = child->NextSiblingElement("Sequence"))
    {
        nRpSequence seq;
        seq.SetShaderPath(GetString(child, "shader"));
        if (seq.GetShaderPath().IsEmpty())
        {
            return this->Fail("a sequence of phase '%.256s' has no shader", phase.GetName().Get());
        }
        phase.AddSequence(seq);
    }
    pass.AddPhase(phase);
    return true;
}
