//------------------------------------------------------------------------------
//  nsignalbindingset.cc
//------------------------------------------------------------------------------
#include "kernel/nsignalbindingset.h"
#include "kernel/nsignalbinding.h"

nSignalBindingSet::~nSignalBindingSet()
{
    nNode* n;
    while ((n = this->bindings.GetHead()) != nullptr)
    {
        // the binding's destructor unlinks it
        n_delete(static_cast<nSignalBinding*>(n->GetData()));
    }
}

/*
 * AddBinding --
 *     Links the binding before the first binding whose priority is equal
 *     or higher, so bindings run in ascending priority order and a new
 *     binding runs before older ones of the same priority.
 */
void nSignalBindingSet::AddBinding(nSignalBinding* binding)
{
    n_assert(binding);
    for (nSignalBinding* cur = this->GetHead(); cur; cur = cur->GetSucc())
    {
        if (cur->GetPriority() >= binding->GetPriority())
        {
            binding->GetNode()->InsertBefore(cur->GetNode());
            return;
        }
    }
    this->bindings.AddTail(binding->GetNode());
}

nSignalBinding* nSignalBindingSet::GetHead() const
{
    const nNode* head = this->bindings.GetHead();
    return head ? static_cast<nSignalBinding*>(head->GetData()) : nullptr;
}
