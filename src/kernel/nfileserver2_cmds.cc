//------------------------------------------------------------------------------
//  nfileserver2_cmds.cc
//
//  Script commands of nFileServer2. None is written back when saving.
//------------------------------------------------------------------------------
#include "kernel/nfileserver2.h"
#include "kernel/nfilenode.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/nmodule.h"

void nfileserver2_initcmds(nClass* cl);
N_IMPLEMENT_SINGLETON_MODULE(nfileserver2, nFileServer2, "nroot", nfileserver2_initcmds)

namespace
{

/*
 * n_setassign --
 *     v_setassign_ss: sets the assign (name, path).
 */
void n_setassign(void* slf, nCmd* cmd)
{
    nFileServer2* self = static_cast<nFileServer2*>(slf);
    const char* name = cmd->In()->GetS();
    const char* path = cmd->In()->GetS();
    self->SetAssign(name, path);
}

/*
 * n_getassign --
 *     s_getassign_s: the value of the assign, empty when undefined.
 */
void n_getassign(void* slf, nCmd* cmd)
{
    nFileServer2* self = static_cast<nFileServer2*>(slf);
    cmd->Out()->SetS(self->GetAssign(cmd->In()->GetS()));
}

/*
 * n_manglepath --
 *     s_manglepath_s: the operating-system path of an engine path.
 */
void n_manglepath(void* slf, nCmd* cmd)
{
    nFileServer2* self = static_cast<nFileServer2*>(slf);
    cmd->Out()->SetS(self->ManglePath(cmd->In()->GetS()).Get());
}

/*
 * n_fileexists --
 *     b_fileexists_s: true when the file exists (archives included).
 */
void n_fileexists(void* slf, nCmd* cmd)
{
    nFileServer2* self = static_cast<nFileServer2*>(slf);
    cmd->Out()->SetB(self->FileExists(cmd->In()->GetS()));
}

/*
 * n_createfilenode --
 *     o_createfilenode_s: a new file node under /sys/share/files.
 */
void n_createfilenode(void* slf, nCmd* cmd)
{
    nFileServer2* self = static_cast<nFileServer2*>(slf);
    cmd->Out()->SetO(self->CreateFileNode(cmd->In()->GetS()));
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
