#ifndef N_DYNAMICMESH_H
#define N_DYNAMICMESH_H
//------------------------------------------------------------------------------
/**
    @class nDynamicMesh
    @ingroup Gfx2

    A streamed vertex (and index) buffer for geometry written every frame:
    Begin locks the buffers, Swap draws what was written and hands out
    fresh ones, End draws the rest and unbinds the mesh. The caller begins
    the shader and its pass around these calls; the draws commit the
    shader's changes but run no passes of their own.

    Shared dynamic meshes are one mesh resource per vertex layout, usage
    and indexed flag, named "dyn_..." from them.
*/
#include "gfx2/ngfxserver2.h"
#include "kernel/nref.h"
#include "kernel/nstrongref.h"

class nMesh2;

class nDynamicMesh
{
public:
    nDynamicMesh();
    /// releases the mesh
    ~nDynamicMesh();
    nDynamicMesh(const nDynamicMesh&) = delete;
    nDynamicMesh& operator=(const nDynamicMesh&) = delete;

    /// the shared mesh's name for the layout, usage and indexed flag
    static nString MakeSharedName(int vertexComponents, int usage, bool indexedRendering);

    /// get (shared) or make the mesh and load it empty; true when it is usable
    bool Initialize(nGfxServer2::PrimitiveType primType, int vertexComponents, int usage, bool indexedRendering,
                    bool shared = true);
    /// a mesh is held and loaded
    bool IsValid() const;
    /// the mesh (null before Initialize)
    nMesh2* GetMesh() const { return this->refMesh.get_unsafe(); }
    nGfxServer2::PrimitiveType GetPrimitiveType() const { return this->primitiveType; }
    bool IsIndexed() const { return this->indexedRendering; }

    //--- indexed drawing ---
    /// bind the mesh and lock both buffers; their pointers and capacities
    void BeginIndexed(float*& vertexPointer, ushort*& indexPointer, int& maxNumVertices, int& maxNumIndices);
    /// draw what was written and lock again
    void SwapIndexed(int numVertices, int numIndices, float*& vertexPointer, ushort*& indexPointer);
    /// draw what was written and unbind the mesh
    void EndIndexed(int numVertices, int numIndices);

    //--- non-indexed drawing ---
    void Begin(float*& vertexPointer, int& maxNumVertices);
    void Swap(int numVertices, float*& vertexPointer);
    /// draw what was written (nothing for 0) and unbind the mesh
    void End(int numVertices);

private:
    bool indexedRendering;
    nStrongRef<nMesh2> refMesh;
    nGfxServer2::PrimitiveType primitiveType;
};
#endif
