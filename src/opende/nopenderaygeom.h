#ifndef N_OPENDERAYGEOM_H
#define N_OPENDERAYGEOM_H
//------------------------------------------------------------------------------
/**
    @class nOpendeRayGeom
    @ingroup Opende

    A ray from a start point along a direction for a length, 1 when created
    (ODE's ray). Contacts with it tell where the ray hits.
*/
#include "opende/nopendegeom.h"

class nOpendeRayGeom : public nOpendeGeom
{
public:
    nOpendeRayGeom() = default;
    bool Create(const char* spacePath) override;
    bool SaveCmds(nPersistServer* ps) override;

    void SetLength(float length);
    float GetLength() const;
    /// the direction must not be zero (ODE normalises it)
    void Set(const vector3& start, const vector3& direction);
    void Get(vector3& start, vector3& direction) const;
    void SetParams(bool firstContact, bool backfaceCull);
    void GetParams(bool& firstContact, bool& backfaceCull) const;
    void SetClosestHit(bool closestHit);
    bool GetClosestHit() const;

protected:
    ~nOpendeRayGeom() override = default;
};
#endif
