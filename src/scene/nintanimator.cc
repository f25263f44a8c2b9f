//------------------------------------------------------------------------------
//  nintanimator.cc
//------------------------------------------------------------------------------
#include "scene/nintanimator.h"
#include "scene/nparamanimatorcmds.h"

void nIntAnimator::Apply(nAbstractShaderNode* node, nShaderState::Param p, const int& value)
{
    node->SetInt(p, value);
}

/*
 * nintanimator_initcmds --
 *     Results: none. Side effects: registers the commands of nintanimator.
 */
void nintanimator_initcmds(nClass* cl)
{
    nParamAnimatorCmds::InitCmds<int>(cl, "v_setintname_s", "s_getintname_v", "v_addkey_fi",
                                          "fi_getkeyat_i");
}
