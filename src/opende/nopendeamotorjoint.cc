//------------------------------------------------------------------------------
//  nopendeamotorjoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendeamotorjoint.h"

#include <cstring>

using namespace nOpendeLayer;

nOpendeAMotorJoint::nOpendeAMotorJoint() :
    rels{0, 0, 0},
    waiting{false, false, false},
    euler(false)
{
}

void nOpendeAMotorJoint::Create(const char* worldPath)
{
    nOpendeJoint::Create(worldPath);
    this->jointId = dJointCreateAMotor(this->GetWorldId(), 0);
}

void nOpendeAMotorJoint::SetParam(int param, float value)
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    dJointSetAMotorParam(this->jointId, ToOdeParam(param), value);
}

float nOpendeAMotorJoint::GetParam(int param)
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    return (float)dJointGetAMotorParam(this->jointId, ToOdeParam(param));
}

void nOpendeAMotorJoint::SetMode(int mode)
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    this->euler = (dAMotorEuler == mode);
    if (this->euler) this->ApplyEuler();
    else dJointSetAMotorMode(this->jointId, mode);
}

/*
 * ApplyEuler --
 *     Side effects: ODE's mode becomes euler, with axes 0 and 2 given
 *     again, when those axes allow ODE to derive the third; else user.
 */
void nOpendeAMotorJoint::ApplyEuler()
{
    const bool bodyMissing = (this->rels[0] != 0 || this->rels[2] != 0) && !this->GetBody(0);
    if (bodyMissing || this->EulerAxesProblem())
    {
        dJointSetAMotorMode(this->jointId, dAMotorUser);
        return;
    }
    dJointSetAMotorMode(this->jointId, dAMotorEuler);
    for (int i : {0, 2})
    {
        const vector3& a = this->axes[i];
        dJointSetAMotorAxis(this->jointId, i, this->rels[i], a.x, a.y, a.z);
    }
}

int nOpendeAMotorJoint::ModeByName(const char* name)
{
    if (name && 0 == strcmp(name, "user")) return dAMotorUser;
    if (name && 0 == strcmp(name, "euler")) return dAMotorEuler;
    return -1;
}

void nOpendeAMotorJoint::SetMode(const char* name)
{
    const int mode = ModeByName(name);
    if (mode < 0) n_error("nOpendeAMotorJoint::SetMode(): Uknown mode %s!", name ? name : "(null)");
    this->SetMode(mode);
}

int nOpendeAMotorJoint::GetMode() const
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    return this->euler ? (int)dAMotorEuler : dJointGetAMotorMode(this->jointId);
}

const char* nOpendeAMotorJoint::GetModeName() const
{
    switch (this->GetMode())
    {
        case dAMotorUser: return "user";
        case dAMotorEuler: return "euler";
        default: n_error("nOpendeAMotorJoint::GetModeName(): Unknown mode!");
    }
}

void nOpendeAMotorJoint::SetNumAxes(int num)
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    dJointSetAMotorNumAxes(this->jointId, num);
}

int nOpendeAMotorJoint::GetNumAxes() const
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    return dJointGetAMotorNumAxes(this->jointId);
}

/*
 * SetAxis --
 *     Side effects: remembers the axis and its relation; ODE gets it unless
 *     it is relative to a body while the first body is not attached (ODE
 *     reads that body): then it waits for BodiesAttached.
 */
void nOpendeAMotorJoint::SetAxis(int index, int rel, const vector3& axis)
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    n_assert(index >= 0 && index < 3);
    this->axes[index] = axis;
    this->rels[index] = rel;
    this->waiting[index] = (rel != 0 && !this->GetBody(0));
    if (!this->waiting[index]) dJointSetAMotorAxis(this->jointId, index, rel, axis.x, axis.y, axis.z);
    if (this->euler) this->ApplyEuler();
}

bool nOpendeAMotorJoint::IsAxisWaiting(int index) const
{
    n_assert(index >= 0 && index < 3);
    return this->waiting[index];
}

/*
 * BodiesAttached --
 *     Side effects: once the first body is attached, the axes that waited
 *     for it go to ODE as they were given, and an euler motor derives its
 *     axes again.
 */
void nOpendeAMotorJoint::BodiesAttached()
{
    if (!this->GetBody(0)) return;
    for (int i = 0; i < 3; i++)
    {
        if (!this->waiting[i]) continue;
        this->waiting[i] = false;
        const vector3& a = this->axes[i];
        dJointSetAMotorAxis(this->jointId, i, this->rels[i], a.x, a.y, a.z);
    }
    if (this->euler) this->ApplyEuler();
}

bool nOpendeAMotorJoint::IsAxisSet(int index) const
{
    n_assert(index >= 0 && index < 3);
    return this->axes[index].len() > 0.0f;
}

/*
 * EulerProblem --
 *     Results: 0 when ODE can derive the euler axes (a body attached,
 *     axes 0 and 2 given and not parallel), else why not: ODE aborts.
 */
const char* nOpendeAMotorJoint::EulerProblem() const
{
    if (!this->GetBody(0)) return "an euler motor needs a body";
    return this->EulerAxesProblem();
}

const char* nOpendeAMotorJoint::EulerAxesProblem() const
{
    if (!this->IsAxisSet(0) || !this->IsAxisSet(2)) return "an euler motor needs its axes 0 and 2";
    vector3 a0 = this->axes[0];
    vector3 a2 = this->axes[2];
    a0.norm();
    a2.norm();
    if ((a0 * a2).len() < 1e-3f) return "the euler axes 0 and 2 are parallel";
    return nullptr;
}

const char* nOpendeAMotorJoint::AxisProblem(int index) const
{
    if (index < 0 || index > 2) return "the axis index is not 0, 1 or 2";
    if (dAMotorEuler == this->GetMode()) return this->EulerProblem();
    if (this->waiting[index] || (this->rels[index] != 0 && !this->GetBody(0)))
    {
        return "the axis is relative to a body that is not attached";
    }
    return nullptr;
}

const char* nOpendeAMotorJoint::AngleRateProblem(int index) const
{
    const char* problem = this->AxisProblem(index);
    if (problem) return problem;
    if (!this->GetBody(0)) return "the motor is attached to no body";
    return nullptr;
}

vector3 nOpendeAMotorJoint::GetAxis(int index) const
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    dVector3 v;
    dJointGetAMotorAxis(this->jointId, index, v);
    return ToVector3(v);
}

/*
 * GetAxisRel --
 *     Results: the relation of axis index, also of one that waits for its
 *     body (ODE has not got that one yet).
 */
int nOpendeAMotorJoint::GetAxisRel(int index) const
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    if (index >= 0 && index < 3 && this->waiting[index]) return this->rels[index];
    return dJointGetAMotorAxisRel(this->jointId, index);
}

void nOpendeAMotorJoint::SetAngle(int index, float angle)
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    n_assert(dAMotorEuler != this->GetMode());
    dJointSetAMotorAngle(this->jointId, index, angle);
}

float nOpendeAMotorJoint::GetAngle(int index) const
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    return (float)dJointGetAMotorAngle(this->jointId, index);
}

/*
 * GetAngleRate --
 *     Results: the rate of the angle about axis index, from the bodies'
 *     angular velocities (ODE's own call, which needs a body).
 */
float nOpendeAMotorJoint::GetAngleRate(int index) const
{
    this->CheckId("nOpendeAMotorJoint::id not valid!");
    n_assert(!this->AngleRateProblem(index));
    return (float)dJointGetAMotorAngleRate(this->jointId, index);
}
