#ifndef N_SHADERPARAMS_H
#define N_SHADERPARAMS_H
//------------------------------------------------------------------------------
/**
    @class nShaderParams
    @ingroup Gfx2

    A block of shader values indexed by parameter: an index table for the
    lookup and the pairs in the order they were first set, which is the
    order the block is iterated and applied in.
*/
#include "gfx2/nshaderarg.h"
#include "util/narray.h"

class nShaderParams
{
public:
    nShaderParams();

    /// store the argument of a parameter, replacing an earlier one
    void SetArg(nShaderState::Param p, const nShaderArg& arg);
    /// whether the parameter holds an argument
    bool IsParameterValid(nShaderState::Param p) const;
    /// the argument of a parameter that holds one (asserted)
    const nShaderArg& GetArg(nShaderState::Param p) const;
    /// forget every parameter
    void Clear();
    int GetNumValidParams() const { return this->paramArray.Size(); }
    nShaderState::Param GetParamByIndex(int i) const { return this->paramArray[i].param; }
    const nShaderArg& GetArgByIndex(int i) const { return this->paramArray[i].arg; }

private:
    struct ParamAndArg
    {
        nShaderState::Param param = nShaderState::InvalidParameter;
        nShaderArg arg;
    };
    signed char paramIndex[nShaderState::NumParameters];
    nArray<ParamAndArg> paramArray;
};
#endif
