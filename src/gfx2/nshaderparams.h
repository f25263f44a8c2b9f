#ifndef N_SHADERPARAMS_H
#define N_SHADERPARAMS_H
//------------------------------------------------------------------------------
/**
    @class nShaderParams
    @ingroup Gfx2

    A block of shader values indexed by parameter, iterated in the order
    the parameters were first set.
*/
#include "gfx2/nshaderarg.h"

#include <vector>

class nShaderParams
{
public:
    nShaderParams() { this->Clear(); }

    /// forget every value
    void Clear();
    /// set or replace the value of a parameter
    void SetArg(nShaderState::Param p, const nShaderArg& arg);
    /// whether the parameter has a value; false for one outside the names
    bool IsParameterValid(nShaderState::Param p) const
    {
        return p >= 0 && p < nShaderState::NumParameters && -1 != this->index[p];
    }
    /// the value of a valid parameter
    const nShaderArg& GetArg(nShaderState::Param p) const;
    int GetNumValidParams() const { return int(this->pairs.size()); }
    nShaderState::Param GetParamByIndex(int i) const { return this->pairs[i].param; }
    const nShaderArg& GetArgByIndex(int i) const { return this->pairs[i].arg; }

private:
    struct Pair
    {
        nShaderState::Param param = nShaderState::InvalidParameter;
        nShaderArg arg;
    };
    signed char index[nShaderState::NumParameters];
    std::vector<Pair> pairs;
};
#endif
