#ifndef N_SIGNALEMITTER_H
#define N_SIGNALEMITTER_H
//------------------------------------------------------------------------------
/**
    @class nSignalEmitter
    @ingroup Kernel

    The signal bindings of one object; the second base of every nObject.
    Binding sets are made on first use, one per bound signal id.

    A bound command may change the bindings of the object that is emitting
    (or release the object). While an emission walks a set, removals only
    flag the bindings; the outermost emission deletes them when it ends,
    and an emission whose object died stops at once.
*/
#include "kernel/ntypes.h"
#include "util/nkeyarray.h"

class nObject;
class nClass;
class nCmd;
class nCmdProto;
class nHashList;
class nSignal;
class nSignalBinding;
class nSignalBindingSet;

/// hands a filled command to the signal server's queue
typedef bool (*nPostCmdProc)(double relT, nObject* object, nCmd* cmd);

class nSignalEmitter
{
public:
    nSignalEmitter() = default;
    /// deletes every binding set
    virtual ~nSignalEmitter();
    nSignalEmitter(const nSignalEmitter&) = delete;
    nSignalEmitter& operator=(const nSignalEmitter&) = delete;

    /// the binding set of a signal, 0 when there is none
    nSignalBindingSet* FindBindingSet(nFourCC signalId);

    /// bind a binding to a signal of the class chain with the same signature
    bool BindSignal(nFourCC signalId, nSignalBinding* binding);
    /// bind a signal to a command of an object, by name, prototype or id
    bool BindSignal(const char* signalName, nObject* object, const char* cmdName, int priority);
    bool BindSignal(const char* signalName, nObject* object, nCmdProto* cmdProto, int priority);
    bool BindSignal(const char* signalName, nObject* object, nFourCC cmdId, int priority);

    /// remove the bindings of a signal to that command of that object
    bool UnbindSignal(const char* signalName, nObject* object, const char* cmdName);
    bool UnbindSignal(const char* signalName, nObject* object, nCmdProto* cmdProto);
    bool UnbindSignal(const char* signalName, nObject* object, nFourCC cmdId);
    /// remove (and delete) one binding of a signal
    bool UnbindSignal(const char* signalName, nSignalBinding* binding);
    /// remove the bindings of a signal, or of all signals, to an object
    bool UnbindTargetObject(const char* signalName, nObject* object);
    bool UnbindTargetObject(nFourCC signalId, nObject* object);
    bool UnbindTargetObject(nObject* object);
    /// remove every binding
    bool UnbindAllSignals();

    /// append a node per signal of the class chain (caller deletes them)
    void GetSignals(nHashList* signalList);
    /// queue the signal with the given inputs relT seconds from now
    bool PostSignal(double relT, nSignal* signal, ...);

    /// run the bindings of a signal with the signal command's inputs (the
    /// emission); always true
    bool RunBindings(nFourCC signalId, nCmd* cmd);

    /// the signal server's queue, set while a signal server exists
    static void SetPostCmdProc(nPostCmdProc proc) { postCmdProc = proc; }

private:
    /// an emission in progress on this object (kept on the stack)
    struct Emission
    {
        Emission* outer;
        bool emitterDied;
    };

    nObject* GetEmitterObject();
    nClass* GetEmitterClass();
    /// the set of a signal, made when missing
    nSignalBindingSet* GetOrMakeBindingSet(nFourCC signalId);
    /// bind a new binding to the named signal; delete it when that fails
    bool BindNew(const char* signalName, nSignalBinding* binding);
    /// delete a binding now, or flag it while an emission runs
    void RemoveBinding(nSignalBinding* binding);
    /// remove the bindings of a set that match; true when any was removed
    template <class PRED> bool RemoveBindings(nSignalBindingSet* bs, PRED matches);
    /// the set of a signal name, 0 when the signal or its set is missing
    nSignalBindingSet* FindBindingSetByName(const char* signalName);
    /// delete the bindings flagged during the emissions just ended
    void DeleteRemovedBindings();

    nKeyArray<nSignalBindingSet*>* bindingSets = nullptr;
    Emission* emissions = nullptr;
    bool removalsPending = false;

    static nPostCmdProc postCmdProc;
};
#endif
