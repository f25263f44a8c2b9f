#ifndef N_OPENDETRIMESHGEOM_H
#define N_OPENDETRIMESHGEOM_H
//------------------------------------------------------------------------------
/**
    @class nOpendeTriMeshGeom
    @ingroup Opende

    A triangle-mesh geom (ODE's) on a mesh shared through the physics
    server by id. The geom holds one reference on its mesh; the last geom
    to let go of a mesh deletes it.
*/
#include "opende/nopendegeom.h"
#include "kernel/nref.h"

class nOpendeTriMesh;
class nOpendeServer;

class nOpendeTriMeshGeom : public nOpendeGeom
{
public:
    nOpendeTriMeshGeom();
    bool Create(const char* spacePath) override;
    bool SaveCmds(nPersistServer* ps) override;

    /// use the server's mesh of the id (asserted to exist)
    void SetMesh(const char* id);
    /// the held mesh's id, "none" without one
    const char* GetMesh() const;
    nOpendeTriMesh* GetTriMesh() const { return this->triMesh; }

    void EnableTC(int geomClass, bool enable);
    /// by a class name of the geom base's lookup (asserted)
    void EnableTC(const char* className, bool enable);
    bool IsTCEnabled(int geomClass) const;
    bool IsTCEnabled(const char* className) const;
    void ClearTCCache();
    /// the corners of a triangle in world space
    void GetTriangle(int index, vector3& v0, vector3& v1, vector3& v2) const;
    /// a point on a triangle from barycentric u, v
    vector3 GetPoint(int index, float u, float v) const;

    void SetCallback(dTriCallback* callback);
    dTriCallback* GetCallback() const;
    void SetArrayCallback(dTriArrayCallback* callback);
    dTriArrayCallback* GetArrayCallback() const;
    void SetRayCallback(dTriRayCallback* callback);
    dTriRayCallback* GetRayCallback() const;

    /// let go of the mesh when the server that owns it is going away
    void LoseMesh(nOpendeServer* server);

protected:
    ~nOpendeTriMeshGeom() override;

private:
    /// give the held mesh back to the server
    void ReleaseMesh();
    /// the class number of a name (asserted to be known)
    static int ClassOf(const char* className);

    nOpendeTriMesh* triMesh;
    /// the server that owns the held mesh; when it went first, it has
    /// deleted the mesh itself
    nRef<nOpendeServer> meshOwner;
};
#endif
