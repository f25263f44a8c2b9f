#ifndef N_OPENDEPLANEGEOM_H
#define N_OPENDEPLANEGEOM_H
//------------------------------------------------------------------------------
/**
    @class nOpendePlaneGeom
    @ingroup Opende

    The plane a x + b y + c z = d, y = 0 with normal +y when created (ODE's
    plane). ODE does not place planes: they have no position or rotation.
*/
#include "opende/nopendegeom.h"
#include "mathlib/vector4.h"

class nOpendePlaneGeom : public nOpendeGeom
{
public:
    nOpendePlaneGeom() = default;
    bool Create(const char* spacePath) override;
    bool SaveCmds(nPersistServer* ps) override;

    void SetParams(const vector4& p);
    /// a, b, c, d
    vector4 GetParams() const;
    /// depth of a world point below the plane, negative above
    float PointDepth(const vector3& p) const;

protected:
    ~nOpendePlaneGeom() override = default;
};
#endif
