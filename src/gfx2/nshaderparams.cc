//------------------------------------------------------------------------------
//  nshaderparams.cc
//------------------------------------------------------------------------------
#include "gfx2/nshaderparams.h"

#include <cstring>

nShaderParams::nShaderParams() :
    paramArray(0, 8)
{
    memset(this->paramIndex, -1, sizeof(this->paramIndex));
}

/*
 * SetArg --
 *     Results: none.
 *     Side effects: replaces the parameter's argument, or appends a pair
 *     and records its index.
 */
void nShaderParams::SetArg(nShaderState::Param p, const nShaderArg& arg)
{
    n_assert((p >= 0) && (p < nShaderState::NumParameters));
    const int index = this->paramIndex[p];
    if (index >= 0)
    {
        this->paramArray[index].arg = arg;
        return;
    }
    ParamAndArg pair;
    pair.param = p;
    pair.arg = arg;
    this->paramIndex[p] = (signed char)this->paramArray.Size();
    this->paramArray.Append(pair);
}

/*
 * IsParameterValid --
 *     Results: true when the parameter holds an argument. Side effects: none.
 */
bool nShaderParams::IsParameterValid(nShaderState::Param p) const
{
    return (p >= 0) && (p < nShaderState::NumParameters) && (this->paramIndex[p] >= 0);
}

/*
 * GetArg --
 *     Results: the parameter's argument. Side effects: none.
 */
const nShaderArg& nShaderParams::GetArg(nShaderState::Param p) const
{
    n_assert(this->IsParameterValid(p));
    return this->paramArray[this->paramIndex[p]].arg;
}

/*
 * Clear --
 *     Results: none. Side effects: no parameter holds an argument.
 */
void nShaderParams::Clear()
{
    memset(this->paramIndex, -1, sizeof(this->paramIndex));
    this->paramArray.Clear();
}
