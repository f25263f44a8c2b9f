#ifndef N_MESHLOADER_H
#define N_MESHLOADER_H
//------------------------------------------------------------------------------
/**
    @class nMeshLoader
    @ingroup Gfx2

    Base of the mesh-file readers (n3d2 text, nvx2 binary). Open reads the
    header and the group table; then ReadVertices, ReadIndices and
    ReadEdges, in that order, fill buffers the caller sized from the
    header. Vertices are handed out with only the components selected by
    SetValidVertexComponents.

    A mesh file is outside data: a header that contradicts itself or the
    file's size, a missing or malformed number and an index past the
    vertices make Open or the read fail with a message. Buffer sizes that
    do not match the header are the caller's fault and stay assertions.
*/
#include "gfx2/nmeshgroup.h"
#include "util/narray.h"
#include "util/nstring.h"

class nFile;
class nFileServer2;

class nMeshLoader
{
public:
    enum IndexType
    {
        Index16 = 0,
        Index32 = 1,
    };

    /// vertex components; a vertex holds the floats of its components in
    /// rising bit order
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
        NumVertexComponents = 11,
        AllComponents = (1 << 11) - 1,
    };

    /// the largest vertex, index or edge buffer a mesh may ask of the
    /// device, in bytes
    static const long long MaxBufferBytes = 1LL << 30;

    nMeshLoader();
    virtual ~nMeshLoader();

    /// floats per vertex of a component mask (asserts a non-empty mask of
    /// known components)
    static int GetVertexWidthFromMask(int compMask);
    /// floats of one component bit, 0 for an unknown bit
    static int GetComponentWidth(int component);
    /// the bit of a component name as files write it, 0 when unknown
    static int GetComponentByName(const char* name);

    void SetFilename(const nString& name);
    const nString& GetFilename() const { return this->filename; }
    void SetIndexType(IndexType t) { this->indexType = t; }
    IndexType GetIndexType() const { return this->indexType; }
    /// the components handed out by ReadVertices (where the file has them)
    void SetValidVertexComponents(int components);
    int GetValidVertexComponents() const { return this->validVertexComponents; }
    /// a quiet reader logs nothing (off the main thread, where a failed
    /// read is left to be redone and reported there)
    void SetQuiet(bool q) { this->quiet = q; }

    /// read the header; false (reported) when the file cannot be read
    virtual bool Open(nFileServer2* fs);
    virtual void Close();
    /// fill numVertices x vertexWidth floats
    virtual bool ReadVertices(void* buffer, int bufferSize);
    /// fill numIndices 16- or 32-bit indices (by the index type)
    virtual bool ReadIndices(void* buffer, int bufferSize);
    /// fill numEdges records of four 16-bit values
    virtual bool ReadEdges(void* buffer, int bufferSize);

    int GetNumGroups() const { return this->numGroups; }
    const nMeshGroup& GetGroup(int i) const { return this->groups[i]; }
    int GetNumVertices() const { return this->numVertices; }
    int GetVertexWidth() const { return this->vertexWidth; }
    int GetNumTriangles() const { return this->numTriangles; }
    int GetNumIndices() const { return this->numIndices; }
    int GetNumEdges() const { return this->numEdges; }
    int GetVertexComponents() const { return this->vertexComponents; }
    int GetFileVertexComponents() const { return this->fileVertexComponents; }

protected:
    /// the header checks common to both formats and the selected
    /// components; false (reported) for a header that contradicts itself
    bool CheckHeader();
    /// copy the selected components of one file vertex
    void CopyVertex(const float* src, float* dst) const;
    /// report a broken file; always false
    bool Fail(const char* fmt, ...) N_PRINTF_FORMAT(2, 3);
    /// log a line unless quiet
    void Log(const char* fmt, ...) N_PRINTF_FORMAT(2, 3);
    /// close and drop the file object
    void CloseFile();

    nFileServer2* fileServer;
    nString filename;
    nFile* file;
    IndexType indexType;
    int numGroups;
    int numVertices;
    int vertexWidth;
    int fileVertexWidth;
    int numTriangles;
    int numIndices;
    int numEdges;
    int vertexComponents;
    int fileVertexComponents;
    int validVertexComponents;
    bool quiet = false;
    nArray<nMeshGroup> groups;
    /// per group, whether the file gave its edge range (old n3d2 group
    /// lines do not: their one edge is no range to check); groups past
    /// the end of this array gave theirs
    nArray<bool> edgeRangeGiven;
};
#endif
