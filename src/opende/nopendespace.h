#ifndef N_OPENDESPACE_H
#define N_OPENDESPACE_H
//------------------------------------------------------------------------------
/**
    @class nOpendeSpace
    @ingroup Opende

    Common base of the collision spaces. A space is a geom, so it lives in
    a parent space (or "none"); the subclasses make the ODE space in their
    Create, a plain nopendespace never has one.

    Before its ODE space is destroyed a space takes every geom out of it:
    with cleanup on ODE would destroy them along with the space while
    their wrapper objects still hold the handles.
*/
#include "opende/nopendegeom.h"

class nOpendeSpace : public nOpendeGeom
{
public:
    nOpendeSpace() = default;
    bool SaveCmds(nPersistServer* ps) override;

    dSpaceID spaceId() const { return (dSpaceID)this->geomId; }

    void SetCleanup(bool b);
    bool GetCleanup() const;
    void AddGeom(dGeomID g);
    void AddSpace(dSpaceID s) { this->AddGeom((dGeomID)s); }
    void RemoveGeom(dGeomID g);
    void RemoveSpace(dSpaceID s) { this->RemoveGeom((dGeomID)s); }
    bool ContainsGeom(dGeomID g) const;
    bool ContainsSpace(dSpaceID s) const { return this->ContainsGeom((dGeomID)s); }
    /// by path; the path must name a created geom (asserted)
    void AddGeom(const char* path);
    void RemoveGeom(const char* path);
    bool ContainsGeom(const char* path) const;
    int GetNumGeoms() const;
    dGeomID GetGeom(int index) const;
    void Collide(void* data, dNearCallback* callback);

    /// why ODE would refuse to add the geom (in another space, this space
    /// or one of its parents, no ODE geom); true when it may be added
    bool CanAdd(dGeomID g, nString& why) const;

protected:
    ~nOpendeSpace() override;
    /// the created geom at a path (asserted)
    nOpendeGeom* GeomAt(const char* path) const;
};
#endif
