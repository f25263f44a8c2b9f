//------------------------------------------------------------------------------
//  nopendecapsulegeom_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendecapsulegeom.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

using namespace nOpendeCmd;

namespace
{

nOpendeCapsuleGeom* Self(void* slf, nCmd* cmd)
{
    return static_cast<nOpendeCapsuleGeom*>(Created(slf, cmd));
}

/*
 * n_setparams --
 *     ODE aborts on a negative radius or length.
 */
void n_setparams(void* slf, nCmd* cmd)
{
    float radius = 0.0f;
    float length = 0.0f;
    if (!GetNonNegative(cmd, radius, "radius") || !GetNonNegative(cmd, length, "length")) return;
    nOpendeCapsuleGeom* self = Self(slf, cmd);
    if (self) self->SetParams(radius, length);
}

void n_getparams(void* slf, nCmd* cmd)
{
    nOpendeCapsuleGeom* self = Self(slf, cmd);
    if (!self) return;
    float radius = 0.0f;
    float length = 0.0f;
    self->GetParams(radius, length);
    cmd->Out()->SetF(radius);
    cmd->Out()->SetF(length);
}

void n_pointdepth(void* slf, nCmd* cmd)
{
    vector3 p;
    if (!nCmdGetVector3(cmd, p, "point")) return;
    nOpendeCapsuleGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetF(self->PointDepth(p));
}

}  // namespace

/*
 * nopendecapsulegeom_initcmds --
 *     Side effects: registers the commands of nopendecapsulegeom.
 */
void nopendecapsulegeom_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetParams_ff", N_FOURCC('S', 'P', 'R', 'M'), n_setparams);
    cl->AddCmd("ff_GetParams_v", N_FOURCC('G', 'P', 'R', 'M'), n_getparams);
    cl->AddCmd("f_PointDepth_fff", N_FOURCC('P', 'D', 'E', 'P'), n_pointdepth);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the geom's commands, then SPRM with radius and length.
 */
bool nOpendeCapsuleGeom::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeGeom::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    float radius = 0.0f;
    float length = 0.0f;
    this->GetParams(radius, length);
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'P', 'R', 'M'));
    cmd->In()->SetF(radius);
    cmd->In()->SetF(length);
    return ps->PutCmd(cmd);
}
