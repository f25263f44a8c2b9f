#ifndef N_SHADERARG_H
#define N_SHADERARG_H
//------------------------------------------------------------------------------
/**
    @class nShaderArg
    @ingroup Gfx2

    A typed shader parameter value: a bool, an int, a float, four floats,
    a matrix or a texture (a plain pointer, no reference held).
*/
#include "gfx2/nshaderstate.h"
#include "kernel/narg.h"
#include "mathlib/matrix44.h"

class nTexture2;

class nShaderArg
{
public:
    /// type Void, value zero
    nShaderArg() { this->Clear(); }
    /// an empty argument of a type: its value is zero
    explicit nShaderArg(nShaderState::Type t)
    {
        this->Clear();
        this->type = t;
    }
    explicit nShaderArg(bool val) : nShaderArg(nShaderState::Bool) { this->value.b = val; }
    explicit nShaderArg(int val) : nShaderArg(nShaderState::Int) { this->value.i = val; }
    explicit nShaderArg(float val) : nShaderArg(nShaderState::Float) { this->value.f = val; }
    explicit nShaderArg(const nFloat4& val) : nShaderArg(nShaderState::Float4) { this->value.f4 = val; }
    explicit nShaderArg(const matrix44& val);
    explicit nShaderArg(nTexture2* val) : nShaderArg(nShaderState::Texture) { this->value.tex = val; }

    /// type Void, value zero
    void Clear();
    nShaderState::Type GetType() const { return this->type; }
    bool GetBool() const { return this->value.b; }
    int GetInt() const { return this->value.i; }
    float GetFloat() const { return this->value.f; }
    const nFloat4& GetFloat4() const { return this->value.f4; }
    matrix44 GetMatrix44() const;
    nTexture2* GetTexture() const { return this->value.tex; }

    /// same type and same value (floats compared exactly); fatal for a corrupt type
    bool operator==(const nShaderArg& rhs) const;

private:
    nShaderState::Type type;
    union
    {
        bool b;
        int i;
        float f;
        nFloat4 f4;
        float m[16];
        nTexture2* tex;
        char raw[64];
    } value;
};
#endif
