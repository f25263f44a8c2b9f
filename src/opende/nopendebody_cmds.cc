//------------------------------------------------------------------------------
//  nopendebody_cmds.cc
//
//  The script commands of nopendebody. Every command but Create needs the
//  ODE body; the mass commands report a mass ODE would abort on and leave
//  the body's mass as it was.
//------------------------------------------------------------------------------
#include "opende/nopendebody.h"
#include "kernel/ncmdargs.h"
#include "opende/nopendecmdguard.h"
#include "kernel/nkernelserver.h"

#include <climits>

using namespace nOpendeCmd;

namespace
{

/// the body of the command if its ODE body exists; else 0, reported
nOpendeBody* Self(void* slf, nCmd* cmd)
{
    nOpendeBody* b = nCmdSelf<nOpendeBody>(slf);
    if (b->id()) return b;
    nCmdFail(cmd, "'%s' has no ODE body yet: call Create first", b->GetName());
    return nullptr;
}

/// a mass operation's result as the command's outcome
void MassDone(nCmd* cmd, bool ok)
{
    if (!ok) nCmdFail(cmd, "ODE does not take the resulting mass; the body keeps its mass");
}

/// the body at the path of the next argument, which must be created
bool GetOtherBody(nCmd* cmd, nOpendeBody*& out)
{
    const char* path = nullptr;
    if (!nCmdGetNonEmptyS(cmd, path, "body path")) return false;
    out = nOpendeBody::Find(path);
    if (!out) return nCmdFail(cmd, "'%s' names no created nopendebody", path);
    return true;
}

/// a direction number 1 (x), 2 (y) or 3 (z)
bool GetAxisNumber(nCmd* cmd, int& dir)
{
    return nCmdGetI(cmd, dir, 1, 3, "direction (1 x, 2 y, 3 z)");
}

void n_create(void* slf, nCmd* cmd)
{
    nOpendeBody* self = nCmdSelf<nOpendeBody>(slf);
    const char* path = nullptr;
    if (!nCmdGetNonEmptyS(cmd, path, "world path")) return;
    n_cmd_check(cmd, 0 == self->id(), "'%s' has been created already", self->GetName());
    nRoot* world = nKernelServer::Instance()->Lookup(path);
    n_cmd_check(cmd, world && world->IsA("nopendeworld"), "world path '%s' names no nopendeworld", path);
    self->Create(path);
}

/// a setter taking one vector
template <void (nOpendeBody::*Set)(const vector3&)>
void SetVec(void* slf, nCmd* cmd)
{
    vector3 v;
    if (!nCmdGetVector3(cmd, v, "vector")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) (self->*Set)(v);
}

/// a getter returning one vector
template <vector3 (nOpendeBody::*Get)() const>
void GetVec(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (self) nCmdPutVector3(cmd, (self->*Get)());
}

/// a conversion of one vector into another
template <vector3 (nOpendeBody::*Conv)(const vector3&) const>
void ConvVec(void* slf, nCmd* cmd)
{
    vector3 v;
    if (!nCmdGetVector3(cmd, v, "vector")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) nCmdPutVector3(cmd, (self->*Conv)(v));
}

/// a force (first vector) at a point (second vector)
template <void (nOpendeBody::*Add)(const vector3&, const vector3&)>
void ForceAt(void* slf, nCmd* cmd)
{
    vector3 f;
    vector3 p;
    if (!nCmdGetVector3(cmd, f, "force") || !nCmdGetVector3(cmd, p, "point")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) (self->*Add)(f, p);
}

void n_setrotation(void* slf, nCmd* cmd)
{
    matrix33 m;
    if (!nCmdGetMatrix33(cmd, m, "rotation")) return;
    n_cmd_check(cmd, nOpendeBody::IsRotation(m), "the matrix is no rotation");
    nOpendeBody* self = Self(slf, cmd);
    if (self) self->SetRotation(m);
}

void n_setquaternion(void* slf, nCmd* cmd)
{
    quaternion q;
    if (!GetQuaternion(cmd, q, "quaternion")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) self->SetQuaternion(q);
}

void n_getrotation(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (!self) return;
    const matrix33 m = self->GetRotation();
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++) cmd->Out()->SetF(m.m[r][c]);
    }
}

void n_getquaternion(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (!self) return;
    const quaternion q = self->GetQuaternion();
    nCmdPutQuaternion(cmd, q);
}

void n_enable(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (self) self->Enable();
}

void n_disable(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (self) self->Disable();
}

void n_isenabled(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (self) cmd->Out()->SetB(self->IsEnabled());
}

void n_setfiniterotationmode(void* slf, nCmd* cmd)
{
    int mode = 0;
    if (!nCmdGetI(cmd, mode, 0, 1, "finite rotation mode")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) self->SetFiniteRotationMode(mode);
}

void n_getfiniterotationmode(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (self) cmd->Out()->SetI(self->GetFiniteRotationMode());
}

void n_getnumjoints(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (self) cmd->Out()->SetI(self->GetNumJoints());
}

void n_setgravitymode(void* slf, nCmd* cmd)
{
    const bool b = cmd->In()->GetB();
    nOpendeBody* self = Self(slf, cmd);
    if (self) self->SetGravityMode(b);
}

void n_getgravitymode(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (self) cmd->Out()->SetB(self->GetGravityMode());
}

void n_isconnectedto(void* slf, nCmd* cmd)
{
    nOpendeBody* other = nullptr;
    if (!GetOtherBody(cmd, other)) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) cmd->Out()->SetB(self->IsConnectedTo(other->id()));
}

void n_isconnectedtoexcluding(void* slf, nCmd* cmd)
{
    nOpendeBody* other = nullptr;
    int type = 0;
    if (!GetOtherBody(cmd, other) || !nCmdGetI(cmd, type, INT_MIN, INT_MAX, "joint type")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) cmd->Out()->SetB(self->IsConnectedToExcluding(other->id(), type));
}

void n_resetmass(void* slf, nCmd* cmd)
{
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, self->ResetMass());
}

void n_setmassparams(void* slf, nCmd* cmd)
{
    float mass = 0.0f;
    vector3 cog;
    float i[6];
    if (!GetPositive(cmd, mass, "mass") || !nCmdGetVector3(cmd, cog, "centre of gravity")) return;
    for (float& f : i)
    {
        if (!nCmdGetF(cmd, f, "inertia")) return;
    }
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, self->SetMassParams(mass, cog, i[0], i[1], i[2], i[3], i[4], i[5]));
}

/// density or total mass, then a radius
template <bool (nOpendeBody::*Set)(float, float)>
void SphereMass(void* slf, nCmd* cmd)
{
    float amount = 0.0f;
    float radius = 0.0f;
    if (!GetPositive(cmd, amount, "density or mass") || !GetPositive(cmd, radius, "radius")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, (self->*Set)(amount, radius));
}

/// density or total mass, direction, radius, length
template <bool (nOpendeBody::*Set)(float, int, float, float)>
void AxialMass(void* slf, nCmd* cmd)
{
    float amount = 0.0f;
    int dir = 0;
    float radius = 0.0f;
    float length = 0.0f;
    if (!GetPositive(cmd, amount, "density or mass") || !GetAxisNumber(cmd, dir) ||
        !GetPositive(cmd, radius, "radius") || !GetNonNegative(cmd, length, "length"))
    {
        return;
    }
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, (self->*Set)(amount, dir, radius, length));
}

/// density or total mass, then three side lengths
template <bool (nOpendeBody::*Set)(float, float, float, float)>
void BoxMass(void* slf, nCmd* cmd)
{
    float amount = 0.0f;
    float l[3];
    if (!GetPositive(cmd, amount, "density or mass")) return;
    for (float& f : l)
    {
        if (!GetPositive(cmd, f, "side length")) return;
    }
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, (self->*Set)(amount, l[0], l[1], l[2]));
}

void n_adjustmass(void* slf, nCmd* cmd)
{
    float total = 0.0f;
    if (!GetPositive(cmd, total, "total mass")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, self->AdjustMass(total));
}

void n_translatemass(void* slf, nCmd* cmd)
{
    vector3 v;
    if (!nCmdGetVector3(cmd, v, "translation")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, self->TranslateMass(v));
}

void n_rotatemass(void* slf, nCmd* cmd)
{
    matrix33 m;
    if (!nCmdGetMatrix33(cmd, m, "rotation")) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, self->RotateMass(m));
}

void n_addmassof(void* slf, nCmd* cmd)
{
    nOpendeBody* other = nullptr;
    if (!GetOtherBody(cmd, other)) return;
    nOpendeBody* self = Self(slf, cmd);
    if (self) MassDone(cmd, self->AddMassOf(other->GetFullName().Get()));
}

}  // namespace

/*
 * nopendebody_initcmds --
 *     Side effects: registers the 55 commands of nopendebody.
 */
void nopendebody_initcmds(nClass* cl)
{
    using B = nOpendeBody;
    cl->BeginCmds();
    cl->AddCmd("v_Create_s", N_FOURCC('C', 'R', 'E', 'A'), n_create);
    cl->AddCmd("v_SetPosition_fff", N_FOURCC('S', 'P', 'O', 'S'), SetVec<&B::SetPosition>);
    cl->AddCmd("v_SetRotation_fffffffff", N_FOURCC('S', 'R', 'O', 'T'), n_setrotation);
    cl->AddCmd("v_SetQuaternion_ffff", N_FOURCC('S', 'Q', '_', '_'), n_setquaternion);
    cl->AddCmd("v_SetLinearVel_fff", N_FOURCC('S', 'L', 'V', '_'), SetVec<&B::SetLinearVel>);
    cl->AddCmd("v_SetAngularVel_fff", N_FOURCC('S', 'A', 'V', '_'), SetVec<&B::SetAngularVel>);
    cl->AddCmd("fff_GetPosition_v", N_FOURCC('G', 'P', 'O', 'S'), GetVec<&B::GetPosition>);
    cl->AddCmd("fffffffff_GetRotation_v", N_FOURCC('G', 'R', 'O', 'T'), n_getrotation);
    cl->AddCmd("ffff_GetQuaternion_v", N_FOURCC('G', 'Q', '_', '_'), n_getquaternion);
    cl->AddCmd("fff_GetLinearVel_v", N_FOURCC('G', 'L', 'V', '_'), GetVec<&B::GetLinearVel>);
    cl->AddCmd("fff_GetAngularVel_v", N_FOURCC('G', 'A', 'V', '_'), GetVec<&B::GetAngularVel>);
    cl->AddCmd("v_AddForce_fff", N_FOURCC('A', 'F', '_', '_'), SetVec<&B::AddForce>);
    cl->AddCmd("v_AddTorque_fff", N_FOURCC('A', 'T', '_', '_'), SetVec<&B::AddTorque>);
    cl->AddCmd("v_AddRelForce_fff", N_FOURCC('A', 'R', 'F', '_'), SetVec<&B::AddRelForce>);
    cl->AddCmd("v_AddRelTorque_fff", N_FOURCC('A', 'R', 'T', '_'), SetVec<&B::AddRelTorque>);
    cl->AddCmd("v_AddForceAtPos_ffffff", N_FOURCC('A', 'F', 'P', '_'), ForceAt<&B::AddForceAtPos>);
    cl->AddCmd("v_AddForceAtRelPos_ffffff", N_FOURCC('A', 'F', 'R', 'P'), ForceAt<&B::AddForceAtRelPos>);
    cl->AddCmd("v_AddRelForceAtPos_ffffff", N_FOURCC('A', 'R', 'F', 'P'), ForceAt<&B::AddRelForceAtPos>);
    cl->AddCmd("v_AddRelForceAtRelPos_ffffff", N_FOURCC('R', 'F', 'R', 'P'), ForceAt<&B::AddRelForceAtRelPos>);
    cl->AddCmd("fff_GetForce_v", N_FOURCC('G', 'F', '_', '_'), GetVec<&B::GetForce>);
    cl->AddCmd("fff_GetTorque_v", N_FOURCC('G', 'T', '_', '_'), GetVec<&B::GetTorque>);
    cl->AddCmd("v_SetForce_fff", N_FOURCC('S', 'F', '_', '_'), SetVec<&B::SetForce>);
    cl->AddCmd("v_SetTorque_fff", N_FOURCC('S', 'T', '_', '_'), SetVec<&B::SetTorque>);
    cl->AddCmd("fff_GetRelPointPos_fff", N_FOURCC('G', 'R', 'P', 'P'), ConvVec<&B::GetRelPointPos>);
    cl->AddCmd("fff_GetRelPointVel_fff", N_FOURCC('G', 'R', 'P', 'V'), ConvVec<&B::GetRelPointVel>);
    cl->AddCmd("fff_GetPointVel_fff", N_FOURCC('G', 'P', 'V', '_'), ConvVec<&B::GetPointVel>);
    cl->AddCmd("fff_GetPosRelPoint_fff", N_FOURCC('G', 'P', 'R', 'P'), ConvVec<&B::GetPosRelPoint>);
    cl->AddCmd("fff_VectorToWorld_fff", N_FOURCC('V', 'T', 'W', '_'), ConvVec<&B::VectorToWorld>);
    cl->AddCmd("fff_VectorFromWorld_fff", N_FOURCC('V', 'F', 'W', '_'), ConvVec<&B::VectorFromWorld>);
    cl->AddCmd("v_Enable_v", N_FOURCC('E', 'N', 'B', 'L'), n_enable);
    cl->AddCmd("v_Disable_v", N_FOURCC('D', 'I', 'S', '_'), n_disable);
    cl->AddCmd("b_IsEnabled_v", N_FOURCC('I', 'E', '_', '_'), n_isenabled);
    cl->AddCmd("v_SetFiniteRotationMode_i", N_FOURCC('S', 'F', 'R', 'M'), n_setfiniterotationmode);
    cl->AddCmd("i_GetFiniteRotationMode_v", N_FOURCC('G', 'F', 'R', 'M'), n_getfiniterotationmode);
    cl->AddCmd("v_SetFiniteRotationAxis_fff", N_FOURCC('S', 'F', 'R', 'A'), SetVec<&B::SetFiniteRotationAxis>);
    cl->AddCmd("fff_GetFiniteRotationAxis_v", N_FOURCC('G', 'F', 'R', 'A'), GetVec<&B::GetFiniteRotationAxis>);
    cl->AddCmd("i_GetNumJoints_v", N_FOURCC('G', 'N', 'J', '_'), n_getnumjoints);
    cl->AddCmd("v_SetGravityMode_b", N_FOURCC('S', 'G', 'R', 'V'), n_setgravitymode);
    cl->AddCmd("b_GetGravityMode_v", N_FOURCC('G', 'G', 'R', 'V'), n_getgravitymode);
    cl->AddCmd("b_IsConnectedTo_s", N_FOURCC('I', 'C', 'T', '_'), n_isconnectedto);
    cl->AddCmd("b_IsConnectedToExcluding_si", N_FOURCC('I', 'C', 'T', 'E'), n_isconnectedtoexcluding);
    cl->AddCmd("v_ResetMass_v", N_FOURCC('R', 'S', 'T', 'M'), n_resetmass);
    cl->AddCmd("v_SetMassParams_ffffffffff", N_FOURCC('S', 'M', 'P', '_'), n_setmassparams);
    cl->AddCmd("v_SetSphereMass_ff", N_FOURCC('S', 'S', 'M', '_'), SphereMass<&B::SetSphereMass>);
    cl->AddCmd("v_SetSphereMassTotal_ff", N_FOURCC('S', 'S', 'T', 'M'), SphereMass<&B::SetSphereMassTotal>);
    cl->AddCmd("v_SetCapsuleMass_fiff", N_FOURCC('S', 'C', 'M', '_'), AxialMass<&B::SetCapsuleMass>);
    cl->AddCmd("v_SetCapsuleMassTotal_fiff", N_FOURCC('S', 'C', 'T', 'M'), AxialMass<&B::SetCapsuleMassTotal>);
    cl->AddCmd("v_SetCylinderMass_fiff", N_FOURCC('S', 'C', 'Y', 'M'), AxialMass<&B::SetCylinderMass>);
    cl->AddCmd("v_SetCylinderMassTotal_fiff", N_FOURCC('S', 'C', 'Y', 'T'), AxialMass<&B::SetCylinderMassTotal>);
    cl->AddCmd("v_SetBoxMass_ffff", N_FOURCC('S', 'B', 'M', '_'), BoxMass<&B::SetBoxMass>);
    cl->AddCmd("v_SetBoxMassTotal_ffff", N_FOURCC('S', 'B', 'T', 'M'), BoxMass<&B::SetBoxMassTotal>);
    cl->AddCmd("v_AdjustMass_f", N_FOURCC('A', 'D', 'J', 'M'), n_adjustmass);
    cl->AddCmd("v_TranslateMass_fff", N_FOURCC('T', 'R', 'N', 'M'), n_translatemass);
    cl->AddCmd("v_RotateMass_fffffffff", N_FOURCC('R', 'O', 'T', 'M'), n_rotatemass);
    cl->AddCmd("v_AddMassOf_s", N_FOURCC('A', 'D', 'D', 'M'), n_addmassof);
    cl->EndCmds();
}
