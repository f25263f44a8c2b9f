#ifndef N_ABSTRACTSHADERNODE_H
#define N_ABSTRACTSHADERNODE_H
//------------------------------------------------------------------------------
/**
    @class nAbstractShaderNode
    @ingroup Scene

    A transform node with shader parameters: constant values, textures
    bound to parameters (loaded with the node's resources) and a uv
    transform per texture stage.
*/
#include "scene/ntransformnode.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nshaderparams.h"
#include "mathlib/matrix33.h"
#include "mathlib/vector2.h"
#include "scene/nresourceholder.h"

class nAbstractShaderNode : public nTransformNode
{
public:
    nAbstractShaderNode();

    bool SaveCmds(nPersistServer* ps) override;
    bool LoadResources() override;
    void UnloadResources() override;
    /// whether a texture of the parameter is worth loading (true here)
    virtual bool IsTextureUsed(nShaderState::Param param);

    /// bind a texture file to a parameter; the next frame loads it
    void SetTexture(nShaderState::Param param, const char* texName);
    /// the texture file of a parameter, or 0
    const char* GetTexture(nShaderState::Param param) const;
    void SetInt(nShaderState::Param param, int val);
    void SetBool(nShaderState::Param param, bool val);
    void SetFloat(nShaderState::Param param, float val);
    void SetVector(nShaderState::Param param, const vector4& val);
    /// the stored values (assert a value of the parameter)
    int GetInt(nShaderState::Param param) const;
    bool GetBool(nShaderState::Param param) const;
    float GetFloat(nShaderState::Param param) const;
    vector4 GetVector(nShaderState::Param param) const;
    const nShaderParams& GetShaderParams() const { return this->shaderParams; }

    /// the uv transform of a texture stage (stage asserted 0..3)
    void SetUvPos(uint layer, const vector2& p);
    const vector2& GetUvPos(uint layer) const;
    void SetUvEuler(uint layer, const vector2& e);
    const vector2& GetUvEuler(uint layer) const;
    void SetUvScale(uint layer, const vector2& s);
    const vector2& GetUvScale(uint layer) const;
    /// the stage's 3x3 uv matrix, rebuilt when dirty
    const matrix33& GetUvMatrix(uint layer);

protected:
    ~nAbstractShaderNode() override;

    /// load the texture of an entry when it is wanted and not loaded
    void LoadTexture(int index);
    /// forget textures that died under the node (their pool was deleted);
    /// the node loads them again with the next frame
    void DropDeadTextures();
    /// warns (once per node) about a parameter the name table does not know
    bool CheckParam(nShaderState::Param param) const;

    struct TexEntry
    {
        nShaderState::Param param = nShaderState::InvalidParameter;
        nString texName;
        nResourceHolder<nTexture2> texture;
    };
    struct UvTransform
    {
        vector2 pos;
        vector2 euler;
        vector2 scale = vector2(1.0f, 1.0f);
        matrix33 matrix;
        bool dirty = false;
    };

    nArray<TexEntry> texNodeArray;
    UvTransform uvTransforms[nGfxServer2::MaxTextureStages];
    nShaderParams shaderParams;

private:
    void ReleaseTexture(TexEntry& entry);

    /// animators ask every frame: the warning is printed once
    mutable bool invalidParamReported = false;
};
#endif
