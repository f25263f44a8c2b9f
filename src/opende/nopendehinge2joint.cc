//------------------------------------------------------------------------------
//  nopendehinge2joint.cc
//------------------------------------------------------------------------------
#include "opende/nopendehinge2joint.h"

#include <cmath>

using namespace nOpendeLayer;

void nOpendeHinge2Joint::Create(const char* worldPath)
{
    nOpendeJoint::Create(worldPath);
    this->jointId = dJointCreateHinge2(this->GetWorldId(), 0);
}

void nOpendeHinge2Joint::SetParam(int param, float value)
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    dJointSetHinge2Param(this->jointId, ToOdeParam(param), value);
}

float nOpendeHinge2Joint::GetParam(int param)
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    return (float)dJointGetHinge2Param(this->jointId, ToOdeParam(param));
}

bool nOpendeHinge2Joint::HasBothBodies() const
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    return dJointGetBody(this->jointId, 0) && dJointGetBody(this->jointId, 1);
}

void nOpendeHinge2Joint::SetAnchor(const vector3& a)
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    if (this->Keep(KeptAnchor, a)) return;
    dJointSetHinge2Anchor(this->jointId, a.x, a.y, a.z);
}

/*
 * SetAxes --
 *     Side effects: asserts both bodies and a non-zero axis; sets the axis
 *     through dJointSetHinge2Axes. When the other axis is (nearly)
 *     parallel to the new one, ODE would abort: the other axis becomes a
 *     perpendicular of the new one, and that is reported.
 */
void nOpendeHinge2Joint::SetAxes(int which, const vector3& a)
{
    n_assert(this->HasBothBodies());
    dVector3 axis;
    ToOde(a, axis);
    n_assert(dSafeNormalize3(axis));
    const vector3 other = (0 == which) ? this->GetAxis2() : this->GetAxis1();
    dVector3 o;
    ToOde(other, o);
    dVector3 cross;
    dCalcVectorCross3(cross, axis, o);
    const bool parallel = !dSafeNormalize3(o) || dCalcVectorLength3(cross) < 1e-3;
    dVector3 p;
    dVector3 q;
    if (parallel)
    {
        dPlaneSpace(axis, p, q);
        n_printf("nOpendeHinge2Joint: '%s': axis %d was parallel to the new axis %d and is now (%g %g %g)\n",
                 this->GetName(), 2 - which, which + 1, (double)p[0], (double)p[1], (double)p[2]);
    }
    const dReal* replaced = parallel ? p : nullptr;
    if (0 == which) dJointSetHinge2Axes(this->jointId, axis, replaced);
    else dJointSetHinge2Axes(this->jointId, replaced, axis);
}

void nOpendeHinge2Joint::SetAxis1(const vector3& a)
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    if (this->Keep(KeptAxis1, a)) return;
    this->SetAxes(0, a);
}

void nOpendeHinge2Joint::SetAxis2(const vector3& a)
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    if (this->Keep(KeptAxis2, a)) return;
    this->SetAxes(1, a);
}

vector3 nOpendeHinge2Joint::GetAnchor() const
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAnchor, kept)) return kept;
    dVector3 v;
    dJointGetHinge2Anchor(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeHinge2Joint::GetAnchor2() const
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    dVector3 v;
    dJointGetHinge2Anchor2(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeHinge2Joint::GetAxis1() const
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAxis1, kept)) return kept;
    dVector3 v;
    dJointGetHinge2Axis1(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeHinge2Joint::GetAxis2() const
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAxis2, kept)) return kept;
    dVector3 v;
    dJointGetHinge2Axis2(this->jointId, v);
    return ToVector3(v);
}

float nOpendeHinge2Joint::GetAngle1() const
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    return (float)dJointGetHinge2Angle1(this->jointId);
}

float nOpendeHinge2Joint::GetAngle1Rate() const
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    return (float)dJointGetHinge2Angle1Rate(this->jointId);
}

float nOpendeHinge2Joint::GetAngle2Rate() const
{
    this->CheckId("nOpendeHinge2Joint::id not valid!");
    return (float)dJointGetHinge2Angle2Rate(this->jointId);
}

/*
 * ApplyKept --
 *     Side effects: hands an anchor or axis kept before a body was
 *     attached to ODE.
 */
void nOpendeHinge2Joint::ApplyKept(int slot, const vector3& v)
{
    switch (slot)
    {
        case KeptAnchor: this->SetAnchor(v); break;
        // ODE reads both bodies for the axes; code may have attached one
        case KeptAxis1:
            if (this->HasBothBodies()) this->SetAxis1(v);
            break;
        case KeptAxis2:
            if (this->HasBothBodies()) this->SetAxis2(v);
            break;
        default: break;
    }
}
