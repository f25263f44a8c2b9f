//------------------------------------------------------------------------------
//  nopendesliderjoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendesliderjoint.h"

using namespace nOpendeLayer;

void nOpendeSliderJoint::Create(const char* worldPath)
{
    nOpendeJoint::Create(worldPath);
    this->jointId = dJointCreateSlider(this->GetWorldId(), 0);
}

void nOpendeSliderJoint::SetParam(int param, float value)
{
    this->CheckId("nOpendeSliderJoint::id not valid!");
    dJointSetSliderParam(this->jointId, ToOdeParam(param), value);
}

float nOpendeSliderJoint::GetParam(int param)
{
    this->CheckId("nOpendeSliderJoint::id not valid!");
    return (float)dJointGetSliderParam(this->jointId, ToOdeParam(param));
}

void nOpendeSliderJoint::SetAxis(const vector3& a)
{
    this->CheckId("nOpendeSliderJoint::id not valid!");
    if (this->Keep(KeptAxis1, a)) return;
    dJointSetSliderAxis(this->jointId, a.x, a.y, a.z);
}

vector3 nOpendeSliderJoint::GetAxis() const
{
    this->CheckId("nOpendeSliderJoint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAxis1, kept)) return kept;
    dVector3 v;
    dJointGetSliderAxis(this->jointId, v);
    return ToVector3(v);
}

float nOpendeSliderJoint::GetPosition() const
{
    this->CheckId("nOpendeSliderJoint::id not valid!");
    return (float)dJointGetSliderPosition(this->jointId);
}

float nOpendeSliderJoint::GetPositionRate() const
{
    this->CheckId("nOpendeSliderJoint::id not valid!");
    return (float)dJointGetSliderPositionRate(this->jointId);
}

/*
 * ApplyKept --
 *     Side effects: hands an anchor or axis kept before a body was
 *     attached to ODE.
 */
void nOpendeSliderJoint::ApplyKept(int slot, const vector3& v)
{
    switch (slot)
    {
        case KeptAxis1: this->SetAxis(v); break;
        default: break;
    }
}
