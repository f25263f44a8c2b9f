#ifndef N_LIGHTNODE_H
#define N_LIGHTNODE_H
//------------------------------------------------------------------------------
/**
    @class nLightNode
    @ingroup Scene

    A shader node that hands a light to the graphics server; its colours
    are the node's "LightDiffuse", "LightSpecular", "LightAmbient",
    "LightDiffuse1" and "LightSpecular1" vectors.
*/
#include "scene/nabstractshadernode.h"
#include "gfx2/nlight.h"

class nLightNode : public nAbstractShaderNode
{
public:
    nLightNode();

    bool HasLight() const override;
    bool RenderLight(nSceneServer* sceneServer, nRenderContext* renderContext, const matrix44& lightMatrix) override;
    const nLight& GetLight() const { return this->light; }

protected:
    ~nLightNode() override = default;

private:
    /// the node's vector of a colour, or the light's own value when unset
    void GetColour(nShaderState::Param param, vector4& colour);

    nLight light;
    bool missingWarned;
};
#endif
