//------------------------------------------------------------------------------
//  nsignalbindingcmdproto.cc
//------------------------------------------------------------------------------
#include "kernel/nsignalbindingcmdproto.h"
#include "kernel/ncmd.h"

#include <cstring>

nSignalBindingCmdProto::nSignalBindingCmdProto(nObject* object, nCmdProto* proto, int priority) :
    nSignalBinding(priority),
    bindType(ByProto),
    targetObject(object),
    cmdProto(proto),
    cmdId(0)
{
}

nSignalBindingCmdProto::nSignalBindingCmdProto(nObject* object, nFourCC id, int priority, bool lateResolution) :
    nSignalBinding(priority),
    bindType(lateResolution ? ById : ByProto),
    targetObject(object),
    cmdProto(nullptr),
    cmdId(id)
{
    if (!lateResolution)
    {
        this->cmdProto = object->GetClass()->FindCmdById(id);
    }
}

nSignalBindingCmdProto::nSignalBindingCmdProto(nObject* object, const char* name, int priority, bool lateResolution) :
    nSignalBinding(priority),
    bindType(lateResolution ? ByName : ByProto),
    targetObject(object),
    cmdProto(nullptr),
    cmdId(0)
{
    n_assert(name);
    if (lateResolution)
    {
        this->cmdName = name;
    }
    else
    {
        this->cmdProto = object->GetClass()->FindCmdByName(name);
    }
}

/*
 * GetCmdProto --
 *     Results: the stored prototype, or the one the target's class has
 *     for the id or name now; 0 when there is none or the target died.
 */
nCmdProto* nSignalBindingCmdProto::GetCmdProto() const
{
    switch (this->bindType)
    {
        case ByProto:
            return this->cmdProto;
        case ById:
            if (!this->targetObject.isvalid()) return nullptr;
            return this->targetObject->GetClass()->FindCmdById(this->cmdId);
        case ByName:
            if (!this->targetObject.isvalid()) return nullptr;
            return this->targetObject->GetClass()->FindCmdByName(this->cmdName.Get());
    }
    n_assert(0);
    return nullptr;
}

/*
 * PrepareCmd --
 *     Results: a command of the bound prototype (its proto in proto), or
 *     0 when the prototype cannot be resolved or the target died.
 */
nCmd* nSignalBindingCmdProto::PrepareCmd(nCmdProto*& proto)
{
    proto = nullptr;
    if (!this->targetObject.isvalid()) return nullptr;
    this->cmdProto = this->GetCmdProto();
    if (!this->cmdProto) return nullptr;
    proto = this->cmdProto;
    nCmd* cmd = proto->NewCmd();
    n_assert(cmd);
    return cmd;
}

/*
 * Invoke --
 *     Runs the bound command on the target with the signal command's
 *     inputs copied into a command of its own; the bound command's outputs
 *     are dropped.
 * Results: false when nothing ran (no prototype, dead target).
 * Side effects: the command may delete this binding (it may release the
 *     emitter that owns it), so nothing of the binding is touched after
 *     the dispatch.
 */
bool nSignalBindingCmdProto::Invoke(nCmd* cmd)
{
    nCmdProto* proto;
    nCmd* boundCmd = this->PrepareCmd(proto);
    if (!boundCmd) return false;
    n_assert(cmd->GetNumInArgs() == this->cmdProto->GetNumInArgs());
    cmd->Rewind();
    boundCmd->Rewind();
    for (int i = 0; i < cmd->GetNumInArgs(); i++)
    {
        nArg* argSrc = cmd->In();
        nArg* argDst = boundCmd->In();
        n_assert(argSrc->GetType() == argDst->GetType());
        *argDst = *argSrc;
    }
    boundCmd->Rewind();
    nObject* target = this->targetObject.get();
    proto->Dispatch(target, boundCmd);
    proto->RelCmd(boundCmd);
    return true;
}

/*
 * Invoke --
 *     As above, the inputs taken from plain function arguments.
 */
bool nSignalBindingCmdProto::Invoke(va_list args)
{
    nCmdProto* proto;
    nCmd* boundCmd = this->PrepareCmd(proto);
    if (!boundCmd) return false;
    boundCmd->SetInArgsFromVarArgs(args);
    nObject* target = this->targetObject.get();
    proto->Dispatch(target, boundCmd);
    proto->RelCmd(boundCmd);
    return true;
}

const char* nSignalBindingCmdProto::GetProtoDef() const
{
    const nCmdProto* proto = this->GetCmdProto();
    return proto ? proto->GetProtoDef() : nullptr;
}

bool nSignalBindingCmdProto::IsBoundWithObject(const nObject* objectPtr) const
{
    n_assert(objectPtr);
    return this->targetObject.get_unsafe() == objectPtr;
}

bool nSignalBindingCmdProto::IsBoundWithCmdProto(const nCmdProto* cmdp) const
{
    n_assert(cmdp);
    return this->GetCmdProto() == cmdp;
}

bool nSignalBindingCmdProto::IsBoundWithCmdName(const char* name) const
{
    n_assert(name);
    const nCmdProto* proto = this->GetCmdProto();
    return proto && proto->GetName() && strcmp(proto->GetName(), name) == 0;
}

bool nSignalBindingCmdProto::IsBoundWithCmdId(nFourCC id) const
{
    const nCmdProto* proto = this->GetCmdProto();
    if (proto) return proto->GetId() == id;
    return this->bindType == ById && this->cmdId == id;
}

bool nSignalBindingCmdProto::IsValid() const
{
    return this->targetObject.isvalid();
}
