#ifndef N_SHADER2_H
#define N_SHADER2_H
//------------------------------------------------------------------------------
/**
    @class nShader2
    @ingroup Gfx2

    A shader resource: the effect the graphics server draws with.
*/
#include "resource/nresource.h"
#include "gfx2/nshaderparams.h"
#include "gfx2/ninstancestream.h"

class nShader2 : public nResource
{
public:
    nShader2() = default;

    /// the bucket index the render path gave the shader; -1 for none
    void SetShaderIndex(int i) { this->shaderIndex = i; }
    int GetShaderIndex() const { return this->shaderIndex; }

    //--- the drawing protocol (base: false, 0, nothing) ---------------------------
    virtual bool SetTechnique(const char* name);
    virtual const char* GetTechnique() const;
    /// set every parameter of the block the effect declares (base: nothing)
    virtual void SetParams(const nShaderParams& params);
    /// begin drawing; the number of passes
    virtual int Begin(bool saveState);
    virtual void BeginPass(int pass);
    virtual void EndPass();
    virtual void End();
    /// the per-instance parameters the shader wants, appended to the
    /// declaration; the number added (base: none)
    virtual int CreateInstanceDeclaration(nInstanceStream::Declaration& decl);
    /// whether the effect declares the parameter (base: false)
    virtual bool IsParameterUsed(nShaderState::Param p);

protected:
    /// a loaded resource unloads before it dies
    ~nShader2() override;

private:
    int shaderIndex = -1;
};
#endif
