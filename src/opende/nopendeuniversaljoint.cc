//------------------------------------------------------------------------------
//  nopendeuniversaljoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendeuniversaljoint.h"
#include "kernel/nmodule.h"

void nopendeuniversaljoint_initcmds(nClass* cl);
N_IMPLEMENT_MODULE(nopendeuniversaljoint, nOpendeUniversalJoint, "nopendejoint", nopendeuniversaljoint_initcmds)

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
    dJointSetUniversalAnchor(this->jointId, a.x, a.y, a.z);
}

void nOpendeUniversalJoint::SetAxis1(const vector3& a)
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    dJointSetUniversalAxis1(this->jointId, a.x, a.y, a.z);
}

void nOpendeUniversalJoint::SetAxis2(const vector3& a)
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    dJointSetUniversalAxis2(this->jointId, a.x, a.y, a.z);
}

vector3 nOpendeUniversalJoint::GetAnchor() const
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
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
    dVector3 v;
    dJointGetUniversalAxis1(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeUniversalJoint::GetAxis2() const
{
    this->CheckId("nOpendeUniversalJoint::id not valid!");
    dVector3 v;
    dJointGetUniversalAxis2(this->jointId, v);
    return ToVector3(v);
}
