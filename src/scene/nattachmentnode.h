#ifndef N_ATTACHMENTNODE_H
#define N_ATTACHMENTNODE_H
//------------------------------------------------------------------------------
/**
    @class nAttachmentNode
    @ingroup Scene

    A transform node meant to follow a joint of the skinned shape it is
    parented by. Under any other parent it is a plain transform node.
*/
#include "scene/ntransformnode.h"

class nAttachmentNode : public nTransformNode
{
public:
    nAttachmentNode();

    bool SaveCmds(nPersistServer* ps) override;
    bool RenderTransform(nSceneServer* sceneServer, nRenderContext* renderContext,
                         const matrix44& parentMatrix) override;
    virtual void UpdateFinalTransform();
    virtual void SetJointByName(const char* name);
    virtual void SetJointByIndex(int index);

    bool IsJointSet() const { return this->isJointSet; }
    int GetJointIndex() const { return this->jointIndex; }

protected:
    ~nAttachmentNode() override = default;

private:
    /// whether the parent is a skinned shape; else reported
    bool HasSkinParent() const;

    matrix44 finalMatrix;
    bool isTransformed;
    bool isJointSet;
    int jointIndex;
};
#endif
