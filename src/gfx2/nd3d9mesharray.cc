//------------------------------------------------------------------------------
//  nd3d9mesharray.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9mesharray.h"
#include "gfx2/nd3d9mesh.h"
#include "gfx2/nd3d9server.h"

nD3D9MeshArray::nD3D9MeshArray() = default;

nD3D9MeshArray::~nD3D9MeshArray()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

/*
 * LoadResource --
 *     Results: the base's result.
 *     Side effects: on success the declaration over all streams.
 */
bool nD3D9MeshArray::LoadResource()
{
    n_assert(!this->vertexDeclaration);
    const bool ok = nMeshArray::LoadResource();
    if (ok)
    {
        this->CreateVertexDeclaration();
    }
    return ok;
}

void nD3D9MeshArray::UnloadResource()
{
    nD3D9Server* gfx = dynamic_cast<nD3D9Server*>(nGfxServer2::InstanceOrNull());
    if (gfx && gfx->GetMeshArray() == this)
    {
        gfx->SetMeshArray(nullptr);
    }
    if (this->vertexDeclaration && gfx && gfx->IsDeviceOpen())
    {
        gfx->GetDevice()->ReleaseVertexLayout(this->vertexDeclaration);
    }
    this->vertexDeclaration = nGfxLayoutHandle();
    this->elements.clear();
    nMeshArray::UnloadResource();
}

/*
 * CreateVertexDeclaration --
 *     Side effects: for each stream holding a loaded mesh, an element per
 *     vertex component in bit order at the running byte offset of that
 *     stream; usage indices count each usage over all streams, texture
 *     coordinates take their set number and are declared in stream 0
 *     only (elsewhere their bytes are skipped). The device layout binds
 *     each element whose component and usage index have a location (a
 *     second position or normal does; a third does not).
 */
void nD3D9MeshArray::CreateVertexDeclaration()
{
    n_assert(!this->vertexDeclaration);
    nD3D9Server* gfx = dynamic_cast<nD3D9Server*>(nGfxServer2::InstanceOrNull());
    n_assert(gfx && gfx->IsDeviceOpen());
    const int uvMask = nMesh2::Uv0 | nMesh2::Uv1 | nMesh2::Uv2 | nMesh2::Uv3;
    int usageCount[nMesh2::NumVertexComponents] = {};
    std::vector<nGfxVertexElement> devElements;
    std::vector<int> devStreams;
    nGfxBufferHandle buffers[MaxVertexStreams];
    int strides[MaxVertexStreams];
    int streamIndex[MaxVertexStreams];
    int numStreams = 0;
    nGfxBufferHandle indexBuffer;
    for (int s = 0; s < MaxVertexStreams; s++)
    {
        nD3D9Mesh* mesh = static_cast<nD3D9Mesh*>(this->GetMeshAt(s));
        streamIndex[s] = -1;
        if (!mesh || !mesh->IsLoaded() || 0 == mesh->GetNumVertices() || !mesh->GetVertexBuffer())
        {
            continue;
        }
        if (0 == s)
        {
            indexBuffer = mesh->GetIndexBuffer();
        }
        streamIndex[s] = numStreams;
        buffers[numStreams] = mesh->GetVertexBuffer();
        strides[numStreams] = mesh->GetVertexWidth() * (int)sizeof(float);
        const int comps = mesh->GetVertexComponents();
        if (comps & ~nMesh2::AllComponents)
        {
            n_error("Unknown vertex component in vertex component mask");
        }
        int offset = 0;
        for (int bit = 0; bit < nMesh2::NumVertexComponents; bit++)
        {
            const int comp = 1 << bit;
            if (!(comps & comp))
            {
                continue;
            }
            const int width = nMeshLoader::GetComponentWidth(comp);
            const bool isUv = 0 != (comp & uvMask);
            if (!isUv || 0 == s)
            {
                const int usageIndex = isUv ? (bit - 2) : usageCount[bit]++;
                this->elements.push_back({s, offset, comp, usageIndex});
                const int location = isUv ? bit : nGfxVertexLocationOf(bit, usageIndex);
                if (location >= 0)
                {
                    nGfxVertexElement e;
                    e.location = location;
                    e.numFloats = width;
                    e.byteOffset = offset;
                    devElements.push_back(e);
                    devStreams.push_back(streamIndex[s]);
                }
            }
            offset += width * (int)sizeof(float);
        }
        numStreams++;
    }
    if (numStreams > 0)
    {
        this->vertexDeclaration =
            gfx->GetDevice()->CreateStreamLayout(devElements.data(), devStreams.data(), (int)devElements.size(),
                                                 buffers, strides, numStreams, indexBuffer);
    }
    if (!this->vertexDeclaration)
    {
        n_printf("CreateVertexDeclaration() failed in nD3D9MeshArray\n");
    }
}
