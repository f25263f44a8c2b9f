#ifndef N_MESH2_H
#define N_MESH2_H
//------------------------------------------------------------------------------
/**
    @class nMesh2
    @ingroup Gfx2

    A mesh resource: vertex and index data drawn by the graphics server.
*/
#include "resource/nresource.h"
#include "gfx2/nmeshgroup.h"
#include "util/narray.h"
#include "util/nstring.h"

class nMesh2 : public nResource
{
public:
    nMesh2() = default;

    enum Usage
    {
        WriteOnce = (1 << 0),
        ReadOnly = (1 << 1),
        WriteOnly = (1 << 2),
        NPatch = (1 << 3),
        RTPatch = (1 << 4),
        PointSprite = (1 << 5),
        NeedsVertexShader = (1 << 6),
    };

    enum VertexComponent
    {
        Coord = (1 << 0),
        Normal = (1 << 1),
        Uv0 = (1 << 2),
        Uv1 = (1 << 3),
        Uv2 = (1 << 4),
        Uv3 = (1 << 5),
        Color = (1 << 6),
        Tangent = (1 << 7),
        Binormal = (1 << 8),
        Weights = (1 << 9),
        JIndices = (1 << 10),
    };

    /// the floats per vertex of a component mask (asserts a non-empty mask)
    static int GetVertexWidthFromMask(int compMask);

    void SetUsage(int u) { this->usage = u; }
    int GetUsage() const { return this->usage; }
    /// the components of a vertex; also sets the vertex width
    void SetVertexComponents(int compMask);
    int GetVertexComponents() const { return this->vertexComponents; }
    int GetVertexWidth() const { return this->vertexWidth; }
    void SetNumVertices(int num) { this->numVertices = num; }
    int GetNumVertices() const { return this->numVertices; }
    void SetNumIndices(int num) { this->numIndices = num; }
    int GetNumIndices() const { return this->numIndices; }

    //--- buffer access (base: null, nothing) ----------------------------------------
    virtual float* LockVertices();
    virtual void UnlockVertices();
    virtual ushort* LockIndices();
    virtual void UnlockIndices();

    /// the usage words of the set bits, each followed by "|"
    static nString ConvertUsageFlagsToString(int flags);
    /// the flags of a "|"-separated usage text (any case); an unknown word is fatal
    static int ConvertUsageStringToFlags(const char* str);
    /// as ConvertUsageStringToFlags, but false (flags untouched) on an unknown word
    static bool ParseUsageString(const char* str, int& flags);

    /// allocate the groups (asserts a positive number and none allocated yet)
    void SetNumGroups(int num);
    int GetNumGroups() const { return this->groups.Size(); }
    /// a group by index (asserts the index)
    nMeshGroup& Group(int i) const;

protected:
    /// a loaded resource unloads before it dies
    ~nMesh2() override;

    int usage = WriteOnce;
    int vertexComponents = 0;
    int vertexWidth = 0;
    int numVertices = 0;
    int numIndices = 0;
    /// frees the groups
    void UnloadResource() override;

private:
    nArray<nMeshGroup> groups;
};
#endif
