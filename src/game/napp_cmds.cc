//------------------------------------------------------------------------------
//  napp_cmds.cc
//
//  The script commands of napp. Paths, ids and numbers come from scripts,
//  so a null, empty or non-finite one is a script error.
//------------------------------------------------------------------------------
#include "game/napp.h"
#include "game/nfloat2int.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_setlocaletable(void* slf, nCmd* cmd)
{
    const char* path;
    if (!nCmdGetNonEmptyS(cmd, path, "locale table")) return;
    nCmdSelf<nApp>(slf)->SetLocaleTable(nString(path));
}

void n_locale(void* slf, nCmd* cmd)
{
    const char* id;
    if (!nCmdGetNonEmptyS(cmd, id, "locale id")) return;
    cmd->Out()->SetS(nCmdSelf<nApp>(slf)->GetLocaleText(id));
}

void n_roundtoint(void* /*slf*/, nCmd* cmd)
{
    float f;
    if (!nCmdGetF(cmd, f, "value")) return;
    cmd->Out()->SetI(n_float2int(f));
}

}  // namespace

/*
 * napp_initcmds --
 *     Side effects: registers the commands of napp on its class.
 */
void napp_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setlocaletable_s", N_FOURCC('S', 'L', 'C', 'T'), n_setlocaletable);
    cl->AddCmd("s_locale_s", N_FOURCC('L', 'C', 'L', 'E'), n_locale);
    cl->AddCmd("i_float2int_f", N_FOURCC('F', '2', 'I', 'N'), n_roundtoint);
    cl->EndCmds();
}
