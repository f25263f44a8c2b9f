#ifndef N_INTANIMATOR_H
#define N_INTANIMATOR_H
//------------------------------------------------------------------------------
/**
    @class nIntAnimator
    @ingroup Scene

    Animates a int shader parameter of a shader node from keys.
*/
#include "scene/nparamanimator.h"

class nIntAnimator : public nParamAnimator<int>
{
public:
    nIntAnimator() = default;

    void SetIntName(const char* name) { this->SetParamName(name); }
    const char* GetIntName() const { return this->GetParamName(); }

protected:
    ~nIntAnimator() override = default;
    void Apply(nAbstractShaderNode* node, nShaderState::Param p, const int& value) override;
};
#endif
