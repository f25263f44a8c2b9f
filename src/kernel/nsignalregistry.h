#ifndef N_SIGNALREGISTRY_H
#define N_SIGNALREGISTRY_H
//------------------------------------------------------------------------------
/**
    @class nSignalRegistry
    @ingroup Kernel

    The signals a class declares. Embedded in every nClass.
*/
#include "kernel/ntypes.h"

class nHashList;

class nSignalRegistry
{
public:
    nSignalRegistry() = default;
    ~nSignalRegistry() = default;
    nSignalRegistry(const nSignalRegistry&) = delete;
    nSignalRegistry& operator=(const nSignalRegistry&) = delete;

    int GetNumSignals() const { return this->numSignals; }

protected:
    nHashList* signalList = nullptr;
    int numSignals = 0;
};
#endif
