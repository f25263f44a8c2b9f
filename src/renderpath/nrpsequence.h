#ifndef N_RPSEQUENCE_H
#define N_RPSEQUENCE_H
//------------------------------------------------------------------------------
/**
    @class nRpSequence
    @ingroup RenderPath

    One sequence of a phase: a shader file whose bucket of scene nodes
    the scene server draws.
*/
#include "kernel/nstrongref.h"
#include "gfx2/nshader2.h"
#include "util/nstring.h"

class nRpSequence
{
public:
    nRpSequence() = default;

    void SetShaderPath(const nString& p) { this->shaderPath = p; }
    const nString& GetShaderPath() const { return this->shaderPath; }
    /// the sequence shader, null before Validate
    nShader2* GetShader() const { return this->shader.get_unsafe(); }

    /// get the shader (with a bucket index) and load it when needed
    void Validate();

private:
    nString shaderPath;
    nStrongRef<nShader2> shader;
};
#endif
