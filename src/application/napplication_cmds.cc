//------------------------------------------------------------------------------
//  napplication_cmds.cc
//
//  The script commands of napplication. Names come from scripts, so a null
//  or empty one is refused as a script error, never asserted.
//------------------------------------------------------------------------------
#include "application/napplication.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_setcompanyname(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetNonEmptyS(cmd, name, "company name")) return;
    nCmdSelf<nApplication>(slf)->SetCompanyName(nString(name));
}

void n_getcompanyname(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nApplication>(slf)->GetCompanyName().Get());
}

void n_setappname(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetNonEmptyS(cmd, name, "application name")) return;
    nCmdSelf<nApplication>(slf)->SetAppName(nString(name));
}

void n_getappname(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nApplication>(slf)->GetAppName().Get());
}

void n_getcurrentstate(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nApplication>(slf)->GetCurrentState().Get());
}

void n_setstate(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetNonEmptyS(cmd, name, "state name")) return;
    nCmdSelf<nApplication>(slf)->SetState(nString(name));
}

}  // namespace

/*
 * napplication_initcmds --
 *     Side effects: registers the commands of napplication on its class.
 */
void napplication_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setcompanyname_s", N_FOURCC('S', 'C', 'P', 'N'), n_setcompanyname);
    cl->AddCmd("s_getcompanyname_v", N_FOURCC('G', 'C', 'P', 'N'), n_getcompanyname);
    cl->AddCmd("v_setappname_s", N_FOURCC('S', 'A', 'P', 'N'), n_setappname);
    cl->AddCmd("s_getappname_v", N_FOURCC('G', 'A', 'P', 'N'), n_getappname);
    cl->AddCmd("s_getcurrentstate_v", N_FOURCC('G', 'C', 'R', 'S'), n_getcurrentstate);
    cl->AddCmd("v_setstate_s", N_FOURCC('S', 'E', 'T', 'S'), n_setstate);
    cl->EndCmds();
}
