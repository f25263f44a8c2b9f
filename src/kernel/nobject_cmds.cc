//------------------------------------------------------------------------------
//  nobject_cmds.cc
//
//  The script commands every object understands. Arguments come from
//  scripts: a null string or object is reported and answered with an
//  empty result, never dereferenced.
//------------------------------------------------------------------------------
#include "kernel/nobject.h"
#include "kernel/nkernelserver.h"
#include "kernel/ncmd.h"

namespace
{

nObject* Self(void* slf)
{
    return static_cast<nObject*>(slf);
}

/*
 * ReportNull --
 *     Logs that a script handed a command a null argument.
 */
void ReportNull(nCmd* cmd, const char* what)
{
    n_printf("%s: null %s argument\n", cmd->GetProto()->GetProtoDef(), what);
}

/*
 * n_saveas --
 *     Results: true when the object (and, for tree objects, its children)
 *     was saved under the given file name; false for a null name.
 */
void n_saveas(void* slf, nCmd* cmd)
{
    const char* name = cmd->In()->GetS();
    if (!name)
    {
        ReportNull(cmd, "file name");
        cmd->Out()->SetB(false);
        return;
    }
    cmd->Out()->SetB(Self(slf)->SaveAs(name));
}

/*
 * n_clone --
 *     Results: the copy of the object named as given, or null on failure
 *     or for a null name.
 */
void n_clone(void* slf, nCmd* cmd)
{
    const char* name = cmd->In()->GetS();
    if (!name)
    {
        ReportNull(cmd, "name");
        cmd->Out()->SetO(nullptr);
        return;
    }
    cmd->Out()->SetO(Self(slf)->Clone(name));
}

/*
 * n_getrefcount --
 *     Results: the object's reference count.
 */
void n_getrefcount(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(Self(slf)->GetRefCount());
}

/*
 * n_getclass --
 *     Results: the module name of the object's class.
 */
void n_getclass(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(Self(slf)->GetClass()->GetName());
}

/*
 * n_getclasses --
 *     Results: a list of the module names of the object's class and its
 *     superclasses, nearest first.
 */
void n_getclasses(void* slf, nCmd* cmd)
{
    int num = 0;
    for (nClass* cl = Self(slf)->GetClass(); cl; cl = cl->GetSuperClass()) ++num;
    nArg* classes = n_new_array(nArg, num);
    int i = 0;
    for (nClass* cl = Self(slf)->GetClass(); cl; cl = cl->GetSuperClass())
    {
        classes[i++].SetS(cl->GetName());
    }
    cmd->Out()->SetL(classes, num);
}

/*
 * n_isa --
 *     Results: true when the named class is the object's class or one of
 *     its superclasses; false for an unregistered or null name.
 */
void n_isa(void* slf, nCmd* cmd)
{
    const char* name = cmd->In()->GetS();
    if (!name)
    {
        ReportNull(cmd, "class name");
        cmd->Out()->SetB(false);
        return;
    }
    cmd->Out()->SetB(Self(slf)->IsA(name));
}

/*
 * n_isinstanceof --
 *     Results: true only when the object's class is exactly the named
 *     one; false for an unregistered or null name.
 */
void n_isinstanceof(void* slf, nCmd* cmd)
{
    const char* name = cmd->In()->GetS();
    if (!name)
    {
        ReportNull(cmd, "class name");
        cmd->Out()->SetB(false);
        return;
    }
    const nClass* cl = nObject::kernelServer->FindClass(name);
    cmd->Out()->SetB(cl && Self(slf)->IsInstanceOf(cl));
}

/*
 * n_getcmds --
 *     Results: a list of the prototypes of all native commands of the
 *     object's class and its superclasses, the class's own first.
 */
void n_getcmds(void* slf, nCmd* cmd)
{
    nHashList protos;
    Self(slf)->GetCmdProtos(&protos);
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
    cmd->Out()->SetI(Self(slf)->GetInstanceSize());
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
    cl->EndCmds();
}
