//------------------------------------------------------------------------------
//  narg.cc
//------------------------------------------------------------------------------
#include "kernel/narg.h"
#include "mathlib/matrix.h"

#include <cstring>

nArg::nArg(const nArg& rhs)
{
    *this = rhs;
}

nArg::~nArg()
{
    this->Delete();
}

/*
 * Delete --
 *     Frees an owned string, list or matrix; the type becomes Void.
 */
void nArg::Delete()
{
    switch (this->type)
    {
        case String:
            if (this->s)
            {
                n_free(this->s);
                this->s = nullptr;
            }
            break;
        case List:
            if (this->l.array)
            {
                n_delete_array(this->l.array);
                this->l.array = nullptr;
                this->l.len = 0;
            }
            break;
        case Matrix44:
            n_assert(this->m44);
            n_delete(this->m44);
            this->m44 = nullptr;
            break;
        default:
            break;
    }
    this->type = Void;
}

void nArg::Reset(Type t)
{
    this->Delete();
    this->type = t;
    switch (t)
    {
        case Int: this->i = 0; break;
        case Float: this->f = 0.0f; break;
        case Bool: this->b = false; break;
        case String: this->s = nullptr; break;
        case Object: this->o = nullptr; break;
        case List: this->l.array = nullptr; this->l.len = 0; break;
        case Float4: this->f4 = nFloat4{0.0f, 0.0f, 0.0f, 0.0f}; break;
        case Matrix44: this->m44 = n_new(matrix44); break;
        default: break;
    }
}

/*
 * operator= --
 *     Deep copy: strings are duplicated, lists copied element by element,
 *     matrices copied into this argument's own matrix.
 */
nArg& nArg::operator=(const nArg& rhs)
{
    if (this == &rhs) return *this;
    if (this->type != rhs.type)
    {
        this->Delete();
        if (rhs.type == Matrix44) this->m44 = nullptr;
    }
    switch (rhs.type)
    {
        case Void: break;
        case Int: this->i = rhs.i; break;
        case Float: this->f = rhs.f; break;
        case Bool: this->b = rhs.b; break;
        case Object: this->o = rhs.o; break;
        case Float4: this->f4 = rhs.f4; break;
        case String:
            if (this->type == String && this->s) n_free(this->s);
            this->s = rhs.s ? n_strdup(rhs.s) : nullptr;
            break;
        case List:
        {
            if (this->type == List && this->l.array) n_delete_array(this->l.array);
            this->l.array = nullptr;
            this->l.len = rhs.l.len;
            if (rhs.l.len > 0)
            {
                this->l.array = n_new_array(nArg, rhs.l.len);
                for (int idx = 0; idx < rhs.l.len; idx++)
                {
                    this->l.array[idx] = rhs.l.array[idx];
                }
            }
            break;
        }
        case Matrix44:
            n_assert(rhs.m44);
            if (this->type == Matrix44 && this->m44) *this->m44 = *rhs.m44;
            else this->m44 = n_new(matrix44(*rhs.m44));
            break;
    }
    this->type = rhs.type;
    return *this;
}

void nArg::SetI(int _i)
{
    n_assert((Void == this->type) || (Int == this->type));
    this->type = Int;
    this->i = _i;
}

void nArg::SetF(float _f)
{
    n_assert((Void == this->type) || (Float == this->type));
    this->type = Float;
    this->f = _f;
}

void nArg::SetB(bool _b)
{
    n_assert((Void == this->type) || (Bool == this->type));
    this->type = Bool;
    this->b = _b;
}

void nArg::SetS(const char* _s)
{
    n_assert((Void == this->type) || (String == this->type));
    if (this->type == String && this->s) n_free(this->s);
    this->type = String;
    this->s = _s ? n_strdup(_s) : nullptr;
}

void nArg::SetO(void* _o)
{
    n_assert((Void == this->type) || (Object == this->type));
    this->type = Object;
    this->o = _o;
}

void nArg::SetL(nArg* _l, int len)
{
    n_assert((Void == this->type) || (List == this->type));
    if (this->type == List && this->l.array && this->l.array != _l) n_delete_array(this->l.array);
    this->type = List;
    this->l.array = _l;
    this->l.len = len;
}

void nArg::SetF4(const nFloat4& _f4)
{
    n_assert((Void == this->type) || (Float4 == this->type));
    this->type = Float4;
    this->f4 = _f4;
}

void nArg::SetM44(const matrix44& m)
{
    n_assert((Void == this->type) || (Matrix44 == this->type));
    if (this->type == Matrix44 && this->m44) *this->m44 = m;
    else this->m44 = n_new(matrix44(m));
    this->type = Matrix44;
}

int nArg::GetI() const
{
    n_assert(Int == this->type);
    return this->i;
}

float nArg::GetF() const
{
    n_assert(Float == this->type);
    return this->f;
}

bool nArg::GetB() const
{
    n_assert(Bool == this->type);
    return this->b;
}

const char* nArg::GetS() const
{
    n_assert(String == this->type);
    return this->s;
}

void* nArg::GetO() const
{
    n_assert(Object == this->type);
    return this->o;
}

int nArg::GetL(nArg*& _l) const
{
    n_assert(List == this->type);
    _l = this->l.array;
    return this->l.len;
}

const nFloat4& nArg::GetF4() const
{
    n_assert(Float4 == this->type);
    return this->f4;
}

const matrix44& nArg::GetM44() const
{
    n_assert(Matrix44 == this->type);
    n_assert(this->m44);
    return *this->m44;
}

/*
 * SetFromVarArgs --
 *     Fills the value from plain function arguments (signal emission):
 *     ints take an int (what a caller passes for an int on every ABI; a
 *     pointer-sized read would take undefined upper bits on a 64-bit one),
 *     objects a pointer, floats a double, strings a text (copied), bools
 *     an int, float4 and matrices a pointer to their floats. Lists cannot
 *     be passed this way.
 */
void nArg::SetFromVarArgs(va_list* args)
{
    switch (this->type)
    {
        case Int: this->i = va_arg(*args, int); break;
        case Object: this->o = va_arg(*args, void*); break;
        case Float: this->f = (float)va_arg(*args, double); break;
        case String:
        {
            const char* str = va_arg(*args, const char*);
            if (this->s) n_free(this->s);
            this->s = str ? n_strdup(str) : nullptr;
            break;
        }
        case Bool: this->b = va_arg(*args, int) != 0; break;
        case Float4:
        {
            const float* fp = va_arg(*args, const float*);
            n_assert(fp);
            this->f4 = nFloat4{fp[0], fp[1], fp[2], fp[3]};
            break;
        }
        case Matrix44:
        {
            const float* mp = va_arg(*args, const float*);
            n_assert(mp);
            if (!this->m44) this->m44 = n_new(matrix44);
            memcpy(&this->m44->m[0][0], mp, 16 * sizeof(float));
            break;
        }
        default:
            n_assert(0);
            break;
    }
}

char nArg::TypeToChar(Type t)
{
    switch (t)
    {
        case Int: return 'i';
        case Float: return 'f';
        case String: return 's';
        case Bool: return 'b';
        case Object: return 'o';
        case List: return 'l';
        default: return 0;
    }
}

nArg::Type nArg::CharToType(char c)
{
    switch (c)
    {
        case 'i': return Int;
        case 'f': return Float;
        case 's': return String;
        case 'b': return Bool;
        case 'o': return Object;
        case 'l': return List;
        default: return Void;
    }
}
