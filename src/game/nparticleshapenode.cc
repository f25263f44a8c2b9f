//------------------------------------------------------------------------------
//  nparticleshapenode.cc
//------------------------------------------------------------------------------
#include "game/nparticleshapenode.h"
#include "kernel/nmodule.h"

#include <algorithm>

void nparticleshapenode_initcmds(nClass* cl);
N_IMPLEMENT_MODULE(nparticleshapenode, nParticleShapeNode, "nshapenode", nparticleshapenode_initcmds)

nParticleShapeNode::nParticleShapeNode() :
    loop(true),
    emissionDuration(0.0f)
{
}

void nParticleShapeNode::SetCurve(int type, const Curve& c)
{
    n_assert(type >= 0 && type < NumCurves);
    this->curves[type] = c;
}

const nParticleShapeNode::Curve& nParticleShapeNode::GetCurve(int type) const
{
    n_assert(type >= 0 && type < NumCurves);
    return this->curves[type];
}

float nParticleShapeNode::GetCurveMax(int type) const
{
    const Curve& c = this->GetCurve(type);
    return *std::max_element(c.keys, c.keys + 4) + c.amplitude;
}
