#ifndef N_THREADVARIABLE_H
#define N_THREADVARIABLE_H
//------------------------------------------------------------------------------
/**
    @class nThreadVariable
    @ingroup Util

    One value shared between threads; every read and write holds the
    variable's own mutex, so a reader never sees a half-written value.
*/
#include "kernel/ntypes.h"
#include "kernel/nmutex.h"

template<class TYPE> class nThreadVariable
{
public:
    /// a value-initialised variable
    nThreadVariable();
    /// a variable holding a copy of val
    explicit nThreadVariable(const TYPE& val);
    nThreadVariable(const nThreadVariable<TYPE>&) = delete;
    nThreadVariable<TYPE>& operator=(const nThreadVariable<TYPE>&) = delete;

    /// replace the value
    void Set(const TYPE& val);
    /// a copy of the value
    TYPE Get() const;

private:
    mutable nMutex mutex;
    TYPE variable;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
template<class TYPE>
nThreadVariable<TYPE>::nThreadVariable() :
    variable()
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
template<class TYPE>
nThreadVariable<TYPE>::nThreadVariable(const TYPE& val) :
    variable(val)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: takes the mutex, stores val, releases the mutex.
*/
template<class TYPE>
void
nThreadVariable<TYPE>::Set(const TYPE& val)
{
    this->mutex.Lock();
    this->variable = val;
    this->mutex.Unlock();
}

//------------------------------------------------------------------------------
/**
    Results: a copy of the value.
    Side effects: takes and releases the mutex around the read.
*/
template<class TYPE>
TYPE
nThreadVariable<TYPE>::Get() const
{
    this->mutex.Lock();
    const TYPE val = this->variable;
    this->mutex.Unlock();
    return val;
}

//------------------------------------------------------------------------------
#endif
