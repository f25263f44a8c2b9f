#ifndef N_D3D9MESH_H
#define N_D3D9MESH_H
//------------------------------------------------------------------------------
/**
    @class nD3D9Mesh
    @ingroup Gfx2

    A mesh on the graphics device of the Direct3D 9 server. The buffers
    follow the usage: ReadOnly meshes live in system memory and have no
    device buffers; WriteOnly meshes get dynamic buffers in the default
    pool, locked with discard (lost with the device, back Empty after a
    reset); the others get static write-only buffers in the managed pool.
    The vertex declaration reads each component at its fixed attribute
    location, one vertex layout per mesh.

    Locking takes the resource's mutex until the matching unlock.
*/
#include "gfx2/nmesh2.h"
#include "platform/ngfxhandle.h"

class nD3D9Server;
class nGfxDevice;

class nD3D9Mesh : public nMesh2
{
public:
    /// lock flags, by the values Direct3D gave them
    enum LockFlags
    {
        LockDiscard = 0x2000,
    };

    nD3D9Mesh();

    float* LockVertices() override;
    void UnlockVertices() override;
    ushort* LockIndices() override;
    void UnlockIndices() override;

    /// vertex bytes, index bytes and the edges
    int GetByteSize() override;
    /// a WriteOnly mesh gives up its default-pool buffers: state Lost
    void OnLost() override;
    /// a WriteOnly mesh gets fresh buffers: state Empty
    void OnRestored() override;

    /// the device buffer handles (0 for a ReadOnly mesh); assert IsLoaded
    nGfxBufferHandle GetVertexBuffer() const;
    nGfxBufferHandle GetIndexBuffer() const;
    /// the device layout of the vertex components; asserts IsLoaded
    nGfxLayoutHandle GetVertexDeclaration() const;
    int GetVertexLockFlags() const { return this->vertexLockFlags; }
    int GetIndexLockFlags() const { return this->indexLockFlags; }

    /// a mesh loads in the background when asked: read there, pending until the main thread builds it
    bool CanLoadAsync() const override { return true; }

protected:
    ~nD3D9Mesh() override;
    bool LoadResource() override;
    void UnloadResource() override;
    bool CreateVertexBuffer() override;
    bool CreateIndexBuffer() override;
    void ReleaseBuffers() override;
    bool VertexShadersEmulated() override;

private:
    /// the running Direct3D 9 server, else null
    static nD3D9Server* Server();
    /// the Direct3D 9 server's device when it is open, else null
    static nGfxDevice* Device();
    /// the buffer usage bits and pool the mesh's usage asks for
    void BufferParams(int& d3dUsage, int& pool) const;
    /// a device buffer or, for ReadOnly meshes, system memory; false
    /// (reported) when the device makes none
    bool CreateBuffer(int type, int byteSize, nGfxBufferHandle& buffer, unsigned char*& priv);
    /// the layout of the vertex components over the buffers
    bool CreateVertexDeclaration();

    int vertexLockFlags;
    int indexLockFlags;
    nGfxBufferHandle vertexBuffer;
    nGfxBufferHandle indexBuffer;
    nGfxLayoutHandle vertexDeclaration;
    float* privVertexBuffer;
    ushort* privIndexBuffer;
};
#endif
