//------------------------------------------------------------------------------
//  nguitextwindow_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguitextwindow.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_settextfile(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "text file")) return;
    nCmdSelf<nGuiTextWindow>(slf)->SetTextFile(s);
}

void n_gettextfile(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nGuiTextWindow>(slf)->GetTextFile());
}

}  // namespace

/*
 * nguitextwindow_initcmds --
 *     Side effects: registers the commands of nguitextwindow on its class:
 *     the name of the file it shows.
 */
void nguitextwindow_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_settextfile_s", N_FOURCC('S', 'T', 'X', 'F'), n_settextfile);
    cl->AddCmd("s_gettextfile_v", N_FOURCC('G', 'T', 'X', 'F'), n_gettextfile);
    cl->EndCmds();
}
