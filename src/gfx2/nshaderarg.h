#ifndef N_SHADERARG_H
#define N_SHADERARG_H
//------------------------------------------------------------------------------
/**
    @class nShaderArg
    @ingroup Gfx2

    One typed shader value: a bool, int, float, four floats, a matrix or a
    texture (not counted as a reference).
*/
#include "gfx2/nshaderstate.h"
#include "mathlib/matrix44.h"
#include "mathlib/vector4.h"

#include <cstring>

class nTexture2;

class nShaderArg
{
public:
    nShaderArg() { this->Clear(); }
    explicit nShaderArg(bool b) : nShaderArg() { this->SetBool(b); }
    explicit nShaderArg(int i) : nShaderArg() { this->SetInt(i); }
    explicit nShaderArg(float f) : nShaderArg() { this->SetFloat(f); }
    explicit nShaderArg(const vector4& v) : nShaderArg() { this->SetVector4(v); }
    explicit nShaderArg(const matrix44& m) : nShaderArg() { this->SetMatrix44(m); }
    explicit nShaderArg(nTexture2* t) : nShaderArg() { this->SetTexture(t); }

    /// type Void, value zero
    void Clear()
    {
        this->type = nShaderState::Void;
        memset(&this->v, 0, sizeof(this->v));
    }
    nShaderState::Type GetType() const { return this->type; }

    void SetBool(bool b) { this->Retype(nShaderState::Bool); this->v.b = b; }
    void SetInt(int i) { this->Retype(nShaderState::Int); this->v.i = i; }
    void SetFloat(float f) { this->Retype(nShaderState::Float); this->v.f = f; }
    void SetVector4(const vector4& f4)
    {
        this->Retype(nShaderState::Float4);
        this->v.f4[0] = f4.x;
        this->v.f4[1] = f4.y;
        this->v.f4[2] = f4.z;
        this->v.f4[3] = f4.w;
    }
    void SetMatrix44(const matrix44& m)
    {
        this->Retype(nShaderState::Matrix44);
        memcpy(this->v.m, &m, sizeof(this->v.m));
    }
    void SetTexture(nTexture2* t) { this->Retype(nShaderState::Texture); this->v.t = t; }

    bool GetBool() const { return this->v.b; }
    int GetInt() const { return this->v.i; }
    float GetFloat() const { return this->v.f; }
    vector4 GetVector4() const { return vector4(this->v.f4[0], this->v.f4[1], this->v.f4[2], this->v.f4[3]); }
    matrix44 GetMatrix44() const
    {
        matrix44 m;
        memcpy(&m, this->v.m, sizeof(this->v.m));
        return m;
    }
    nTexture2* GetTexture() const { return this->v.t; }

    /// equal type and value (floats compared exactly)
    bool operator==(const nShaderArg& rhs) const
    {
        if (this->type != rhs.type) return false;
        switch (this->type)
        {
            case nShaderState::Void: return true;
            case nShaderState::Bool: return this->v.b == rhs.v.b;
            case nShaderState::Int: return this->v.i == rhs.v.i;
            case nShaderState::Float: return this->v.f == rhs.v.f;
            case nShaderState::Float4: return 0 == memcmp(this->v.f4, rhs.v.f4, sizeof(this->v.f4));
            case nShaderState::Matrix44: return 0 == memcmp(this->v.m, rhs.v.m, sizeof(this->v.m));
            case nShaderState::Texture: return this->v.t == rhs.v.t;
            default: n_error("nShaderArg::operator==(): Invalid nShaderArg type!"); return false;
        }
    }

private:
    void Retype(nShaderState::Type t)
    {
        this->Clear();
        this->type = t;
    }

    nShaderState::Type type;
    union
    {
        bool b;
        int i;
        float f;
        float f4[4];
        float m[16];
        nTexture2* t;
    } v;
};
#endif
