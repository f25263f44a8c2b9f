#ifndef N_SIGNALBINDINGCMDPROTO_H
#define N_SIGNALBINDINGCMDPROTO_H
//------------------------------------------------------------------------------
/**
    @class nSignalBindingCmdProto
    @ingroup Kernel

    A binding that runs a script command of a target object. The command
    is kept as its prototype (resolved once), or as an id or a name that
    is resolved through the target's class at every use.
*/
#include "kernel/nsignalbinding.h"
#include "kernel/nref.h"
#include "kernel/nobject.h"
#include "util/nstring.h"

class nSignalBindingCmdProto : public nSignalBinding
{
public:
    enum BindType
    {
        ByProto = 0,
        ById = 1,
        ByName = 2,
    };

    /// bound to a prototype
    nSignalBindingCmdProto(nObject* object, nCmdProto* cmdProto, int priority);
    /// bound to a command id, kept (lateResolution) or resolved now
    nSignalBindingCmdProto(nObject* object, nFourCC cmdId, int priority, bool lateResolution);
    /// bound to a command name, kept (lateResolution) or resolved now
    nSignalBindingCmdProto(nObject* object, const char* cmdName, int priority, bool lateResolution);

    bool Invoke(va_list args) override;
    bool Invoke(nCmd* cmd) override;
    const char* GetProtoDef() const override;
    bool IsBoundWithObject(const nObject* objectPtr) const override;
    bool IsBoundWithCmdProto(const nCmdProto* cmdp) const override;
    bool IsBoundWithCmdName(const char* name) const override;
    bool IsBoundWithCmdId(nFourCC id) const override;
    bool IsValid() const override;

    /// the bound prototype, resolved by the bind type; 0 when unresolvable
    nCmdProto* GetCmdProto() const;
    BindType GetBindType() const { return this->bindType; }

private:
    /// a command of the resolved prototype ready to run, or 0
    nCmd* PrepareCmd(nCmdProto*& proto);

    BindType bindType;
    nRef<nObject> targetObject;
    /// fixed for ByProto; the one resolved last for ById and ByName
    nCmdProto* cmdProto;
    nFourCC cmdId;
    nString cmdName;
};
#endif
