//------------------------------------------------------------------------------
//  ntransformnode.cc
//------------------------------------------------------------------------------
#include "scene/ntransformnode.h"
#include "scene/nsceneserver.h"
#include "scene/nrendercontext.h"
#include "gfx2/ngfxserver2.h"

nTransformNode::nTransformNode() :
    transformNodeFlags(Active)
{
}

bool nTransformNode::HasTransform() const
{
    return true;
}

/*
 * Attach --
 *     Results: none.
 *     Side effects: an active node opens its group, attaches its
 *     children inside it and closes it; an inactive one attaches nothing.
 */
void nTransformNode::Attach(nSceneServer* sceneServer, nRenderContext* renderContext)
{
    n_assert(sceneServer);
    if (!this->GetActive()) return;
    sceneServer->BeginGroup(this, renderContext);
    nSceneNode::Attach(sceneServer, renderContext);
    sceneServer->EndGroup();
}

/*
 * ComputeModel --
 *     Results: local x parent; with LockViewer set its translation is the
 *     camera position (the graphics server's InvView translation).
 *     Side effects: none.
 */
matrix44 nTransformNode::ComputeModel(const matrix44& local, const matrix44& parentMatrix) const
{
    matrix44 model = local * parentMatrix;
    if (this->GetLockViewer())
    {
        const nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
        if (gfx)
        {
            model.set_pos_component(gfx->GetTransform(nGfxServer2::InvView).pos_component());
        }
    }
    return model;
}

/*
 * RenderTransform --
 *     Results: true.
 *     Side effects: the transform animators move the node, then its model
 *     matrix goes to the scene server's current group.
 */
bool nTransformNode::RenderTransform(nSceneServer* sceneServer, nRenderContext* renderContext,
                                     const matrix44& parentMatrix)
{
    n_assert(sceneServer);
    n_assert(renderContext);
    this->InvokeAnimators(TransformAnimator, renderContext);
    sceneServer->SetModelTransform(this->ComputeModel(this->transform.getmatrix(), parentMatrix));
    return true;
}
