//------------------------------------------------------------------------------
//  nopendehingejoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendehingejoint.h"

using namespace nOpendeLayer;

void nOpendeHingeJoint::Create(const char* worldPath)
{
    nOpendeJoint::Create(worldPath);
    this->jointId = dJointCreateHinge(this->GetWorldId(), 0);
}

void nOpendeHingeJoint::SetParam(int param, float value)
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    dJointSetHingeParam(this->jointId, ToOdeParam(param), value);
}

float nOpendeHingeJoint::GetParam(int param)
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    return (float)dJointGetHingeParam(this->jointId, ToOdeParam(param));
}

void nOpendeHingeJoint::SetAnchor(const vector3& a)
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    if (this->Keep(KeptAnchor, a)) return;
    dJointSetHingeAnchor(this->jointId, a.x, a.y, a.z);
}

void nOpendeHingeJoint::SetAxis(const vector3& a)
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    if (this->Keep(KeptAxis1, a)) return;
    dJointSetHingeAxis(this->jointId, a.x, a.y, a.z);
}

vector3 nOpendeHingeJoint::GetAnchor() const
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAnchor, kept)) return kept;
    dVector3 v;
    dJointGetHingeAnchor(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeHingeJoint::GetAnchor2() const
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    dVector3 v;
    dJointGetHingeAnchor2(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeHingeJoint::GetAxis() const
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAxis1, kept)) return kept;
    dVector3 v;
    dJointGetHingeAxis(this->jointId, v);
    return ToVector3(v);
}

float nOpendeHingeJoint::GetAngle() const
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    return (float)dJointGetHingeAngle(this->jointId);
}

float nOpendeHingeJoint::GetAngleRate() const
{
    this->CheckId("nOpendeHingeJoint::id not valid!");
    return (float)dJointGetHingeAngleRate(this->jointId);
}

/*
 * ApplyKept --
 *     Side effects: hands an anchor or axis kept before a body was
 *     attached to ODE.
 */
void nOpendeHingeJoint::ApplyKept(int slot, const vector3& v)
{
    switch (slot)
    {
        case KeptAnchor: this->SetAnchor(v); break;
        case KeptAxis1: this->SetAxis(v); break;
        default: break;
    }
}
