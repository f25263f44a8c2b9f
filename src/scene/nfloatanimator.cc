//------------------------------------------------------------------------------
//  nfloatanimator.cc
//------------------------------------------------------------------------------
#include "scene/nfloatanimator.h"
#include "scene/nparamanimatorcmds.h"

void nFloatAnimator::Apply(nAbstractShaderNode* node, nShaderState::Param p, const float& value)
{
    node->SetFloat(p, value);
}

/*
 * nfloatanimator_initcmds --
 *     Results: none. Side effects: registers the commands of nfloatanimator.
 */
void nfloatanimator_initcmds(nClass* cl)
{
    nParamAnimatorCmds::InitCmds<float>(cl, "v_setfloatname_s", "s_getfloatname_v", "v_addkey_ff",
                                          "ff_getkeyat_i");
}
