//------------------------------------------------------------------------------
//  nnpkfileserver_cmds.cc
//
//  Script commands of nNpkFileServer. None is written back when saving.
//------------------------------------------------------------------------------
#include "file/nnpkfileserver.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

/*
 * n_parsedirectory --
 *     i_parsedirectory_ss: mounts the archives of a directory (directory,
 *     extension); the number mounted. A null or empty argument is a script
 *     error.
 */
void n_parsedirectory(void* slf, nCmd* cmd)
{
    nNpkFileServer* self = nCmdSelf<nNpkFileServer>(slf);
    const char* dirName;
    const char* extension;
    if (!nCmdGetNonEmptyS(cmd, dirName, "directory") || !nCmdGetNonEmptyS(cmd, extension, "extension")) return;
    cmd->Out()->SetI(self->ParseDirectory(nString(dirName), nString(extension)));
}

}  // namespace

void nnpkfileserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("i_parsedirectory_ss", N_FOURCC('P', 'R', 'S', 'D'), n_parsedirectory);
    cl->EndCmds();
}
