//------------------------------------------------------------------------------
//  ncmd.cc
//------------------------------------------------------------------------------
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"

nCmd::nCmd(nCmdProto* proto) :
    cmdProto(proto),
    outArgIndex(0),
    inArgIndex(0)
{
    n_assert(proto);
    this->inArgIndex = proto->GetNumOutArgs();
}

nCmd::nCmd(const nCmd& rhs) :
    cmdProto(rhs.cmdProto),
    outArgIndex(0),
    inArgIndex(rhs.cmdProto->GetNumOutArgs())
{
    for (int i = 0; i < N_MAXNUM_ARGS; i++)
    {
        this->args[i] = rhs.args[i];
    }
}

void nCmd::Rewind()
{
    this->outArgIndex = 0;
    this->inArgIndex = this->cmdProto->GetNumOutArgs();
}

nArg* nCmd::In()
{
    n_assert(this->inArgIndex < this->cmdProto->GetNumArgs());
    return &this->args[this->inArgIndex++];
}

nArg* nCmd::Out()
{
    n_assert(this->outArgIndex < this->GetNumOutArgs());
    return &this->args[this->outArgIndex++];
}

/*
 * SetInArgsFromVarArgs --
 *     Fills the inputs from a variable argument list (signals emitted or
 *     posted with plain function arguments); the list itself is not used up.
 */
void nCmd::SetInArgsFromVarArgs(va_list args)
{
    va_list argsCopy;
    va_copy(argsCopy, args);
    this->Rewind();
    for (int i = 0; i < this->GetNumInArgs(); i++)
    {
        this->In()->SetFromVarArgs(&argsCopy);
    }
    va_end(argsCopy);
    this->Rewind();
}

nArg* nCmd::GetArg(int index)
{
    n_assert((index >= 0) && (index < N_MAXNUM_ARGS));
    return &this->args[index];
}

nFourCC nCmd::GetId() const
{
    return this->cmdProto->GetId();
}

int nCmd::GetNumInArgs() const
{
    return this->cmdProto->GetNumInArgs();
}

int nCmd::GetNumOutArgs() const
{
    return this->cmdProto->GetNumOutArgs();
}

void nCmd::SetError(const char* msg)
{
    this->hasError = true;
    this->errorMsg = msg ? msg : "";
}

void nCmd::ClearError()
{
    this->hasError = false;
    this->errorMsg.Delete();
}
