//------------------------------------------------------------------------------
//  nnpkfileserver_cmds.cc
//
//  Script commands of nNpkFileServer. None is written back when saving.
//------------------------------------------------------------------------------
#include "file/nnpkfileserver.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"

namespace
{

/*
 * n_parsedirectory --
 *     i_parsedirectory_ss: mounts the archives of a directory (directory,
 *     extension); the number mounted. Empty arguments from a script mount
 *     nothing and say so.
 */
void n_parsedirectory(void* slf, nCmd* cmd)
{
    nNpkFileServer* self = static_cast<nNpkFileServer*>(slf);
    const nString dirName(cmd->In()->GetS());
    const nString extension(cmd->In()->GetS());
    if (dirName.IsEmpty() || extension.IsEmpty())
    {
        n_printf("nNpkFileServer::ParseDirectory(): directory and extension must not be empty\n");
        cmd->Out()->SetI(0);
        return;
    }
    cmd->Out()->SetI(self->ParseDirectory(dirName, extension));
}

}  // namespace

void nnpkfileserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("i_parsedirectory_ss", N_FOURCC('P', 'R', 'S', 'D'), n_parsedirectory);
    cl->EndCmds();
}
