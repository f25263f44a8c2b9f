//------------------------------------------------------------------------------
//  nguimeshstream.cc
//------------------------------------------------------------------------------
#include "gui/nguimeshstream.h"
#include "gfx2/ngfxserver2.h"

nGuiMeshStream::~nGuiMeshStream()
{
    if (this->refMesh.isvalid())
    {
        nMesh2* mesh = this->refMesh.get();
        this->refMesh.invalidate();
        mesh->Release();
    }
}

/*
 * Initialize --
 *     Results: whether the stream is valid afterwards.
 *     Side effects: gets the shared mesh "dyn_<layout>" from the graphics
 *     server; one not loaded yet gets WriteOnly, the stream's vertex count
 *     and empty buffers.
 */
bool nGuiMeshStream::Initialize(int primType, int vertexComponents, int usage)
{
    this->primitiveType = primType;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return false;
    if (!this->refMesh.isvalid())
    {
        nString name("dyn_");
        const char letters[][2] = {"a", "b", "f"};
        const int comps[] = {nMesh2::Coord, nMesh2::Normal, nMesh2::Uv0};
        for (int i = 0; i < 3; i++)
        {
            if (vertexComponents & comps[i]) name += letters[i];
        }
        nMesh2* mesh = gfx->NewMesh(name.Get());
        if (!mesh) return false;
        this->refMesh.set(mesh);
    }
    nMesh2* mesh = this->refMesh.get();
    if (mesh->IsLoaded()) return true;
    mesh->SetUsage(usage | nMesh2::WriteOnly);
    mesh->SetVertexComponents(vertexComponents);
    mesh->SetNumVertices(NumVertices);
    mesh->SetNumIndices(0);
    mesh->Load();
    return this->IsValid();
}

bool nGuiMeshStream::IsValid() const
{
    return this->refMesh.isvalid() && this->refMesh->IsLoaded();
}

void nGuiMeshStream::Begin(float*& vertices, int& maxVertices)
{
    nMesh2* mesh = this->refMesh.get();
    nGfxServer2::Instance()->SetMesh(mesh);
    vertices = mesh->LockVertices();
    maxVertices = vertices ? mesh->GetNumVertices() : 0;
}

void nGuiMeshStream::Draw(int numVertices)
{
    nGfxServer2* gfx = nGfxServer2::Instance();
    gfx->SetVertexRange(0, numVertices);
    gfx->DrawNS(nGfxServer2::PrimitiveType(this->primitiveType));
}

void nGuiMeshStream::Swap(int numVertices, float*& vertices)
{
    nMesh2* mesh = this->refMesh.get();
    mesh->UnlockVertices();
    this->Draw(numVertices);
    vertices = mesh->LockVertices();
}

void nGuiMeshStream::End(int numVertices)
{
    this->refMesh->UnlockVertices();
    if (numVertices > 0) this->Draw(numVertices);
    nGfxServer2::Instance()->SetMesh(nullptr);
}
