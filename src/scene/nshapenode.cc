//------------------------------------------------------------------------------
//  nshapenode.cc
//------------------------------------------------------------------------------
#include "scene/nshapenode.h"
#include "kernel/nkernelserver.h"

nShapeNode::nShapeNode() :
    groupIndex(0),
    meshUsage(nMesh2::WriteOnce)
{
}

nShapeNode::~nShapeNode()
{
    this->mesh.Destroy();
}

/*
 * SetMesh --
 *     Results: none.
 *     Side effects: the loaded mesh is released, the name stored and the
 *     node's resources count as not valid, so the next frame loads the
 *     new mesh instead of drawing none.
 */
void nShapeNode::SetMesh(const char* name)
{
    n_assert(name);
    this->mesh.release();
    this->meshName = name;
    this->SetResourcesValid(false);
}

const char* nShapeNode::GetMesh() const
{
    return this->meshName.IsEmpty() ? nullptr : this->meshName.Get();
}

void nShapeNode::SetMeshResourceLoader(const char* path)
{
    this->meshResourceLoader = path ? path : "";
}

const char* nShapeNode::GetMeshResourceLoader() const
{
    if (this->meshResourceLoader.IsEmpty()) return nullptr;
    return nKernelServer::Instance()->Lookup(this->meshResourceLoader.Get()) ? this->meshResourceLoader.Get()
                                                                              : nullptr;
}

bool nShapeNode::HasGeometry() const
{
    return true;
}

/*
 * LoadMesh --
 *     Results: true when the mesh is loaded or none is named; false when
 *     the load failed.
 *     Side effects: the mesh "<file>_<usage>" is asked of the graphics
 *     server and loaded; its group's box becomes the node's local box. A
 *     group index the mesh does not have is reported and group 0 used.
 */
bool nShapeNode::LoadMesh()
{
    if (this->mesh.get() || this->meshName.IsEmpty()) return true;
    nString rsrcName = this->meshName;
    rsrcName.Append("_");
    rsrcName.AppendInt(this->meshUsage);
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    nMesh2* m = gfx ? gfx->NewMesh(rsrcName.Get()) : nullptr;
    if (!m)
    {
        n_printf("nMeshNode: Error loading mesh '%s'\n", this->meshName.Get());
        return false;
    }
    if (!m->IsLoaded())
    {
        m->SetFilename(this->meshName);
        m->SetUsage(this->meshUsage);
        if (this->GetMeshResourceLoader()) m->SetResourceLoader(this->meshResourceLoader.Get());
        if (!m->Load())
        {
            n_printf("nMeshNode: Error loading mesh '%s'\n", this->meshName.Get());
            m->Release();
            return false;
        }
    }
    if (m->GetNumGroups() == 0)
    {
        n_printf("nMeshNode: mesh '%s' has no groups\n", this->meshName.Get());
        m->Release();
        return false;
    }
    // the index as set stays (it is saved, and another mesh may have the group)
    this->drawGroupIndex = this->groupIndex;
    if ((this->groupIndex < 0) || (this->groupIndex >= m->GetNumGroups()))
    {
        n_printf("Warning: '%s': mesh '%s' has no group %d, group 0 used\n", this->GetFullName().Get(),
                 this->meshName.Get(), this->groupIndex);
        this->drawGroupIndex = 0;
    }
    this->mesh.set(m);
    this->SetLocalBox(m->Group(this->drawGroupIndex).box);
    return true;
}

/*
 * LoadResources --
 *     Results: what the material part returned (the mesh's own failure
 *     does not fail the node).
 *     Side effects: shaders and textures, then the mesh.
 */
bool nShapeNode::LoadResources()
{
    if (!nMaterialNode::LoadResources()) return false;
    this->LoadMesh();
    return true;
}

void nShapeNode::UnloadResources()
{
    nMaterialNode::UnloadResources();
    this->mesh.release();
}

/*
 * ApplyGeometry --
 *     Results: false, drawing nothing, without a mesh; else true.
 *     Side effects: the mesh and its group's ranges become current; a
 *     mesh that died under the node is dropped and loaded again next frame.
 */
bool nShapeNode::ApplyGeometry(nSceneServer* /*sceneServer*/)
{
    if (this->mesh.died())
    {
        this->mesh.release();
        this->SetResourcesValid(false);
        return false;
    }
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    nMesh2* m = this->mesh.get();
    if (!m || !m->IsValid() || !gfx || (this->drawGroupIndex >= m->GetNumGroups())) return false;
    const nMeshGroup& group = m->Group(this->drawGroupIndex);
    gfx->SetMesh(m);
    gfx->SetVertexRange(group.firstVertex, group.numVertices);
    gfx->SetIndexRange(group.firstIndex, group.numIndices);
    return true;
}

/*
 * RenderGeometry --
 *     Results: false without a mesh; else true.
 *     Side effects: the current mesh group is drawn as a triangle list.
 */
bool nShapeNode::RenderGeometry(nSceneServer* /*sceneServer*/, nRenderContext* /*renderContext*/)
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!this->mesh.get() || !gfx) return false;
    gfx->DrawIndexedNS(nGfxServer2::TriangleList);
    return true;
}
