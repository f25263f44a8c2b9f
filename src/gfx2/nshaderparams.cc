//------------------------------------------------------------------------------
//  nshaderparams.cc
//------------------------------------------------------------------------------
#include "gfx2/nshaderparams.h"

#include <cstring>

/*
 * SetArg --
 *     Results: none.
 *     Side effects: replaces the parameter's value, or appends it and
 *     records its place.
 */
void nShaderParams::SetArg(nShaderState::Param p, const nShaderArg& arg)
{
    n_assert((p >= 0) && (p < nShaderState::NumParameters));
    const int i = this->index[p];
    if (-1 == i)
    {
        ParamAndArg pa;
        pa.param = p;
        pa.arg = arg;
        this->params.Append(pa);
        this->index[p] = (signed char)(this->params.Size() - 1);
    }
    else
    {
        this->params[i].arg = arg;
    }
}

bool nShaderParams::IsParameterValid(nShaderState::Param p) const
{
    n_assert((p >= 0) && (p < nShaderState::NumParameters));
    return -1 != this->index[p];
}

const nShaderArg& nShaderParams::GetArg(nShaderState::Param p) const
{
    n_assert(this->IsParameterValid(p));
    return this->params[this->index[p]].arg;
}

void nShaderParams::Clear()
{
    memset(this->index, -1, sizeof(this->index));
    this->params.Clear();
}
