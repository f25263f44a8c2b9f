//------------------------------------------------------------------------------
//  nobject_cmds.cc
//
//  The script commands every object understands. Arguments come from
//  scripts: the guards refuse a null string or object as a script error.
//------------------------------------------------------------------------------
#include "kernel/nobject.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"
#include "kernel/nsignal.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{

/*
 * n_saveas --
 *     Results: true when the object (and, for tree objects, its children)
 *     was saved under the given file name; a null name is a script error.
 */
void n_saveas(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "file name")) return;
    cmd->Out()->SetB(nCmdSelf<nObject>(slf)->SaveAs(name));
}

/*
 * n_clone --
 *     Results: the copy of the object named as given, or null on failure;
 *     a null name, or a current object at or below the object (where the
 *     copy would land), is a script error.
 */
void n_clone(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "name")) return;
    if (nCmdSelf<nObject>(slf)->IsA("nroot"))
    {
        // the copy lands in the current object: inside the original it would copy itself without end
        const nRoot* original = static_cast<nRoot*>(nCmdSelf<nObject>(slf));
        for (const nRoot* cur = nKernelServer::Instance()->GetCwd(); cur; cur = cur->GetParent())
        {
            n_cmd_check(cmd, cur != original, "'%s' can't be copied into itself", original->GetFullName().Get());
        }
    }
    cmd->Out()->SetO(nCmdSelf<nObject>(slf)->Clone(name));
}

/*
 * n_getrefcount --
 *     Results: the object's reference count.
 */
void n_getrefcount(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nObject>(slf)->GetRefCount());
}

/*
 * n_getclass --
 *     Results: the module name of the object's class.
 */
void n_getclass(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nObject>(slf)->GetClass()->GetName());
}

/*
 * n_getclasses --
 *     Results: a list of the module names of the object's class and its
 *     superclasses, nearest first.
 */
void n_getclasses(void* slf, nCmd* cmd)
{
    int num = 0;
    for (nClass* cl = nCmdSelf<nObject>(slf)->GetClass(); cl; cl = cl->GetSuperClass()) ++num;
    nArg* classes = n_new_array(nArg, num);
    int i = 0;
    for (nClass* cl = nCmdSelf<nObject>(slf)->GetClass(); cl; cl = cl->GetSuperClass())
    {
        classes[i++].SetS(cl->GetName());
    }
    cmd->Out()->SetL(classes, num);
}

/*
 * n_isa --
 *     Results: true when the named class is the object's class or one of
 *     its superclasses; false for an unregistered name.
 */
void n_isa(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "class name")) return;
    cmd->Out()->SetB(nCmdSelf<nObject>(slf)->IsA(name));
}

/*
 * n_isinstanceof --
 *     Results: true only when the object's class is exactly the named
 *     one; false for an unregistered name.
 */
void n_isinstanceof(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "class name")) return;
    const nClass* cl = nObject::kernelServer->FindClass(name);
    cmd->Out()->SetB(cl && nCmdSelf<nObject>(slf)->IsInstanceOf(cl));
}

/*
 * n_getcmds --
 *     Results: a list of the prototypes of all native commands of the
 *     object's class and its superclasses, the class's own first.
 */
void n_getcmds(void* slf, nCmd* cmd)
{
    nHashList protos;
    nCmdSelf<nObject>(slf)->GetCmdProtos(&protos);
    int num = 0;
    for (nHashNode* node = protos.GetHead(); node; node = node->GetSucc()) ++num;
    nArg* list = n_new_array(nArg, num);
    int i = 0;
    nHashNode* node;
    while ((node = protos.RemHead()) != nullptr)
    {
        const nCmdProto* proto = static_cast<const nCmdProto*>(node->GetData());
        list[i++].SetS(proto->GetProtoDef());
        n_delete(node);
    }
    cmd->Out()->SetL(list, num);
}

/*
 * n_getinstancesize --
 *     Results: the instance size of the object's class.
 */
void n_getinstancesize(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nObject>(slf)->GetInstanceSize());
}

/*
 * n_bindsignal --
 *     Results: true when the signal was bound to the named command of the
 *     target object with the given priority; false when the signal or the
 *     command is missing, or their signatures differ.
 */
void n_bindsignal(void* slf, nCmd* cmd)
{
    const char* signalName;
    nObject* target;
    const char* cmdName;
    if (!nCmdGetS(cmd, signalName, "signal name") || !nCmdGetO(cmd, target, "nobject", "target") ||
        !nCmdGetS(cmd, cmdName, "command name"))
    {
        return;
    }
    const int priority = cmd->In()->GetI();
    cmd->Out()->SetB(nCmdSelf<nObject>(slf)->BindSignal(signalName, target, cmdName, priority));
}

/*
 * n_unbindsignal --
 *     Results: true when bindings of the signal to that command of the
 *     target object were removed.
 */
void n_unbindsignal(void* slf, nCmd* cmd)
{
    const char* signalName;
    nObject* target;
    const char* cmdName;
    if (!nCmdGetS(cmd, signalName, "signal name") || !nCmdGetO(cmd, target, "nobject", "target") ||
        !nCmdGetS(cmd, cmdName, "command name"))
    {
        return;
    }
    cmd->Out()->SetB(nCmdSelf<nObject>(slf)->UnbindSignal(signalName, target, cmdName));
}

/*
 * n_unbindsignalobject --
 *     Results: true when bindings of the signal to the target were removed.
 */
void n_unbindsignalobject(void* slf, nCmd* cmd)
{
    const char* signalName;
    nObject* target;
    if (!nCmdGetS(cmd, signalName, "signal name") || !nCmdGetO(cmd, target, "nobject", "target")) return;
    cmd->Out()->SetB(nCmdSelf<nObject>(slf)->UnbindTargetObject(signalName, target));
}

/*
 * n_unbindobject --
 *     Results: true when bindings of any signal to the target were removed.
 */
void n_unbindobject(void* slf, nCmd* cmd)
{
    nObject* target;
    if (!nCmdGetO(cmd, target, "nobject", "target")) return;
    cmd->Out()->SetB(nCmdSelf<nObject>(slf)->UnbindTargetObject(target));
}

/*
 * n_unbindall --
 *     Removes every binding of the object.
 */
void n_unbindall(void* slf, nCmd*)
{
    nCmdSelf<nObject>(slf)->UnbindAllSignals();
}

/*
 * n_getsignals --
 *     Results: a list of the prototypes of the signals of the object's
 *     class and its superclasses, the class's own first.
 */
void n_getsignals(void* slf, nCmd* cmd)
{
    nHashList signals;
    nCmdSelf<nObject>(slf)->GetSignals(&signals);
    int num = 0;
    for (nHashNode* node = signals.GetHead(); node; node = node->GetSucc()) ++num;
    nArg* list = n_new_array(nArg, num);
    int i = 0;
    nHashNode* node;
    while ((node = signals.RemHead()) != nullptr)
    {
        list[i++].SetS(static_cast<const nSignal*>(node->GetData())->GetProtoDef());
        n_delete(node);
    }
    cmd->Out()->SetL(list, num);
}

/*
 * SignalIdFromText --
 *     A text of four characters is an id in text order (first character
 *     in the low byte); any other text must be a whole decimal number.
 * Results: false for anything else and for the id 0.
 */
bool SignalIdFromText(const char* text, nFourCC& id)
{
    if (strlen(text) == 4)
    {
        id = n_strtofourcc(text);
        return id != 0;
    }
    errno = 0;
    char* end = nullptr;
    const long value = strtol(text, &end, 10);
    if (end == text || *end != 0 || errno == ERANGE || value < INT_MIN || value > INT_MAX || value == 0)
    {
        return false;
    }
    id = (nFourCC)(int)value;
    return true;
}

/*
 * n_addsignal --
 *     Declares a signal on the object's class (so on every object of the
 *     class and its subclasses).
 * Results: true when declared; false for an invalid prototype, a name or
 *     id the class chain has, or an id text that is no id (reported).
 */
void n_addsignal(void* slf, nCmd* cmd)
{
    const char* protoDef;
    const char* idText;
    if (!nCmdGetS(cmd, protoDef, "prototype") || !nCmdGetS(cmd, idText, "signal id")) return;
    nFourCC id = 0;
    n_cmd_check(cmd, SignalIdFromText(idText, id), "'%.64s' is no signal id", idText);
    cmd->Out()->SetB(nCmdSelf<nObject>(slf)->GetClass()->GetSignalRegistry().AddSignal(protoDef, id));
}

}  // namespace

/*
 * nobject_initcmds --
 *     Registers the commands of nobject, the signal commands last.
 */
void nobject_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("b_saveas_s", N_FOURCC('S', 'V', 'A', 'S'), n_saveas);
    cl->AddCmd("o_clone_s", N_FOURCC('C', 'L', 'O', 'N'), n_clone);
    cl->AddCmd("i_getrefcount_v", N_FOURCC('G', 'R', 'C', 'T'), n_getrefcount);
    cl->AddCmd("s_getclass_v", N_FOURCC('G', 'C', 'L', 'S'), n_getclass);
    cl->AddCmd("l_getclasses_v", N_FOURCC('G', 'C', 'L', 'L'), n_getclasses);
    cl->AddCmd("b_isa_s", N_FOURCC('I', 'S', 'A', '_'), n_isa);
    cl->AddCmd("b_isinstanceof_s", N_FOURCC('I', 'S', 'I', 'O'), n_isinstanceof);
    cl->AddCmd("l_getcmds_v", N_FOURCC('G', 'M', 'C', 'D'), n_getcmds);
    cl->AddCmd("i_getinstancesize_v", N_FOURCC('G', 'I', 'S', 'Z'), n_getinstancesize);
    cl->AddCmd("b_bindsignal_sosi", N_FOURCC('B', 'I', 'S', 'I'), n_bindsignal);
    cl->AddCmd("b_unbindsignal_sos", N_FOURCC('U', 'N', 'S', 'I'), n_unbindsignal);
    cl->AddCmd("b_unbindsignalobject_so", N_FOURCC('U', 'N', 'S', 'O'), n_unbindsignalobject);
    cl->AddCmd("b_unbindobject_o", N_FOURCC('U', 'N', 'O', 'B'), n_unbindobject);
    cl->AddCmd("v_unbindall_v", N_FOURCC('U', 'N', 'A', 'L'), n_unbindall);
    cl->AddCmd("l_getsignals_v", N_FOURCC('G', 'S', 'I', 'G'), n_getsignals);
    cl->AddCmd("b_addsignal_ss", N_FOURCC('A', 'S', 'I', 'G'), n_addsignal);
    cl->EndCmds();
}
