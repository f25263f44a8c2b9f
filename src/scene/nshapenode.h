#ifndef N_SHAPENODE_H
#define N_SHAPENODE_H
//------------------------------------------------------------------------------
/**
    @class nShapeNode
    @ingroup Scene

    A material node that draws one group of a mesh. The mesh resource is
    named after the file and the usage, so one file loaded with two
    usages gives two meshes. A shape without a mesh (none set, or one that
    failed to load) draws nothing.
*/
#include "scene/nmaterialnode.h"

class nShapeNode : public nMaterialNode
{
public:
    nShapeNode();

    bool SaveCmds(nPersistServer* ps) override;
    bool LoadResources() override;
    void UnloadResources() override;
    bool HasGeometry() const override;
    bool ApplyGeometry(nSceneServer* sceneServer) override;
    bool RenderGeometry(nSceneServer* sceneServer, nRenderContext* renderContext) override;

    /// the mesh file (asserts a name); the loaded mesh is released and
    /// the node loads again
    void SetMesh(const char* name);
    /// the mesh file, or 0
    const char* GetMesh() const;
    /// the loaded mesh, or 0
    nMesh2* GetMeshObject() const { return this->mesh.get(); }
    void SetGroupIndex(int i) { this->groupIndex = i; }
    int GetGroupIndex() const { return this->groupIndex; }
    /// the path of the mesh's resource loader (0 clears it)
    void SetMeshResourceLoader(const char* path);
    /// the loader's path while it names an object, else 0
    const char* GetMeshResourceLoader() const;
    void SetMeshUsage(int flags) { this->meshUsage = flags; }
    int GetMeshUsage() const { return this->meshUsage; }

protected:
    ~nShapeNode() override;

    /// load the mesh when one is named and not loaded; false on failure
    bool LoadMesh();

private:
    nResourceHolder<nMesh2> mesh;
    nString meshName;
    int groupIndex;
    /// the group drawn: groupIndex, or 0 while the loaded mesh lacks that group
    int drawGroupIndex = 0;
    nString meshResourceLoader;
    int meshUsage;
};
#endif
