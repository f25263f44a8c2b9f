//------------------------------------------------------------------------------
//  nvariable.cc
//------------------------------------------------------------------------------
#include "variable/nvariable.h"
#include "mathlib/matrix44.h"

nVariable::nVariable() :
    handle(InvalidHandle),
    type(Void),
    intVal(0),
    floatVal(0.0f),
    float4Val{0.0f, 0.0f, 0.0f, 0.0f},
    stringVal(nullptr),
    objectVal(nullptr),
    matrixVal(nullptr),
    pointerVal(nullptr)
{
}

nVariable::nVariable(int h, int val) : nVariable()
{
    this->handle = h;
    this->SetInt(val);
}

nVariable::nVariable(int h, float val) : nVariable()
{
    this->handle = h;
    this->SetFloat(val);
}

nVariable::nVariable(int h, const nFloat4& val) : nVariable()
{
    this->handle = h;
    this->SetFloat4(val);
}

nVariable::nVariable(int h, const char* val) : nVariable()
{
    this->handle = h;
    this->SetString(val);
}

nVariable::nVariable(int h, nObject* val) : nVariable()
{
    this->handle = h;
    this->SetObj(val);
}

nVariable::nVariable(int h, const matrix44& val) : nVariable()
{
    this->handle = h;
    this->SetMatrix(val);
}

nVariable::nVariable(int h, void* val) : nVariable()
{
    this->handle = h;
    this->SetPointer(val);
}

nVariable::nVariable(int h, const vector4& val) : nVariable()
{
    this->handle = h;
    this->SetVector4(val);
}

/*
 * nVariable --
 *     Copy constructor: handle, type and an independent copy of the value.
 */
nVariable::nVariable(const nVariable& rhs) : nVariable()
{
    this->Copy(rhs);
}

nVariable::~nVariable()
{
    this->Clear();
}

/*
 * operator= --
 *     Results: this variable.
 *     Side effects: the old value is freed first, so a variable holding a
 *     string or matrix can be overwritten; copying an empty variable gives
 *     an empty one with the source's handle.
 */
nVariable& nVariable::operator=(const nVariable& rhs)
{
    if (&rhs != this)
    {
        this->Clear();
        this->Copy(rhs);
    }
    return *this;
}

/*
 * Copy --
 *     Results: none.
 *     Side effects: duplicates rhs into this variable, which holds no
 *     owned value; strings and matrices are copied, pointers shared.
 */
void nVariable::Copy(const nVariable& rhs)
{
    n_assert(0 == this->stringVal);
    n_assert(0 == this->matrixVal);
    this->handle = rhs.handle;
    this->type = rhs.type;
    switch (rhs.type)
    {
        case Void: break;
        case Int: this->intVal = rhs.intVal; break;
        case Float: this->floatVal = rhs.floatVal; break;
        case Float4: this->float4Val = rhs.float4Val; break;
        case String: this->stringVal = rhs.stringVal ? n_strdup(rhs.stringVal) : nullptr; break;
        case Object: this->objectVal = rhs.objectVal; break;
        case Matrix: this->matrixVal = rhs.matrixVal ? n_new(matrix44(*rhs.matrixVal)) : nullptr; break;
        case Handle: this->pointerVal = rhs.pointerVal; break;
        case Vector4: this->vector4Val = rhs.vector4Val; break;
        default: n_assert(false); break;
    }
}

/*
 * Clear --
 *     Results: none.
 *     Side effects: frees an owned string or matrix; the variable becomes
 *     handle -1 with no value.
 */
void nVariable::Clear()
{
    if (this->stringVal)
    {
        n_free(this->stringVal);
        this->stringVal = nullptr;
    }
    if (this->matrixVal)
    {
        n_delete(this->matrixVal);
        this->matrixVal = nullptr;
    }
    this->handle = InvalidHandle;
    this->type = Void;
}

void nVariable::Adopt(Type t)
{
    if (Void == this->type) this->type = t;
}

void nVariable::SetInt(int val)
{
    this->Adopt(Int);
    n_assert(Int == this->type);
    this->intVal = val;
}

int nVariable::GetInt() const
{
    n_assert(Int == this->type);
    return this->intVal;
}

void nVariable::SetFloat(float val)
{
    this->Adopt(Float);
    n_assert(Float == this->type);
    this->floatVal = val;
}

float nVariable::GetFloat() const
{
    n_assert(Float == this->type);
    return this->floatVal;
}

void nVariable::SetFloat4(const nFloat4& val)
{
    this->Adopt(Float4);
    n_assert(Float4 == this->type);
    this->float4Val = val;
}

const nFloat4& nVariable::GetFloat4() const
{
    n_assert(Float4 == this->type);
    return this->float4Val;
}

/*
 * SetString --
 *     Side effects: replaces the owned text by a copy of val (asserted);
 *     val may be the variable's own text.
 */
void nVariable::SetString(const char* val)
{
    n_assert(val);
    this->Adopt(String);
    n_assert(String == this->type);
    char* old = this->stringVal;
    this->stringVal = n_strdup(val);
    if (old) n_free(old);
}

const char* nVariable::GetString() const
{
    n_assert(String == this->type);
    return this->stringVal;
}

void nVariable::SetObj(nObject* val)
{
    this->Adopt(Object);
    n_assert(Object == this->type);
    this->objectVal = val;
}

nObject* nVariable::GetObj() const
{
    n_assert(Object == this->type);
    return this->objectVal;
}

void nVariable::SetMatrix(const matrix44& val)
{
    this->Adopt(Matrix);
    n_assert(Matrix == this->type);
    if (this->matrixVal) *this->matrixVal = val;
    else this->matrixVal = n_new(matrix44(val));
}

const matrix44& nVariable::GetMatrix() const
{
    n_assert(Matrix == this->type);
    n_assert(this->matrixVal);
    return *this->matrixVal;
}

void nVariable::SetPointer(void* val)
{
    this->Adopt(Handle);
    n_assert(Handle == this->type);
    this->pointerVal = val;
}

void* nVariable::GetPointer() const
{
    n_assert(Handle == this->type);
    return this->pointerVal;
}

void nVariable::SetVector4(const vector4& val)
{
    this->Adopt(Vector4);
    n_assert(Vector4 == this->type);
    this->vector4Val = val;
}

const vector4& nVariable::GetVector4() const
{
    n_assert(Vector4 == this->type);
    return this->vector4Val;
}
