//------------------------------------------------------------------------------
//  nmrtsceneserver.cc
//------------------------------------------------------------------------------
#include "scene/nmrtsceneserver.h"
#include "scene/nscenenode.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nshader2.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"

namespace
{

/// the pass every node is bucketed by: "colr" with its first character in
/// the lowest byte, as script commands and the render-path file pack it
const nFourCC ColorPass = 0x726C6F63;

/*
 * WatchedInt --
 *     Results: the integer variable "/sys/var/<name>", made with 0 when
 *     absent; 0 when that path holds something that is not an integer.
 *     Side effects: may create the variable.
 */
nEnv* WatchedInt(const char* name)
{
    nKernelServer* ks = nKernelServer::Instance();
    const nString path = nString("/sys/var/") + name;
    nRoot* obj = ks->Lookup(path.Get());
    if (!obj)
    {
        nEnv* env = static_cast<nEnv*>(ks->New("nenv", path.Get()));
        if (env) env->SetI(0);
        return env;
    }
    if (!obj->IsA("nenv") || (static_cast<nEnv*>(obj)->GetType() != nArg::Int))
    {
        n_printf("nMRTSceneServer: '%s' is not an integer variable, its count is not shown\n", path.Get());
        return nullptr;
    }
    return static_cast<nEnv*>(obj);
}

}  // namespace

nMRTSceneServer::nMRTSceneServer() :
    numInstanceGroups(0),
    numInstances(0),
    gfxSceneBegun(false)
{
    nEnv* groupsVar = WatchedInt("sceneInstanceGroups");
    if (groupsVar) this->watchInstanceGroups.set(groupsVar);
    nEnv* instancesVar = WatchedInt("sceneInstances");
    if (instancesVar) this->watchInstances.set(instancesVar);
}

/*
 * Open --
 *     Results: as nSceneServer::Open. Side effects: as nSceneServer::Open.
 */
bool nMRTSceneServer::Open()
{
    return nSceneServer::Open();
}

/*
 * BeginScene --
 *     Results: whether the frame began.
 *     Side effects: as nSceneServer::BeginScene; the counters are 0.
 */
bool nMRTSceneServer::BeginScene(const matrix44& viewer)
{
    nSceneServer::BeginScene(viewer);
    this->numInstanceGroups = 0;
    this->numInstances = 0;
    this->PublishCounters();
    return this->inBeginScene;
}

/*
 * RenderScene --
 *     Results: none.
 *     Side effects: loads, buckets, sorts and draws the frame, then begins
 *     a graphics scene for the 2-D overlay.
 */
void nMRTSceneServer::RenderScene()
{
    this->ValidateNodeResources();
    this->SplitNodes(ColorPass);
    this->SortNodes();
    this->DoRenderPath();
    this->gfxSceneBegun = nGfxServer2::Instance()->BeginScene();
}

/*
 * PresentScene --
 *     Results: none.
 *     Side effects: when the overlay scene began, draws the queued text,
 *     ends the scene and shows the frame.
 */
void nMRTSceneServer::PresentScene()
{
    if (!this->gfxSceneBegun) return;
    nGfxServer2* gfx = nGfxServer2::Instance();
    gfx->DrawTextBuffer();
    gfx->EndScene();
    gfx->PresentScene();
    this->gfxSceneBegun = false;
}

void nMRTSceneServer::PublishCounters()
{
    if (this->watchInstanceGroups.isvalid()) this->watchInstanceGroups->SetI(this->numInstanceGroups);
    if (this->watchInstances.isvalid()) this->watchInstances->SetI(this->numInstances);
}

/*
 * DoRenderPath --
 *     Results: none.
 *     Side effects: every light is handed to the graphics server, then
 *     every pass of the render path draws its phases' sequences.
 */
void nMRTSceneServer::DoRenderPath()
{
    for (int i = 0; i < this->lights.Size(); i++)
    {
        const Group& group = this->groups[this->lights[i]];
        group.sceneNode->RenderLight(this, group.renderContext, group.modelTransform);
    }
    const int numPasses = this->renderPath.Begin();
    for (int passIndex = 0; passIndex < numPasses; passIndex++)
    {
        nRpPass& pass = this->renderPath.GetPass(passIndex);
        if (pass.GetDrawShadowVolumes())
        {
            this->RenderShadow();
            continue;
        }
        const int numPhases = pass.Begin();
        for (int phaseIndex = 0; phaseIndex < numPhases; phaseIndex++)
        {
            nRpPhase& phase = pass.GetPhase(phaseIndex);
            const nFourCC fourcc = phase.GetFourCC();
            const int numSequences = phase.Begin();
            for (int seqIndex = 0; seqIndex < numSequences; seqIndex++)
            {
                nShader2* shader = phase.GetSequence(seqIndex).GetShader();
                if (!shader) continue;
                const int bucketIndex = shader->GetShaderIndex();
                if ((bucketIndex < 0) || (bucketIndex >= NumBuckets)) continue;
                const nArray<int>& bucket = this->shaderBuckets[bucketIndex];
                if (bucket.Size() > 0) this->RenderBucket(shader, bucket, fourcc);
            }
            phase.End();
        }
        pass.End();
    }
    this->renderPath.End();
    this->PublishCounters();
}

/*
 * RenderBucket --
 *     Results: none.
 *     Side effects: for every pass of the shader, each group of the bucket
 *     is drawn at its model transform; a node's shader and geometry are
 *     applied once per run of its groups.
 */
void nMRTSceneServer::RenderBucket(nShader2* shader, const nArray<int>& bucket, nFourCC fourcc)
{
    nGfxServer2* gfx = nGfxServer2::Instance();
    const int numShaderPasses = shader->Begin(false);
    for (int p = 0; p < numShaderPasses; p++)
    {
        shader->BeginPass(p);
        const nSceneNode* prevNode = nullptr;
        const int size = bucket.Size();
        for (int i = 0; i < size; i++)
        {
            // sorted by node and distance, the groups lie all over a large
            // frame's memory: ask for them, and then for their contexts, a
            // few draws ahead
            if (i + 2 * PrefetchDistance < size) __builtin_prefetch(&this->groups[bucket[i + 2 * PrefetchDistance]]);
            if (i + PrefetchDistance < size) __builtin_prefetch(this->groups[bucket[i + PrefetchDistance]].renderContext);
            const Group& group = this->groups[bucket[i]];
            nSceneNode* node = group.sceneNode;
            if (node != prevNode)
            {
                node->ApplyShader(fourcc, this);
                node->ApplyGeometry(this);
                prevNode = node;
                this->numInstanceGroups++;
            }
            gfx->SetTransform(nGfxServer2::Model, group.modelTransform);
            node->RenderShader(fourcc, this, group.renderContext);
            node->RenderGeometry(this, group.renderContext);
            this->numInstances++;
        }
        shader->EndPass();
    }
    shader->End();
}

/*
 * RenderShadow --
 *     Results: none.
 *     Side effects: in a graphics scene of its own, the first light again
 *     and then every shadow caster at its model transform.
 */
void nMRTSceneServer::RenderShadow()
{
    nGfxServer2* gfx = nGfxServer2::Instance();
    if (!gfx->BeginScene()) return;
    if (this->lights.Size() > 0)
    {
        const Group& light = this->groups[this->lights[0]];
        light.sceneNode->RenderLight(this, light.renderContext, light.modelTransform);
        for (int i = 0; i < this->shadowCasters.Size(); i++)
        {
            // no node class casts shadows yet: what a caster draws is its own
            const Group& caster = this->groups[this->shadowCasters[i]];
            gfx->SetTransform(nGfxServer2::Model, caster.modelTransform);
            caster.sceneNode->RenderGeometry(this, caster.renderContext);
            this->numInstances++;
        }
    }
    gfx->EndScene();
}
