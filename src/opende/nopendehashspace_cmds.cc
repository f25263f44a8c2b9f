//------------------------------------------------------------------------------
//  nopendehashspace_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendehashspace.h"
#include "opende/nopendecmdguard.h"

using namespace nOpendeCmd;

namespace
{

/// cells from 2^-MaxLevel to 2^MaxLevel; beyond that the grid's cell
/// arithmetic leaves the range of its integers
const int MaxLevel = 30;

void n_getlevels(void* slf, nCmd* cmd)
{
    nOpendeHashSpace* self = static_cast<nOpendeHashSpace*>(Created(slf, cmd));
    if (!self) return;
    int minLevel = 0;
    int maxLevel = 0;
    self->GetLevels(minLevel, maxLevel);
    cmd->Out()->SetI(minLevel);
    cmd->Out()->SetI(maxLevel);
}

/*
 * n_setlevels --
 *     ODE aborts on a minimum above the maximum.
 */
void n_setlevels(void* slf, nCmd* cmd)
{
    int minLevel = 0;
    int maxLevel = 0;
    if (!nCmdGetI(cmd, minLevel, -MaxLevel, MaxLevel, "minimum level")) return;
    if (!nCmdGetI(cmd, maxLevel, -MaxLevel, MaxLevel, "maximum level")) return;
    n_cmd_check(cmd, minLevel <= maxLevel, "minimum level %d is above maximum level %d", minLevel, maxLevel);
    nOpendeHashSpace* self = static_cast<nOpendeHashSpace*>(Created(slf, cmd));
    if (self) self->SetLevels(minLevel, maxLevel);
}

}  // namespace

/*
 * nopendehashspace_initcmds --
 *     Side effects: registers the commands of nopendehashspace; the getter
 *     carries 'SLVL' and the setter 'GLVL', as the class always had them.
 */
void nopendehashspace_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("ii_GetLevels_v", N_FOURCC('S', 'L', 'V', 'L'), n_getlevels);
    cl->AddCmd("v_SetLevels_ii", N_FOURCC('G', 'L', 'V', 'L'), n_setlevels);
    cl->EndCmds();
}
