#ifndef N_OPENDEBALLJOINT_H
#define N_OPENDEBALLJOINT_H
//------------------------------------------------------------------------------
/**
    @class nOpendeBallJoint
    @ingroup Opende

    A ball-and-socket joint: the two bodies share one anchor point. It has
    no parameters; the base's SetParam and GetParam report that.
*/
#include "opende/nopendejoint.h"

class nOpendeBallJoint : public nOpendeJoint
{
public:
    void Create(const char* worldPath) override;
    bool SaveCmds(nPersistServer* ps) override;

    void SetAnchor(const vector3& a);
    vector3 GetAnchor() const;
    vector3 GetAnchor2() const;

protected:
    void ApplyKept(int slot, const vector3& v) override;
};
#endif
