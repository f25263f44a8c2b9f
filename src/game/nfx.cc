//------------------------------------------------------------------------------
//  nfx.cc
//------------------------------------------------------------------------------
#include "game/nfx.h"
#include "game/ngame.h"
#include "game/nparticleshapenode.h"
#include "kernel/nkernelserver.h"
#include "scene/nsceneserver.h"
#include "variable/nvariableserver.h"

namespace
{

/// the envelope curve whose largest value, with the emission, bounds a particle's life
const int LifetimeCurve = 1;

}  // namespace

nFX::nFX() :
    elapsed(0.0f),
    frameId(0),
    lifetime(0.0f)
{
}

/*
 * ~nFX --
 *     Side effects: a started effect's scene node forgets its render
 *     context.
 */
nFX::~nFX()
{
    if (this->m_RenderContext.IsValid())
    {
        n_assert(m_refSceneNode.isvalid());
        this->m_refSceneNode->RenderContextDestroyed(&this->m_RenderContext);
    }
}

/*
 * Start --
 *     Side effects: the scene node at the path and its particle child
 *     (both asserted); a non-looping emission lives its duration plus the
 *     largest value of the lifetime curve; the render context gets the
 *     match's "time" 0 and "one" 1 and a still "wind", and the node is
 *     told of it.
 */
void nFX::Start(const nString& str)
{
    n_assert(str.IsEmpty() == false);
    nRoot* node = kernelServer->Lookup(str.Get());
    this->m_refSceneNode = (node && node->IsA("nscenenode")) ? static_cast<nSceneNode*>(node) : nullptr;
    n_assert(m_refSceneNode.isvalid());
    nRoot* particle = this->m_refSceneNode->Find("particle");
    this->m_refParticleShapeNode =
        (particle && particle->IsA("nparticleshapenode")) ? static_cast<nParticleShapeNode*>(particle) : nullptr;
    n_assert(m_refParticleShapeNode.isvalid());

    nParticleShapeNode* p = this->m_refParticleShapeNode.get();
    if (!p->GetLoop()) this->lifetime = p->GetCurveMax(LifetimeCurve) + p->GetEmissionDuration();

    nVariableServer* vars = nVariableServer::Instance();
    const int timeVar = nGame::HasInstance() ? nGame::Instance()->GetTimeVar() : vars->GetVariableHandleByName("time");
    const int oneVar = nGame::HasInstance() ? nGame::Instance()->GetOneVar() : vars->GetVariableHandleByName("one");
    this->m_RenderContext.SetRootNode(this->m_refSceneNode.get());
    this->m_RenderContext.AddVariable(nVariable(timeVar, 0.0f));
    this->m_RenderContext.AddVariable(nVariable(oneVar, 1.0f));
    const nFloat4 wind = {0.0f, 0.0f, 0.0f, 1.0f};
    this->m_RenderContext.AddVariable(nVariable(vars->GetVariableHandleByName("wind"), wind));
    this->m_refSceneNode->RenderContextCreated(&this->m_RenderContext);
}

/*
 * Trigger --
 *     Side effects: the effect ages by dt; once its lifetime has passed
 *     it releases itself (the caller must not touch it afterwards).
 *     Otherwise its "time" advances, the frame id counts on and the
 *     render context takes the placement. An effect never started (one a
 *     script made in the effect folder) is left alone.
 */
void nFX::Trigger(float* dt)
{
    if (!this->m_RenderContext.IsValid()) return;
    this->elapsed += *dt;
    if (this->elapsed >= this->lifetime)
    {
        this->Release();
        return;
    }
    const int timeVar = nGame::HasInstance() ? nGame::Instance()->GetTimeVar() : -1;
    if (nVariable* t = this->m_RenderContext.GetVariable(timeVar)) t->SetFloat(t->GetFloat() + *dt);
    this->frameId++;
    this->m_RenderContext.SetFrameId((uint)this->frameId);
    this->m_RenderContext.SetTransform(this->transform.getmatrix());
}

void nFX::Render()
{
    // an effect never started has nothing to draw
    if (!this->m_RenderContext.IsValid()) return;
    nSceneServer::Instance()->Attach(&this->m_RenderContext);
}
