//------------------------------------------------------------------------------
//  nopendeplanegeom_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendeplanegeom.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

using namespace nOpendeCmd;

namespace
{

nOpendePlaneGeom* Self(void* slf, nCmd* cmd)
{
    return static_cast<nOpendePlaneGeom*>(Created(slf, cmd));
}

/*
 * n_setparams --
 *     A plane needs a normal: a zero one is refused.
 */
void n_setparams(void* slf, nCmd* cmd)
{
    vector3 n;
    float d = 0.0f;
    if (!GetDirection(cmd, n, "plane normal") || !nCmdGetF(cmd, d, "plane distance")) return;
    nOpendePlaneGeom* self = Self(slf, cmd);
    if (self) self->SetParams(vector4(n.x, n.y, n.z, d));
}

void n_getparams(void* slf, nCmd* cmd)
{
    nOpendePlaneGeom* self = Self(slf, cmd);
    if (!self) return;
    const vector4 p = self->GetParams();
    nCmdPutVector4(cmd, p);
}

void n_pointdepth(void* slf, nCmd* cmd)
{
    vector3 p;
    if (!nCmdGetVector3(cmd, p, "point")) return;
    nOpendePlaneGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetF(self->PointDepth(p));
}

}  // namespace

/*
 * nopendeplanegeom_initcmds --
 *     Side effects: registers the commands of nopendeplanegeom.
 */
void nopendeplanegeom_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetParams_ffff", N_FOURCC('S', 'P', 'R', 'M'), n_setparams);
    cl->AddCmd("ffff_GetParams_v", N_FOURCC('G', 'P', 'R', 'M'), n_getparams);
    cl->AddCmd("f_PointDepth_fff", N_FOURCC('P', 'D', 'E', 'P'), n_pointdepth);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the geom's commands, then SPRM with a, b, c, d.
 */
bool nOpendePlaneGeom::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeGeom::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    const vector4 p = this->GetParams();
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'P', 'R', 'M'));
    nCmdSetVector4(cmd, p);
    return ps->PutCmd(cmd);
}
