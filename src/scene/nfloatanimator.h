#ifndef N_FLOATANIMATOR_H
#define N_FLOATANIMATOR_H
//------------------------------------------------------------------------------
/**
    @class nFloatAnimator
    @ingroup Scene

    Animates a float shader parameter of a shader node from keys.
*/
#include "scene/nparamanimator.h"

class nFloatAnimator : public nParamAnimator<float>
{
public:
    nFloatAnimator() = default;

    void SetFloatName(const char* name) { this->SetParamName(name); }
    const char* GetFloatName() const { return this->GetParamName(); }

protected:
    ~nFloatAnimator() override = default;
    void Apply(nAbstractShaderNode* node, nShaderState::Param p, const float& value) override;
};
#endif
