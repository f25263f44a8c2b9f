//------------------------------------------------------------------------------
//  nsceneserver.cc
//------------------------------------------------------------------------------
#include "scene/nsceneserver.h"
#include "scene/nscenenode.h"
#include "scene/nmaterialnode.h"
#include "scene/nrendercontext.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nshader2.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"

#include <algorithm>

nSceneServer* nSceneServer::Singleton = nullptr;

nSceneServer::nSceneServer() :
    isOpen(false),
    inBeginScene(false),
    stackDepth(0),
    groupStack{},
    groups(512, 1024),
    lights(64, 128),
    shadowCasters(512, 1024),
    groupDistances(512, 1024)
{
    n_assert(0 == Singleton);
    Singleton = this;
    // a frame of many groups fills these at once: growing by doubling keeps
    // that first fill linear
    for (nArray<int>& bucket : this->shaderBuckets)
    {
        bucket = nArray<int>(0, 1024);
        bucket.SetFlags(nArray<int>::DoubleGrowSize);
    }
    this->groups.SetFlags(nArray<Group>::DoubleGrowSize);
    this->groupDistances.SetFlags(nArray<float>::DoubleGrowSize);
    this->sortKeys.SetFlags(nArray<SortKey>::DoubleGrowSize);
}

nSceneServer::~nSceneServer()
{
    n_assert(!this->inBeginScene);
    Singleton = nullptr;
}

nSceneServer* nSceneServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * Open --
 *     Results: true when the render path and the display are open; false
 *     when the display could not open.
 *     Side effects: reads and builds the render path, sets the assign
 *     "shaders" to its shader path. A render-path file that cannot be read
 *     or built stops the program with a message naming it.
 */
bool nSceneServer::Open()
{
    n_assert(!this->isOpen);
    if (!this->renderPath.OpenXml())
    {
        n_error("nSceneServer could not open render path file '%s'!", this->renderPath.GetFilename().Get());
        return false;
    }
    nFileServer2::Instance()->SetAssign("shaders", this->renderPath.GetShaderPath().Get());
    if (!nGfxServer2::Instance()->OpenDisplay())
    {
        n_printf("nSceneServer: could not open the display\n");
        this->renderPath.CloseXml();
        return false;
    }
    const bool pathOpened = this->renderPath.Open();
    this->renderPath.CloseXml();
    if (!pathOpened)
    {
        nGfxServer2::Instance()->CloseDisplay();
        n_error("nSceneServer could not open render path file '%s'!", this->renderPath.GetFilename().Get());
        return false;
    }
    this->isOpen = true;
    return true;
}

/*
 * Close --
 *     Results: none. Side effects: the render path and the display close.
 */
void nSceneServer::Close()
{
    n_assert(this->isOpen);
    this->renderPath.Close();
    nGfxServer2::Instance()->CloseDisplay();
    this->isOpen = false;
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
 *     Side effects: the groups, lights, shadow casters and buckets are
 *     emptied (their memory kept); the inverse of the viewer's matrix
 *     becomes the graphics server's view (a singular one is used as is).
 */
bool nSceneServer::BeginScene(const matrix44& viewer)
{
    n_assert(this->isOpen);
    n_assert(!this->inBeginScene);
    this->stackDepth = 0;
    this->skippedDepth = 0;
    for (int& g : this->groupStack) g = 0;
    for (nArray<int>& bucket : this->shaderBuckets) bucket.Clear();
    this->groups.Clear();
    this->lights.Clear();
    this->shadowCasters.Clear();
    matrix44 view = viewer;
    view.invert_simple();
    nGfxServer2::Instance()->SetTransform(nGfxServer2::View, view);
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
    n_assert(0 == this->skippedDepth);
    this->inBeginScene = false;
}

void nSceneServer::RenderScene()
{
}

void nSceneServer::PresentScene()
{
}

/*
 * BeginGroup --
 *     Results: what the node's RenderTransform returned; false for a node
 *     nested deeper than MaxHierarchyDepth groups.
 *     Side effects: a group is appended and opened; the node stores its
 *     model matrix, computed from the parent group's (or the context's
 *     transform for a root group). A model is data from outside: one
 *     nested too deep has its deeper nodes left out of the frame, reported
 *     the first time, and their EndGroup calls matched here.
 */
bool nSceneServer::BeginGroup(nSceneNode* sceneNode, nRenderContext* renderContext)
{
    n_assert(sceneNode);
    n_assert(renderContext);
    if (this->skippedDepth > 0 || this->stackDepth >= MaxHierarchyDepth)
    {
        if (!this->depthReported)
        {
            n_printf("nSceneServer: '%s' is nested deeper than %d transform nodes; the deeper nodes are not drawn\n",
                     sceneNode->GetFullName().Get(), int(MaxHierarchyDepth));
            this->depthReported = true;
        }
        this->skippedDepth++;
        return false;
    }
    Group group;
    group.sceneNode = sceneNode;
    group.renderContext = renderContext;
    group.parentIndex = (this->stackDepth > 0) ? this->groupStack[this->stackDepth - 1] : -1;
    this->groups.Append(group);
    this->groupStack[this->stackDepth++] = this->groups.Size() - 1;
    const matrix44& parent = (group.parentIndex < 0) ? renderContext->GetTransform()
                                                      : this->groups[group.parentIndex].modelTransform;
    return sceneNode->RenderTransform(this, renderContext, parent);
}

/*
 * EndGroup --
 *     Results: none. Side effects: the group begun last is closed (or the
 *     last one left out for its depth is matched).
 */
void nSceneServer::EndGroup()
{
    if (this->skippedDepth > 0)
    {
        this->skippedDepth--;
        return;
    }
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

/*
 * SplitNodes --
 *     Results: none.
 *     Side effects: each group with geometry goes into the bucket of its
 *     shader for the pass (a shader no render-path sequence uses is
 *     reported and the group left out), each light into the lights, each
 *     shadow caster into the shadow casters.
 */
void nSceneServer::SplitNodes(nFourCC fourcc)
{
    const int numGroups = this->groups.Size();
    for (int i = 0; i < numGroups; i++)
    {
        nSceneNode* node = this->groups[i].sceneNode;
        n_assert(node);
        if (node->HasGeometry())
        {
            // only shape nodes have geometry, and they are material nodes
            nShader2* shader = static_cast<nMaterialNode*>(node)->GetShaderObject(fourcc);
            if (shader)
            {
                const int bucketIndex = shader->GetShaderIndex();
                if (-1 == bucketIndex)
                {
                    // the node is skipped every frame; saying so once is enough
                    if (this->unlistedShadersReported.insert(shader->GetFilename().Get()).second)
                    {
                        n_printf("Trying to render shader '%s' through scene server,\n"
                                 "which is not defined in renderpath xml file!\n",
                                 shader->GetFilename().Get());
                    }
                }
                else
                {
                    n_assert(bucketIndex < NumBuckets);
                    this->shaderBuckets[bucketIndex].Append(i);
                }
            }
        }
        if (node->HasLight()) this->lights.Append(i);
        if (node->HasShadow()) this->shadowCasters.Append(i);
    }
}

/*
 * ValidateNodeResources --
 *     Results: none. Side effects: loads what each group's node lacks.
 */
void nSceneServer::ValidateNodeResources()
{
    for (int i = 0; i < this->groups.Size(); i++)
    {
        nSceneNode* node = this->groups[i].sceneNode;
        if (!node->AreResourcesValid()) node->LoadResources();
    }
}

/*
 * SortNodes --
 *     Results: none.
 *     Side effects: computes each group's distance to the camera (the
 *     translation of the inverse view) once, then sorts every non-empty
 *     bucket.
 */
void nSceneServer::SortNodes()
{
    const vector3 camera = nGfxServer2::Instance()->GetTransform(nGfxServer2::InvView).pos_component();
    const int numGroups = this->groups.Size();
    this->groupDistances.Clear();
    for (int i = 0; i < numGroups; i++)
    {
        const vector3 d = this->groups[i].modelTransform.pos_component() - camera;
        this->groupDistances.Append(d.x * d.x + d.y * d.y + d.z * d.z);
    }
    for (int b = 0; b < NumBuckets; b++)
    {
        const int count = this->shaderBuckets[b].Size();
        if (count > 0) this->SortBucket(b, count);
    }
}

/*
 * DrawnBefore --
 *     Results: true when group a sorts before group b: lower render
 *     priority first, then grouped by node, then nearer first. A strict
 *     weak ordering, so equal keys are equivalent.
 *     Side effects: none.
 */
bool nSceneServer::DrawnBefore(const SortKey& a, const SortKey& b)
{
    if (a.sceneNode != b.sceneNode)
    {
        if (a.renderPri != b.renderPri) return a.renderPri < b.renderPri;
        return std::less<const nSceneNode*>()(a.sceneNode, b.sceneNode);
    }
    return a.distance < b.distance;
}

/*
 * SortBucket --
 *     Results: none.
 *     Side effects: the bucket's first count indices are in drawing order.
 *     Uses the distances of the last SortNodes; without them every group
 *     is at the same distance. The keys are gathered first: comparing
 *     through the indices would reach into groups and nodes all over
 *     memory, which costs more per group the more groups a frame has.
 */
void nSceneServer::SortBucket(int bucketIndex, int count)
{
    n_assert((bucketIndex >= 0) && (bucketIndex < NumBuckets));
    nArray<int>& bucket = this->shaderBuckets[bucketIndex];
    n_assert((count >= 0) && (count <= bucket.Size()));
    if (this->groupDistances.Size() < this->groups.Size())
    {
        this->groupDistances.Clear();
        for (int i = 0; i < this->groups.Size(); i++) this->groupDistances.Append(0.0f);
    }
    this->sortKeys.Clear();
    for (int i = 0; i < count; i++)
    {
        const int g = bucket[i];
        const nSceneNode* node = this->groups[g].sceneNode;
        this->sortKeys.Append(SortKey{node->GetRenderPri(), node, this->groupDistances[g], g});
    }
    SortKey* keys = this->sortKeys.Begin();
    std::sort(keys, keys + count, DrawnBefore);
    for (int i = 0; i < count; i++) bucket[i] = keys[i].group;
}
