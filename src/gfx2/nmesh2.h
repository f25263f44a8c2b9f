#ifndef N_MESH2_H
#define N_MESH2_H
//------------------------------------------------------------------------------
/**
    @class nMesh2
    @ingroup Gfx2

    A mesh resource: one vertex buffer, one 16-bit index buffer, an
    optional edge list in system memory and a table of groups (sub-meshes
    with their ranges and bounding boxes). It loads n3d2 and nvx2 files
    through the mesh-file readers, or makes empty buffers for code to fill
    when it has no file name. The device classes make the buffers.

    A mesh file or usage text that cannot be used is outside data: the
    load fails with a message and the mesh stays unloaded.
*/
#include "gfx2/nmeshgroup.h"
#include "gfx2/nmeshloader.h"
#include "resource/nresource.h"
#include "util/narray.h"
#include "util/nstring.h"

#include <memory>
#include <vector>

class nMesh2 : public nResource
{
public:
    /// how the buffers are used
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

    /// vertex components, as the mesh files give them
    enum VertexComponent
    {
        Coord = nMeshLoader::Coord,
        Normal = nMeshLoader::Normal,
        Uv0 = nMeshLoader::Uv0,
        Uv1 = nMeshLoader::Uv1,
        Uv2 = nMeshLoader::Uv2,
        Uv3 = nMeshLoader::Uv3,
        Color = nMeshLoader::Color,
        Tangent = nMeshLoader::Tangent,
        Binormal = nMeshLoader::Binormal,
        Weights = nMeshLoader::Weights,
        JIndices = nMeshLoader::JIndices,
        NumVertexComponents = nMeshLoader::NumVertexComponents,
        AllComponents = nMeshLoader::AllComponents,
    };

    /// one edge: the two faces it joins and its two vertices
    struct Edge
    {
        ushort fIndex[2];
        ushort vIndex[2];
    };

    nMesh2();

    /// floats per vertex of a component mask (asserts a non-empty mask)
    static int GetVertexWidthFromMask(int compMask) { return nMeshLoader::GetVertexWidthFromMask(compMask); }
    /// the usage flags as text: "WriteOnce|ReadOnly" ..., "" for none
    static nString ConvertUsageFlagsToString(int usage);
    /// the usage flags of a text such as "writeonce|NPatch" (any case,
    /// empty words skipped); -1, reported, when a word is no usage
    static int ConvertUsageStringToFlags(const char* str);
    /// as ConvertUsageStringToFlags: true with the flags, false (flags
    /// untouched) when a word is no usage
    static bool ParseUsageString(const char* str, int& flags);

    //--- the buffers ------------------------------------------------------------------
    /// the vertices, null in the base class
    virtual float* LockVertices();
    virtual void UnlockVertices();
    /// the indices, null in the base class
    virtual ushort* LockIndices();
    virtual void UnlockIndices();
    /// the edges (system memory), null when the mesh has none
    virtual Edge* LockEdges();
    virtual void UnlockEdges();

    //--- the description ----------------------------------------------------------------
    void SetUsage(int u) { this->usage = u; }
    int GetUsage() const { return this->usage; }
    void SetNumVertices(int num) { this->numVertices = num; }
    int GetNumVertices() const { return this->numVertices; }
    /// also sets the vertex width from the mask
    void SetVertexComponents(int compMask);
    int GetVertexComponents() const { return this->vertexComponents; }
    int GetVertexWidth() const { return this->vertexWidth; }
    void SetNumIndices(int num) { this->numIndices = num; }
    int GetNumIndices() const { return this->numIndices; }
    void SetNumEdges(int num);
    int GetNumEdges() const { return this->numEdges; }
    /// allocates the groups (once; asserts num > 0)
    void SetNumGroups(int num);
    int GetNumGroups() const { return this->numGroups; }
    nMeshGroup& Group(int i);
    const nMeshGroup& GetGroup(int i) const;
    void SetVertexBufferByteSize(int s);
    int GetVertexBufferByteSize() const { return this->vertexBufferByteSize; }
    void SetIndexBufferByteSize(int s);
    int GetIndexBufferByteSize() const { return this->indexBufferByteSize; }
    void SetEdgeBufferByteSize(int s);
    int GetEdgeBufferByteSize() const { return this->edgeBufferByteSize; }

    /// the edges' bytes when valid, else 0
    int GetByteSize() override;
    /// see nResource; a background load first notes the components the reader keeps
    bool Load() override;

protected:
    /// a loaded resource unloads before it dies
    ~nMesh2() override;
    bool LoadResource() override;
    void UnloadResource() override;
    /// on the loader thread: the mesh file read into memory (no device call)
    bool ReadResource() override;
    bool HasUpload() const override { return true; }
    /// on the main thread: the buffers made and filled from what was read
    bool UploadResource() override;
    /// whether a background read left the file's data for the upload
    bool HasReadMesh() const { return nullptr != this->readParsed; }

    /// make the buffers of the byte sizes set; false (reported) when the
    /// device cannot make them
    virtual bool CreateVertexBuffer();
    virtual bool CreateIndexBuffer();
    /// the edge buffer lives in system memory
    virtual bool CreateEdgeBuffer();
    /// give the buffers back; the base frees the edges
    virtual void ReleaseBuffers();

    /// read the mesh through an opened-not-yet reader; false (reported)
    /// when the file cannot be read, with everything given back
    bool LoadFile(nMeshLoader* meshLoader);
    /// the buffers of the counts set, for code to fill
    bool LoadEmpty();
    /// each group's box around the vertices its indices name
    void UpdateGroupBoundingBoxes();
    /// whether vertex programs run emulated, so tangents and binormals
    /// are dropped (false while no display is open)
    virtual bool VertexShadersEmulated();
    /// the reader of the file name's extension, null (reported) for others
    nMeshLoader* NewLoader(const nString& filename);
    /// the vertex components a reader is to keep for this mesh now
    int WantedComponents();

    /// a mesh file read into memory, not yet in buffers
    struct Parsed
    {
        int numVertices = 0;
        int vertexComponents = 0;
        int vertexWidth = 0;
        int numIndices = 0;
        int numEdges = 0;
        nArray<nMeshGroup> groups;
        std::vector<float> vertices;
        std::vector<ushort> indices;
        std::vector<Edge> edges;
        /// the components the reader kept
        int wantedComponents = 0;
    };
    enum ParseResult
    {
        ParseOk,
        ParseOpenFailed,
        /// the header was read (and is in the result), the data was not
        ParseReadFailed,
    };
    /// read a file through a named, not yet opened reader; touches no mesh
    static ParseResult ParseFile(nMeshLoader* meshLoader, nFileServer2* fs, Parsed& out);
    /// take the counts, components and groups read, and, with readOk, make
    /// and fill the buffers; false (reported) with everything given back
    bool BuildFromParsed(const Parsed& parsed, bool readOk, const nString& filename);

    /// the components a background read keeps (noted by Load, under the mutex)
    int readComponents = 0;
    /// what the loader thread read, waiting for UploadResource
    std::unique_ptr<Parsed> readParsed;
    /// while UploadResource runs: what it builds from, else null
    const Parsed* uploading = nullptr;

    int usage;
    int vertexComponents;
    int vertexWidth;
    int numVertices;
    int numEdges;
    int numIndices;
    int numGroups;
    nMeshGroup* groups;
    int vertexBufferByteSize;
    int indexBufferByteSize;
    int edgeBufferByteSize;
    Edge* privEdgeBuffer;
};
#endif
