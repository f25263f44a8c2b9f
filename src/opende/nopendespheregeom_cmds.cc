//------------------------------------------------------------------------------
//  nopendespheregeom_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendespheregeom.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

using namespace nOpendeCmd;

namespace
{

nOpendeSphereGeom* Self(void* slf, nCmd* cmd)
{
    return static_cast<nOpendeSphereGeom*>(Created(slf, cmd));
}

/*
 * n_setradius --
 *     ODE aborts on a negative radius.
 */
void n_setradius(void* slf, nCmd* cmd)
{
    float r = 0.0f;
    if (!GetNonNegative(cmd, r, "radius")) return;
    nOpendeSphereGeom* self = Self(slf, cmd);
    if (self) self->SetRadius(r);
}

void n_getradius(void* slf, nCmd* cmd)
{
    nOpendeSphereGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetF(self->GetRadius());
}

void n_pointdepth(void* slf, nCmd* cmd)
{
    vector3 p;
    if (!nCmdGetVector3(cmd, p, "point")) return;
    nOpendeSphereGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetF(self->PointDepth(p));
}

}  // namespace

/*
 * nopendespheregeom_initcmds --
 *     Side effects: registers the commands of nopendespheregeom.
 */
void nopendespheregeom_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetRadius_f", N_FOURCC('S', 'R', 'A', 'D'), n_setradius);
    cl->AddCmd("f_GetRadius_v", N_FOURCC('G', 'R', 'A', 'D'), n_getradius);
    cl->AddCmd("f_PointDepth_fff", N_FOURCC('P', 'D', 'E', 'P'), n_pointdepth);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the geom's commands, then SRAD with the radius.
 */
bool nOpendeSphereGeom::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeGeom::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'R', 'A', 'D'));
    cmd->In()->SetF(this->GetRadius());
    return ps->PutCmd(cmd);
}
