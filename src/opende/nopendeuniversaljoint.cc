//------------------------------------------------------------------------------
//  nopendeuniversaljoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendeuniversaljoint.h"

using namespace nOpendeLayer;

void nOpendeUniversalJoint::Create(const char* worldPath)
{
    nOpendeJoint::Create(worldPath);
    this->jointId = dJointCreateUniversal(this->GetWorldId(), 0);
}

void nOpendeUniversalJoint::SetParam(int param, float value)
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    dJointSetUniversalParam(this->jointId, ToOdeParam(param), value);
}

float nOpendeUniversalJoint::GetParam(int param)
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    return (float)dJointGetUniversalParam(this->jointId, ToOdeParam(param));
}

void nOpendeUniversalJoint::SetAnchor(const vector3& a)
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    if (this->Keep(KeptAnchor, a)) return;
    dJointSetUniversalAnchor(this->jointId, a.x, a.y, a.z);
}

void nOpendeUniversalJoint::SetAxis1(const vector3& a)
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    if (this->Keep(KeptAxis1, a)) return;
    this->MoveParallelAxis(0, a);
    dJointSetUniversalAxis1(this->jointId, a.x, a.y, a.z);
}

void nOpendeUniversalJoint::SetAxis2(const vector3& a)
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    if (this->Keep(KeptAxis2, a)) return;
    this->MoveParallelAxis(1, a);
    dJointSetUniversalAxis2(this->jointId, a.x, a.y, a.z);
}

vector3 nOpendeUniversalJoint::GetAnchor() const
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAnchor, kept)) return kept;
    dVector3 v;
    dJointGetUniversalAnchor(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeUniversalJoint::GetAnchor2() const
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    dVector3 v;
    dJointGetUniversalAnchor2(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeUniversalJoint::GetAxis1() const
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAxis1, kept)) return kept;
    dVector3 v;
    dJointGetUniversalAxis1(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeUniversalJoint::GetAxis2() const
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAxis2, kept)) return kept;
    dVector3 v;
    dJointGetUniversalAxis2(this->jointId, v);
    return ToVector3(v);
}

/*
 * IsParallel --
 *     Results: true when a is (nearly) parallel to the other axis than
 *     'which' (0 for axis 1, 1 for axis 2); ODE's step stops the program
 *     on a universal joint with parallel axes. A joint that has no other
 *     axis yet has nothing to be parallel to.
 */
bool nOpendeUniversalJoint::IsParallel(int which, const vector3& a) const
{
    vector3 o = (0 == which) ? this->GetAxis2() : this->GetAxis1();
    vector3 n = a;
    if (o.len() == 0.0f || n.len() == 0.0f) return false;
    o.norm();
    n.norm();
    const vector3 cross(n.y * o.z - n.z * o.y, n.z * o.x - n.x * o.z, n.x * o.y - n.y * o.x);
    return cross.len() < 1e-3f;
}

/*
 * ApplyKept --
 *     Side effects: hands an anchor or axis kept before a body was
 *     attached to ODE.
 */
void nOpendeUniversalJoint::ApplyKept(int slot, const vector3& v)
{
    switch (slot)
    {
        case KeptAnchor: this->SetAnchor(v); break;
        case KeptAxis1: this->SetAxis1(v); break;
        case KeptAxis2: this->SetAxis2(v); break;
        default: break;
    }
}

/*
 * MoveParallelAxis --
 *     ODE's step stops the program on a universal joint with parallel
 *     axes. When axis 'which' (0, 1) is to become a, parallel to the other
 *     axis, the other becomes a perpendicular of a first (reported), so
 *     that a saved joint, which sets axis 1 before axis 2, reloads
 *     whatever its axes were before.
 */
void nOpendeUniversalJoint::MoveParallelAxis(int which, const vector3& a)
{
    if (!this->IsParallel(which, a)) return;
    dVector3 axis;
    dVector3 p;
    dVector3 q;
    ToOde(a, axis);
    dSafeNormalize3(axis);
    dPlaneSpace(axis, p, q);
    n_printf("nOpendeUniversalJoint: '%s': axis %d was parallel to the new axis %d and is now (%g %g %g)\n",
             this->GetName(), 2 - which, which + 1, (double)p[0], (double)p[1], (double)p[2]);
    if (0 == which) dJointSetUniversalAxis2(this->jointId, p[0], p[1], p[2]);
    else dJointSetUniversalAxis1(this->jointId, p[0], p[1], p[2]);
}
