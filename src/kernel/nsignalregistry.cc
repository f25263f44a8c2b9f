//------------------------------------------------------------------------------
//  nsignalregistry.cc
//------------------------------------------------------------------------------
#include "kernel/nsignalregistry.h"
#include "kernel/nsignal.h"
#include "kernel/nclass.h"

#include <cctype>
#include <cstring>

nSignalRegistry::nSignalRegistry(nClass* owner) :
    ownerClass(owner)
{
}

/*
 * ~nSignalRegistry --
 *     Takes the signals off the list from the head and deletes each; a
 *     registry whose list was never made is left alone.
 */
nSignalRegistry::~nSignalRegistry()
{
    if (!this->signalList) return;
    nHashNode* node;
    while ((node = this->signalList->RemHead()) != nullptr)
    {
        static_cast<nSignal*>(node)->Destroy();
    }
    n_delete(this->signalList);
    this->signalList = nullptr;
    this->numSignals = 0;
}

void nSignalRegistry::BeginSignals(int num)
{
    n_assert(!this->signalList);
    this->signalList = n_new(nHashList(num));
}

void nSignalRegistry::MakeList()
{
    if (!this->signalList)
    {
        this->signalList = n_new(nHashList(this->numSignals > 0 ? this->numSignals : 5));
    }
}

const nSignalRegistry* nSignalRegistry::SuperRegistry() const
{
    nClass* super = this->ownerClass ? this->ownerClass->GetSuperClass() : nullptr;
    return super ? &super->GetSignalRegistry() : nullptr;
}

/*
 * AddSignal --
 *     Declares a signal from its prototype and id. The name is compared in
 *     lower case, as it will be stored.
 * Results: false (no message) for an invalid prototype, or a name or id
 *     that this class or a superclass already declares; else true.
 */
bool nSignalRegistry::AddSignal(const char* proto_def, nFourCC id)
{
    n_assert(proto_def);
    n_assert(id);
    this->MakeList();
    char outArgs[N_MAXPATH];
    char name[N_MAXPATH];
    char inArgs[N_MAXPATH];
    if (!nCmdProto::ParseProtoDef(proto_def, outArgs, name, inArgs))
    {
        return false;
    }
    for (char* c = name; *c; c++)
    {
        *c = (char)tolower((uchar)*c);
    }
    if (this->FindSignalByName(name) || this->FindSignalById(id))
    {
        return false;
    }
    return this->AddSignal(n_new(nSignal(proto_def, id)));
}

/*
 * AddSignal --
 *     Appends a signal object.
 * Results: false when its name or id exists in the class chain (the
 *     signal then still belongs to the caller); else true.
 */
bool nSignalRegistry::AddSignal(nSignal* signal)
{
    n_assert(signal);
    const char* name = signal->GetName() ? signal->GetName() : "";
    if (this->FindSignalByName(name) || this->FindSignalById(signal->GetId()))
    {
        return false;
    }
    this->MakeList();
    this->signalList->AddTail(signal);
    this->numSignals++;
    return true;
}

nSignal* nSignalRegistry::FindSignalByName(const char* name) const
{
    n_assert(name);
    for (const nSignalRegistry* reg = this; reg; reg = reg->SuperRegistry())
    {
        if (!reg->signalList) continue;
        for (nHashNode* node = reg->signalList->GetHead(); node; node = node->GetSucc())
        {
            const char* signalName = node->GetName() ? node->GetName() : "";
            if (strcmp(signalName, name) == 0) return static_cast<nSignal*>(node);
        }
    }
    return nullptr;
}

nSignal* nSignalRegistry::FindSignalById(nFourCC id) const
{
    for (const nSignalRegistry* reg = this; reg; reg = reg->SuperRegistry())
    {
        if (!reg->signalList) continue;
        for (nHashNode* node = reg->signalList->GetHead(); node; node = node->GetSucc())
        {
            nSignal* signal = static_cast<nSignal*>(node);
            if (signal->GetId() == id) return signal;
        }
    }
    return nullptr;
}
