//------------------------------------------------------------------------------
//  ndynamicmesh.cc
//------------------------------------------------------------------------------
#include "gfx2/ndynamicmesh.h"
#include "gfx2/nmesh2.h"

namespace
{

/// the capacity of a dynamic mesh
const int DynVertexBufferSize = 0xC000;
const int DynIndexBufferSize = 0x4000;

/// one letter per vertex component and usage flag, every one distinct
struct NameLetter
{
    int bit;
    char letter;
};
const NameLetter componentLetters[] = {
    {nMesh2::Coord, 'a'},    {nMesh2::Normal, 'b'}, {nMesh2::Tangent, 'c'}, {nMesh2::Binormal, 'd'},
    {nMesh2::Color, 'e'},    {nMesh2::Uv0, 'f'},    {nMesh2::Uv1, 'g'},     {nMesh2::Uv2, 'h'},
    {nMesh2::Uv3, 'i'},      {nMesh2::Weights, 'j'}, {nMesh2::JIndices, 'k'},
};
const NameLetter usageLetters[] = {
    {nMesh2::NPatch, 'l'},
    {nMesh2::RTPatch, 'm'},
    {nMesh2::PointSprite, 'n'},
};

}  // namespace

nDynamicMesh::nDynamicMesh() :
    indexedRendering(true),
    primitiveType(nGfxServer2::TriangleList)
{
}

nDynamicMesh::~nDynamicMesh() = default;

/*
 * MakeSharedName --
 *     Results: "dyn_" and a letter per vertex component (a coord ... k
 *     jindices) and per usage flag (l NPatch, m RTPatch, n PointSprite),
 *     then "_v" when the mesh draws without indices, so that layouts that
 *     differ never share a buffer ("dyn_aef" for coord, colour, uv0,
 *     indexed).
 */
nString nDynamicMesh::MakeSharedName(int vertexComponents, int usage, bool indexedRendering)
{
    nString name("dyn_");
    for (const NameLetter& l : componentLetters)
    {
        if (vertexComponents & l.bit) name.AppendRange(&l.letter, 1);
    }
    for (const NameLetter& l : usageLetters)
    {
        if (usage & l.bit) name.AppendRange(&l.letter, 1);
    }
    if (!indexedRendering)
    {
        name.Append("_v");
    }
    return name;
}

/*
 * Initialize --
 *     Results: true when the mesh is loaded (a shared mesh another
 *     dynamic mesh loaded is used as it is); false when the graphics
 *     server makes no mesh or the device cannot make its buffers.
 *     Side effects: holds the mesh (one reference).
 */
bool nDynamicMesh::Initialize(nGfxServer2::PrimitiveType primType, int vertexComponents, int usage,
                              bool indexedRendering, bool shared)
{
    this->primitiveType = primType;
    this->indexedRendering = indexedRendering;
    nMesh2* mesh = this->refMesh.get_unsafe();
    if (!mesh)
    {
        nGfxServer2* gfx = nGfxServer2::Instance();
        mesh = shared ? gfx->NewMesh(MakeSharedName(vertexComponents, usage, indexedRendering).Get())
                      : gfx->NewMesh(nullptr);
        n_assert(mesh);
        this->refMesh.adopt(mesh);
    }
    if (mesh->IsLoaded())
    {
        return true;
    }
    mesh->SetUsage(usage | nMesh2::WriteOnly);
    mesh->SetVertexComponents(vertexComponents);
    mesh->SetNumVertices(DynVertexBufferSize);
    mesh->SetNumIndices(indexedRendering ? DynIndexBufferSize : 0);
    return mesh->Load();
}

bool nDynamicMesh::IsValid() const
{
    return this->refMesh.isvalid() && this->refMesh->IsLoaded();
}

void nDynamicMesh::BeginIndexed(float*& vertexPointer, ushort*& indexPointer, int& maxNumVertices,
                                int& maxNumIndices)
{
    n_assert(this->indexedRendering);
    n_assert(this->IsValid());
    nMesh2* mesh = this->refMesh.get();
    nGfxServer2::Instance()->SetMesh(mesh);
    vertexPointer = mesh->LockVertices();
    indexPointer = mesh->LockIndices();
    maxNumVertices = mesh->GetNumVertices();
    maxNumIndices = mesh->GetNumIndices();
}

void nDynamicMesh::SwapIndexed(int numVertices, int numIndices, float*& vertexPointer, ushort*& indexPointer)
{
    n_assert(this->indexedRendering);
    nMesh2* mesh = this->refMesh.get();
    nGfxServer2* gfx = nGfxServer2::Instance();
    mesh->UnlockVertices();
    mesh->UnlockIndices();
    gfx->SetVertexRange(0, numVertices);
    gfx->SetIndexRange(0, numIndices);
    gfx->DrawIndexedNS(this->primitiveType);
    vertexPointer = mesh->LockVertices();
    indexPointer = mesh->LockIndices();
}

void nDynamicMesh::EndIndexed(int numVertices, int numIndices)
{
    n_assert(this->indexedRendering);
    nMesh2* mesh = this->refMesh.get();
    nGfxServer2* gfx = nGfxServer2::Instance();
    mesh->UnlockVertices();
    mesh->UnlockIndices();
    gfx->SetVertexRange(0, numVertices);
    gfx->SetIndexRange(0, numIndices);
    gfx->DrawIndexedNS(this->primitiveType);
    gfx->SetMesh(nullptr);
}

void nDynamicMesh::Begin(float*& vertexPointer, int& maxNumVertices)
{
    n_assert(!this->indexedRendering);
    n_assert(this->IsValid());
    nMesh2* mesh = this->refMesh.get();
    nGfxServer2::Instance()->SetMesh(mesh);
    vertexPointer = mesh->LockVertices();
    maxNumVertices = mesh->GetNumVertices();
}

void nDynamicMesh::Swap(int numVertices, float*& vertexPointer)
{
    n_assert(!this->indexedRendering);
    nMesh2* mesh = this->refMesh.get();
    nGfxServer2* gfx = nGfxServer2::Instance();
    mesh->UnlockVertices();
    gfx->SetVertexRange(0, numVertices);
    gfx->DrawNS(this->primitiveType);
    vertexPointer = mesh->LockVertices();
}

void nDynamicMesh::End(int numVertices)
{
    n_assert(!this->indexedRendering);
    nMesh2* mesh = this->refMesh.get();
    nGfxServer2* gfx = nGfxServer2::Instance();
    mesh->UnlockVertices();
    if (0 != numVertices)
    {
        gfx->SetVertexRange(0, numVertices);
        gfx->DrawNS(this->primitiveType);
    }
    gfx->SetMesh(nullptr);
}
