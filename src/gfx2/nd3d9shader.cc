//------------------------------------------------------------------------------
//  nd3d9shader.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9shader.h"

#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9shaderinclude.h"
#include "gfx2/nfxparser.h"
#include "kernel/nfileserver2.h"
#include "platform/ngfxdevice.h"

#include <algorithm>
#include <cstring>
#include <regex>

namespace
{

/// the uniform type of a parameter kind
nGfxUniform UniformType(nFxEffect::Kind k)
{
    switch (k)
    {
        case nFxEffect::KBool: return nGfxUniform::Bool;
        case nFxEffect::KInt: return nGfxUniform::Int;
        case nFxEffect::KFloat2: return nGfxUniform::Vec2;
        case nFxEffect::KFloat3: return nGfxUniform::Vec3;
        case nFxEffect::KFloat4: return nGfxUniform::Vec4;
        case nFxEffect::KFloat4x4: return nGfxUniform::Mat4;
        default: return nGfxUniform::Float;
    }
}

/// whether a render state takes a float (as its bits)
bool IsFloatState(int state)
{
    return nGfxRS::DepthBias == state || nGfxRS::SlopeScaleDepthBias == state;
}

}  // namespace

nD3D9Shader::nD3D9Shader() : refGfxServer("/sys/servers/gfx", "nd3d9server")
{
    std::fill(std::begin(this->parameterHandles), std::end(this->parameterHandles), -1);
}

nD3D9Shader::~nD3D9Shader()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

/*
 * Server --
 *     Results: the graphics server, null once it is gone.
 */
nD3D9Server* nD3D9Shader::Server() const
{
    return this->refGfxServer.isvalid() ? this->refGfxServer.get() : nullptr;
}

/*
 * Device --
 *     Results: the server's device; a missing server or device is a fatal
 *     assertion.
 */
nGfxDevice* nD3D9Shader::Device() const
{
    nD3D9Server* server = this->Server();
    n_assert(server && server->GetDevice());
    return server->GetDevice();
}

/*
 * LoadFailed --
 *     Ends the program with the load's fatal message naming the file and
 *     the reason.
 */
void nD3D9Shader::LoadFailed(const std::string& why) const
{
    n_fatal("nD3D9Shader: failed to load fx file '%s' with:\n\n%s\n", this->mangledPath.c_str(), why.c_str());
}

/*
 * LoadResource --
 *     Results: true when the effect was read, even if no technique
 *     compiles (reported; it then begins with 0 passes and draws
 *     nothing); false, reported naming the file as given, when the file
 *     cannot be read. A parse error or a shared type conflict is fatal.
 *     Side effects: parses the file with its includes, binds the values,
 *     matches the vocabulary and chooses the technique; state Valid.
 */
bool nD3D9Shader::LoadResource()
{
    n_assert(!this->IsLoaded());
    n_assert(this->Server() && this->Server()->GetDevice());
    this->mangledPath = nFileServer2::Instance()->ManglePath(this->GetFilename().Get()).Get();
    std::string text;
    if (!nD3D9ShaderInclude::ReadFile(this->mangledPath, text))
    {
        // a data fault met while drawing: the holder draws without it
        n_printf("nD3D9Shader: could not load shader file '%s'!\n", this->GetFilename().Get());
        return false;
    }
    const nD3D9ShaderInclude include(this->mangledPath);
    nFxParser parser([&include](const std::string& name, std::string& resolved, std::string& body) {
        return include.Open(name, resolved, body);
    });
    std::string error;
    if (!parser.Parse(this->mangledPath, text, this->effect, error))
    {
        this->LoadFailed(error);
    }
    this->BindValues();
    this->hasBeenValidated = false;
    this->didNotValidate = false;
    this->SetState(Valid);
    this->ValidateEffect();
    return true;
}

/*
 * BindValues --
 *     Side effects: every parameter gets a value holding its default; a
 *     shared one gets the pool's value, and one the pool holds with
 *     another type is the load's fatal error.
 */
void nD3D9Shader::BindValues()
{
    nFxPool& pool = this->Server()->GetEffectPool();
    this->values.clear();
    for (const nFxEffect::Param& p : this->effect.params)
    {
        std::shared_ptr<nFxValue> v = p.shared ? pool.Share(p) : std::make_shared<nFxValue>(p);
        if (!v)
        {
            this->values.clear();
            pool.Prune();
            this->LoadFailed(this->effect.files[p.file] + "(" + std::to_string(p.line) + "): shared parameter '" +
                             p.name + "' has another type in an effect loaded before");
        }
        this->values.push_back(v);
    }
}

/*
 * UpdateParameterHandles --
 *     Side effects: each vocabulary parameter the effect declares (by
 *     exact name) gets the index of its effect parameter; others -1.
 */
void nD3D9Shader::UpdateParameterHandles()
{
    std::fill(std::begin(this->parameterHandles), std::end(this->parameterHandles), -1);
    for (size_t i = 0; i < this->effect.params.size(); i++)
    {
        const nShaderState::Param p = nShaderState::StringToParam(this->effect.params[i].name.c_str());
        if (nShaderState::InvalidParameter != p)
        {
            this->parameterHandles[p] = int(i);
        }
    }
}

/*
 * ValidateEffect --
 *     Side effects: chooses the first technique whose passes all compile
 *     and link; when none does, reports the file with the first
 *     technique's compiler log, and the effect begins with 0 passes.
 */
void nD3D9Shader::ValidateEffect()
{
    n_assert(!this->hasBeenValidated);
    std::string firstLog;
    for (size_t t = 0; t < this->effect.techniques.size(); t++)
    {
        std::string log;
        if (this->BuildTechnique(int(t), log))
        {
            this->hasBeenValidated = true;
            this->didNotValidate = false;
            this->UpdateParameterHandles();
            return;
        }
        if (firstLog.empty())
        {
            firstLog = "technique '" + this->effect.techniques[t].name + "':\n" + this->TranslateLog(log);
        }
    }
    this->hasBeenValidated = true;
    this->didNotValidate = true;
    n_printf("nD3D9Shader: no technique of fx file '%s' compiles, it draws nothing:\n\n%s\n", this->GetFilename().Get(),
             firstLog.c_str());
}

/*
 * TranslateLog --
 *     Results: the log with each "source:line(column)" of the compiler
 *     turned into "file(line)".
 */
std::string nD3D9Shader::TranslateLog(const std::string& log) const
{
    static const std::regex where(R"((^|\n)(\d+):(\d+)\((\d+)\))");
    std::string out;
    auto it = std::sregex_iterator(log.begin(), log.end(), where);
    size_t last = 0;
    for (; it != std::sregex_iterator(); ++it)
    {
        const std::smatch& m = *it;
        const size_t src = size_t(std::stoul(m[2].str()));
        const std::string file = src < this->effect.files.size() ? this->effect.files[src] : "(generated code)";
        out += log.substr(last, size_t(m.position(0)) - last) + m[1].str() + file + "(" + m[3].str() + ")";
        last = size_t(m.position(0) + m.length(0));
    }
    return out + log.substr(last);
}

/*
 * BuildTechnique --
 *     Results: false with the compiler's log when a pass's program fails
 *     (the programs made so far are released then).
 *     Side effects: the technique becomes current with one program per
 *     pass and its uniforms' locations looked up.
 */
bool nD3D9Shader::BuildTechnique(int tech, std::string& log)
{
    nGfxDevice* dev = this->Device();
    std::vector<PassProgram> built;
    for (const nFxEffect::Pass& pass : this->effect.techniques[size_t(tech)].passes)
    {
        PassProgram prog;
        prog.handle = dev->CreateProgram(this->effect.ProgramSource(this->effect.programs[size_t(pass.vertexProgram)]),
                                         this->effect.ProgramSource(this->effect.programs[size_t(pass.fragmentProgram)]),
                                         log);
        if (!prog.handle)
        {
            for (const PassProgram& p : built)
            {
                dev->DeleteProgram(p.handle);
            }
            return false;
        }
        for (size_t i = 0; i < this->effect.params.size(); i++)
        {
            const nFxEffect::Param& p = this->effect.params[i];
            const int loc = (nFxEffect::KTexture == p.kind) ? -1 : dev->GetUniformLocation(prog.handle, p.name.c_str());
            if (loc >= 0)
            {
                prog.uniforms.push_back(Uniform{int(i), loc, 0});
            }
        }
        prog.halfPixelLocation = dev->GetUniformLocation(prog.handle, "nHalfPixel");
        prog.alphaFuncLocation = dev->GetUniformLocation(prog.handle, "nAlphaFunc");
        prog.alphaRefLocation = dev->GetUniformLocation(prog.handle, "nAlphaRef");
        built.push_back(prog);
    }
    this->ParkPrograms();
    this->programs = std::move(built);
    this->technique = tech;
    if (!this->samplerObjects.empty()) return true;
    for (const nFxEffect::Sampler& s : this->effect.samplers)
    {
        nGfxSamplerDesc d;
        d.addressU = s.addressU;
        d.addressV = s.addressV;
        d.addressW = s.addressW;
        d.minFilter = s.minFilter;
        d.magFilter = s.magFilter;
        d.mipFilter = s.mipFilter;
        this->samplerObjects.push_back(dev->CreateSampler(d));
        this->samplerTextureVersions.push_back(0);
    }
    return true;
}

/*
 * ParkPrograms --
 *     Side effects: the current technique's programs are kept aside for
 *     it; render paths switch techniques of one effect every frame, and a
 *     program compiled again each time costs far more than the frame.
 */
void nD3D9Shader::ParkPrograms()
{
    if (this->technique < 0) return;
    this->builtTechniques.resize(this->effect.techniques.size());
    this->builtTechniques[size_t(this->technique)] = std::move(this->programs);
    this->programs.clear();
    this->technique = -1;
}

/*
 * TakeBuiltTechnique --
 *     Results: whether the technique's programs were built before.
 *     Side effects: if so, it becomes current with them.
 */
bool nD3D9Shader::TakeBuiltTechnique(int tech)
{
    if (size_t(tech) >= this->builtTechniques.size() || this->builtTechniques[size_t(tech)].empty()) return false;
    std::vector<PassProgram> taken = std::move(this->builtTechniques[size_t(tech)]);
    this->builtTechniques[size_t(tech)].clear();
    this->ParkPrograms();
    this->programs = std::move(taken);
    this->technique = tech;
    return true;
}

/*
 * ReleasePrograms --
 *     Side effects: deletes the programs of every technique built and the
 *     samplers.
 */
void nD3D9Shader::ReleasePrograms()
{
    nGfxDevice* dev = this->Device();
    this->ParkPrograms();
    for (const std::vector<PassProgram>& built : this->builtTechniques)
    {
        for (const PassProgram& p : built)
        {
            dev->DeleteProgram(p.handle);
        }
    }
    this->builtTechniques.clear();
    for (nGfxSamplerHandle s : this->samplerObjects)
    {
        dev->DeleteSampler(s);
    }
    this->programs.clear();
    this->samplerObjects.clear();
    this->samplerTextureVersions.clear();
    this->technique = -1;
}

/*
 * UnloadResource --
 *     Side effects: stops being the server's current shader, releases the
 *     programs and values (the pool forgets shared values no effect uses),
 *     empties curParams; state Unloaded.
 */
void nD3D9Shader::UnloadResource()
{
    n_assert(this->IsLoaded());
    nD3D9Server* server = this->Server();
    if (server && server->GetShader() == this)
    {
        server->SetShader(nullptr);
    }
    if (server && server->GetDevice())
    {
        this->ReleasePrograms();
        this->values.clear();
        server->GetEffectPool().Prune();
    }
    this->effect = nFxEffect();
    std::fill(std::begin(this->parameterHandles), std::end(this->parameterHandles), -1);
    this->curParams.Clear();
    this->hasBeenValidated = false;
    this->didNotValidate = false;
    this->SetState(Unloaded);
}

/*
 * OnLost --
 *     Side effects: state Lost; curParams emptied, so that the first sets
 *     after the restore reach the programs again.
 */
void nD3D9Shader::OnLost()
{
    n_assert(Lost != this->GetState());
    this->curParams.Clear();
    this->SetState(Lost);
}

/*
 * ForgetUploads --
 *     Side effects: every uniform of the programs counts as never uploaded.
 */
void nD3D9Shader::ForgetUploads(std::vector<PassProgram>& programs)
{
    for (PassProgram& p : programs)
    {
        for (Uniform& u : p.uniforms)
        {
            u.version = 0;
        }
        p.alphaFunc = -1;
        p.alphaRef = -1.0f;
        p.halfPixel[0] = 0.0f;
        p.samplerUnitsSet = false;
    }
}

/*
 * OnRestored --
 *     Side effects: state Valid; every uniform is uploaded again at the
 *     next pass.
 */
void nD3D9Shader::OnRestored()
{
    n_assert(Lost == this->GetState());
    ForgetUploads(this->programs);
    for (std::vector<PassProgram>& built : this->builtTechniques)
    {
        ForgetUploads(built);
    }
    this->SetState(Valid);
}

/*
 * SetTechnique --
 *     Results: whether the effect has the technique and its programs
 *     compile; the current technique stays otherwise.
 */
bool nD3D9Shader::SetTechnique(const char* t)
{
    n_assert(t);
    n_assert(this->IsLoaded());
    for (size_t i = 0; i < this->effect.techniques.size(); i++)
    {
        if (this->effect.techniques[i].name == t)
        {
            std::string log;
            return int(i) == this->technique || this->TakeBuiltTechnique(int(i)) || this->BuildTechnique(int(i), log);
        }
    }
    return false;
}

const char* nD3D9Shader::GetTechnique() const
{
    return (this->technique >= 0) ? this->effect.techniques[size_t(this->technique)].name.c_str() : nullptr;
}

/*
 * CreateInstanceDeclaration --
 *     Results: the number of components appended to the declaration.
 *     Side effects: every parameter annotated "bool Instance = true" that
 *     the declaration lacks is appended as a Float (float), Float4
 *     (float2 to float4) or Matrix44 (float4x4) component. One of another
 *     type, an array, or a name outside the engine's vocabulary comes from
 *     the effect file, not the engine: it is reported and left out, so
 *     its value simply stays the same for every instance.
 */
int nD3D9Shader::CreateInstanceDeclaration(nInstanceStream::Declaration& decl)
{
    n_assert(this->IsLoaded());
    int added = 0;
    for (const nFxEffect::Param& fp : this->effect.params)
    {
        const bool perInstance = std::any_of(fp.annotations.begin(), fp.annotations.end(), [](const auto& a) {
            return a.name == "Instance" && a.type == "bool" && (a.value == "true" || a.value == "1");
        });
        if (!perInstance)
        {
            continue;
        }
        const nShaderState::Param param = nShaderState::StringToParam(fp.name.c_str());
        const nShaderState::Type type = (fp.arraySize == 0) ? nFxEffect::ShaderType(fp.kind) : nShaderState::Void;
        if ((nShaderState::InvalidParameter == param) ||
            ((nShaderState::Float != type) && (nShaderState::Float4 != type) && (nShaderState::Matrix44 != type)))
        {
            n_printf("nShader2: Invalid data type for instance parameter '%s' in shader '%s'!\n", fp.name.c_str(),
                     this->GetFilename().Get());
            continue;
        }
        bool known = false;
        for (int i = 0; i < decl.Size(); i++)
        {
            known = known || (decl[i].param == param);
        }
        if (!known)
        {
            decl.Append(nInstanceStream::Component(type, param));
            added++;
        }
    }
    return added;
}

bool nD3D9Shader::IsParameterUsed(nShaderState::Param p)
{
    n_assert(p < nShaderState::NumParameters);
    return this->parameterHandles[p] >= 0;
}

const nFxValue* nD3D9Shader::GetValue(const char* name) const
{
    const int i = this->effect.FindParam(name);
    return (i >= 0 && size_t(i) < this->values.size()) ? this->values[size_t(i)].get() : nullptr;
}

nFxValue* nD3D9Shader::ValueOf(nShaderState::Param p) const
{
    n_assert(this->IsLoaded() && (p < nShaderState::NumParameters));
    const int i = this->parameterHandles[p];
    return (i >= 0) ? this->values[size_t(i)].get() : nullptr;
}

/*
 * StoreFloats --
 *     Side effects: copies up to n numbers into the parameter's value (as
 *     many as it holds; ints and bools converted) and marks it changed.
 */
void nD3D9Shader::StoreFloats(nShaderState::Param p, const float* f, int n)
{
    nFxValue* v = this->ValueOf(p);
    if (!v)
    {
        return;
    }
    if (!v->floats.empty())
    {
        std::copy_n(f, std::min<size_t>(size_t(n), v->floats.size()), v->floats.begin());
    }
    for (size_t i = 0; i < v->ints.size() && i < size_t(n); i++)
    {
        v->ints[i] = nFxValue::ToInt(f[i]);
    }
    v->version++;
    this->CountValueSet();
}

/*
 * StoreInts --
 *     Side effects: as StoreFloats for ints.
 */
void nD3D9Shader::StoreInts(nShaderState::Param p, const int* iv, int n)
{
    nFxValue* v = this->ValueOf(p);
    if (!v)
    {
        return;
    }
    std::copy_n(iv, std::min<size_t>(size_t(n), v->ints.size()), v->ints.begin());
    for (size_t i = 0; i < v->floats.size() && i < size_t(n); i++)
    {
        v->floats[i] = float(iv[i]);
    }
    v->version++;
    this->CountValueSet();
}

/*
 * CountValueSet --
 *     Side effects: one render-state change for the frame's statistics:
 *     what a frame costs in state is the values its effects are given,
 *     not the device states those values happen to touch.
 */
void nD3D9Shader::CountValueSet() const
{
    nD3D9Server* server = this->Server();
    if (server)
    {
        server->CountRenderStateChange();
    }
}

void nD3D9Shader::SetBool(nShaderState::Param p, bool val)
{
    this->curParams.SetArg(p, nShaderArg(val));
    const int i = val ? 1 : 0;
    this->StoreInts(p, &i, 1);
}

void nD3D9Shader::SetInt(nShaderState::Param p, int val)
{
    this->curParams.SetArg(p, nShaderArg(val));
    this->StoreInts(p, &val, 1);
}

void nD3D9Shader::SetFloat(nShaderState::Param p, float val)
{
    this->curParams.SetArg(p, nShaderArg(val));
    this->StoreFloats(p, &val, 1);
}

void nD3D9Shader::SetVector4(nShaderState::Param p, const vector4& val)
{
    this->SetFloat4(p, nFloat4{val.x, val.y, val.z, val.w});
}

void nD3D9Shader::SetVector3(nShaderState::Param p, const vector3& val)
{
    this->SetFloat4(p, nFloat4{val.x, val.y, val.z, 1.0f});
}

void nD3D9Shader::SetFloat4(nShaderState::Param p, const nFloat4& val)
{
    this->curParams.SetArg(p, nShaderArg(val));
    const float f[4] = {val.x, val.y, val.z, val.w};
    this->StoreFloats(p, f, 4);
}

void nD3D9Shader::SetMatrix(nShaderState::Param p, const matrix44& val)
{
    this->curParams.SetArg(p, nShaderArg(val));
    this->StoreFloats(p, &val.m[0][0], 16);
}

/*
 * SetTexture --
 *     Side effects: nothing when curParams holds that very texture (same
 *     object and serial); else stores it and marks the value changed.
 */
void nD3D9Shader::SetTexture(nShaderState::Param p, nTexture2* tex)
{
    n_assert(tex);
    const nShaderArg arg(tex);
    if (this->curParams.IsParameterValid(p) && this->curParams.GetArg(p) == arg)
    {
        return;
    }
    this->curParams.SetArg(p, arg);
    nFxValue* v = this->ValueOf(p);
    if (v)
    {
        v->texture.set(tex);
        v->version++;
    }
}

void nD3D9Shader::SetBoolArray(nShaderState::Param p, const bool* array, int count)
{
    std::vector<int> v(size_t(std::max(count, 0)));
    for (size_t i = 0; i < v.size(); i++)
    {
        v[i] = array[i] ? 1 : 0;
    }
    this->StoreInts(p, v.data(), int(v.size()));
}

void nD3D9Shader::SetIntArray(nShaderState::Param p, const int* array, int count)
{
    this->StoreInts(p, array, std::max(count, 0));
}

void nD3D9Shader::SetFloatArray(nShaderState::Param p, const float* array, int count)
{
    this->StoreFloats(p, array, std::max(count, 0));
}

void nD3D9Shader::SetFloat4Array(nShaderState::Param p, const nFloat4* array, int count)
{
    this->StoreFloats(p, &array->x, 4 * std::max(count, 0));
}

void nD3D9Shader::SetVector4Array(nShaderState::Param p, const vector4* array, int count)
{
    this->StoreFloats(p, &array->x, 4 * std::max(count, 0));
}

void nD3D9Shader::SetMatrixArray(nShaderState::Param p, const matrix44* array, int count)
{
    this->StoreFloats(p, &array->m[0][0], 16 * std::max(count, 0));
}

void nD3D9Shader::SetMatrixPointerArray(nShaderState::Param p, const matrix44** array, int count)
{
    std::vector<float> f;
    for (int i = 0; i < count; i++)
    {
        f.insert(f.end(), &array[i]->m[0][0], &array[i]->m[0][0] + 16);
    }
    this->StoreFloats(p, f.data(), int(f.size()));
}

/*
 * SetParams --
 *     Side effects: each value of the block the effect declares and that
 *     differs from the one last set is stored and set by its type.
 */
void nD3D9Shader::SetParams(const nShaderParams& params)
{
    for (int i = 0; i < params.GetNumValidParams(); i++)
    {
        const nShaderState::Param p = params.GetParamByIndex(i);
        const nShaderArg& arg = params.GetArgByIndex(i);
        if (this->parameterHandles[p] < 0 || nShaderState::Void == arg.GetType() ||
            (this->curParams.IsParameterValid(p) && this->curParams.GetArg(p) == arg))
        {
            continue;
        }
        switch (arg.GetType())
        {
            case nShaderState::Bool: this->SetBool(p, arg.GetBool()); break;
            case nShaderState::Int: this->SetInt(p, arg.GetInt()); break;
            case nShaderState::Float: this->SetFloat(p, arg.GetFloat()); break;
            case nShaderState::Float4: this->SetFloat4(p, arg.GetFloat4()); break;
            case nShaderState::Matrix44:
                this->curParams.SetArg(p, arg);
                this->StoreFloats(p, arg.GetFloats(), 16);
                break;
            case nShaderState::Texture:
                if (arg.GetTexture())
                {
                    this->SetTexture(p, arg.GetTexture());
                }
                break;
            default: break;
        }
    }
}

/*
 * Begin --
 *     Results: the number of passes, 0 when the effect did not validate.
 *     Side effects: with saveState, remembers the device's value of each
 *     render state the technique's passes assign, for End to restore.
 */
int nD3D9Shader::Begin(bool saveState)
{
    n_assert(this->IsLoaded());
    if (!this->hasBeenValidated)
    {
        this->ValidateEffect();
    }
    if (this->didNotValidate || this->technique < 0)
    {
        return 0;
    }
    this->savedStates.clear();
    const nFxEffect::Technique& tech = this->effect.techniques[size_t(this->technique)];
    if (saveState)
    {
        nGfxDevice* dev = this->Device();
        for (const nFxEffect::Pass& pass : tech.passes)
        {
            for (const nFxEffect::StateAssign& a : pass.states)
            {
                this->savedStates.emplace_back(a.state, dev->GetRenderState(a.state));
            }
        }
    }
    this->inBegin = true;
    return int(tech.passes.size());
}

/*
 * ApplyStates --
 *     Side effects: sets the pass's render states on the device (those
 *     read from parameters only, when referencesOnly), then the alpha
 *     test the program carries out.
 */
void nD3D9Shader::ApplyStates(bool referencesOnly)
{
    nGfxDevice* dev = this->Device();
    const nFxEffect::Pass& pass = this->effect.techniques[size_t(this->technique)].passes[size_t(this->curPass)];
    for (const nFxEffect::StateAssign& a : pass.states)
    {
        if (a.paramIndex < 0)
        {
            if (!referencesOnly)
            {
                dev->SetRenderState(a.state, a.value);
            }
            continue;
        }
        const nFxValue& v = *this->values[size_t(a.paramIndex)];
        unsigned int value = 0;
        if (!v.ints.empty())
        {
            value = unsigned(v.ints[0]);
        }
        else if (IsFloatState(a.state))
        {
            memcpy(&value, &v.floats[0], sizeof(value));
        }
        else if (nGfxRS::AlphaRef == a.state && v.floats[0] <= 1.0f)
        {
            // a float reference is a fraction of full alpha
            value = unsigned(std::max(0.0f, v.floats[0]) * 255.0f + 0.5f);  // within [0,1] here
        }
        else
        {
            value = unsigned(nFxValue::ToInt(v.floats[0]));
        }
        dev->SetRenderState(a.state, value);
    }
}

/*
 * UploadChanged --
 *     Side effects: uploads the uniforms whose values changed since the
 *     program last got them, the alpha test and half-pixel values when
 *     they changed, and binds the samplers' textures (all of them with
 *     bindTextures, else those whose value changed).
 */
void nD3D9Shader::UploadChanged(PassProgram& prog, bool bindTextures)
{
    nGfxDevice* dev = this->Device();
    for (Uniform& u : prog.uniforms)
    {
        const nFxValue& v = *this->values[size_t(u.param)];
        if (v.version != u.version)
        {
            u.version = v.version;
            const nFxEffect::Param& p = this->effect.params[size_t(u.param)];
            const int count = p.arraySize > 0 ? p.arraySize : 1;
            dev->SetUniform(u.location, UniformType(p.kind), count,
                            v.ints.empty() ? static_cast<const void*>(v.floats.data()) : v.ints.data());
        }
    }
    const bool alphaTest = dev->GetRenderState(nGfxRS::AlphaTestEnable) != 0;
    const int func = alphaTest ? int(dev->GetRenderState(nGfxRS::AlphaFunc)) : nGfxRS::CmpAlways;
    const float ref = float(dev->GetRenderState(nGfxRS::AlphaRef) & 0xff);
    if (func != prog.alphaFunc || ref != prog.alphaRef)
    {
        prog.alphaFunc = func;
        prog.alphaRef = ref;
        dev->SetUniform(prog.alphaFuncLocation, nGfxUniform::Int, 1, &func);
        dev->SetUniform(prog.alphaRefLocation, nGfxUniform::Float, 1, &ref);
    }
    for (size_t s = 0; s < this->effect.samplers.size(); s++)
    {
        const int tp = this->effect.FindParam(this->effect.samplers[s].texture);
        const nFxValue* tv = (tp >= 0) ? this->values[size_t(tp)].get() : nullptr;
        const unsigned int version = tv ? tv->version : 0;
        if (bindTextures || version != this->samplerTextureVersions[s])
        {
            this->samplerTextureVersions[s] = version;
            nTexture2* tex = tv ? tv->texture.get_unsafe() : nullptr;
            dev->BindTexture(int(s), tex ? tex->GetDeviceTexture() : nGfxTextureHandle(),
                             "samplerCube" == this->effect.samplers[s].glslType, this->samplerObjects[s]);
        }
    }
}

/*
 * SetSamplerUnits --
 *     Side effects: the first time the program is in use, each sampler
 *     uniform after the first gets the unit of its sampler's texture
 *     (UploadChanged binds them by sampler order); GL starts all of them
 *     at unit 0, where the first belongs.
 */
void nD3D9Shader::SetSamplerUnits(PassProgram& prog)
{
    if (prog.samplerUnitsSet)
    {
        return;
    }
    prog.samplerUnitsSet = true;
    nGfxDevice* dev = this->Device();
    for (size_t s = 1; s < this->effect.samplers.size(); s++)
    {
        const int location = dev->GetUniformLocation(prog.handle, this->effect.samplers[s].name.c_str());
        const int unit = int(s);
        if (location >= 0)
        {
            dev->SetUniform(location, nGfxUniform::Int, 1, &unit);
        }
    }
}

/*
 * BeginPass --
 *     Side effects: makes the pass's program current, sets its render
 *     states and uploads its values; textures are bound to units by
 *     sampler order.
 */
void nD3D9Shader::BeginPass(int pass)
{
    n_assert(this->IsLoaded());
    n_assert(this->hasBeenValidated && !this->didNotValidate);
    n_assert(this->inBegin && pass >= 0 && size_t(pass) < this->programs.size());
    this->curPass = pass;
    nGfxDevice* dev = this->Device();
    PassProgram& prog = this->programs[size_t(pass)];
    dev->UseProgram(prog.handle);
    this->SetSamplerUnits(prog);
    int x = 0, y = 0, w = 1, h = 1;
    float minZ = 0.0f, maxZ = 1.0f;
    dev->GetViewport(x, y, w, h, minZ, maxZ);
    const float half[2] = {1.0f / float(std::max(w, 1)), 1.0f / float(std::max(h, 1))};
    if (half[0] != prog.halfPixel[0] || half[1] != prog.halfPixel[1])
    {
        prog.halfPixel[0] = half[0];
        prog.halfPixel[1] = half[1];
        dev->SetUniform(prog.halfPixelLocation, nGfxUniform::Vec2, 1, half);
    }
    this->ApplyStates(false);
    this->UploadChanged(prog, true);
}

/*
 * CommitChanges --
 *     Side effects: within a pass, carries out the values set since
 *     BeginPass or the last commit, and the render states read from
 *     parameters.
 */
void nD3D9Shader::CommitChanges()
{
    n_assert(this->IsLoaded());
    n_assert(this->hasBeenValidated && !this->didNotValidate);
    if (this->curPass < 0)
    {
        return;
    }
    this->ApplyStates(true);
    this->UploadChanged(this->programs[size_t(this->curPass)], false);
}

/*
 * ResumePass --
 *     Side effects: while a pass runs, the device gets its program, its
 *     render states and every texture again, as at BeginPass: the text
 *     batch draws with its own effect in the middle of the GUI's pass.
 */
void nD3D9Shader::ResumePass()
{
    if (this->inBegin && this->curPass >= 0)
    {
        this->BeginPass(this->curPass);
    }
}

void nD3D9Shader::EndPass()
{
    n_assert(this->IsLoaded());
    n_assert(this->hasBeenValidated && !this->didNotValidate);
    this->curPass = -1;
}

/*
 * End --
 *     Side effects: puts back the render states Begin saved.
 */
void nD3D9Shader::End()
{
    n_assert(this->IsLoaded());
    n_assert(this->hasBeenValidated);
    nGfxDevice* dev = this->Device();
    for (auto it = this->savedStates.rbegin(); it != this->savedStates.rend(); ++it)
    {
        dev->SetRenderState(it->first, it->second);
    }
    this->savedStates.clear();
    this->inBegin = false;
    this->curPass = -1;
}
