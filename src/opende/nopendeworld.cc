//------------------------------------------------------------------------------
//  nopendeworld.cc
//------------------------------------------------------------------------------
#include "opende/nopendeworld.h"
#include "opende/nopendebody.h"

using namespace nOpendeLayer;

nOpendeWorld::nOpendeWorld() :
    worldId(dWorldCreate())
{
}

/*
 * ~nOpendeWorld --
 *     Side effects: releases the children first (bodies and joints kept
 *     below the world hold handles into it), then destroys the ODE world.
 */
nOpendeWorld::~nOpendeWorld()
{
    nRoot* child;
    while ((child = this->GetHead()) != nullptr)
    {
        while (!child->Release())
        {
        }
    }
    if (this->worldId)
    {
        dWorldDestroy(this->worldId);
        this->worldId = 0;
    }
}

void nOpendeWorld::SetGravity(const vector3& g)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetGravity(this->worldId, g.x, g.y, g.z);
}

vector3 nOpendeWorld::GetGravity() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dVector3 g;
    dWorldGetGravity(this->worldId, g);
    return ToVector3(g);
}

void nOpendeWorld::SetERP(float erp)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetERP(this->worldId, erp);
}

float nOpendeWorld::GetERP() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    return (float)dWorldGetERP(this->worldId);
}

void nOpendeWorld::SetCFM(float cfm)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetCFM(this->worldId, cfm);
}

float nOpendeWorld::GetCFM() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    return (float)dWorldGetCFM(this->worldId);
}

void nOpendeWorld::AddBody(nOpendeBody* body)
{
    if (!this->bodies.Find(body)) this->bodies.Append(body);
}

void nOpendeWorld::RemoveBody(nOpendeBody* body)
{
    nOpendeBody** at = this->bodies.Find(body);
    if (at) this->bodies.EraseQuick(at);
}

/*
 * CanStep --
 *     Results: true when every body object made in the world stays within
 *     range through a step of the size; else false, the first body that
 *     would not and why in the text.
 */
bool nOpendeWorld::CanStep(float stepSize, nString& why) const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    for (int i = 0; i < this->bodies.Size(); i++)
    {
        const nOpendeBody* body = this->bodies[i];
        const char* problem = body->id() ? body->StepProblem(stepSize) : nullptr;
        if (!problem) continue;
        why = "body '";
        why += body->GetFullName();
        why += "': ";
        why += problem;
        return false;
    }
    return true;
}

void nOpendeWorld::Step(float stepSize)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldStep(this->worldId, stepSize);
}

void nOpendeWorld::QuickStep(float stepSize)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldQuickStep(this->worldId, stepSize);
}

void nOpendeWorld::StepFast1(float stepSize, int maxIterations)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    const int keep = dWorldGetQuickStepNumIterations(this->worldId);
    dWorldSetQuickStepNumIterations(this->worldId, maxIterations);
    dWorldQuickStep(this->worldId, stepSize);
    dWorldSetQuickStepNumIterations(this->worldId, keep);
}

void nOpendeWorld::SetQuickStepNumIterations(int num)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetQuickStepNumIterations(this->worldId, num);
}

int nOpendeWorld::GetQuickStepNumIterations() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    return dWorldGetQuickStepNumIterations(this->worldId);
}

vector3 nOpendeWorld::ImpulseToForce(float stepSize, const vector3& impulse) const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dVector3 force;
    dWorldImpulseToForce(this->worldId, stepSize, impulse.x, impulse.y, impulse.z, force);
    return ToVector3(force);
}

void nOpendeWorld::SetAutoDisableFlag(int flag)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetAutoDisableFlag(this->worldId, flag);
}

int nOpendeWorld::GetAutoDisableFlag() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    // this ODE answers its internal flag bit, not the 0 or 1 it was given
    return dWorldGetAutoDisableFlag(this->worldId) ? 1 : 0;
}

void nOpendeWorld::SetAutoDisableLinearThreshold(float t)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetAutoDisableLinearThreshold(this->worldId, t);
}

float nOpendeWorld::GetAutoDisableLinearThreshold() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    return (float)dWorldGetAutoDisableLinearThreshold(this->worldId);
}

void nOpendeWorld::SetAutoDisableAngularThreshold(float t)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetAutoDisableAngularThreshold(this->worldId, t);
}

float nOpendeWorld::GetAutoDisableAngularThreshold() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    return (float)dWorldGetAutoDisableAngularThreshold(this->worldId);
}

void nOpendeWorld::SetAutoDisableSteps(int steps)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetAutoDisableSteps(this->worldId, steps);
}

int nOpendeWorld::GetAutoDisableSteps() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    return dWorldGetAutoDisableSteps(this->worldId);
}

void nOpendeWorld::SetAutoDisableTime(float t)
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    dWorldSetAutoDisableTime(this->worldId, t);
}

float nOpendeWorld::GetAutoDisableTime() const
{
    n_assert(this->worldId && "nOpendeWorld::id not valid!");
    return (float)dWorldGetAutoDisableTime(this->worldId);
}
