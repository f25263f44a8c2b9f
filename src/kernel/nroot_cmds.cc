//------------------------------------------------------------------------------
//  nroot_cmds.cc
//
//  The script commands of tree objects: walking and inspecting the tree.
//  Arguments come from scripts: the guards refuse a null string or a
//  foreign object as a script error.
//------------------------------------------------------------------------------
#include "kernel/nroot.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"
#include "kernel/nkernelserver.h"

namespace
{

/*
 * n_save --
 *     Results: true when the object was saved under its own name.
 */
void n_save(void* slf, nCmd* cmd)
{
    nRoot* self = nCmdSelf<nRoot>(slf);
    cmd->Out()->SetB(self->SaveAs(self->GetName()));
}

/*
 * n_getparent, n_gethead, n_gettail, n_getsucc, n_getpred --
 *     Results: the neighbour in the tree, or null when there is none.
 */
void n_getparent(void* slf, nCmd* cmd)
{
    cmd->Out()->SetO(nCmdSelf<nRoot>(slf)->GetParent());
}

void n_gethead(void* slf, nCmd* cmd)
{
    cmd->Out()->SetO(nCmdSelf<nRoot>(slf)->GetHead());
}

void n_gettail(void* slf, nCmd* cmd)
{
    cmd->Out()->SetO(nCmdSelf<nRoot>(slf)->GetTail());
}

void n_getsucc(void* slf, nCmd* cmd)
{
    cmd->Out()->SetO(nCmdSelf<nRoot>(slf)->GetSucc());
}

void n_getpred(void* slf, nCmd* cmd)
{
    cmd->Out()->SetO(nCmdSelf<nRoot>(slf)->GetPred());
}

/*
 * n_getchildren --
 *     Results: a list of the children as objects, in child order; empty
 *     for an object without children.
 */
void n_getchildren(void* slf, nCmd* cmd)
{
    nRoot* self = nCmdSelf<nRoot>(slf);
    int num = 0;
    for (nRoot* child = self->GetHead(); child; child = child->GetSucc()) ++num;
    nArg* children = n_new_array(nArg, num);
    n_assert(children);
    int i = 0;
    for (nRoot* child = self->GetHead(); child; child = child->GetSucc())
    {
        children[i++].SetO(child);
    }
    cmd->Out()->SetL(children, num);
}

/*
 * n_setname --
 *     Renames the object in place. A name the tree could not reach the
 *     object by ("", ".", "..", one with a '/' ...) is a script error, and
 *     so is renaming an object in use every frame, or one that holds one:
 *     its users find it by its path.
 */
void n_setname(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "name")) return;
    n_cmd_check(cmd, nRoot::IsValidName(name), "'%.64s' is no valid object name", name);
    const nRoot* used = nKernelServer::Instance()->FindInUse(nCmdSelf<nRoot>(slf));
    n_cmd_check(cmd, !used, "'%s' is in use by the running application under its name", used->GetFullName().Get());
    nCmdSelf<nRoot>(slf)->SetName(name);
}

/*
 * n_getname --
 *     Results: the object's name.
 */
void n_getname(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nRoot>(slf)->GetName());
}

/*
 * n_getfullname --
 *     Results: the object's absolute path.
 */
void n_getfullname(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nRoot>(slf)->GetFullName().Get());
}

/*
 * n_getrelpath --
 *     Results: the path from this object to the given tree object.
 */
void n_getrelpath(void* slf, nCmd* cmd)
{
    nRoot* other;
    if (!nCmdGetObject(cmd, other, "nroot", "object")) return;
    cmd->Out()->SetS(nCmdSelf<nRoot>(slf)->GetRelPath(other).Get());
}

/*
 * n_find --
 *     Results: the child of that name ("." this object, ".." the parent),
 *     or null when absent.
 */
void n_find(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "name")) return;
    cmd->Out()->SetO(nCmdSelf<nRoot>(slf)->Find(name));
}

/*
 * n_sort --
 *     Orders the children by name.
 */
void n_sort(void* slf, nCmd*)
{
    nCmdSelf<nRoot>(slf)->Sort();
}

/*
 * n_gettreesize --
 *     Results: the summed instance sizes of the object and its descendants.
 */
void n_gettreesize(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nRoot>(slf)->GetTreeSize());
}

}  // namespace

/*
 * nroot_initcmds --
 *     Registers the commands of nroot.
 */
void nroot_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("b_save_v", N_FOURCC('S', 'A', 'V', 'E'), n_save);
    cl->AddCmd("o_getparent_v", N_FOURCC('G', 'P', 'R', 'T'), n_getparent);
    cl->AddCmd("o_gethead_v", N_FOURCC('G', 'H', 'E', 'D'), n_gethead);
    cl->AddCmd("o_gettail_v", N_FOURCC('G', 'T', 'A', 'L'), n_gettail);
    cl->AddCmd("o_getsucc_v", N_FOURCC('G', 'S', 'U', 'C'), n_getsucc);
    cl->AddCmd("o_getpred_v", N_FOURCC('G', 'P', 'R', 'D'), n_getpred);
    cl->AddCmd("l_getchildren_v", N_FOURCC('G', 'C', 'H', 'D'), n_getchildren);
    cl->AddCmd("v_setname_s", N_FOURCC('S', 'N', 'A', 'M'), n_setname);
    cl->AddCmd("s_getname_v", N_FOURCC('G', 'N', 'A', 'M'), n_getname);
    cl->AddCmd("s_getfullname_v", N_FOURCC('G', 'F', 'N', 'M'), n_getfullname);
    cl->AddCmd("s_getrelpath_o", N_FOURCC('G', 'R', 'P', 'H'), n_getrelpath);
    cl->AddCmd("o_find_s", N_FOURCC('F', 'I', 'N', 'D'), n_find);
    cl->AddCmd("v_sort_v", N_FOURCC('S', 'O', 'R', 'T'), n_sort);
    cl->AddCmd("i_gettreesize_v", N_FOURCC('G', 'T', 'S', 'Z'), n_gettreesize);
    cl->EndCmds();
}
