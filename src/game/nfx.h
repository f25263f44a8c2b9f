#ifndef N_FX_H
#define N_FX_H
//------------------------------------------------------------------------------
/**
    @class nFX
    @ingroup Game

    A short-lived effect placed in the match, living below
    "/usr/fx_scene": the match starts it with a scene node, places it,
    triggers it with the scaled frame time and renders it every frame.
    This is the interface the match drives; the effect itself (particle
    node, render context, lifetime) comes with the effects' own classes.
*/
#include "kernel/nroot.h"
#include "mathlib/transform44.h"
#include "util/nstring.h"

class nFX : public nRoot
{
public:
    /// the effect of the scene node at the path
    virtual void Start(const nString& path);
    /// one frame of the match's scaled time
    virtual void Trigger(float* dt);
    /// attach to the scene
    virtual void Render();
    transform44& GetTransform() { return this->transform; }

protected:
    ~nFX() override = default;

    transform44 transform;
};
#endif
