#ifndef N_MATERIALNODE_H
#define N_MATERIALNODE_H
//------------------------------------------------------------------------------
/**
    @class nMaterialNode
    @ingroup Scene

    A shader node with one shader file per render pass. Applying the pass
    makes its shader current; rendering sets the node's uv transforms and
    parameters on it, then the render context's overrides.
*/
#include "scene/nabstractshadernode.h"

class nMaterialNode : public nAbstractShaderNode
{
public:
    struct ShaderEntry
    {
        nFourCC fourcc = 0;
        nString name;
        nShader2* shader = nullptr;
    };

    nMaterialNode();

    bool SaveCmds(nPersistServer* ps) override;
    bool LoadResources() override;
    void UnloadResources() override;
    bool HasShader(nFourCC fourcc) const override;
    bool ApplyShader(nFourCC fourcc, nSceneServer* sceneServer) override;
    bool RenderShader(nFourCC fourcc, nSceneServer* sceneServer, nRenderContext* renderContext) override;
    void UpdateInstanceStreamDecl(nInstanceStream::Declaration& decl) override;
    bool IsTextureUsed(nShaderState::Param param) override;

    /// the shader file of a pass (asserts a name); a loaded one is released
    void SetShader(nFourCC fourcc, const char* name);
    /// the shader file of a pass, or 0
    const char* GetShader(nFourCC fourcc) const;
    int GetNumShaders() const { return this->shaderArray.Size(); }
    /// the entry at an index (asserted)
    const ShaderEntry& GetShaderAt(int index) const;
    /// the first entry of the pass, or 0
    ShaderEntry* FindShaderEntry(nFourCC fourcc) const;
    /// the loaded shader of a pass (loading the node first), or 0
    nShader2* GetShaderObject(nFourCC fourcc);

protected:
    ~nMaterialNode() override;

    /// load the shader of every entry that has none
    bool LoadShaders();

private:
    static void ReleaseShader(ShaderEntry& entry);

    nArray<ShaderEntry> shaderArray;
};
#endif
