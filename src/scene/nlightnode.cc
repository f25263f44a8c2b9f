//------------------------------------------------------------------------------
//  nlightnode.cc
//------------------------------------------------------------------------------
#include "scene/nlightnode.h"

nLightNode::nLightNode() :
    missingWarned(false)
{
    this->light.type = 1;
}

bool nLightNode::HasLight() const
{
    return true;
}

/*
 * GetColour --
 *     Results: none.
 *     Side effects: colour is the node's vector of the parameter; a
 *     colour the model file did not set keeps the light's own value and
 *     is reported once per node.
 */
void nLightNode::GetColour(nShaderState::Param param, vector4& colour)
{
    if (this->shaderParams.IsParameterValid(param) &&
        (nShaderState::Float4 == this->shaderParams.GetArg(param).GetType()))
    {
        colour = this->shaderParams.GetArg(param).GetVector4();
        return;
    }
    if (!this->missingWarned)
    {
        this->missingWarned = true;
        n_printf("Warning: light node '%s' has no vector '%s'\n", this->GetFullName().Get(),
                 nShaderState::ParamToString(param));
    }
}

/*
 * RenderLight --
 *     Results: true.
 *     Side effects: the light with the given matrix and the node's colours
 *     is added to the graphics server's lights.
 */
bool nLightNode::RenderLight(nSceneServer* sceneServer, nRenderContext* /*renderContext*/,
                             const matrix44& lightMatrix)
{
    n_assert(sceneServer);
    this->light.transform = lightMatrix;
    this->GetColour(nShaderState::LightDiffuse, this->light.diffuse);
    this->GetColour(nShaderState::LightSpecular, this->light.specular);
    this->GetColour(nShaderState::LightAmbient, this->light.ambient);
    this->GetColour(nShaderState::LightDiffuse1, this->light.secondaryDiffuse);
    this->GetColour(nShaderState::LightSpecular1, this->light.secondarySpecular);
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (gfx) gfx->AddLight(this->light);
    return true;
}
