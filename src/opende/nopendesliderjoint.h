#ifndef N_OPENDESLIDERJOINT_H
#define N_OPENDESLIDERJOINT_H
//------------------------------------------------------------------------------
/**
    @class nOpendeSliderJoint
    @ingroup Opende

    A slider: the bodies move along one axis. Parameters on axis 0. ODE
    reads the bodies for the position and its rate, so those need one.
*/
#include "opende/nopendejoint.h"

class nOpendeSliderJoint : public nOpendeJoint
{
public:
    void Create(const char* worldPath) override;
    void SetParam(int param, float value) override;
    float GetParam(int param) override;
    bool SaveCmds(nPersistServer* ps) override;
    using nOpendeJoint::SetParam;
    using nOpendeJoint::GetParam;

    void SetAxis(const vector3& a);
    vector3 GetAxis() const;
    float GetPosition() const;
    float GetPositionRate() const;

protected:
    void ApplyKept(int slot, const vector3& v) override;
};
#endif
