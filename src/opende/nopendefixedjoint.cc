//------------------------------------------------------------------------------
//  nopendefixedjoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendefixedjoint.h"

void nOpendeFixedJoint::Create(const char* worldPath)
{
    nOpendeJoint::Create(worldPath);
    this->jointId = dJointCreateFixed(this->GetWorldId(), 0);
}

void nOpendeFixedJoint::Fix()
{
    this->CheckId("nOpendeFixedJoint::id not valid!");
    dJointSetFixed(this->jointId);
}
