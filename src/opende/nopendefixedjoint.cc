//------------------------------------------------------------------------------
//  nopendefixedjoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendefixedjoint.h"
#include "kernel/nmodule.h"

void nopendefixedjoint_initcmds(nClass* cl);
N_IMPLEMENT_MODULE(nopendefixedjoint, nOpendeFixedJoint, "nopendejoint", nopendefixedjoint_initcmds)

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
