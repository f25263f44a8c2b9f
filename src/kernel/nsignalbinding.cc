//------------------------------------------------------------------------------
//  nsignalbinding.cc
//------------------------------------------------------------------------------
#include "kernel/nsignalbinding.h"

nSignalBinding::nSignalBinding(int prio) :
    node(this),
    priority(prio),
    removed(false)
{
}

nSignalBinding::~nSignalBinding()
{
    if (this->node.IsLinked())
    {
        this->node.Remove();
    }
}

bool nSignalBinding::IsBoundWithObject(const nObject*) const
{
    return false;
}

bool nSignalBinding::IsBoundWithCmdProto(const nCmdProto*) const
{
    return false;
}

bool nSignalBinding::IsBoundWithCmdName(const char*) const
{
    return false;
}

bool nSignalBinding::IsBoundWithCmdId(nFourCC) const
{
    return false;
}

bool nSignalBinding::IsValid() const
{
    return false;
}

nSignalBinding* nSignalBinding::GetSucc() const
{
    const nNode* next = this->node.GetSucc();
    return next ? static_cast<nSignalBinding*>(next->GetData()) : nullptr;
}
