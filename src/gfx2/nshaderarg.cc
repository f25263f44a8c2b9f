//------------------------------------------------------------------------------
//  nshaderarg.cc
//------------------------------------------------------------------------------
#include "gfx2/nshaderarg.h"

#include <cstring>

nShaderArg::nShaderArg(const matrix44& val) : nShaderArg(nShaderState::Matrix44)
{
    static_assert(sizeof(matrix44) == sizeof(this->value.m), "a matrix is 16 floats");
    memcpy(this->value.m, &val, sizeof(this->value.m));
}

void nShaderArg::Clear()
{
    this->type = nShaderState::Void;
    memset(&this->value, 0, sizeof(this->value));
}

matrix44 nShaderArg::GetMatrix44() const
{
    matrix44 m;
    memcpy(&m, this->value.m, sizeof(this->value.m));
    return m;
}

/*
 * operator== --
 *     Results: false for different types; true for two Voids; else whether
 *     the values are equal, floats compared exactly.
 *     Side effects: a type outside the table is a fatal error.
 */
bool nShaderArg::operator==(const nShaderArg& rhs) const
{
    if (this->type != rhs.type) return false;
    switch (this->type)
    {
        case nShaderState::Void: return true;
        case nShaderState::Bool: return this->value.b == rhs.value.b;
        case nShaderState::Int: return this->value.i == rhs.value.i;
        case nShaderState::Float: return this->value.f == rhs.value.f;
        case nShaderState::Float4:
            return (this->value.f4.x == rhs.value.f4.x) && (this->value.f4.y == rhs.value.f4.y) &&
                   (this->value.f4.z == rhs.value.f4.z) && (this->value.f4.w == rhs.value.f4.w);
        case nShaderState::Matrix44:
            for (int i = 0; i < 16; i++)
            {
                if (this->value.m[i] != rhs.value.m[i]) return false;
            }
            return true;
        case nShaderState::Texture: return this->value.tex == rhs.value.tex;
        default: n_error("nShaderArg::operator==(): Invalid nShaderArg type!");
    }
}
