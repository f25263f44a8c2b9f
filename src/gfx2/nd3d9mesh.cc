//------------------------------------------------------------------------------
//  nd3d9mesh.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9mesh.h"
#include "gfx2/nd3d9server.h"
#include "kernel/nkernelserver.h"

#include <cstring>

nD3D9Mesh::nD3D9Mesh() :
    vertexLockFlags(0),
    indexLockFlags(0),
    privVertexBuffer(nullptr),
    privIndexBuffer(nullptr)
{
}

/*
 * ~nD3D9Mesh --
 *     Side effects: unloads here, while the device part of the mesh still
 *     exists to give its buffers back.
 */
nD3D9Mesh::~nD3D9Mesh()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

nD3D9Server* nD3D9Mesh::Server()
{
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* server = ks ? ks->Lookup("/sys/servers/gfx") : nullptr;
    return (server && server->IsA("nd3d9server")) ? static_cast<nD3D9Server*>(server) : nullptr;
}

/*
 * Device --
 *     Results: the device of the running Direct3D 9 server when it is
 *     open; null when there is no such server or its display is closed.
 */
nGfxDevice* nD3D9Mesh::Device()
{
    nD3D9Server* d3d9 = Server();
    return (d3d9 && d3d9->IsDeviceOpen()) ? d3d9->GetDevice() : nullptr;
}

bool nD3D9Mesh::VertexShadersEmulated()
{
    nD3D9Server* d3d9 = Server();
    return d3d9 && d3d9->IsDeviceOpen() && d3d9->AreVertexShadersEmulated();
}

/*
 * BufferParams --
 *     Results: in d3dUsage and pool, the buffer usage and pool of the
 *     mesh's usage: write-only and managed by default; dynamic and
 *     write-only in the default pool for WriteOnly meshes; RT patches and
 *     points added as asked; software processing when the server
 *     processes vertices in software, or the mesh needs vertex programs
 *     the hardware lacks.
 */
void nD3D9Mesh::BufferParams(int& d3dUsage, int& pool) const
{
    d3dUsage = nGfxUsageWriteOnly;
    pool = (int)nGfxPool::Managed;
    if (this->usage & WriteOnly)
    {
        d3dUsage |= nGfxUsageDynamic;
        pool = (int)nGfxPool::Default;
    }
    if (this->usage & RTPatch) d3dUsage |= nGfxUsageRTPatches;
    if (this->usage & PointSprite) d3dUsage |= nGfxUsagePoints;
    nD3D9Server* d3d9 = Server();
    if (d3d9)
    {
        const bool software = 0 != (d3d9->GetDeviceBehaviourFlags() & nD3D9Server::SoftwareVertexProcessing);
        const bool emulated = (this->usage & NeedsVertexShader) && d3d9->GetFeatureSet() < nGfxServer2::DX9;
        if (software || emulated) d3dUsage |= nGfxUsageSoftwareProcessing;
    }
}

/*
 * CreateBuffer --
 *     Results: true when the buffer exists; false, reported, when the
 *     device is closed or makes none.
 *     Side effects: a ReadOnly mesh gets zeroed system memory in priv;
 *     others a device buffer in 'buffer'.
 */
bool nD3D9Mesh::CreateBuffer(int type, int byteSize, nGfxBufferHandle& buffer, unsigned char*& priv)
{
    if (this->usage & ReadOnly)
    {
        priv = n_new_array(unsigned char, byteSize);
        n_assert(priv);
        memset(priv, 0, byteSize);
        return true;
    }
    nGfxDevice* device = Device();
    int d3dUsage = 0;
    int pool = 0;
    this->BufferParams(d3dUsage, pool);
    buffer = device ? device->CreateBuffer((nGfxBufferType)type, byteSize, d3dUsage, (nGfxPool)pool)
                    : nGfxBufferHandle();
    if (!buffer)
    {
        n_printf("%s failed in nD3D9Mesh ('%s'): %s\n",
                 type == (int)nGfxBufferType::Vertex ? "CreateVertexBuffer()" : "CreateIndexBuffer",
                 this->GetName(), device ? "the device made no buffer" : "the display is not open");
        return false;
    }
    return true;
}

bool nD3D9Mesh::CreateVertexBuffer()
{
    n_assert(this->vertexBufferByteSize > 0);
    n_assert(0 == this->privVertexBuffer);
    n_assert(!this->vertexBuffer);
    unsigned char* priv = nullptr;
    const bool ok =
        this->CreateBuffer((int)nGfxBufferType::Vertex, this->vertexBufferByteSize, this->vertexBuffer, priv);
    this->privVertexBuffer = reinterpret_cast<float*>(priv);
    this->vertexLockFlags = (this->usage & WriteOnly) ? LockDiscard : 0;
    return ok;
}

bool nD3D9Mesh::CreateIndexBuffer()
{
    n_assert(this->indexBufferByteSize > 0);
    n_assert(!this->indexBuffer);
    n_assert(0 == this->privIndexBuffer);
    unsigned char* priv = nullptr;
    const bool ok =
        this->CreateBuffer((int)nGfxBufferType::Index16, this->indexBufferByteSize, this->indexBuffer, priv);
    this->privIndexBuffer = reinterpret_cast<ushort*>(priv);
    this->indexLockFlags = (this->usage & WriteOnly) ? LockDiscard : 0;
    return ok;
}

/*
 * CreateVertexDeclaration --
 *     Results: true when the device made the layout (or the mesh has no
 *     device vertex buffer to describe); false, reported, otherwise.
 *     Side effects: one element per component, in bit order, at rising
 *     byte offsets, each at its fixed attribute location.
 */
bool nD3D9Mesh::CreateVertexDeclaration()
{
    n_assert(!this->vertexDeclaration);
    if (!this->vertexBuffer) return true;
    nGfxVertexElement elements[NumVertexComponents];
    int num = 0;
    int offset = 0;
    for (int bit = 0; bit < NumVertexComponents; bit++)
    {
        const int component = 1 << bit;
        if (!(this->vertexComponents & component)) continue;
        elements[num].location = bit;
        elements[num].numFloats = nMeshLoader::GetComponentWidth(component);
        elements[num].byteOffset = offset;
        offset += elements[num].numFloats * (int)sizeof(float);
        num++;
    }
    if (this->vertexComponents & ~AllComponents) n_error("Unknown vertex component in vertex component mask");
    nGfxDevice* device = Device();
    this->vertexDeclaration =
        device ? device->CreateVertexLayout(elements, num, offset, this->vertexBuffer, this->indexBuffer)
                                    : nGfxLayoutHandle();
    if (!this->vertexDeclaration)
    {
        n_printf("CreateVertexDeclaration() failed in nD3D9Mesh ('%s')\n", this->GetName());
        return false;
    }
    return true;
}

/*
 * LoadResource --
 *     Results: as nMesh2's; false also when the device makes no layout.
 *     Side effects: the buffers and, on success, the vertex layout.
 */
bool nD3D9Mesh::LoadResource()
{
    n_assert(!this->IsLoaded());
    n_assert(!this->vertexBuffer);
    n_assert(!this->indexBuffer);
    if (!nMesh2::LoadResource()) return false;
    if (!this->CreateVertexDeclaration())
    {
        this->UnloadResource();
        return false;
    }
    return true;
}

/*
 * ReleaseBuffers --
 *     Side effects: gives the layout and both buffers back to the device
 *     (if it is still open), frees the system-memory buffers, then the
 *     groups and edges.
 */
void nD3D9Mesh::ReleaseBuffers()
{
    nGfxDevice* device = Device();
    if (device)
    {
        if (this->vertexDeclaration) device->ReleaseVertexLayout(this->vertexDeclaration);
        if (this->vertexBuffer) device->ReleaseBuffer(this->vertexBuffer);
        if (this->indexBuffer) device->ReleaseBuffer(this->indexBuffer);
    }
    this->vertexDeclaration = nGfxLayoutHandle();
    this->vertexBuffer = nGfxBufferHandle();
    this->indexBuffer = nGfxBufferHandle();
    n_delete_array(reinterpret_cast<unsigned char*>(this->privVertexBuffer));
    n_delete_array(reinterpret_cast<unsigned char*>(this->privIndexBuffer));
    this->privVertexBuffer = nullptr;
    this->privIndexBuffer = nullptr;
    nMesh2::ReleaseBuffers();
}

void nD3D9Mesh::UnloadResource()
{
    n_assert(this->IsLoaded());
    nMesh2::UnloadResource();
}

/*
 * LockVertices --
 *     Results: the vertices: the device buffer's shadow, or the system
 *     memory of a ReadOnly mesh.
 *     Side effects: holds the resource's mutex until UnlockVertices.
 */
float* nD3D9Mesh::LockVertices()
{
    this->LockMutex();
    n_assert(this->vertexBuffer || this->privVertexBuffer);
    if (this->privVertexBuffer) return this->privVertexBuffer;
    nGfxDevice* device = Device();
    float* ptr = device ? static_cast<float*>(device->LockBuffer(this->vertexBuffer)) : nullptr;
    if (!ptr) n_printf("Lock() on vertex buffer failed in nD3D9Mesh()\n");
    return ptr;
}

void nD3D9Mesh::UnlockVertices()
{
    nGfxDevice* device = Device();
    if (this->vertexBuffer && device) device->UnlockBuffer(this->vertexBuffer);
    this->UnlockMutex();
}

ushort* nD3D9Mesh::LockIndices()
{
    this->LockMutex();
    n_assert(this->indexBuffer || this->privIndexBuffer);
    if (this->privIndexBuffer) return this->privIndexBuffer;
    nGfxDevice* device = Device();
    ushort* ptr = device ? static_cast<ushort*>(device->LockBuffer(this->indexBuffer)) : nullptr;
    if (!ptr) n_printf("Lock on index buffer failed in nD3D9Mesh\n");
    return ptr;
}

void nD3D9Mesh::UnlockIndices()
{
    nGfxDevice* device = Device();
    if (this->indexBuffer && device) device->UnlockBuffer(this->indexBuffer);
    this->UnlockMutex();
}

int nD3D9Mesh::GetByteSize()
{
    return this->numVertices * this->vertexWidth * (int)sizeof(float) + this->numIndices * (int)sizeof(ushort) +
           nMesh2::GetByteSize();
}

void nD3D9Mesh::OnLost()
{
    if ((this->usage & WriteOnly) && this->IsLoaded())
    {
        this->UnloadResource();
        this->SetState(Lost);
    }
}

/*
 * OnRestored --
 *     Side effects: a WriteOnly mesh is made again and left Empty for its
 *     owner to fill (a failed remake leaves it Unloaded).
 */
void nD3D9Mesh::OnRestored()
{
    if ((this->usage & WriteOnly) && Lost == this->GetState())
    {
        this->SetState(Unloaded);
        if (this->LoadResource()) this->SetState(Empty);
    }
}

nGfxBufferHandle nD3D9Mesh::GetVertexBuffer() const
{
    n_assert(this->IsLoaded());
    return this->vertexBuffer;
}

nGfxBufferHandle nD3D9Mesh::GetIndexBuffer() const
{
    n_assert(this->IsLoaded());
    return this->indexBuffer;
}

nGfxLayoutHandle nD3D9Mesh::GetVertexDeclaration() const
{
    n_assert(this->IsLoaded());
    return this->vertexDeclaration;
}
