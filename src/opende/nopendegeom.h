#ifndef N_OPENDEGEOM_H
#define N_OPENDEGEOM_H
//------------------------------------------------------------------------------
/**
    @class nOpendeGeom
    @ingroup Opende

    Base of every collision object: wraps one ODE geom, remembers the space
    it was created in and the body it is attached to (by path). A plain
    nopendegeom never makes an ODE geom; the shapes and spaces do in their
    Create. Everything but Create and id() needs the ODE geom.

    ODE aborts the program on some calls (placing a plane, for one), so
    IsPlaceable tells the callers which geoms take a position.
*/
#include "kernel/nroot.h"
#include "kernel/ndynautoref.h"
#include "opende/nopendelayer.h"

class nOpendeTransformGeom;

class nOpendeGeom : public nRoot
{
public:
    nOpendeGeom();

    /// make the ODE geom in the space at the path ("none": no space); the
    /// base only stores the path. false when the class cannot be created
    /// this way (reported)
    virtual bool Create(const char* spacePath);
    bool SaveCmds(nPersistServer* ps) override;

    /// the ODE handle, 0 before Create
    dGeomID id() const { return this->geomId; }
    /// the ODE space of the space path, 0 for "none"
    dSpaceID GetSpaceId() const;
    /// the space path given to Create
    const char* GetSpacePath() const { return this->spacePath.Get(); }
    /// the path of the space the geom is in now, however it got there
    /// (Create, AddGeom); "none" when it is in none
    nString GetCurrentSpacePath() const;
    /// true when the path is "none" or names an nopendespace with an ODE
    /// space; else false and why in the text
    static bool IsUsableSpacePath(const char* path, nString& why);

    /// attach to the body at the path (not "none"); the path is kept
    void SetBody(const char* path);
    /// attach to an ODE body; the kept path becomes "none"
    void SetBody(dBodyID body);
    const char* GetBody() const { return this->bodyName.Get(); }
    dBodyID GetBodyId() const;

    /// false for the geoms ODE does not place (planes, spaces)
    bool IsPlaceable() const;
    /// false while ODE cannot bound the geom (a triangle mesh without its
    /// mesh); such a geom stays out of spaces and transforms
    bool HasShape() const { return nOpendeLayer::HasShape(this->geomId); }
    void SetPosition(const vector3& p);
    vector3 GetPosition() const;
    void SetRotation(const matrix33& m);
    matrix33 GetRotation() const;
    void SetQuaternion(const quaternion& q);
    quaternion GetQuaternion() const;
    /// min x, max x, min y, max y, min z, max z
    void GetAABB(float aabb[6]) const;

    void SetCategoryBits(uint bits);
    void SetCollideBits(uint bits);
    uint GetCategoryBits() const;
    uint GetCollideBits() const;
    void Enable();
    void Disable();
    bool IsEnabled() const;

    int GetClass() const;
    /// the name of the geom's class number
    const char* GetGeomClassName() const;
    /// the name of an ODE class number, "uknown" for any other
    static const char* GeomClassName(int geomClass);
    /// the class number of a name ("sphere" ... "transform"), -1 when none
    static int GeomClassByName(const char* name);

    void SetData(void* data);
    void* GetData() const;
    dSpaceID GetSpace() const;
    void Collide2(dGeomID other, void* data, dNearCallback* callback);

    /// reports once that a loaded geom stays outside the space or body the
    /// path names (why: what is wrong with the path)
    void ReportDetached(const char* path, const char* why);

    /// the transform geom that encapsulates this one, or 0
    nOpendeTransformGeom* GetHolder() const { return this->holder; }
    void SetHolder(nOpendeTransformGeom* t) { this->holder = t; }

protected:
    ~nOpendeGeom() override;
    /// asserts that the ODE geom exists, naming the class in the text
    void CheckId(const char* msg) const { n_assert2(this->geomId, msg); }

    nOpendeUser odeUser;
    dGeomID geomId;
    nDynAutoRef<nRoot> ref_Space;
    nString spacePath;
    nString bodyName;
    nOpendeTransformGeom* holder;
    bool reportedDetached;
};
#endif
