#ifndef N_VECTORANIMATOR_H
#define N_VECTORANIMATOR_H
//------------------------------------------------------------------------------
/**
    @class nVectorAnimator
    @ingroup Scene

    Animates a vector4 shader parameter of a shader node from keys.
*/
#include "scene/nparamanimator.h"

class nVectorAnimator : public nParamAnimator<vector4>
{
public:
    nVectorAnimator() = default;

    void SetVectorName(const char* name) { this->SetParamName(name); }
    const char* GetVectorName() const { return this->GetParamName(); }

protected:
    ~nVectorAnimator() override = default;
    void Apply(nAbstractShaderNode* node, nShaderState::Param p, const vector4& value) override;
};
#endif
