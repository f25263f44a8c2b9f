#ifndef N_SIGNALBINDINGSET_H
#define N_SIGNALBINDINGSET_H
//------------------------------------------------------------------------------
/**
    @class nSignalBindingSet
    @ingroup Kernel

    The bindings of one signal of one object, in ascending priority order.
    The set owns its bindings.
*/
#include "util/nlist.h"

class nSignalBinding;

class nSignalBindingSet
{
public:
    nSignalBindingSet() = default;
    /// deletes the bindings
    ~nSignalBindingSet();
    nSignalBindingSet(const nSignalBindingSet&) = delete;
    nSignalBindingSet& operator=(const nSignalBindingSet&) = delete;

    /// link a binding before the first one of equal or higher priority
    void AddBinding(nSignalBinding* binding);
    /// the binding of lowest priority, 0 when the set is empty
    nSignalBinding* GetHead() const;

private:
    nList bindings;
};
#endif
