#ifndef N_SHADERPARAMS_H
#define N_SHADERPARAMS_H
//------------------------------------------------------------------------------
/**
    @class nShaderParams
    @ingroup Gfx2

    A block of shader parameter values, kept in the order they were first
    set, with an index table for the lookup by parameter.
*/
#include "gfx2/nshaderarg.h"
#include "util/narray.h"

class nShaderParams
{
public:
    /// an empty block
    nShaderParams() : params(0, 8) { this->Clear(); }

    /// set the value of a parameter (asserts a valid parameter)
    void SetArg(nShaderState::Param p, const nShaderArg& arg);
    /// whether the block holds the parameter
    bool IsParameterValid(nShaderState::Param p) const;
    /// the value of a parameter the block holds (asserted)
    const nShaderArg& GetArg(nShaderState::Param p) const;
    /// remove every value
    void Clear();
    int GetNumValidParams() const { return this->params.Size(); }
    nShaderState::Param GetParamByIndex(int i) const { return this->params[i].param; }
    const nShaderArg& GetArgByIndex(int i) const { return this->params[i].arg; }

private:
    struct ParamAndArg
    {
        nShaderState::Param param = nShaderState::InvalidParameter;
        nShaderArg arg;
    };

    signed char index[nShaderState::NumParameters];
    nArray<ParamAndArg> params;
};
#endif
