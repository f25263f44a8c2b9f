#ifndef N_VARIABLECONTEXT_H
#define N_VARIABLECONTEXT_H
//------------------------------------------------------------------------------
/**
    @class nVariableContext
    @ingroup Variable

    The render variables of one render context, searched by handle. By
    convention it holds at most one variable per handle. Contexts are
    small, so a linear search is the fastest lookup.
*/
#include "variable/nvariable.h"
#include "util/narray.h"

class nVariableContext
{
public:
    nVariableContext();

    /// append a copy of the variable
    void AddVariable(const nVariable& var);
    /// the first variable with the handle, or 0
    nVariable* GetVariable(int handle) const;
    /// the number of variables, for a walk in the order they were added
    int GetNumVariables() const { return this->varArray.Size(); }
    /// the variable at an index of that order
    nVariable& GetVariableAt(int index) const { return this->varArray[index]; }

private:
    nArray<nVariable> varArray;
};

//------------------------------------------------------------------------------
inline nVariableContext::nVariableContext() :
    varArray(4, 4)
{
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: the context owns an independent copy.
*/
inline void nVariableContext::AddVariable(const nVariable& var)
{
    this->varArray.Append(var);
}

//------------------------------------------------------------------------------
/**
    Results: the first variable with the handle, or 0 when there is none.
    The pointer is good until the next AddVariable.
    Side effects: none.
*/
inline nVariable* nVariableContext::GetVariable(int handle) const
{
    for (nVariable& var : this->varArray)
    {
        if (var.GetHandle() == handle) return &var;
    }
    return nullptr;
}
#endif
