//------------------------------------------------------------------------------
//  nmesharray.cc
//------------------------------------------------------------------------------
#include "gfx2/nmesharray.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nmesh2.h"

nMeshArray::nMeshArray()
{
    for (int i = 0; i < MaxVertexStreams; i++)
    {
        this->usages[i] = nMesh2::WriteOnce;
        this->meshes[i] = nullptr;
    }
}

nMeshArray::~nMeshArray()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
    for (int i = 0; i < MaxVertexStreams; i++)
    {
        this->ReleaseMesh(i);
    }
}

void nMeshArray::ReleaseMesh(int stream)
{
    if (this->meshes[stream])
    {
        this->meshes[stream]->Release();
        this->meshes[stream] = nullptr;
    }
}

/*
 * SetFilename --
 *     Side effects: the stream's file name; a loaded array unloads, so
 *     that the next Load reads the new file instead of keeping the old
 *     mesh and declaration.
 */
void nMeshArray::SetFilename(int stream, const nString& name)
{
    CheckStream(stream);
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
    this->filenames[stream] = name;
}

void nMeshArray::SetMesh(int stream, nMesh2* mesh)
{
    CheckStream(stream);
    n_assert(mesh);
    mesh->AddRef();
    this->ReleaseMesh(stream);
    this->meshes[stream] = mesh;
}

void nMeshArray::SetUsage(int stream, int usage)
{
    CheckStream(stream);
    this->usages[stream] = usage;
}

int nMeshArray::GetUsage(int stream) const
{
    CheckStream(stream);
    return this->usages[stream];
}

const nString& nMeshArray::GetFilename(int stream) const
{
    CheckStream(stream);
    return this->filenames[stream];
}

nMesh2* nMeshArray::GetMeshAt(int stream) const
{
    CheckStream(stream);
    return this->meshes[stream];
}

/*
 * LoadResource --
 *     Results: whether every stream with a file name loaded its mesh (the
 *     loading stops at the first failure).
 *     Side effects: a held mesh of another file or usage is released and
 *     a mesh of the stream's file made through the graphics server; the
 *     state becomes Valid whatever the result.
 */
bool nMeshArray::LoadResource()
{
    bool ok = true;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    for (int i = 0; ok && i < MaxVertexStreams; i++)
    {
        if (this->filenames[i].IsEmpty())
        {
            continue;
        }
        nMesh2* mesh = this->meshes[i];
        if (mesh && ((this->filenames[i] != mesh->GetFilename()) || (this->usages[i] != mesh->GetUsage())))
        {
            this->ReleaseMesh(i);
        }
        if (!this->meshes[i])
        {
            this->meshes[i] = gfx ? gfx->NewMesh(this->filenames[i].Get()) : nullptr;
        }
        mesh = this->meshes[i];
        if (!mesh)
        {
            n_printf("nMeshArray: no mesh for stream %d ('%s')\n", i, this->filenames[i].Get());
            ok = false;
            continue;
        }
        if (!mesh->IsLoaded())
        {
            mesh->SetFilename(this->filenames[i]);
            mesh->SetUsage(this->usages[i]);
            ok = mesh->Load();
        }
    }
    this->SetState(Valid);
    return ok;
}

/*
 * UnloadResource --
 *     Side effects: unbound from the graphics server when current; the
 *     meshes of streams with file names are released (given meshes stay);
 *     state Unloaded.
 */
void nMeshArray::UnloadResource()
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (gfx && gfx->GetMeshArray() == this)
    {
        gfx->SetMeshArray(nullptr);
    }
    for (int i = 0; i < MaxVertexStreams; i++)
    {
        if (!this->filenames[i].IsEmpty())
        {
            this->ReleaseMesh(i);
        }
    }
    this->SetState(Unloaded);
}
