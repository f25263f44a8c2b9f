//------------------------------------------------------------------------------
//  ninputstate.cc
//------------------------------------------------------------------------------
#include "input/ninputstate.h"
#include "kernel/ntypes.h"

/*
 * Release --
 *     Results: none.
 *     Side effects: drops one reference; the last one unlinks the state
 *     from its list and deletes it.
 */
void nInputState::Release()
{
    n_assert(this->refCount > 0);
    if (--this->refCount == 0)
    {
        if (this->IsLinked()) this->Remove();
        n_delete(this);
    }
}

/*
 * AddSlider --
 *     Results: none.
 *     Side effects: the slider grows by s and is clamped to 0..1 (a NaN
 *     sum becomes 0, so the slider never leaves its range).
 */
void nInputState::AddSlider(float s)
{
    const float sum = this->slider + s;
    if (sum >= 1.0f) this->slider = 1.0f;
    else if (sum > 0.0f) this->slider = sum;
    else this->slider = 0.0f;
}
