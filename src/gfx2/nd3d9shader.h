#ifndef N_D3D9SHADER_H
#define N_D3D9SHADER_H
//------------------------------------------------------------------------------
/**
    @class nD3D9Shader
    @ingroup Gfx2

    A shader from an effect file on the graphics device: the file is parsed
    (includes through the file server), its parameters matched to the
    engine's vocabulary by name, "shared" ones taken from the server's
    effect pool, and the passes of the first technique whose programs all
    compile and link become GL programs. Values set here are kept and
    uploaded at BeginPass and CommitChanges, only where they changed.
*/
#include "gfx2/nfxeffect.h"
#include "gfx2/nfxvalue.h"
#include "gfx2/nshader2.h"
#include "kernel/nautoref.h"
#include "platform/ngfxhandle.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class nD3D9Server;
class nGfxDevice;

class nD3D9Shader : public nShader2
{
public:
    nD3D9Shader();

    bool SetTechnique(const char* t) override;
    const char* GetTechnique() const override;
    bool IsParameterUsed(nShaderState::Param p) override;
    int CreateInstanceDeclaration(nInstanceStream::Declaration& decl) override;
    void SetBool(nShaderState::Param p, bool val) override;
    void SetInt(nShaderState::Param p, int val) override;
    void SetFloat(nShaderState::Param p, float val) override;
    void SetVector4(nShaderState::Param p, const vector4& val) override;
    void SetVector3(nShaderState::Param p, const vector3& val) override;
    void SetFloat4(nShaderState::Param p, const nFloat4& val) override;
    void SetMatrix(nShaderState::Param p, const matrix44& val) override;
    void SetTexture(nShaderState::Param p, nTexture2* tex) override;
    void SetBoolArray(nShaderState::Param p, const bool* array, int count) override;
    void SetIntArray(nShaderState::Param p, const int* array, int count) override;
    void SetFloatArray(nShaderState::Param p, const float* array, int count) override;
    void SetFloat4Array(nShaderState::Param p, const nFloat4* array, int count) override;
    void SetVector4Array(nShaderState::Param p, const vector4* array, int count) override;
    void SetMatrixArray(nShaderState::Param p, const matrix44* array, int count) override;
    void SetMatrixPointerArray(nShaderState::Param p, const matrix44** array, int count) override;
    void SetParams(const nShaderParams& params) override;
    int Begin(bool saveState) override;
    void BeginPass(int pass) override;
    void CommitChanges() override;
    void EndPass() override;
    /// in a pass, its program, states and textures are set again (another effect drew in between)
    void ResumePass();
    void End() override;

    /// the parsed effect (empty while unloaded)
    const nFxEffect& GetEffect() const { return this->effect; }
    /// the current value of an effect parameter by name, null when the effect has none
    const nFxValue* GetValue(const char* name) const;
    /// whether the technique found no compiling programs
    bool DidNotValidate() const { return this->didNotValidate; }

    void OnLost() override;
    void OnRestored() override;

protected:
    ~nD3D9Shader() override;
    bool LoadResource() override;
    void UnloadResource() override;

private:
    /// one uniform of a program and the value version it last got
    struct Uniform
    {
        int param;
        int location;
        unsigned int version;
    };
    /// the program of one pass
    struct PassProgram
    {
        nGfxProgramHandle handle;
        std::vector<Uniform> uniforms;
        /// whether the sampler uniforms name their units yet
        bool samplerUnitsSet = false;
        int halfPixelLocation = -1;
        int alphaFuncLocation = -1;
        int alphaRefLocation = -1;
        float halfPixel[2] = {0.0f, 0.0f};
        int alphaFunc = -1;
        float alphaRef = -1.0f;
    };

    nD3D9Server* Server() const;
    nGfxDevice* Device() const;
    /// end the program with the load's fatal message
    [[noreturn]] void LoadFailed(const std::string& why) const;
    /// give every parameter its value (shared ones from the pool)
    void BindValues();
    void UpdateParameterHandles();
    void ValidateEffect();
    /// compile the passes of a technique; false with the compiler's log
    bool BuildTechnique(int tech, std::string& log);
    void ReleasePrograms();
    /// point the program's sampler uniforms at their units, once
    void SetSamplerUnits(PassProgram& prog);
    /// keep the current technique's programs aside; no technique is current then
    void ParkPrograms();
    /// make a technique built before current again; false when it never was
    bool TakeBuiltTechnique(int tech);
    static void ForgetUploads(std::vector<PassProgram>& programs);
    /// the compiler's log with source numbers turned into file names
    std::string TranslateLog(const std::string& log) const;
    /// the value of a parameter of the vocabulary, null when the effect lacks it
    nFxValue* ValueOf(nShaderState::Param p) const;
    /// store numbers into a value, marking it changed
    void StoreFloats(nShaderState::Param p, const float* f, int n);
    void StoreInts(nShaderState::Param p, const int* v, int n);
    /// count a value set in the server's statistics
    void CountValueSet() const;
    /// carry out the render states of the current pass (references only, or all)
    void ApplyStates(bool referencesOnly);
    /// upload what changed since the pass's program last saw it
    void UploadChanged(PassProgram& prog, bool bindTextures);

    nFxEffect effect;
    std::vector<std::shared_ptr<nFxValue>> values;
    /// the effect parameter of each vocabulary parameter, -1 when undeclared
    int parameterHandles[nShaderState::NumParameters];
    int technique = -1;
    std::vector<PassProgram> programs;
    /// the programs of the techniques built and not current, by technique
    std::vector<std::vector<PassProgram>> builtTechniques;
    std::vector<nGfxSamplerHandle> samplerObjects;
    std::vector<unsigned int> samplerTextureVersions;
    bool hasBeenValidated = false;
    bool didNotValidate = false;
    nShaderParams curParams;
    int curPass = -1;
    bool inBegin = false;
    std::vector<std::pair<int, unsigned int>> savedStates;
    std::string mangledPath;
    nAutoRef<nD3D9Server> refGfxServer;
};
#endif
