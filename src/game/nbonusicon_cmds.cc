//------------------------------------------------------------------------------
//  nbonusicon_cmds.cc
//
//  The script commands of nbonusicon; the bonus name comes from scripts.
//------------------------------------------------------------------------------
#include "game/nbonusicon.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_updaterect(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nBonusIcon>(slf)->UpdateRect();
}

void n_setbonus(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "bonus name")) return;
    nCmdSelf<nBonusIcon>(slf)->SetBonus(name);
}

}  // namespace

/*
 * nbonusicon_initcmds --
 *     Side effects: registers the commands of nbonusicon on its class.
 */
void nbonusicon_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_updaterect_v", N_FOURCC('U', 'P', 'D', 'R'), n_updaterect);
    cl->AddCmd("v_setbonus_s", N_FOURCC('S', 'B', 'N', 'S'), n_setbonus);
    cl->EndCmds();
}
