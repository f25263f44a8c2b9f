#ifndef N_OPENDEHINGE2JOINT_H
#define N_OPENDEHINGE2JOINT_H
//------------------------------------------------------------------------------
/**
    @class nOpendeHinge2Joint
    @ingroup Opende

    A hinge-2 (a steered, suspended wheel): axis 1 in the first body, axis
    2 in the second, through one anchor. Parameters on three axes.

    ODE takes axes only with both bodies attached (axes given before any
    body is attached are kept until then) and never two parallel axes: setting one axis parallel to the other moves the other to a
    perpendicular (reported), so that a saved joint, which sets axis 1
    before axis 2, reloads whatever the axes were before.
*/
#include "opende/nopendejoint.h"

class nOpendeHinge2Joint : public nOpendeJoint
{
public:
    void Create(const char* worldPath) override;
    void SetParam(int param, float value) override;
    float GetParam(int param) override;
    bool SaveCmds(nPersistServer* ps) override;
    bool NeedsTwoBodies() const override { return true; }
    using nOpendeJoint::SetParam;
    using nOpendeJoint::GetParam;

    /// true when both bodies are attached, which the axes need
    bool HasBothBodies() const;
    void SetAnchor(const vector3& a);
    void SetAxis1(const vector3& a);
    void SetAxis2(const vector3& a);
    vector3 GetAnchor() const;
    vector3 GetAnchor2() const;
    vector3 GetAxis1() const;
    vector3 GetAxis2() const;
    float GetAngle1() const;
    float GetAngle1Rate() const;
    float GetAngle2Rate() const;

private:
    /// sets axis 'which' (0 or 1) to a, moving the other when parallel
    void SetAxes(int which, const vector3& a);

protected:
    void ApplyKept(int slot, const vector3& v) override;
};
#endif
