#ifndef N_SHADER2_H
#define N_SHADER2_H
//------------------------------------------------------------------------------
/**
    @class nShader2
    @ingroup Gfx2

    A shader resource: the effect the graphics server draws with. This
    base class accepts every call and does nothing; the device's shader
    class does the work.
*/
#include "gfx2/nshaderparams.h"
#include "mathlib/vector3.h"
#include "resource/nresource.h"
#include "gfx2/ninstancestream.h"

class nShader2 : public nResource
{
public:
    nShader2() = default;

    /// the render path's bucket index, -1 until it gives one
    void SetShaderIndex(int i) { this->shaderIndex = i; }
    int GetShaderIndex() const { return this->shaderIndex; }

    virtual bool SetTechnique(const char* t);
    virtual const char* GetTechnique() const;
    virtual bool IsParameterUsed(nShaderState::Param p);
    virtual void SetBool(nShaderState::Param p, bool val);
    virtual void SetInt(nShaderState::Param p, int val);
    virtual void SetFloat(nShaderState::Param p, float val);
    virtual void SetVector4(nShaderState::Param p, const vector4& val);
    virtual void SetVector3(nShaderState::Param p, const vector3& val);
    virtual void SetFloat4(nShaderState::Param p, const nFloat4& val);
    virtual void SetMatrix(nShaderState::Param p, const matrix44& val);
    virtual void SetTexture(nShaderState::Param p, nTexture2* tex);
    virtual void SetBoolArray(nShaderState::Param p, const bool* array, int count);
    virtual void SetIntArray(nShaderState::Param p, const int* array, int count);
    virtual void SetFloatArray(nShaderState::Param p, const float* array, int count);
    virtual void SetFloat4Array(nShaderState::Param p, const nFloat4* array, int count);
    virtual void SetVector4Array(nShaderState::Param p, const vector4* array, int count);
    virtual void SetMatrixArray(nShaderState::Param p, const matrix44* array, int count);
    virtual void SetMatrixPointerArray(nShaderState::Param p, const matrix44** array, int count);
    virtual void SetParams(const nShaderParams& params);
    /// the number of passes of the technique
    virtual int Begin(bool saveState);
    virtual void BeginPass(int pass);
    virtual void CommitChanges();
    virtual void EndPass();
    virtual void End();
    /// the per-instance parameters the shader wants, appended to the
    /// declaration; the number added
    virtual int CreateInstanceDeclaration(nInstanceStream::Declaration& decl);

protected:
    /// a loaded resource unloads before it dies
    ~nShader2() override;

private:
    int shaderIndex = -1;
};
#endif
