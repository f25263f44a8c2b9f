//------------------------------------------------------------------------------
//  nrendercontext.cc
//------------------------------------------------------------------------------
#include "scene/nrendercontext.h"
#include "scene/nscenenode.h"

nRenderContext::nRenderContext() :
    frameId(0xffffffff),
    priority(1.0f),
    intArray(64, 64),
    localVarArray(0, 16)
{
}

/*
 * SetRootNode --
 *     Results: none. Side effects: the context draws the node's tree.
 */
void nRenderContext::SetRootNode(nSceneNode* node)
{
    n_assert(node);
    this->rootNode = node;
}

/*
 * GetRootNode --
 *     Results: the root node, or 0 when none is set or it died.
 *     Side effects: none.
 */
nSceneNode* nRenderContext::GetRootNode() const
{
    return this->rootNode.get_unsafe();
}
