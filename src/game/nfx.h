#ifndef N_FX_H
#define N_FX_H
//------------------------------------------------------------------------------
/**
    @class nFX
    @ingroup Game

    A short-lived particle effect placed in the match, living below
    "/usr/fx_scene": it renders a scene node whose child "particle" is a
    particle shape node through its own render context, and releases
    itself once the emission has run its course (a looping emission on
    its first frame). The match triggers and renders it every frame.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "mathlib/transform44.h"
#include "scene/nrendercontext.h"
#include "util/nstring.h"

class nSceneNode;
class nParticleShapeNode;

class nFX : public nRoot
{
public:
    nFX();
    /// the effect of the scene node at the path
    virtual void Start(const nString& path);
    /// one frame of the match's scaled time; the effect may release itself
    virtual void Trigger(float* dt);
    /// attach to the scene
    virtual void Render();
    transform44& GetTransform() { return this->transform; }
    float GetLifetime() const { return this->lifetime; }
    float GetElapsed() const { return this->elapsed; }
    nRenderContext& GetRenderContext() { return this->m_RenderContext; }

protected:
    /// the scene node forgets the render context
    ~nFX() override;

    nRef<nParticleShapeNode> m_refParticleShapeNode;
    nRef<nSceneNode> m_refSceneNode;
    nRenderContext m_RenderContext;
    transform44 transform;
    float elapsed;
    int frameId;
    float lifetime;
};
#endif
