//------------------------------------------------------------------------------
//  nrefcounted.cc
//------------------------------------------------------------------------------
#include "kernel/nrefcounted.h"

/*
 * ~nRefCounted --
 *     Only Release may delete the object, so it dies with a count of 0.
 */
nRefCounted::~nRefCounted()
{
    n_assert(0 == this->refCount);
}

/*
 * Release --
 *     Results: none. Side effects: deletes the object when this was its
 *     last owner, else drops one count.
 */
void nRefCounted::Release()
{
    n_assert(this->refCount >= 0);
    if (this->refCount == 0)
    {
        n_delete(this);
    }
    else
    {
        --this->refCount;
    }
}
