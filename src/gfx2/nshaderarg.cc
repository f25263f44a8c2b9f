//------------------------------------------------------------------------------
//  nshaderarg.cc
//------------------------------------------------------------------------------
#include "gfx2/nshaderarg.h"

/*
 * operator== --
 *     Results: whether both hold the same type and value: floats compare
 *     exactly, textures by pointer and serial. A type outside the table is
 *     a fatal error.
 */
bool nShaderArg::operator==(const nShaderArg& rhs) const
{
    if (this->type != rhs.type)
    {
        return false;
    }
    switch (this->type)
    {
        case nShaderState::Void: return true;
        case nShaderState::Bool: return this->v.b == rhs.v.b;
        case nShaderState::Int: return this->v.i == rhs.v.i;
        case nShaderState::Float: return this->v.f[0] == rhs.v.f[0];
        case nShaderState::Float4:
            return this->v.f[0] == rhs.v.f[0] && this->v.f[1] == rhs.v.f[1] && this->v.f[2] == rhs.v.f[2] &&
                   this->v.f[3] == rhs.v.f[3];
        case nShaderState::Matrix44:
            for (int i = 0; i < 16; i++)
            {
                if (this->v.f[i] != rhs.v.f[i])
                {
                    return false;
                }
            }
            return true;
        case nShaderState::Texture: return this->v.t == rhs.v.t && this->serial == rhs.serial;
        default: n_error("nShaderArg::operator==(): Invalid nShaderArg type!");
    }
}
