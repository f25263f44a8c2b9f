#ifndef N_OPENDEWORLD_H
#define N_OPENDEWORLD_H
//------------------------------------------------------------------------------
/**
    @class nOpendeWorld
    @ingroup Opende

    One ODE dynamics world, made with the object: the container of bodies
    and joints with its gravity, error reduction, constraint force mixing,
    QuickStep iterations and auto-disable defaults, and its steps.
*/
#include "kernel/nroot.h"
#include "opende/nopendelayer.h"
#include "util/narray.h"
#include "util/nstring.h"

class nOpendeBody;

class nOpendeWorld : public nRoot
{
public:
    nOpendeWorld();
    bool SaveCmds(nPersistServer* ps) override;

    dWorldID id() const { return this->worldId; }

    void SetGravity(const vector3& g);
    vector3 GetGravity() const;
    void SetERP(float erp);
    float GetERP() const;
    void SetCFM(float cfm);
    float GetCFM() const;
    /// false, with the body and why in the text, when a step of the size
    /// would drive a body of this world beyond what ODE integrates (ODE
    /// aborts the program then); the step commands refuse such a step.
    /// Bodies made by code without an object are not seen.
    bool CanStep(float stepSize, nString& why) const;
    /// a body made in this world (by its Create) / dying
    void AddBody(nOpendeBody* body);
    void RemoveBody(nOpendeBody* body);
    void Step(float stepSize);
    void QuickStep(float stepSize);
    /// ODE's StepFast1 is gone: a QuickStep with the given iteration count
    /// for this call only
    void StepFast1(float stepSize, int maxIterations);
    void SetQuickStepNumIterations(int num);
    int GetQuickStepNumIterations() const;
    /// the force that applies the impulse over one step
    vector3 ImpulseToForce(float stepSize, const vector3& impulse) const;
    void SetAutoDisableFlag(int flag);
    int GetAutoDisableFlag() const;
    void SetAutoDisableLinearThreshold(float t);
    float GetAutoDisableLinearThreshold() const;
    void SetAutoDisableAngularThreshold(float t);
    float GetAutoDisableAngularThreshold() const;
    void SetAutoDisableSteps(int steps);
    int GetAutoDisableSteps() const;
    void SetAutoDisableTime(float t);
    float GetAutoDisableTime() const;

protected:
    ~nOpendeWorld() override;

private:
    nOpendeUser odeUser;
    dWorldID worldId;
    /// the body objects made in this world (ODE cannot list its bodies)
    nArray<nOpendeBody*> bodies;
};
#endif
