//------------------------------------------------------------------------------
//  nreferenced.cc
//------------------------------------------------------------------------------
#include "kernel/nreferenced.h"

nReferenced::~nReferenced()
{
    n_assert(this->refCount == 0);
    this->InvalidateAllRefs();
}

bool nReferenced::Release()
{
    n_assert(this->refCount > 0);
    if (--this->refCount == 0)
    {
        delete this;
        return true;
    }
    return false;
}

void nReferenced::AddObjectRef(nRefBase* ref)
{
    this->refList.AddTail(ref);
}

void nReferenced::RemoveObjectRef(nRefBase* ref)
{
    ref->Remove();
}

/*
 * InvalidateAllRefs --
 *     Unlinks every holder and clears its target, so no holder keeps a
 *     pointer to the dying object.
 */
void nReferenced::InvalidateAllRefs()
{
    nNode* node;
    while ((node = this->refList.RemHead()) != nullptr)
    {
        static_cast<nRefBase*>(node)->targetObject = nullptr;
    }
}
