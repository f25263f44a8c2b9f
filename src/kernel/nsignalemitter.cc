//------------------------------------------------------------------------------
//  nsignalemitter.cc
//------------------------------------------------------------------------------
#include "kernel/nsignalemitter.h"
#include "kernel/nsignal.h"
#include "kernel/nsignalbindingset.h"
#include "kernel/nsignalbindingcmdproto.h"
#include "kernel/nobject.h"

#include <cstring>

nPostCmdProc nSignalEmitter::postCmdProc = nullptr;

namespace
{

/*
 * LettersMatch --
 *     Results: true when both prototypes are valid and have the same
 *     output letters and the same input letters in order (names may
 *     differ); false when either is missing or invalid.
 */
bool LettersMatch(const char* protoA, const char* protoB)
{
    if (!protoA || !protoB) return false;
    char outA[N_MAXPATH], nameA[N_MAXPATH], inA[N_MAXPATH];
    char outB[N_MAXPATH], nameB[N_MAXPATH], inB[N_MAXPATH];
    if (!nCmdProto::ParseProtoDef(protoA, outA, nameA, inA)) return false;
    if (!nCmdProto::ParseProtoDef(protoB, outB, nameB, inB)) return false;
    return strcmp(outA, outB) == 0 && strcmp(inA, inB) == 0;
}

}  // namespace

/*
 * ~nSignalEmitter --
 *     Deletes the binding sets. Emissions still running on this object
 *     (a bound command released it) are told to stop without touching it.
 */
nSignalEmitter::~nSignalEmitter()
{
    for (Emission* e = this->emissions; e; e = e->outer)
    {
        e->emitterDied = true;
    }
    if (!this->bindingSets) return;
    for (int i = 0; i < this->bindingSets->Size(); i++)
    {
        nSignalBindingSet* bs = this->bindingSets->GetElementAt(i);
        n_assert(bs);
        n_delete(bs);
    }
    n_delete(this->bindingSets);
    this->bindingSets = nullptr;
}

nObject* nSignalEmitter::GetEmitterObject()
{
    return static_cast<nObject*>(this);
}

nClass* nSignalEmitter::GetEmitterClass()
{
    nClass* cl = this->GetEmitterObject()->GetClass();
    n_assert(cl);
    return cl;
}

/*
 * FindBindingSet --
 *     Makes the object's set array on first use (capacity: the number of
 *     signals of its class, growing by 5).
 * Results: the set of the signal, or 0.
 */
nSignalBindingSet* nSignalEmitter::FindBindingSet(nFourCC signalId)
{
    if (!this->bindingSets)
    {
        const int num = this->GetEmitterClass()->GetSignalRegistry().GetNumSignals();
        this->bindingSets = n_new(nKeyArray<nSignalBindingSet*>(num, 5));
        n_assert(this->bindingSets);
    }
    nSignalBindingSet* bs = nullptr;
    this->bindingSets->Find((int)signalId, bs);
    return bs;
}

nSignalBindingSet* nSignalEmitter::GetOrMakeBindingSet(nFourCC signalId)
{
    nSignalBindingSet* bs = this->FindBindingSet(signalId);
    if (!bs)
    {
        bs = n_new(nSignalBindingSet);
        n_assert(bs);
        this->bindingSets->Add((int)signalId, bs);
    }
    return bs;
}

nSignalBindingSet* nSignalEmitter::FindBindingSetByName(const char* signalName)
{
    const nSignal* signal = this->GetEmitterClass()->GetSignalRegistry().FindSignalByName(signalName);
    return signal ? this->FindBindingSet(signal->GetId()) : nullptr;
}

/*
 * BindSignal --
 *     Adds the binding to the signal's set when the class chain has the
 *     signal and the binding's command has the signal's signature.
 * Results: true when bound; false otherwise (the binding then still
 *     belongs to the caller).
 */
bool nSignalEmitter::BindSignal(nFourCC signalId, nSignalBinding* binding)
{
    n_assert(binding);
    const nSignal* signal = this->GetEmitterClass()->GetSignalRegistry().FindSignalById(signalId);
    if (!signal) return false;
    if (!LettersMatch(signal->GetProtoDef(), binding->GetProtoDef())) return false;
    this->GetOrMakeBindingSet(signalId)->AddBinding(binding);
    return true;
}

/*
 * BindNew --
 *     Binds a binding made for the named signal.
 * Results: true when bound; otherwise the binding is deleted.
 */
bool nSignalEmitter::BindNew(const char* signalName, nSignalBinding* binding)
{
    const nSignal* signal = this->GetEmitterClass()->GetSignalRegistry().FindSignalByName(signalName);
    if (signal && this->BindSignal(signal->GetId(), binding)) return true;
    n_delete(binding);
    return false;
}

/*
 * BindSignal --
 *     Binds a signal (by name) to a command of an object, the command
 *     resolved once now by name, prototype or id.
 * Results: true when bound; false when the signal is missing or the
 *     command is missing or of another signature.
 */
bool nSignalEmitter::BindSignal(const char* signalName, nObject* object, const char* cmdName, int priority)
{
    n_assert(signalName);
    n_assert(object);
    n_assert(cmdName);
    return this->BindNew(signalName, n_new(nSignalBindingCmdProto(object, cmdName, priority, false)));
}

bool nSignalEmitter::BindSignal(const char* signalName, nObject* object, nCmdProto* cmdProto, int priority)
{
    n_assert(signalName);
    n_assert(object);
    n_assert(cmdProto);
    return this->BindNew(signalName, n_new(nSignalBindingCmdProto(object, cmdProto, priority)));
}

bool nSignalEmitter::BindSignal(const char* signalName, nObject* object, nFourCC cmdId, int priority)
{
    n_assert(signalName);
    n_assert(object);
    return this->BindNew(signalName, n_new(nSignalBindingCmdProto(object, cmdId, priority, false)));
}

void nSignalEmitter::RemoveBinding(nSignalBinding* binding)
{
    if (this->emissions)
    {
        binding->MarkRemoved();
        this->removalsPending = true;
    }
    else
    {
        n_delete(binding);
    }
}

template <class PRED>
bool nSignalEmitter::RemoveBindings(nSignalBindingSet* bs, PRED matches)
{
    n_assert(bs);
    bool removed = false;
    nSignalBinding* binding = bs->GetHead();
    while (binding)
    {
        nSignalBinding* next = binding->GetSucc();
        if (!binding->IsRemoved() && matches(binding))
        {
            this->RemoveBinding(binding);
            removed = true;
        }
        binding = next;
    }
    return removed;
}

bool nSignalEmitter::UnbindSignal(const char* signalName, nObject* object, const char* cmdName)
{
    n_assert(signalName);
    n_assert(object);
    n_assert(cmdName);
    nSignalBindingSet* bs = this->FindBindingSetByName(signalName);
    if (!bs) return false;
    return this->RemoveBindings(bs, [&](const nSignalBinding* b) { return b->IsBoundWithObject(object) && b->IsBoundWithCmdName(cmdName); });
}

bool nSignalEmitter::UnbindSignal(const char* signalName, nObject* object, nCmdProto* cmdProto)
{
    n_assert(signalName);
    n_assert(object);
    n_assert(cmdProto);
    nSignalBindingSet* bs = this->FindBindingSetByName(signalName);
    if (!bs) return false;
    return this->RemoveBindings(bs, [&](const nSignalBinding* b) { return b->IsBoundWithObject(object) && b->IsBoundWithCmdProto(cmdProto); });
}

bool nSignalEmitter::UnbindSignal(const char* signalName, nObject* object, nFourCC cmdId)
{
    n_assert(signalName);
    n_assert(object);
    nSignalBindingSet* bs = this->FindBindingSetByName(signalName);
    if (!bs) return false;
    return this->RemoveBindings(bs, [&](const nSignalBinding* b) { return b->IsBoundWithObject(object) && b->IsBoundWithCmdId(cmdId); });
}

bool nSignalEmitter::UnbindSignal(const char* signalName, nSignalBinding* binding)
{
    n_assert(signalName);
    n_assert(binding);
    nSignalBindingSet* bs = this->FindBindingSetByName(signalName);
    if (!bs) return false;
    return this->RemoveBindings(bs, [&](const nSignalBinding* b) { return b == binding; });
}

bool nSignalEmitter::UnbindTargetObject(const char* signalName, nObject* object)
{
    n_assert(signalName);
    n_assert(object);
    nSignalBindingSet* bs = this->FindBindingSetByName(signalName);
    if (!bs) return false;
    return this->RemoveBindings(bs, [&](const nSignalBinding* b) { return b->IsBoundWithObject(object); });
}

bool nSignalEmitter::UnbindTargetObject(nFourCC signalId, nObject* object)
{
    n_assert(object);
    nSignalBindingSet* bs = this->FindBindingSet(signalId);
    if (!bs) return false;
    return this->RemoveBindings(bs, [&](const nSignalBinding* b) { return b->IsBoundWithObject(object); });
}

bool nSignalEmitter::UnbindTargetObject(nObject* object)
{
    n_assert(object);
    if (!this->bindingSets) return false;
    bool removed = false;
    for (int i = 0; i < this->bindingSets->Size(); i++)
    {
        nSignalBindingSet* bs = this->bindingSets->GetElementAt(i);
        n_assert(bs);
        removed |= this->RemoveBindings(bs, [&](const nSignalBinding* b) { return b->IsBoundWithObject(object); });
    }
    return removed;
}

/*
 * UnbindAllSignals --
 *     Deletes every binding set. During an emission the bindings are only
 *     flagged (the sets stay, and empty out when the emission ends).
 * Results: true when there were binding sets.
 */
bool nSignalEmitter::UnbindAllSignals()
{
    if (!this->bindingSets) return false;
    if (this->emissions)
    {
        for (int i = 0; i < this->bindingSets->Size(); i++)
        {
            this->RemoveBindings(this->bindingSets->GetElementAt(i), [](const nSignalBinding*) { return true; });
        }
        return true;
    }
    for (int i = 0; i < this->bindingSets->Size(); i++)
    {
        n_delete(this->bindingSets->GetElementAt(i));
    }
    n_delete(this->bindingSets);
    this->bindingSets = nullptr;
    return true;
}

/*
 * GetSignals --
 *     Appends one node per signal of the class and its superclasses (the
 *     class's own first), named after the signal, its data the signal.
 */
void nSignalEmitter::GetSignals(nHashList* signalList)
{
    n_assert(signalList);
    for (nClass* cl = this->GetEmitterClass(); cl; cl = cl->GetSuperClass())
    {
        const nHashList* own = cl->GetSignalRegistry().GetSignalList();
        if (!own) continue;
        for (nHashNode* node = own->GetHead(); node; node = node->GetSucc())
        {
            nHashNode* entry = n_new(nHashNode(node->GetName()));
            entry->SetData(static_cast<nSignal*>(node));
            signalList->AddTail(entry);
        }
    }
}

/*
 * PostSignal --
 *     Fills a command of the signal from the arguments and hands it to the
 *     signal server's queue, to be emitted relT seconds from now.
 * Results: true when queued; false without a signal server or with a full
 *     queue (the command is then given back to the signal).
 */
bool nSignalEmitter::PostSignal(double relT, nSignal* signal, ...)
{
    n_assert(signal);
    nCmd* cmd = signal->NewCmd();
    n_assert(cmd);
    va_list args;
    va_start(args, signal);
    cmd->SetInArgsFromVarArgs(args);
    va_end(args);
    if (!postCmdProc)
    {
        n_printf("nSignalEmitter::PostSignal(): no signal server for signal '%s'\n", signal->GetProtoDef());
        signal->RelCmd(cmd);
        return false;
    }
    if (!postCmdProc(relT, this->GetEmitterObject(), cmd))
    {
        signal->RelCmd(cmd);
        return false;
    }
    return true;
}

/*
 * RunBindings --
 *     The emission: every binding of the signal's set, in ascending
 *     priority order, gets the same signal command; bindings whose target
 *     died are removed instead. Removals by the bound commands take effect
 *     when the outermost emission on this object ends; if a bound command
 *     releases this object, the walk stops at once.
 * Results: true in every case.
 */
bool nSignalEmitter::RunBindings(nFourCC signalId, nCmd* cmd)
{
    nSignalBindingSet* bs = this->FindBindingSet(signalId);
    if (!bs) return true;

    Emission emission{this->emissions, false};
    this->emissions = &emission;
    nSignalBinding* binding = bs->GetHead();
    while (binding)
    {
        if (binding->IsRemoved())
        {
            binding = binding->GetSucc();
        }
        else if (!binding->IsValid())
        {
            this->RemoveBinding(binding);
            binding = binding->GetSucc();
        }
        else
        {
            binding->Invoke(cmd);
            if (emission.emitterDied) return true;
            binding = binding->GetSucc();
        }
    }
    this->emissions = emission.outer;
    if (!this->emissions && this->removalsPending)
    {
        this->DeleteRemovedBindings();
    }
    return true;
}

void nSignalEmitter::DeleteRemovedBindings()
{
    this->removalsPending = false;
    if (!this->bindingSets) return;
    for (int i = 0; i < this->bindingSets->Size(); i++)
    {
        nSignalBinding* binding = this->bindingSets->GetElementAt(i)->GetHead();
        while (binding)
        {
            nSignalBinding* next = binding->GetSucc();
            if (binding->IsRemoved()) n_delete(binding);
            binding = next;
        }
    }
}
