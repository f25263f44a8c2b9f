//------------------------------------------------------------------------------
//  nsceneserver.cc
//------------------------------------------------------------------------------
#include "scene/nsceneserver.h"
#include "scene/nscenenode.h"
#include "scene/nrendercontext.h"

nSceneServer::nSceneServer() :
    inBeginScene(false),
    stackDepth(0),
    groupStack{},
    groups(512, 1024)
{
}

/*
 * IsShaderUsed --
 *     Results: true for every pass. Side effects: none.
 */
bool nSceneServer::IsShaderUsed(nFourCC /*fourcc*/) const
{
    return true;
}

/*
 * BeginScene --
 *     Results: true.
 *     Side effects: the group stack and the groups are emptied.
 */
bool nSceneServer::BeginScene(const matrix44& /*viewer*/)
{
    n_assert(!this->inBeginScene);
    this->stackDepth = 0;
    for (int& g : this->groupStack) g = 0;
    this->groups.Clear();
    this->inBeginScene = true;
    return true;
}

/*
 * Attach --
 *     Results: none.
 *     Side effects: the context's tree appends its groups.
 */
void nSceneServer::Attach(nRenderContext* renderContext)
{
    n_assert(renderContext);
    nSceneNode* rootNode = renderContext->GetRootNode();
    n_assert(rootNode);
    rootNode->Attach(this, renderContext);
}

/*
 * EndScene --
 *     Results: none. Side effects: the frame's groups are closed.
 */
void nSceneServer::EndScene()
{
    n_assert(0 == this->stackDepth);
    this->inBeginScene = false;
}

/*
 * BeginGroup --
 *     Results: what the node's RenderTransform returned.
 *     Side effects: a group is appended and opened; the node stores its
 *     model matrix, computed from the parent group's (or the context's
 *     transform for a root group).
 */
bool nSceneServer::BeginGroup(nSceneNode* sceneNode, nRenderContext* renderContext)
{
    n_assert(sceneNode);
    n_assert(renderContext);
    n_assert(this->stackDepth < MaxHierarchyDepth);
    Group group;
    group.sceneNode = sceneNode;
    group.renderContext = renderContext;
    group.parentIndex = (this->stackDepth > 0) ? this->groupStack[this->stackDepth - 1] : -1;
    this->groups.Append(group);
    this->groupStack[this->stackDepth++] = this->groups.Size() - 1;
    const matrix44 parent = (group.parentIndex < 0) ? renderContext->GetTransform()
                                                     : this->groups[group.parentIndex].modelTransform;
    return sceneNode->RenderTransform(this, renderContext, parent);
}

/*
 * EndGroup --
 *     Results: none. Side effects: the group begun last is closed.
 */
void nSceneServer::EndGroup()
{
    n_assert(this->stackDepth > 0);
    this->stackDepth--;
}

/*
 * SetModelTransform --
 *     Results: none. Side effects: the last group's model matrix is m.
 */
void nSceneServer::SetModelTransform(const matrix44& m)
{
    n_assert(this->groups.Size() > 0);
    this->groups.Back().modelTransform = m;
}

/*
 * GetModelTransform --
 *     Results: the last group's model matrix. Side effects: none.
 */
const matrix44& nSceneServer::GetModelTransform() const
{
    n_assert(this->groups.Size() > 0);
    return this->groups.Back().modelTransform;
}
