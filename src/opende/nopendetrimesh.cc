//------------------------------------------------------------------------------
//  nopendetrimesh.cc
//------------------------------------------------------------------------------
#include "opende/nopendetrimesh.h"
#include "gfx2/nn3d2loader.h"
#include "gfx2/nnvx2loader.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

nOpendeTriMesh::nOpendeTriMesh(const char* id) :
    nHashNode(id),
    data(0),
    refCount(0),
    numVertices(0),
    numFaces(0),
    vertexData(nullptr),
    faceData(nullptr),
    isLoaded(false)
{
}

/*
 * ~nOpendeTriMesh --
 *     Side effects: destroys the ODE data, then frees the arrays it
 *     pointed into; asserts that no geom uses the mesh any more.
 */
nOpendeTriMesh::~nOpendeTriMesh()
{
    if (this->data)
    {
        dGeomTriMeshDataDestroy(this->data);
        this->data = 0;
    }
    this->FreeArrays();
    n_assert(0 == this->refCount);
}

void nOpendeTriMesh::FreeArrays()
{
    if (this->vertexData) n_free(this->vertexData);
    if (this->faceData) n_free(this->faceData);
    this->vertexData = nullptr;
    this->faceData = nullptr;
}

int nOpendeTriMesh::Release()
{
    n_assert(refCount > 0);
    return --this->refCount;
}

/*
 * Begin --
 *     Side effects: stores both counts and allocates the vertex and face
 *     arrays (12 bytes per vertex and per face).
 */
void nOpendeTriMesh::Begin(int numVerts, int numTris)
{
    n_assert(!this->isLoaded);
    n_assert(!this->vertexData);
    n_assert(!this->faceData);
    n_assert(numVerts >= 0 && numTris >= 0);
    this->numVertices = numVerts;
    this->numFaces = numTris;
    this->vertexData = static_cast<float*>(n_malloc(3 * sizeof(float) * (size_t)n_max(numVerts, 1)));
    this->faceData = static_cast<int*>(n_malloc(3 * sizeof(int) * (size_t)n_max(numTris, 1)));
}

void nOpendeTriMesh::SetVertex(int index, const vector3& v)
{
    n_assert(this->vertexData);
    n_assert((index >= 0) && (index < this->numVertices));
    float* p = this->vertexData + 3 * index;
    p[0] = v.x;
    p[1] = v.y;
    p[2] = v.z;
}

void nOpendeTriMesh::SetTriangle(int index, int p0Index, int p1Index, int p2Index)
{
    n_assert(this->faceData);
    n_assert((index >= 0) && (index < this->numFaces));
    n_assert((p0Index >= 0) && (p0Index < this->numVertices));
    n_assert((p1Index >= 0) && (p1Index < this->numVertices));
    n_assert((p2Index >= 0) && (p2Index < this->numVertices));
    int* p = this->faceData + 3 * index;
    p[0] = p0Index;
    p[1] = p1Index;
    p[2] = p2Index;
}

/*
 * End --
 *     Side effects: builds the ODE data from the two arrays (single
 *     precision vertices, 32-bit indices) and marks the mesh loaded.
 */
void nOpendeTriMesh::End()
{
    n_assert((this->numVertices > 0) && (this->numFaces > 0));
    n_assert(this->faceData && this->vertexData);
    n_assert(!this->data);
    n_assert(!this->isLoaded);
    static_assert(sizeof(dTriIndex) == sizeof(int), "ODE's triangle indices are 32 bits wide");
    this->data = dGeomTriMeshDataCreate();
    dGeomTriMeshDataBuildSingle(this->data, this->vertexData, 3 * sizeof(float), this->numVertices, this->faceData,
                                3 * this->numFaces, 3 * sizeof(int));
    this->isLoaded = true;
}

bool nOpendeTriMesh::Fail(const char* filename, const char* fmt, ...)
{
    char msg[512];
    va_list args;
    va_start(args, fmt);
    vsnprintf(msg, sizeof(msg), fmt, args);
    va_end(args);
    n_printf("nOpendeTriMesh: cannot load '%s': %s\n", filename, msg);
    return false;
}

/*
 * Load --
 *     Results: true when the group was read and built; false (reported)
 *     for an unknown format (by a substring of the name, ".n3d2" tested
 *     first), a file that cannot be read, or a group that is no sound
 *     triangle list of coordinates.
 *     Side effects: on success the mesh is loaded; on failure it is left
 *     empty and unloaded.
 */
bool nOpendeTriMesh::Load(nFileServer2* fs, const char* filename, int group)
{
    n_assert(!this->isLoaded);
    n_assert(fs && filename);
    std::unique_ptr<nMeshLoader> loader;
    if (strstr(filename, ".n3d2")) loader = std::make_unique<nN3d2Loader>();
    else if (strstr(filename, ".nvx2")) loader = std::make_unique<nNvx2Loader>();
    else
    {
        n_printf("nOpendeTriMesh: Unknown file format '%s'\n", filename);
        return false;
    }
    loader->SetFilename(filename);
    loader->SetIndexType(nMeshLoader::Index32);
    if (!loader->Open(fs)) return this->Fail(filename, "the file cannot be read");
    const bool ok = this->LoadGroup(*loader, group);
    loader->Close();
    if (!ok)
    {
        this->FreeArrays();
        this->numVertices = 0;
        this->numFaces = 0;
    }
    return ok;
}

/*
 * LoadGroup --
 *     The group is copied by its own range, whatever the file's other
 *     groups are, and its indices are made relative to its first vertex.
 * Results: true when the mesh was built; else false, reported.
 */
bool nOpendeTriMesh::LoadGroup(nMeshLoader& loader, int group)
{
    const char* filename = loader.GetFilename().Get();
    if (group < 0 || group >= loader.GetNumGroups())
    {
        return this->Fail(filename, "group %d does not exist (the file has %d)", group, loader.GetNumGroups());
    }
    if (!(loader.GetVertexComponents() & nMeshLoader::Coord))
    {
        return this->Fail(filename, "Coord vertex component must be present!");
    }
    if (loader.GetVertexWidth() != 3) return this->Fail(filename, "Only the Coord vertex component must be present!");
    const nMeshGroup& g = loader.GetGroup(group);
    if (g.numIndices % 3 != 0) return this->Fail(filename, "group %d has %d indices, no whole triangles", group, g.numIndices);
    if (g.numVertices <= 0 || g.numIndices <= 0) return this->Fail(filename, "group %d has no triangles", group);

    std::vector<float> vertices((size_t)loader.GetNumVertices() * 3);
    std::vector<uint> indices((size_t)loader.GetNumIndices());
    if (!loader.ReadVertices(vertices.data(), (int)(vertices.size() * sizeof(float))) ||
        !loader.ReadIndices(indices.data(), (int)(indices.size() * sizeof(uint))))
    {
        return this->Fail(filename, "the vertices or indices cannot be read");
    }
    for (int i = 0; i < 3 * g.numVertices; i++)
    {
        if (!std::isfinite(vertices[3 * (size_t)g.firstVertex + i]))
        {
            return this->Fail(filename, "group %d has a coordinate that is no finite number", group);
        }
    }
    this->Begin(g.numVertices, g.numIndices / 3);
    memcpy(this->vertexData, &vertices[3 * (size_t)g.firstVertex], 3 * sizeof(float) * g.numVertices);
    for (int i = 0; i < g.numIndices; i++)
    {
        const long long index = (long long)indices[(size_t)g.firstIndex + i] - g.firstVertex;
        if (index < 0 || index >= g.numVertices)
        {
            return this->Fail(filename, "index %d of group %d names a vertex outside the group", i, group);
        }
        this->faceData[i] = (int)index;
    }
    this->End();
    return true;
}
