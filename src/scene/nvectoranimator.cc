//------------------------------------------------------------------------------
//  nvectoranimator.cc
//------------------------------------------------------------------------------
#include "scene/nvectoranimator.h"
#include "scene/nparamanimatorcmds.h"

void nVectorAnimator::Apply(nAbstractShaderNode* node, nShaderState::Param p, const vector4& value)
{
    node->SetVector(p, value);
}

/*
 * nvectoranimator_initcmds --
 *     Results: none. Side effects: registers the commands of nvectoranimator.
 */
void nvectoranimator_initcmds(nClass* cl)
{
    nParamAnimatorCmds::InitCmds<vector4>(cl, "v_setvectorname_s", "s_getvectorname_v", "v_addkey_fffff",
                                          "fffff_getkeyat_i");
}
