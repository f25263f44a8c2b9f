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

    /// the per-instance parameters the shader wants, appended to the
    /// declaration; the number added (base: none)
    virtual int CreateInstanceDeclaration(nInstanceStream::Declaration& decl);
    /// whether the effect declares the parameter (base: false)
    virtual bool IsParameterUsed(nShaderState::Param p);
    /// set every parameter of the block the effect declares (base: nothing)
    virtual void SetParams(const nShaderParams& params);

protected:
    /// a loaded resource unloads before it dies
    ~nShader2() override;
};
#endif
