//------------------------------------------------------------------------------
//  npersistserver_cmds.cc
//------------------------------------------------------------------------------
#include "kernel/npersistserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

static void n_setsavelevel(void* slf, nCmd* cmd);
static void n_getsavelevel(void* slf, nCmd* cmd);
static void n_setsaverclass(void* slf, nCmd* cmd);
static void n_getsaverclass(void* slf, nCmd* cmd);

void npersistserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setsavelevel_i", N_FOURCC('S', 'S', 'L', 'V'), n_setsavelevel);
    cl->AddCmd("i_getsavelevel_v", N_FOURCC('G', 'S', 'L', 'V'), n_getsavelevel);
    cl->AddCmd("v_setsaverclass_s", N_FOURCC('S', 'S', 'C', 'L'), n_setsaverclass);
    cl->AddCmd("s_getsaverclass_v", N_FOURCC('G', 'S', 'C', 'L'), n_getsaverclass);
    cl->EndCmds();
}

static void n_setsavelevel(void* slf, nCmd* cmd)
{
    int level;
    if (!nCmdGetI(cmd, level, 0, 0x7fffffff, "save level")) return;
    nCmdSelf<nPersistServer>(slf)->SetSaveLevel(level);
}

static void n_getsavelevel(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nPersistServer>(slf)->GetSaveLevel());
}

/*
 * n_setsaverclass --
 *     A script may name no class or one that is no script server: that is
 *     a script error and the saver stays as it was.
 */
static void n_setsaverclass(void* slf, nCmd* cmd)
{
    const char* saverClass;
    if (!nCmdGetNonEmptyS(cmd, saverClass, "class name")) return;
    n_cmd_check(cmd, nCmdSelf<nPersistServer>(slf)->SetSaverClass(nString(saverClass)),
                "'%.64s' is no script server class", saverClass);
}

static void n_getsaverclass(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nPersistServer>(slf)->GetSaverClass().Get());
}
