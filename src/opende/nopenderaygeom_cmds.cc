//------------------------------------------------------------------------------
//  nopenderaygeom_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopenderaygeom.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

using namespace nOpendeCmd;

namespace
{

nOpendeRayGeom* Self(void* slf, nCmd* cmd)
{
    return static_cast<nOpendeRayGeom*>(Created(slf, cmd));
}

void n_setlength(void* slf, nCmd* cmd)
{
    float length = 0.0f;
    if (!GetNonNegative(cmd, length, "length")) return;
    nOpendeRayGeom* self = Self(slf, cmd);
    if (self) self->SetLength(length);
}

void n_getlength(void* slf, nCmd* cmd)
{
    nOpendeRayGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetF(self->GetLength());
}

/*
 * n_set --
 *     ODE aborts when it cannot normalise a zero direction.
 */
void n_set(void* slf, nCmd* cmd)
{
    vector3 start;
    vector3 dir;
    if (!nCmdGetVector3(cmd, start, "start") || !GetDirection(cmd, dir, "direction")) return;
    nOpendeRayGeom* self = Self(slf, cmd);
    if (self) self->Set(start, dir);
}

void n_get(void* slf, nCmd* cmd)
{
    nOpendeRayGeom* self = Self(slf, cmd);
    if (!self) return;
    vector3 start;
    vector3 dir;
    self->Get(start, dir);
    nCmdPutVector3(cmd, start);
    nCmdPutVector3(cmd, dir);
}

void n_setparams(void* slf, nCmd* cmd)
{
    const bool firstContact = cmd->In()->GetB();
    const bool backfaceCull = cmd->In()->GetB();
    nOpendeRayGeom* self = Self(slf, cmd);
    if (self) self->SetParams(firstContact, backfaceCull);
}

void n_getparams(void* slf, nCmd* cmd)
{
    nOpendeRayGeom* self = Self(slf, cmd);
    if (!self) return;
    bool firstContact = false;
    bool backfaceCull = false;
    self->GetParams(firstContact, backfaceCull);
    cmd->Out()->SetB(firstContact);
    cmd->Out()->SetB(backfaceCull);
}

void n_setclosesthit(void* slf, nCmd* cmd)
{
    const bool b = cmd->In()->GetB();
    nOpendeRayGeom* self = Self(slf, cmd);
    if (self) self->SetClosestHit(b);
}

void n_getclosesthit(void* slf, nCmd* cmd)
{
    nOpendeRayGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetB(self->GetClosestHit());
}

}  // namespace

/*
 * nopenderaygeom_initcmds --
 *     Side effects: registers the commands of nopenderaygeom.
 */
void nopenderaygeom_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetLength_f", N_FOURCC('S', 'L', 'E', 'N'), n_setlength);
    cl->AddCmd("f_GetLength_v", N_FOURCC('G', 'L', 'E', 'N'), n_getlength);
    cl->AddCmd("v_Set_ffffff", N_FOURCC('S', 'E', 'T', '_'), n_set);
    cl->AddCmd("ffffff_Get_v", N_FOURCC('G', 'E', 'T', '_'), n_get);
    cl->AddCmd("v_SetParams_bb", N_FOURCC('S', 'P', 'R', 'M'), n_setparams);
    cl->AddCmd("bb_GetParams_v", N_FOURCC('G', 'P', 'R', 'M'), n_getparams);
    cl->AddCmd("v_SetClosestHit_b", N_FOURCC('S', 'C', 'H', 'T'), n_setclosesthit);
    cl->AddCmd("b_GetClosestHit_v", N_FOURCC('G', 'C', 'H', 'T'), n_getclosesthit);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the geom's commands, then SLEN, SET_ (start
 *     and direction), SPRM and SCHT.
 */
bool nOpendeRayGeom::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeGeom::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'L', 'E', 'N'));
    cmd->In()->SetF(this->GetLength());
    if (!ps->PutCmd(cmd)) return false;

    vector3 start;
    vector3 dir;
    this->Get(start, dir);
    cmd = ps->GetCmd(this, N_FOURCC('S', 'E', 'T', '_'));
    nCmdSetVector3(cmd, start);
    nCmdSetVector3(cmd, dir);
    if (!ps->PutCmd(cmd)) return false;

    bool firstContact = false;
    bool backfaceCull = false;
    this->GetParams(firstContact, backfaceCull);
    cmd = ps->GetCmd(this, N_FOURCC('S', 'P', 'R', 'M'));
    cmd->In()->SetB(firstContact);
    cmd->In()->SetB(backfaceCull);
    if (!ps->PutCmd(cmd)) return false;

    cmd = ps->GetCmd(this, N_FOURCC('S', 'C', 'H', 'T'));
    cmd->In()->SetB(this->GetClosestHit());
    return ps->PutCmd(cmd);
}
