//------------------------------------------------------------------------------
//  nshader2.cc
//------------------------------------------------------------------------------
#include "gfx2/nshader2.h"

nShader2::~nShader2()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

// The base class has no effect: every call below is accepted and does
// nothing; queries answer false, null or zero.

bool nShader2::SetTechnique(const char* /*t*/) { return false; }
const char* nShader2::GetTechnique() const { return nullptr; }
bool nShader2::IsParameterUsed(nShaderState::Param /*p*/) { return false; }
void nShader2::SetBool(nShaderState::Param /*p*/, bool /*val*/) {}
void nShader2::SetInt(nShaderState::Param /*p*/, int /*val*/) {}
void nShader2::SetFloat(nShaderState::Param /*p*/, float /*val*/) {}
void nShader2::SetVector4(nShaderState::Param /*p*/, const vector4& /*val*/) {}
void nShader2::SetVector3(nShaderState::Param /*p*/, const vector3& /*val*/) {}
void nShader2::SetFloat4(nShaderState::Param /*p*/, const nFloat4& /*val*/) {}
void nShader2::SetMatrix(nShaderState::Param /*p*/, const matrix44& /*val*/) {}
void nShader2::SetTexture(nShaderState::Param /*p*/, nTexture2* /*tex*/) {}
void nShader2::SetBoolArray(nShaderState::Param /*p*/, const bool* /*array*/, int /*count*/) {}
void nShader2::SetIntArray(nShaderState::Param /*p*/, const int* /*array*/, int /*count*/) {}
void nShader2::SetFloatArray(nShaderState::Param /*p*/, const float* /*array*/, int /*count*/) {}
void nShader2::SetFloat4Array(nShaderState::Param /*p*/, const nFloat4* /*array*/, int /*count*/) {}
void nShader2::SetVector4Array(nShaderState::Param /*p*/, const vector4* /*array*/, int /*count*/) {}
void nShader2::SetMatrixArray(nShaderState::Param /*p*/, const matrix44* /*array*/, int /*count*/) {}
void nShader2::SetMatrixPointerArray(nShaderState::Param /*p*/, const matrix44** /*array*/, int /*count*/) {}
void nShader2::SetParams(const nShaderParams& /*params*/) {}
int nShader2::Begin(bool /*saveState*/) { return 0; }
void nShader2::BeginPass(int /*pass*/) {}
void nShader2::CommitChanges() {}
void nShader2::EndPass() {}
void nShader2::End() {}
int nShader2::CreateInstanceDeclaration(nInstanceStream::Declaration& /*decl*/) { return 0; }
