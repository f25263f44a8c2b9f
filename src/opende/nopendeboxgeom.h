#ifndef N_OPENDEBOXGEOM_H
#define N_OPENDEBOXGEOM_H
//------------------------------------------------------------------------------
/**
    @class nOpendeBoxGeom
    @ingroup Opende

    A box of three side lengths, 1 x 1 x 1 when created (ODE's box).
*/
#include "opende/nopendegeom.h"

class nOpendeBoxGeom : public nOpendeGeom
{
public:
    nOpendeBoxGeom() = default;
    bool Create(const char* spacePath) override;
    bool SaveCmds(nPersistServer* ps) override;

    void SetLengths(const vector3& l);
    vector3 GetLengths() const;
    /// depth of a world point inside the box; outside, minus its distance
    float PointDepth(const vector3& p) const;

protected:
    ~nOpendeBoxGeom() override = default;
};
#endif
