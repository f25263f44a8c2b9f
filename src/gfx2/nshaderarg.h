#ifndef N_SHADERARG_H
#define N_SHADERARG_H
//------------------------------------------------------------------------------
/**
    @class nShaderArg
    @ingroup Gfx2

    One typed shader value. A texture is held by pointer without a
    reference, together with the texture's serial: a texture made again at
    the address of a freed one is a different value.
*/
#include "gfx2/nshaderstate.h"
#include "gfx2/ntexture2.h"
#include "kernel/narg.h"
#include "mathlib/matrix44.h"
#include "mathlib/vector4.h"

#include <cstring>

class nShaderArg
{
public:
    nShaderArg() { this->Clear(); }
    /// an empty (zero) value of the type
    explicit nShaderArg(nShaderState::Type t) { this->Clear(); this->type = t; }
    explicit nShaderArg(bool b) { this->SetBool(b); }
    explicit nShaderArg(int i) { this->SetInt(i); }
    explicit nShaderArg(float f) { this->SetFloat(f); }
    explicit nShaderArg(const nFloat4& f) { this->SetFloat4(f); }
    explicit nShaderArg(const vector4& f) { this->SetVector4(f); }
    explicit nShaderArg(const matrix44& m) { this->SetMatrix44(&m); }
    explicit nShaderArg(nTexture2* t) { this->SetTexture(t); }

    /// type Void, value zeroed
    void Clear()
    {
        this->type = nShaderState::Void;
        this->serial = 0;
        memset(&this->v, 0, sizeof(this->v));
    }
    nShaderState::Type GetType() const { return this->type; }

    void SetBool(bool b) { this->Clear(); this->type = nShaderState::Bool; this->v.b = b; }
    void SetInt(int i) { this->Clear(); this->type = nShaderState::Int; this->v.i = i; }
    void SetFloat(float f) { this->Clear(); this->type = nShaderState::Float; this->v.f[0] = f; }
    void SetFloat4(const nFloat4& f)
    {
        this->Clear();
        this->type = nShaderState::Float4;
        this->v.f[0] = f.x; this->v.f[1] = f.y; this->v.f[2] = f.z; this->v.f[3] = f.w;
    }
    void SetVector4(const vector4& f) { this->SetFloat4(nFloat4{f.x, f.y, f.z, f.w}); }
    void SetMatrix44(const matrix44* m)
    {
        this->Clear();
        this->type = nShaderState::Matrix44;
        memcpy(this->v.f, &m->m[0][0], sizeof(this->v.f));
    }
    void SetMatrix44(const matrix44& m) { this->SetMatrix44(&m); }
    void SetTexture(nTexture2* t)
    {
        this->Clear();
        this->type = nShaderState::Texture;
        this->v.t = t;
        this->serial = t ? t->GetSerial() : 0;
    }

    bool GetBool() const { return this->v.b; }
    int GetInt() const { return this->v.i; }
    float GetFloat() const { return this->v.f[0]; }
    nFloat4 GetFloat4() const { return nFloat4{this->v.f[0], this->v.f[1], this->v.f[2], this->v.f[3]}; }
    vector4 GetVector4() const { return vector4(this->v.f[0], this->v.f[1], this->v.f[2], this->v.f[3]); }
    matrix44 GetMatrix44() const
    {
        matrix44 m;
        memcpy(&m.m[0][0], this->v.f, sizeof(this->v.f));
        return m;
    }
    /// the sixteen floats of a matrix (or the four of a float4), row by row
    const float* GetFloats() const { return this->v.f; }
    nTexture2* GetTexture() const { return this->v.t; }

    /// equal types and values; an invalid type is a fatal error
    bool operator==(const nShaderArg& rhs) const;
    bool operator!=(const nShaderArg& rhs) const { return !(*this == rhs); }

private:
    nShaderState::Type type;
    unsigned int serial;
    union
    {
        bool b;
        int i;
        float f[16];
        nTexture2* t;
    } v;
};
#endif
