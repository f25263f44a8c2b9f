#ifndef N_OPENDESERVER_H
#define N_OPENDESERVER_H
//------------------------------------------------------------------------------
/**
    @class nOpendeServer
    @ingroup Opende

    The root of the physics wrappers ("/sys/servers/phys"): owns the
    collision triangle meshes, shared by id and counted by the geoms that
    use them, and the table of named contact-surface parameters that
    scripts fill. The world and its space live below it.

    ODE is started by the first physics object and shut down after the
    last (nOpendeLayer), so a later server in the same process (the game
    makes one per match) starts it again.
*/
#include "kernel/nroot.h"
#include "util/nhashlist.h"
#include "opende/nopendesurface.h"
#include "opende/nopendetrimesh.h"

class nOpendeServer : public nRoot
{
public:
    nOpendeServer();

    /// the server constructed last, 0 when none lives
    static nOpendeServer* opendeServer;

    /// the mesh of the id, loaded from the file's group when new; an id
    /// that is loaded already is returned as it is. 0 (reported, nothing
    /// kept) when the file does not load.
    nOpendeTriMesh* NewTriMesh(const char* id, const char* filename, int group = 0);
    /// delete an unused mesh; an unknown id does nothing (asserts a used one)
    void DeleteTriMesh(const char* id);
    nOpendeTriMesh* FindTriMesh(const char* id) const;
    /// a geom let go of the mesh: the last user removes and deletes it
    void ReleaseTriMesh(nOpendeTriMesh* mesh);

    /// make the table of num entries (once)
    void BeginSurfaces(int num);
    void AddSurface(int index, const char* name);
    /// OR a mode flag by name; false (reported) for an unknown name
    bool EnableSurfaceParam(int index, const char* param);
    /// set one value by name and OR its flag; false (reported) for an
    /// unknown name
    bool SetSurfaceParam(int index, const char* param, float value);
    void EndSurfaces();
    nOpendeSurface* GetSurface(int index) const;
    /// the first entry of that name, -1 when none
    int GetSurfaceIndex(const char* name) const;
    int GetNumSurfaces() const { return this->numSurfaces; }
    bool InBeginSurfaces() const { return this->inBeginSurfaces; }

protected:
    ~nOpendeServer() override;

private:
    /// the triangle-mesh geoms of the tree let go of this server's meshes
    void TakeMeshesFromGeoms();

    nOpendeUser odeUser;
    nHashList triMeshes;
    bool inBeginSurfaces;
    nOpendeSurface* surfaces;
    int numSurfaces;
};
#endif
