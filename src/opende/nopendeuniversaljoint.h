#ifndef N_OPENDEUNIVERSALJOINT_H
#define N_OPENDEUNIVERSALJOINT_H
//------------------------------------------------------------------------------
/**
    @class nOpendeUniversalJoint
    @ingroup Opende

    A universal joint: two axes through an anchor, one fixed in each body.
    Parameters on axes 0 and 1 (axis 2 is kept for the save format).

    ODE's step stops the program on parallel axes: setting one axis
    parallel to the other moves the other to a perpendicular (reported),
    so that a saved joint, which sets axis 1 before axis 2, reloads
    whatever the axes were before.
*/
#include "opende/nopendejoint.h"

class nOpendeUniversalJoint : public nOpendeJoint
{
public:
    void Create(const char* worldPath) override;
    void SetParam(int param, float value) override;
    float GetParam(int param) override;
    bool SaveCmds(nPersistServer* ps) override;
    using nOpendeJoint::SetParam;
    using nOpendeJoint::GetParam;

    void SetAnchor(const vector3& a);
    void SetAxis1(const vector3& a);
    void SetAxis2(const vector3& a);
    vector3 GetAnchor() const;
    vector3 GetAnchor2() const;
    vector3 GetAxis1() const;
    vector3 GetAxis2() const;

    /// true when a is parallel to the other axis than 'which' (0, 1)
    bool IsParallel(int which, const vector3& a) const;

protected:
    void ApplyKept(int slot, const vector3& v) override;

private:
    /// moves the other axis away when a, for axis 'which', is parallel to it
    void MoveParallelAxis(int which, const vector3& a);
};
#endif
