#ifndef N_OPENDESPHEREGEOM_H
#define N_OPENDESPHEREGEOM_H
//------------------------------------------------------------------------------
/**
    @class nOpendeSphereGeom
    @ingroup Opende

    A sphere, radius 1 when created (ODE's sphere).
*/
#include "opende/nopendegeom.h"

class nOpendeSphereGeom : public nOpendeGeom
{
public:
    nOpendeSphereGeom() = default;
    bool Create(const char* spacePath) override;
    bool SaveCmds(nPersistServer* ps) override;

    void SetRadius(float r);
    float GetRadius() const;
    /// depth of a world point inside the sphere, negative outside
    float PointDepth(const vector3& p) const;

protected:
    ~nOpendeSphereGeom() override = default;
};
#endif
