#ifndef N_SIGNALREGISTRY_H
#define N_SIGNALREGISTRY_H
//------------------------------------------------------------------------------
/**
    @class nSignalRegistry
    @ingroup Kernel

    The signals a class declares. Embedded in every nClass; lookups go on
    into the superclass's registry.
*/
#include "kernel/ntypes.h"

class nHashList;
class nClass;
class nSignal;

class nSignalRegistry
{
public:
    /// the registry of a class
    explicit nSignalRegistry(nClass* owner);
    /// deletes the signals
    ~nSignalRegistry();
    nSignalRegistry(const nSignalRegistry&) = delete;
    nSignalRegistry& operator=(const nSignalRegistry&) = delete;

    /// make the signal list with numSignals buckets
    void BeginSignals(int numSignals);
    void EndSignals() {}
    /// declare a signal; false for an invalid prototype or a name or id
    /// the class chain already has
    bool AddSignal(const char* proto_def, nFourCC id);
    /// add a signal object; false when its name or id exists in the chain
    bool AddSignal(nSignal* signal);
    /// a signal of this class or a superclass by (lower-case) name, or 0
    nSignal* FindSignalByName(const char* name) const;
    /// a signal of this class or a superclass by id, or 0
    nSignal* FindSignalById(nFourCC id) const;

    int GetNumSignals() const { return this->numSignals; }
    /// the class's own signals in declaration order, 0 before the first
    nHashList* GetSignalList() const { return this->signalList; }

private:
    /// the registry of the superclass, 0 for the root class
    const nSignalRegistry* SuperRegistry() const;
    /// make the list when missing
    void MakeList();

    nClass* ownerClass;
    nHashList* signalList = nullptr;
    int numSignals = 0;
};
#endif
