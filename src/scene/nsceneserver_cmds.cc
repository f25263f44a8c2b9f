//------------------------------------------------------------------------------
//  nsceneserver_cmds.cc
//------------------------------------------------------------------------------
#include "scene/nsceneserver.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_setrenderpathfilename(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "render path file name")) return;
    nCmdSelf<nSceneServer>(slf)->SetRenderPathFilename(name);
}

void n_getrenderpathfilename(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nSceneServer>(slf)->GetRenderPathFilename().Get());
}

}  // namespace

/*
 * nsceneserver_initcmds --
 *     Results: none. Side effects: registers the commands of nsceneserver.
 */
void nsceneserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setrenderpathfilename_s", N_FOURCC('S', 'R', 'P', 'F'), n_setrenderpathfilename);
    cl->AddCmd("s_getrenderpathfilename_v", N_FOURCC('G', 'R', 'P', 'F'), n_getrenderpathfilename);
    cl->EndCmds();
}
