#ifndef N_D3D9MESHARRAY_H
#define N_D3D9MESHARRAY_H
//------------------------------------------------------------------------------
/**
    @class nD3D9MeshArray
    @ingroup Gfx2

    A mesh array on the Direct3D 9 server's device: one vertex layout over
    the vertex buffers of all streams and the indices of stream 0.

    Each element of the declaration keeps Direct3D's usage and usage index
    (the first coord of all streams is POSITION 0, a second one POSITION 1
    ...; texture coordinates only in stream 0). This device reads a vertex
    component at one fixed attribute location, so only usage index 0 of
    each component reaches a program; later ones are declared but unread.
*/
#include "gfx2/nmesharray.h"
#include "platform/ngfxhandle.h"

#include <vector>

class nD3D9MeshArray : public nMeshArray
{
public:
    /// one element of the declaration
    struct Element
    {
        int stream;
        int offset;
        /// the vertex component bit (nMesh2::VertexComponent)
        int component;
        int usageIndex;
    };

    nD3D9MeshArray();

    /// the device layout while loaded (none otherwise)
    nGfxLayoutHandle GetVertexDeclaration() const { return this->vertexDeclaration; }
    /// the declared elements while loaded
    const std::vector<Element>& GetElements() const { return this->elements; }

protected:
    ~nD3D9MeshArray() override;
    bool LoadResource() override;
    void UnloadResource() override;

private:
    /// the elements and the device layout of the streams' meshes
    void CreateVertexDeclaration();

    nGfxLayoutHandle vertexDeclaration;
    std::vector<Element> elements;
};
#endif
