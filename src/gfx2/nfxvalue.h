#ifndef N_FXVALUE_H
#define N_FXVALUE_H
//------------------------------------------------------------------------------
/**
    @class nFxValue
    @ingroup Gfx2

    The current value of one effect parameter: numbers for bools, ints
    and floats (as many as the type and array size hold), or a texture.
    A shared parameter's value lives in the effect pool and is the same
    object for every effect that declares it. 'version' grows with every
    change, so that each program uploads only what changed since it last
    looked. A texture is watched, not owned: one that dies (its pool
    deleted under it) leaves the value empty rather than dangling.
*/
#include "gfx2/nfxeffect.h"
#include "gfx2/ntexture2.h"
#include "kernel/nref.h"

#include <vector>

class nFxValue
{
public:
    /// a value of the parameter's type holding its default (zeros where none is written)
    explicit nFxValue(const nFxEffect::Param& p);

    /// a float as an int, saturated (NaN as 0)
    static int ToInt(float f)
    {
        return (f != f) ? 0 : (f >= 2147483647.0f ? 2147483647 : (f <= -2147483648.0f ? int(-2147483647 - 1) : int(f)));
    }

    /// whether another declaration has the same type and array size
    bool SameType(const nFxEffect::Param& p) const { return p.kind == this->kind && p.arraySize == this->arraySize; }

    nFxEffect::Kind kind;
    int arraySize;
    /// the numbers of float kinds, and of bools and ints
    std::vector<float> floats;
    std::vector<int> ints;
    nRef<nTexture2> texture;
    unsigned int version = 1;
};
#endif
