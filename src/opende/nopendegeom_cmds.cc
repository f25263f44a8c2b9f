//------------------------------------------------------------------------------
//  nopendegeom_cmds.cc
//
//  The script commands of nopendegeom, inherited by every shape and space.
//------------------------------------------------------------------------------
#include "opende/nopendegeom.h"
#include "kernel/ncmdargs.h"
#include "opende/nopendebody.h"
#include "opende/nopendecmdguard.h"
#include "opende/nopendetransformgeom.h"
#include "kernel/nkernelserver.h"
#include "kernel/npersistserver.h"

#include <climits>
#include <cstring>

using namespace nOpendeCmd;

namespace
{

/// true while a persistence file loads
bool Loading()
{
    return nKernelServer::Instance()->GetPersistServer()->IsLoading();
}

/*
 * n_create --
 *     Refuses a second Create and a space path that names no created
 *     space: ODE would be handed a dangling or missing space.
 */
void n_create(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = nCmdSelf<nOpendeGeom>(slf);
    const char* path = nullptr;
    if (!nCmdGetNonEmptyS(cmd, path, "space path")) return;
    n_cmd_check(cmd, 0 == self->id(), "'%s' has been created already", self->GetName());
    nString why;
    if (!nOpendeGeom::IsUsableSpacePath(path, why) && Loading())
    {
        // spaces save no Create and are created by script after the load:
        // the geom is made outside every space and waits to be added
        self->ReportDetached(path, why.Get());
        path = "none";
    }
    n_cmd_check(cmd, nOpendeGeom::IsUsableSpacePath(path, why), "space path '%s' %s", path, why.Get());
    n_cmd_check(cmd, self->Create(path), "'%s' cannot be created this way", self->GetName());
    // a transform earlier in the file may be waiting for this geom
    if (Loading()) nOpendeTransformGeom::OfferGeom(self);
}

/*
 * n_setbody --
 *     "none" keeps the ODE attachment and only clears the name; any other
 *     path must name a body.
 */
void n_setbody(void* slf, nCmd* cmd)
{
    const char* path = nullptr;
    if (!nCmdGetNonEmptyS(cmd, path, "body path")) return;
    nOpendeGeom* self = Created(slf, cmd);
    if (!self) return;
    if (0 != strcmp(path, "none"))
    {
        if (!nOpendeBody::Find(path) && Loading())
        {
            // bodies save no state and are created by script after the load
            self->ReportDetached(path, "names no created nopendebody");
            return;
        }
        n_cmd_check(cmd, nOpendeBody::Find(path), "body path '%s' names no created nopendebody", path);
        n_cmd_check(cmd, self->IsPlaceable(), "a %s cannot be attached to a body", self->GetGeomClassName());
    }
    self->SetBody(path);
}

void n_getbody(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nOpendeGeom>(slf)->GetBody());
}

void n_setposition(void* slf, nCmd* cmd)
{
    vector3 p;
    if (!nCmdGetVector3(cmd, p, "position")) return;
    nOpendeGeom* self = Placeable(slf, cmd);
    if (self) self->SetPosition(p);
}

void n_setrotation(void* slf, nCmd* cmd)
{
    matrix33 m;
    if (!nCmdGetMatrix33(cmd, m, "rotation")) return;
    // ODE turns the geom's body with it and aborts on any other matrix
    n_cmd_check(cmd, nOpendeBody::IsRotation(m), "the matrix is no rotation");
    nOpendeGeom* self = Placeable(slf, cmd);
    if (self) self->SetRotation(m);
}

void n_setquaternion(void* slf, nCmd* cmd)
{
    quaternion q;
    if (!GetQuaternion(cmd, q, "quaternion")) return;
    nOpendeGeom* self = Placeable(slf, cmd);
    if (self) self->SetQuaternion(q);
}

void n_getposition(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Placeable(slf, cmd);
    if (self) nCmdPutVector3(cmd, self->GetPosition());
}

void n_getrotation(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Placeable(slf, cmd);
    if (!self) return;
    const matrix33 m = self->GetRotation();
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++) cmd->Out()->SetF(m.m[r][c]);
    }
}

void n_getquaternion(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Placeable(slf, cmd);
    if (!self) return;
    const quaternion q = self->GetQuaternion();
    nCmdPutQuaternion(cmd, q);
}

void n_getgeomclassname(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Created(slf, cmd);
    if (self) cmd->Out()->SetS(self->GetGeomClassName());
}

void n_getaabb(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Created(slf, cmd);
    if (!self) return;
    n_cmd_check(cmd, self->HasShape(), "'%s' has no mesh to bound", self->GetName());
    float box[6];
    self->GetAABB(box);
    for (float f : box) cmd->Out()->SetF(f);
}

void n_setcategorybits(void* slf, nCmd* cmd)
{
    int bits = 0;
    if (!nCmdGetI(cmd, bits, INT_MIN, INT_MAX, "category bits")) return;
    nOpendeGeom* self = Created(slf, cmd);
    if (self) self->SetCategoryBits((uint)bits);
}

void n_setcollidebits(void* slf, nCmd* cmd)
{
    int bits = 0;
    if (!nCmdGetI(cmd, bits, INT_MIN, INT_MAX, "collide bits")) return;
    nOpendeGeom* self = Created(slf, cmd);
    if (self) self->SetCollideBits((uint)bits);
}

void n_getcategorybits(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Created(slf, cmd);
    if (self) cmd->Out()->SetI((int)self->GetCategoryBits());
}

void n_getcollidebits(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Created(slf, cmd);
    if (self) cmd->Out()->SetI((int)self->GetCollideBits());
}

void n_enable(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Created(slf, cmd);
    if (self) self->Enable();
}

void n_disable(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Created(slf, cmd);
    if (self) self->Disable();
}

void n_isenabled(void* slf, nCmd* cmd)
{
    nOpendeGeom* self = Created(slf, cmd);
    if (self) cmd->Out()->SetB(self->IsEnabled());
}

}  // namespace

/*
 * nopendegeom_initcmds --
 *     Side effects: registers the commands of nopendegeom.
 */
void nopendegeom_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_Create_s", N_FOURCC('C', 'R', 'E', 'A'), n_create);
    cl->AddCmd("v_SetBody_s", N_FOURCC('S', 'B', 'O', 'D'), n_setbody);
    cl->AddCmd("s_GetBody_v", N_FOURCC('G', 'B', 'O', 'D'), n_getbody);
    cl->AddCmd("v_SetPosition_fff", N_FOURCC('S', 'P', 'O', 'S'), n_setposition);
    cl->AddCmd("v_SetRotation_fffffffff", N_FOURCC('S', 'R', 'O', 'T'), n_setrotation);
    cl->AddCmd("v_SetQuaternion_ffff", N_FOURCC('S', 'Q', 'U', 'A'), n_setquaternion);
    cl->AddCmd("fff_GetPosition_v", N_FOURCC('G', 'P', 'O', 'S'), n_getposition);
    cl->AddCmd("fffffffff_GetRotation_v", N_FOURCC('G', 'R', 'O', 'T'), n_getrotation);
    cl->AddCmd("ffff_GetQuaternion_v", N_FOURCC('G', 'Q', 'U', 'A'), n_getquaternion);
    cl->AddCmd("s_GetGeomClassName_v", N_FOURCC('G', 'G', 'C', 'N'), n_getgeomclassname);
    cl->AddCmd("ffffff_GetAABB_v", N_FOURCC('G', 'B', 'O', 'X'), n_getaabb);
    cl->AddCmd("v_SetCategoryBits_i", N_FOURCC('S', 'C', 'T', 'B'), n_setcategorybits);
    cl->AddCmd("v_SetCollideBits_i", N_FOURCC('S', 'C', 'L', 'B'), n_setcollidebits);
    cl->AddCmd("i_GetCategoryBits_v", N_FOURCC('G', 'C', 'T', 'B'), n_getcategorybits);
    cl->AddCmd("i_GetCollideBits_v", N_FOURCC('G', 'C', 'L', 'B'), n_getcollidebits);
    cl->AddCmd("v_Enable_v", N_FOURCC('E', 'N', 'B', 'L'), n_enable);
    cl->AddCmd("v_Disable_v", N_FOURCC('D', 'S', 'B', 'L'), n_disable);
    cl->AddCmd("b_IsEnabled_v", N_FOURCC('I', 'E', 'N', 'B'), n_isenabled);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the base object's commands; then, for a geom
 *     that has its ODE geom, CREA (the path of the space it is in now,
 *     "none" when it is in no space and not waiting for a mesh to join
 *     it), SBOD, SPOS and SQUA (only for geoms ODE places: asking ODE for
 *     a plane's position aborts), SCTB, SCLB and ENBL or DSBL.
 */
bool nOpendeGeom::SaveCmds(nPersistServer* ps)
{
    if (!nRoot::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('C', 'R', 'E', 'A'));
    // the space the geom is in now, whether Create or AddGeom put it
    // there; a triangle mesh joins its space with its mesh: it is meant
    // to be there
    const nString space = this->GetSpace() ? this->GetCurrentSpacePath()
                                           : nString(this->HasShape() ? "none" : this->spacePath.Get());
    cmd->In()->SetS(space.Get());
    if (!ps->PutCmd(cmd)) return false;

    cmd = ps->GetCmd(this, N_FOURCC('S', 'B', 'O', 'D'));
    cmd->In()->SetS(this->bodyName.Get());
    if (!ps->PutCmd(cmd)) return false;

    if (this->IsPlaceable())
    {
        const vector3 p = this->GetPosition();
        cmd = ps->GetCmd(this, N_FOURCC('S', 'P', 'O', 'S'));
        nCmdSetVector3(cmd, p);
        if (!ps->PutCmd(cmd)) return false;

        const quaternion q = this->GetQuaternion();
        cmd = ps->GetCmd(this, N_FOURCC('S', 'Q', 'U', 'A'));
        nCmdSetQuaternion(cmd, q);
        if (!ps->PutCmd(cmd)) return false;
    }

    cmd = ps->GetCmd(this, N_FOURCC('S', 'C', 'T', 'B'));
    cmd->In()->SetI((int)this->GetCategoryBits());
    if (!ps->PutCmd(cmd)) return false;

    cmd = ps->GetCmd(this, N_FOURCC('S', 'C', 'L', 'B'));
    cmd->In()->SetI((int)this->GetCollideBits());
    if (!ps->PutCmd(cmd)) return false;

    cmd = ps->GetCmd(this, this->IsEnabled() ? N_FOURCC('E', 'N', 'B', 'L') : N_FOURCC('D', 'S', 'B', 'L'));
    return ps->PutCmd(cmd);
}
