#ifndef N_GUIMESHSTREAM_H
#define N_GUIMESHSTREAM_H
//------------------------------------------------------------------------------
/**
    @class nGuiMeshStream
    @ingroup Gui

    A streamed, non-indexed vertex buffer for geometry written every frame:
    Begin hands out the locked vertices, Swap draws what was written and
    relocks, End draws the rest. The mesh is shared by every stream of the
    same vertex layout.
*/
#include "kernel/nref.h"
#include "gfx2/nmesh2.h"

class nGuiMeshStream
{
public:
    /// how many vertices one stream holds
    static const int NumVertices = 0xC000;

    nGuiMeshStream() = default;
    nGuiMeshStream(const nGuiMeshStream&) = delete;
    nGuiMeshStream& operator=(const nGuiMeshStream&) = delete;
    ~nGuiMeshStream();

    /// get (or make and load) the shared mesh; false when it cannot be had
    bool Initialize(int primitiveType, int vertexComponents, int usage);
    /// a mesh is held and loaded
    bool IsValid() const;
    /// the mesh becomes current; the locked vertices (null without memory) and capacity
    void Begin(float*& vertices, int& maxVertices);
    /// draw numVertices and relock
    void Swap(int numVertices, float*& vertices);
    /// draw numVertices (if any); the mesh stops being current
    void End(int numVertices);

private:
    void Draw(int numVertices);

    nRef<nMesh2> refMesh;
    int primitiveType = 3;
};
#endif
