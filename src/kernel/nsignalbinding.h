#ifndef N_SIGNALBINDING_H
#define N_SIGNALBINDING_H
//------------------------------------------------------------------------------
/**
    @class nSignalBinding
    @ingroup Kernel

    One receiver of a signal: what runs when the signal is emitted, and
    its priority within the signal's binding set (lower runs first).
*/
#include "kernel/ntypes.h"
#include "util/nnode.h"

class nCmd;
class nCmdProto;
class nObject;

class nSignalBinding
{
public:
    explicit nSignalBinding(int priority);
    /// unlinks the binding from its set when linked
    virtual ~nSignalBinding();
    nSignalBinding(const nSignalBinding&) = delete;
    nSignalBinding& operator=(const nSignalBinding&) = delete;

    /// run the bound command with plain function arguments
    virtual bool Invoke(va_list args) = 0;
    /// run the bound command with the inputs of a signal command
    virtual bool Invoke(nCmd* cmd) = 0;
    /// the bound command's prototype text, or 0 when it cannot be resolved
    virtual const char* GetProtoDef() const = 0;
    virtual bool IsBoundWithObject(const nObject* objectPtr) const;
    virtual bool IsBoundWithCmdProto(const nCmdProto* cmdp) const;
    virtual bool IsBoundWithCmdName(const char* name) const;
    virtual bool IsBoundWithCmdId(nFourCC id) const;
    /// true while the binding can run (its target lives)
    virtual bool IsValid() const;

    int GetPriority() const { return this->priority; }
    /// the node that links the binding into its set (data: the binding)
    nNode* GetNode() { return &this->node; }
    /// the next binding of the set, 0 at the end
    nSignalBinding* GetSucc() const;

    /// flag the binding as removed while an emission walks its set; it is
    /// deleted when the emission ends
    void MarkRemoved() { this->removed = true; }
    bool IsRemoved() const { return this->removed; }

private:
    nNode node;
    int priority;
    bool removed;
};
#endif
