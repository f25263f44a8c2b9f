//------------------------------------------------------------------------------
//  nopendeballjoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendeballjoint.h"

using namespace nOpendeLayer;

void nOpendeBallJoint::Create(const char* worldPath)
{
    nOpendeJoint::Create(worldPath);
    this->jointId = dJointCreateBall(this->GetWorldId(), 0);
}

void nOpendeBallJoint::SetAnchor(const vector3& a)
{
    this->CheckId("nOpendeBallJoint::id not valid!");
    if (this->Keep(KeptAnchor, a)) return;
    dJointSetBallAnchor(this->jointId, a.x, a.y, a.z);
}

vector3 nOpendeBallJoint::GetAnchor() const
{
    this->CheckId("nOpendeBallJoint::id not valid!");
    vector3 kept;
    if (this->GetKept(KeptAnchor, kept)) return kept;
    dVector3 v;
    dJointGetBallAnchor(this->jointId, v);
    return ToVector3(v);
}

vector3 nOpendeBallJoint::GetAnchor2() const
{
    this->CheckId("nOpendeBallJoint::id not valid!");
    dVector3 v;
    dJointGetBallAnchor2(this->jointId, v);
    return ToVector3(v);
}

/*
 * ApplyKept --
 *     Side effects: hands an anchor or axis kept before a body was
 *     attached to ODE.
 */
void nOpendeBallJoint::ApplyKept(int slot, const vector3& v)
{
    switch (slot)
    {
        case KeptAnchor: this->SetAnchor(v); break;
        default: break;
    }
}
