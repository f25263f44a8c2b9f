//------------------------------------------------------------------------------
//  nfxvalue.cc
//------------------------------------------------------------------------------
#include "gfx2/nfxvalue.h"

/*
 * nFxValue --
 *     Side effects: sizes the value for the parameter's type and array
 *     size and copies its default in.
 */
nFxValue::nFxValue(const nFxEffect::Param& p) : kind(p.kind), arraySize(p.arraySize)
{
    const size_t n = size_t(nFxEffect::Components(p.kind)) * size_t(p.arraySize > 0 ? p.arraySize : 1);
    if (nFxEffect::KBool == p.kind || nFxEffect::KInt == p.kind)
    {
        this->ints.resize(n, 0);
        for (size_t i = 0; i < p.defaults.size() && i < n; i++)
        {
            this->ints[i] = ToInt(p.defaults[i]);
        }
    }
    else if (nFxEffect::KTexture != p.kind)
    {
        this->floats.resize(n, 0.0f);
        for (size_t i = 0; i < p.defaults.size() && i < n; i++)
        {
            this->floats[i] = p.defaults[i];
        }
    }
}
