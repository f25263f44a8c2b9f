#ifndef N_OPENDETRIMESH_H
#define N_OPENDETRIMESH_H
//------------------------------------------------------------------------------
/**
    @class nOpendeTriMesh
    @ingroup Opende

    A collision triangle mesh shared by id between the triangle-mesh geoms
    that use it, counted by them. Built from one group of a coordinates-only
    mesh file (n3d2 or nvx2), or by Begin, SetVertex, SetTriangle and End.
    The vertex and face arrays live as long as the ODE data, which points
    into them.
*/
#include "util/nhashnode.h"
#include "mathlib/vector3.h"
#include "opende/nopendelayer.h"

class nFileServer2;
class nMeshLoader;

class nOpendeTriMesh : public nHashNode
{
public:
    explicit nOpendeTriMesh(const char* id);
    ~nOpendeTriMesh();

    int AddRef() { return ++this->refCount; }
    int Release();
    int GetRef() const { return this->refCount; }
    bool IsLoaded() const { return this->isLoaded; }
    dTriMeshDataID GetData() const { return this->data; }
    int GetNumVertices() const { return this->numVertices; }
    int GetNumFaces() const { return this->numFaces; }
    const float* GetVertexData() const { return this->vertexData; }
    const int* GetFaceData() const { return this->faceData; }

    void Begin(int numVertices, int numFaces);
    void SetVertex(int index, const vector3& v);
    void SetTriangle(int index, int p0Index, int p1Index, int p2Index);
    void End();
    /// build from one group of a mesh file; false (reported) when the file
    /// cannot be read or does not describe a sound coordinates-only group
    bool Load(nFileServer2* fs, const char* filename, int group);

private:
    /// the reading part of Load, with an open loader
    bool LoadGroup(nMeshLoader& loader, int group);
    /// report a failed load; always false
    bool Fail(const char* filename, const char* fmt, ...) N_PRINTF_FORMAT(3, 4);
    /// free both arrays
    void FreeArrays();

    nOpendeUser odeUser;
    dTriMeshDataID data;
    int refCount;
    int numVertices;
    int numFaces;
    float* vertexData;
    int* faceData;
    bool isLoaded;
};
#endif
