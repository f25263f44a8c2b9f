#ifndef N_OPENDEHINGEJOINT_H
#define N_OPENDEHINGEJOINT_H
//------------------------------------------------------------------------------
/**
    @class nOpendeHingeJoint
    @ingroup Opende

    A hinge: the bodies turn about one axis through an anchor. Parameters
    on axis 0.
*/
#include "opende/nopendejoint.h"

class nOpendeHingeJoint : public nOpendeJoint
{
public:
    void Create(const char* worldPath) override;
    void SetParam(int param, float value) override;
    float GetParam(int param) override;
    bool SaveCmds(nPersistServer* ps) override;
    using nOpendeJoint::SetParam;
    using nOpendeJoint::GetParam;

    void SetAnchor(const vector3& a);
    void SetAxis(const vector3& a);
    vector3 GetAnchor() const;
    vector3 GetAnchor2() const;
    vector3 GetAxis() const;
    float GetAngle() const;
    float GetAngleRate() const;

protected:
    void ApplyKept(int slot, const vector3& v) override;
};
#endif
