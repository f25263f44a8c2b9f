#ifndef N_OPENDECAPSULEGEOM_H
#define N_OPENDECAPSULEGEOM_H
//------------------------------------------------------------------------------
/**
    @class nOpendeCapsuleGeom
    @ingroup Opende

    A capsule (ODE's capped cylinder along its z axis), radius 1 and length 1
    when created.
*/
#include "opende/nopendegeom.h"

class nOpendeCapsuleGeom : public nOpendeGeom
{
public:
    nOpendeCapsuleGeom() = default;
    bool Create(const char* spacePath) override;
    bool SaveCmds(nPersistServer* ps) override;

    void SetParams(float radius, float length);
    void GetParams(float& radius, float& length) const;
    /// depth of a world point inside the capsule, negative outside
    float PointDepth(const vector3& p) const;

protected:
    ~nOpendeCapsuleGeom() override = default;
};
#endif
