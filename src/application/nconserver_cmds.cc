//------------------------------------------------------------------------------
//  nconserver_cmds.cc
//
//  The script commands of nconserver: open, close and toggle the console,
//  watch and unwatch "/sys/var" values.
//------------------------------------------------------------------------------
#include "application/nconserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_open(void* slf, nCmd*)
{
    nCmdSelf<nConServer>(slf)->Open();
}

void n_close(void* slf, nCmd*)
{
    nCmdSelf<nConServer>(slf)->Close();
}

void n_toggle(void* slf, nCmd*)
{
    nCmdSelf<nConServer>(slf)->Toggle();
}

void n_watch(void* slf, nCmd* cmd)
{
    const char* pattern;
    if (!nCmdGetS(cmd, pattern, "watch pattern")) return;
    nCmdSelf<nConServer>(slf)->Watch(pattern);
}

void n_unwatch(void* slf, nCmd*)
{
    nCmdSelf<nConServer>(slf)->Unwatch();
}

}  // namespace

/*
 * nconserver_initcmds --
 *     Side effects: registers the commands of nconserver on its class.
 */
void nconserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_open_v", N_FOURCC('O', 'C', 'O', 'N'), n_open);
    cl->AddCmd("v_close_v", N_FOURCC('C', 'C', 'O', 'N'), n_close);
    cl->AddCmd("v_toggle_v", N_FOURCC('T', 'C', 'O', 'N'), n_toggle);
    cl->AddCmd("v_watch_s", N_FOURCC('W', 'T', 'C', 'H'), n_watch);
    cl->AddCmd("v_unwatch_v", N_FOURCC('U', 'W', 'T', 'C'), n_unwatch);
    cl->EndCmds();
}
