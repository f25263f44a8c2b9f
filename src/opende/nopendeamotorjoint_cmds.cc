//------------------------------------------------------------------------------
//  nopendeamotorjoint_cmds.cc
//
//  ODE aborts on an axis index outside 0..2, a relation outside 0..2, a
//  zero axis, an axis relative to a missing body and, in euler mode, axes
//  it cannot derive; the handlers refuse those first (an axis relative to
//  a missing body waits in the motor for the attach).
//------------------------------------------------------------------------------
#include "opende/nopendeamotorjoint.h"
#include "opende/nopendejointcmds.h"

using namespace nOpendeCmd;

namespace
{

nOpendeAMotorJoint* Self(void* slf, nCmd* cmd)
{
    return Joint<nOpendeAMotorJoint>(slf, cmd);
}

bool GetIndex(nCmd* cmd, int& index)
{
    return nCmdGetI(cmd, index, 0, 2, "axis index");
}

void n_setmode(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetNonEmptyS(cmd, name, "mode")) return;
    n_cmd_check(cmd, nOpendeAMotorJoint::ModeByName(name) >= 0, "unknown motor mode '%s' (user or euler)", name);
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (self) self->SetMode(name);
}

void n_getmode(void* slf, nCmd* cmd)
{
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (self) cmd->Out()->SetS(self->GetModeName());
}

void n_setnumaxes(void* slf, nCmd* cmd)
{
    int num = 0;
    if (!nCmdGetI(cmd, num, 0, 3, "number of axes")) return;
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (self) self->SetNumAxes(num);
}

void n_getnumaxes(void* slf, nCmd* cmd)
{
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (self) cmd->Out()->SetI(self->GetNumAxes());
}

void n_setaxis(void* slf, nCmd* cmd)
{
    int index = 0;
    int rel = 0;
    vector3 axis;
    if (!GetIndex(cmd, index) || !nCmdGetI(cmd, rel, 0, 2, "relation (0 world, 1 body 1, 2 body 2)") ||
        !GetDirection(cmd, axis, "axis"))
    {
        return;
    }
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (self) self->SetAxis(index, rel, axis);
}

void n_getaxis(void* slf, nCmd* cmd)
{
    int index = 0;
    if (!GetIndex(cmd, index)) return;
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (!self) return;
    const char* problem = self->AxisProblem(index);
    n_cmd_check(cmd, !problem, "'%s': %s", self->GetName(), problem);
    nCmdPutVector3(cmd, self->GetAxis(index));
}

void n_getaxisrel(void* slf, nCmd* cmd)
{
    int index = 0;
    if (!GetIndex(cmd, index)) return;
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (self) cmd->Out()->SetI(self->GetAxisRel(index));
}

void n_setangle(void* slf, nCmd* cmd)
{
    int index = 0;
    float angle = 0.0f;
    if (!GetIndex(cmd, index) || !nCmdGetF(cmd, angle, "angle")) return;
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (!self) return;
    n_cmd_check(cmd, dAMotorEuler != self->GetMode(), "'%s' is an euler motor: ODE derives its angles", self->GetName());
    self->SetAngle(index, angle);
}

void n_getangle(void* slf, nCmd* cmd)
{
    int index = 0;
    if (!GetIndex(cmd, index)) return;
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (self) cmd->Out()->SetF(self->GetAngle(index));
}

void n_getanglerate(void* slf, nCmd* cmd)
{
    int index = 0;
    if (!GetIndex(cmd, index)) return;
    nOpendeAMotorJoint* self = Self(slf, cmd);
    if (!self) return;
    const char* problem = self->AngleRateProblem(index);
    n_cmd_check(cmd, !problem, "'%s': %s", self->GetName(), problem);
    cmd->Out()->SetF(self->GetAngleRate(index));
}

}  // namespace

/*
 * nopendeamotorjoint_initcmds --
 *     Side effects: registers the commands of nopendeamotorjoint.
 */
void nopendeamotorjoint_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetMode_s", N_FOURCC('S', 'M', '_', '_'), n_setmode);
    cl->AddCmd("s_GetMode_v", N_FOURCC('G', 'M', '_', '_'), n_getmode);
    cl->AddCmd("v_SetNumAxes_i", N_FOURCC('S', 'N', 'A', '_'), n_setnumaxes);
    cl->AddCmd("i_GetNumAxes_v", N_FOURCC('G', 'N', 'A', '_'), n_getnumaxes);
    cl->AddCmd("v_SetAxis_iifff", N_FOURCC('S', 'A', '_', '_'), n_setaxis);
    cl->AddCmd("fff_GetAxis_i", N_FOURCC('G', 'A', '_', '_'), n_getaxis);
    cl->AddCmd("i_GetAxisRel_i", N_FOURCC('G', 'A', 'R', '_'), n_getaxisrel);
    cl->AddCmd("v_SetAngle_if", N_FOURCC('S', 'A', 'N', 'G'), n_setangle);
    cl->AddCmd("f_GetAngle_i", N_FOURCC('G', 'A', 'N', 'G'), n_getangle);
    cl->AddCmd("f_GetAngleRate_i", N_FOURCC('G', 'A', 'R', 'T'), n_getanglerate);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: the base's commands, SNA_ and SM__; then for each axis
 *     the motor uses (below its number of axes, all three in euler mode):
 *     SA__ when the axis was given a direction (euler mode derives axis 1
 *     itself), SANG
 *     (user mode only: ODE derives an euler motor's angles and aborts
 *     when one is set) and the axis's parameters. Unused axes are not written: a zero
 *     axis would stop the program when the file is loaded.
 */
bool nOpendeAMotorJoint::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeJoint::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'N', 'A', '_'));
    cmd->In()->SetI(this->GetNumAxes());
    if (!ps->PutCmd(cmd)) return false;
    cmd = ps->GetCmd(this, N_FOURCC('S', 'M', '_', '_'));
    cmd->In()->SetS(this->GetModeName());
    if (!ps->PutCmd(cmd)) return false;

    const bool euler = dAMotorEuler == this->GetMode();
    const int num = euler ? 3 : this->GetNumAxes();
    for (int i = 0; i < num; i++)
    {
        const bool derived = euler && 1 == i;
        if (!derived && this->IsAxisSet(i))
        {
            // ODE gives the axis where it can; else the one that was set
            const vector3 axis = this->AxisProblem(i) ? this->GetGivenAxis(i) : this->GetAxis(i);
            cmd = ps->GetCmd(this, N_FOURCC('S', 'A', '_', '_'));
            cmd->In()->SetI(i);
            cmd->In()->SetI(this->GetAxisRel(i));
            nCmdSetVector3(cmd, axis);
            if (!ps->PutCmd(cmd)) return false;
        }
        if (!euler)
        {
            cmd = ps->GetCmd(this, N_FOURCC('S', 'A', 'N', 'G'));
            cmd->In()->SetI(i);
            cmd->In()->SetF(this->GetAngle(i));
            if (!ps->PutCmd(cmd)) return false;
        }
        if (!this->SaveAxisParams(ps, i)) return false;
    }
    return true;
}
