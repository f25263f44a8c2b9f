//------------------------------------------------------------------------------
//  ntransformanimator.cc
//------------------------------------------------------------------------------
#include "scene/ntransformanimator.h"
#include "scene/ntransformnode.h"

int nTransformAnimator::GetAnimatorType() const
{
    return TransformAnimator;
}

/*
 * Animate --
 *     Results: none.
 *     Side effects: the node's position, quaternion, Euler angles and
 *     scale are set, each when its keys give a value at the channel's
 *     time (0, warned once, when the context lacks the channel). A node
 *     that is no transform node is left alone.
 */
void nTransformAnimator::Animate(nSceneNode* sceneNode, nRenderContext* renderContext)
{
    n_assert(sceneNode);
    n_assert(renderContext);
    n_assert(nVariable::InvalidHandle != this->channelVarHandle);
    if (!sceneNode->IsA("ntransformnode")) return;
    nTransformNode* node = static_cast<nTransformNode*>(sceneNode);
    float t = 0.0f;
    if (!this->GetChannelTime(renderContext, t)) t = 0.0f;
    const LoopType loop = this->GetLoopType();
    vector3 v;
    quaternion q;
    if (this->posArray.Sample(t, loop, v, this->keysWarned)) node->SetPosition(v);
    if (this->quatArray.Sample(t, loop, q, this->keysWarned)) node->SetQuat(q);
    if (this->eulerArray.Sample(t, loop, v, this->keysWarned)) node->SetEuler(v);
    if (this->scaleArray.Sample(t, loop, v, this->keysWarned)) node->SetScale(v);
}
