#ifndef N_OPENDEAMOTORJOINT_H
#define N_OPENDEAMOTORJOINT_H
//------------------------------------------------------------------------------
/**
    @class nOpendeAMotorJoint
    @ingroup Opende

    An angular motor: drives or limits the relative turning of two bodies
    about up to three axes, in "user" mode (the axes as given) or "euler"
    mode (ODE derives axis 1 from axes 0 and 2).

    The motor remembers the axes it was given: ODE aborts when it derives
    or reads an axis it cannot normalise, and the commands check against
    what was set before they ask ODE. For the same reason an euler motor
    runs in ODE's user mode until its axes 0 and 2 are given and not
    parallel (a world step would abort otherwise); GetMode reports the
    mode that was set.

    An axis relative to the first body while that body is not attached
    (a loaded motor waits for bodies the script creates after the load)
    is kept with its relation and handed to ODE on attaching, as the
    other joints keep their anchors and axes.
*/
#include "opende/nopendejoint.h"

class nOpendeAMotorJoint : public nOpendeJoint
{
public:
    nOpendeAMotorJoint();
    void Create(const char* worldPath) override;
    void SetParam(int param, float value) override;
    float GetParam(int param) override;
    bool SaveCmds(nPersistServer* ps) override;
    using nOpendeJoint::SetParam;
    using nOpendeJoint::GetParam;

    void SetMode(int mode);
    /// "user" or "euler"; any other name is fatal
    void SetMode(const char* name);
    int GetMode() const;
    /// the mode's name; a mode other than 0 and 1 is fatal
    const char* GetModeName() const;
    /// the mode number of a name, -1 for none
    static int ModeByName(const char* name);
    void SetNumAxes(int num);
    int GetNumAxes() const;
    /// rel: 0 world frame, 1 first body, 2 second body; a relative axis
    /// waits while the first body is not attached
    void SetAxis(int index, int rel, const vector3& axis);
    /// true while axis index waits for the first body to be attached
    bool IsAxisWaiting(int index) const;
    vector3 GetAxis(int index) const;
    int GetAxisRel(int index) const;
    void SetAngle(int index, float angle);
    float GetAngle(int index) const;
    float GetAngleRate(int index) const;

    /// why ODE cannot read axis index now, or 0
    const char* AxisProblem(int index) const;
    /// why ODE cannot give the angle rate of axis index now, or 0
    const char* AngleRateProblem(int index) const;
    /// true when axis index was given a direction
    bool IsAxisSet(int index) const;
    /// the direction axis index was given (world frame when given)
    const vector3& GetGivenAxis(int index) const { return this->axes[index]; }

protected:
    void BodiesAttached() override;

private:
    /// why ODE cannot derive the euler axes now, or 0
    const char* EulerProblem() const;
    /// why ODE cannot derive the euler axes from the given ones, or 0
    const char* EulerAxesProblem() const;
    /// puts ODE in euler mode once the axes allow it, else in user mode
    void ApplyEuler();

    vector3 axes[3];
    int rels[3];
    /// the axis is relative to a body not attached yet: ODE has not got it
    bool waiting[3];
    bool euler;
};
#endif
