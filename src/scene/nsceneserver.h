#ifndef N_SCENESERVER_H
#define N_SCENESERVER_H
//------------------------------------------------------------------------------
/**
    @class nSceneServer
    @ingroup Scene

    The part of the scene server the nodes talk to: the frame's groups,
    one per transform node of every attached render context, each with its
    parent group and its world matrix. BeginGroup appends a node's group
    and lets the node compute its model matrix from the parent's; nodes
    store it with SetModelTransform. Splitting into buckets and walking a
    render path build on these groups; IsShaderUsed answers true for
    every pass.
*/
#include "kernel/nroot.h"
#include "kernel/ntypes.h"
#include "mathlib/matrix44.h"
#include "util/narray.h"

class nSceneNode;
class nRenderContext;

class nSceneServer : public nRoot
{
public:
    enum
    {
        MaxHierarchyDepth = 64,
    };

    /// one transform node of one render context in this frame
    struct Group
    {
        int parentIndex = -1;
        nRenderContext* renderContext = nullptr;
        nSceneNode* sceneNode = nullptr;
        matrix44 modelTransform;
    };

    nSceneServer();

    /// whether material nodes load their shader of the pass (always)
    virtual bool IsShaderUsed(nFourCC fourcc) const;
    /// forget the last frame's groups
    virtual bool BeginScene(const matrix44& viewer);
    /// let the context's root node attach its tree (asserts a root node)
    virtual void Attach(nRenderContext* renderContext);
    /// the frame's groups are complete
    virtual void EndScene();
    /// append a group for the node and compute its model matrix
    virtual bool BeginGroup(nSceneNode* sceneNode, nRenderContext* renderContext);
    /// close the group begun last
    virtual void EndGroup();
    /// the model matrix of the group appended last
    virtual void SetModelTransform(const matrix44& m);
    virtual const matrix44& GetModelTransform() const;

    int GetNumGroups() const { return this->groups.Size(); }
    const Group& GetGroupAt(int i) const { return this->groups[i]; }

protected:
    ~nSceneServer() override = default;

private:
    bool inBeginScene;
    int stackDepth;
    int groupStack[MaxHierarchyDepth];
    nArray<Group> groups;
};
#endif
