//------------------------------------------------------------------------------
//  nsignal.cc
//------------------------------------------------------------------------------
#include "kernel/nsignal.h"
#include "kernel/nobject.h"

#include <cctype>

nSignal::nSignal(const char* protoDef, nFourCC id) :
    nCmdProto(protoDef, id)
{
    const char* name = this->GetName();
    if (!name) return;
    nString lower;
    for (const char* c = name; *c; c++)
    {
        const char l = (char)tolower((uchar)*c);
        lower.AppendRange(&l, 1);
    }
    this->SetName(lower.Get());
}

/*
 * Dispatch --
 *     Runs every live binding of the object for this signal, in priority
 *     order, each with the command's inputs.
 * Results: true, whatever the bound commands did.
 */
bool nSignal::Dispatch(void* obj, nCmd* cmd)
{
    n_assert(obj);
    static_cast<nObject*>(obj)->RunBindings(this->GetId(), cmd);
    return true;
}

void nSignal::Destroy()
{
    n_delete(this);
}

/*
 * Dispatch --
 *     Emits with the inputs filled from a variable argument list.
 * Results: true.
 */
bool nSignal::Dispatch(nSignalEmitter* emitter, va_list args)
{
    n_assert(emitter);
    nCmd* cmd = this->NewCmd();
    n_assert(cmd);
    cmd->SetInArgsFromVarArgs(args);
    this->Dispatch(static_cast<void*>(static_cast<nObject*>(emitter)), cmd);
    this->RelCmd(cmd);
    return true;
}
