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
    /// set every value of the block
    virtual void SetParams(const nShaderParams& params);
    /// begin drawing; the number of passes
    virtual int Begin(bool saveState);
    virtual void BeginPass(int pass);
    virtual void EndPass();
    virtual void End();

protected:
    /// a loaded resource unloads before it dies
    ~nShader2() override;

private:
    int shaderIndex = -1;
};
#endif
