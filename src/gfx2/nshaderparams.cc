//------------------------------------------------------------------------------
//  nshaderparams.cc
//------------------------------------------------------------------------------
#include "gfx2/nshaderparams.h"

/*
 * Clear --
 *     Side effects: every parameter becomes absent.
 */
void nShaderParams::Clear()
{
    memset(this->index, -1, sizeof(this->index));
    this->pairs.clear();
}

/*
 * SetArg --
 *     Side effects: replaces the value of p, or appends p with the value.
 *     A parameter outside the table is a fatal assertion.
 */
void nShaderParams::SetArg(nShaderState::Param p, const nShaderArg& arg)
{
    n_assert(p < nShaderState::NumParameters);
    n_assert(p >= 0);
    if (-1 == this->index[p])
    {
        this->index[p] = (signed char)this->pairs.size();
        this->pairs.push_back(Pair{p, arg});
    }
    else
    {
        this->pairs[this->index[p]].arg = arg;
    }
}

/*
 * GetArg --
 *     Results: the value of p, which must be present.
 */
const nShaderArg& nShaderParams::GetArg(nShaderState::Param p) const
{
    n_assert(p < nShaderState::NumParameters);
    n_assert(-1 != this->index[p]);
    return this->pairs[this->index[p]].arg;
}
