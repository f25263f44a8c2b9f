//------------------------------------------------------------------------------
//  nattachmentnode.cc
//------------------------------------------------------------------------------
#include "scene/nattachmentnode.h"
#include "scene/nsceneserver.h"

nAttachmentNode::nAttachmentNode() :
    isTransformed(false),
    isJointSet(false),
    jointIndex(0)
{
}

bool nAttachmentNode::HasSkinParent() const
{
    const nRoot* parent = this->GetParent();
    if (parent && parent->IsA("nskinshapenode")) return true;
    n_printf("Error: nAttachmentNode can only function if it is parented by an nSkinShapeNode\n");
    return false;
}

void nAttachmentNode::SetJointByName(const char* /*name*/)
{
    this->HasSkinParent();
}

void nAttachmentNode::SetJointByIndex(int index)
{
    if (!this->HasSkinParent()) return;
    this->jointIndex = index;
    this->isJointSet = true;
}

/*
 * UpdateFinalTransform --
 *     Results: none.
 *     Side effects: without a joint the final matrix is the local one;
 *     with a joint the transformed flag is cleared for the next frame.
 */
void nAttachmentNode::UpdateFinalTransform()
{
    if (this->isJointSet)
    {
        this->isTransformed = false;
        return;
    }
    this->finalMatrix = this->GetTransform();
}

/*
 * RenderTransform --
 *     Results: true.
 *     Side effects: animators run, the final matrix is updated, and final
 *     x parent (centred on the viewer when locked) goes to the group.
 */
bool nAttachmentNode::RenderTransform(nSceneServer* sceneServer, nRenderContext* renderContext,
                                      const matrix44& parentMatrix)
{
    n_assert(sceneServer);
    n_assert(renderContext);
    this->InvokeAnimators(TransformAnimator, renderContext);
    this->UpdateFinalTransform();
    sceneServer->SetModelTransform(this->ComputeModel(this->finalMatrix, parentMatrix));
    this->isTransformed = true;
    return true;
}
