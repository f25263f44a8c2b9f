//------------------------------------------------------------------------------
//  nenv.cc
//------------------------------------------------------------------------------
#include "kernel/nenv.h"

/*
 * SetO --
 *     Results: none.
 *     Side effects: the value's type becomes Object (asserted as for every
 *     setter) and the object is held by an nRef, which the object clears
 *     when it dies.
 */
void nEnv::SetO(nObject* o)
{
    this->value.SetO(nullptr);
    this->objRef.set(o);
}

/*
 * GetO --
 *     Results: the object, or 0 when none was set or it has died. A value
 *     of another type is a fatal assertion.
 */
nObject* nEnv::GetO() const
{
    this->value.GetO();  // asserts the type as every getter does
    return this->objRef.get_unsafe();
}

const char* nEnv::TypeName(nArg::Type type)
{
    switch (type)
    {
        case nArg::Int: return "int";
        case nArg::Float: return "float";
        case nArg::String: return "string";
        case nArg::Bool: return "bool";
        case nArg::Object: return "object";
        case nArg::Float4: return "float4";
        default: return "void";
    }
}
