//------------------------------------------------------------------------------
//  nopendeboxgeom_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendeboxgeom.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

using namespace nOpendeCmd;

namespace
{

nOpendeBoxGeom* Self(void* slf, nCmd* cmd)
{
    return static_cast<nOpendeBoxGeom*>(Created(slf, cmd));
}

/*
 * n_setlengths --
 *     ODE aborts on a negative side.
 */
void n_setlengths(void* slf, nCmd* cmd)
{
    vector3 l;
    if (!GetNonNegative(cmd, l.x, "x length") || !GetNonNegative(cmd, l.y, "y length") ||
        !GetNonNegative(cmd, l.z, "z length"))
    {
        return;
    }
    nOpendeBoxGeom* self = Self(slf, cmd);
    if (self) self->SetLengths(l);
}

void n_getlengths(void* slf, nCmd* cmd)
{
    nOpendeBoxGeom* self = Self(slf, cmd);
    if (self) nCmdPutVector3(cmd, self->GetLengths());
}

void n_pointdepth(void* slf, nCmd* cmd)
{
    vector3 p;
    if (!nCmdGetVector3(cmd, p, "point")) return;
    nOpendeBoxGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetF(self->PointDepth(p));
}

}  // namespace

/*
 * nopendeboxgeom_initcmds --
 *     Side effects: registers the commands of nopendeboxgeom.
 */
void nopendeboxgeom_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetLengths_fff", N_FOURCC('S', 'L', 'E', 'N'), n_setlengths);
    cl->AddCmd("fff_GetLengths_v", N_FOURCC('G', 'L', 'E', 'N'), n_getlengths);
    cl->AddCmd("f_PointDepth_fff", N_FOURCC('P', 'D', 'E', 'P'), n_pointdepth);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the geom's commands, then SLEN with the three lengths.
 */
bool nOpendeBoxGeom::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeGeom::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    const vector3 l = this->GetLengths();
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'L', 'E', 'N'));
    nCmdSetVector3(cmd, l);
    return ps->PutCmd(cmd);
}
