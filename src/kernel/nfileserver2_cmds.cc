//------------------------------------------------------------------------------
//  nfileserver2_cmds.cc
//
//  Script commands of nFileServer2. None is written back when saving.
//------------------------------------------------------------------------------
#include "kernel/nfileserver2.h"
#include "kernel/nfilenode.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"
#include "kernel/nkernelserver.h"

void nfileserver2_initcmds(nClass* cl);

namespace
{

/*
 * n_setassign --
 *     v_setassign_ss: sets the assign (name, path).
 */
void n_setassign(void* slf, nCmd* cmd)
{
    nFileServer2* self = nCmdSelf<nFileServer2>(slf);
    const char* name;
    const char* path;
    if (!nCmdGetNonEmptyS(cmd, name, "assign name") || !nCmdGetS(cmd, path, "path")) return;
    n_cmd_check(cmd, self->SetAssign(name, path), "'%.64s' is no assign name", name);
}

/*
 * n_getassign --
 *     s_getassign_s: the value of the assign, a null string when it is
 *     not defined (":null:" in Tcl), so that an assign set to "" differs.
 */
void n_getassign(void* slf, nCmd* cmd)
{
    nFileServer2* self = nCmdSelf<nFileServer2>(slf);
    const char* name;
    if (!nCmdGetS(cmd, name, "assign name")) return;
    cmd->Out()->SetS(self->GetAssign(name));
}

/*
 * n_manglepath --
 *     s_manglepath_s: the operating-system path of an engine path.
 */
void n_manglepath(void* slf, nCmd* cmd)
{
    nFileServer2* self = nCmdSelf<nFileServer2>(slf);
    const char* path;
    if (!nCmdGetS(cmd, path, "path")) return;
    cmd->Out()->SetS(self->ManglePath(path).Get());
}

/*
 * n_fileexists --
 *     b_fileexists_s: true when the file exists (archives included).
 */
void n_fileexists(void* slf, nCmd* cmd)
{
    nFileServer2* self = nCmdSelf<nFileServer2>(slf);
    const char* path;
    if (!nCmdGetS(cmd, path, "path")) return;
    cmd->Out()->SetB(self->FileExists(path));
}

/*
 * n_createfilenode --
 *     o_createfilenode_s: a new file node under /sys/share/files; a name
 *     that is no object name or is taken is a script error.
 */
void n_createfilenode(void* slf, nCmd* cmd)
{
    nFileServer2* self = nCmdSelf<nFileServer2>(slf);
    const char* name;
    if (!nCmdGetS(cmd, name, "name")) return;
    n_cmd_check(cmd, nRoot::IsValidName(name), "'%.64s' is no valid object name", name);
    nString path("/sys/share/files/");
    path.Append(name);
    n_cmd_check(cmd, !nKernelServer::Instance()->Lookup(path.Get()), "file node '%.64s' exists", name);
    nFileNode* node = self->CreateFileNode(name);
    n_cmd_check(cmd, node, "could not create file node '%.64s'", name);
    cmd->Out()->SetO(node);
}

}  // namespace

void nfileserver2_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setassign_ss", N_FOURCC('S', 'A', 'S', 'S'), n_setassign);
    cl->AddCmd("s_getassign_s", N_FOURCC('G', 'A', 'S', 'S'), n_getassign);
    cl->AddCmd("s_manglepath_s", N_FOURCC('M', 'N', 'G', 'P'), n_manglepath);
    cl->AddCmd("b_fileexists_s", N_FOURCC('F', 'L', 'E', 'X'), n_fileexists);
    cl->AddCmd("o_createfilenode_s", N_FOURCC('C', 'F', 'L', 'N'), n_createfilenode);
    cl->EndCmds();
}
