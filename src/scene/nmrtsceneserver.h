#ifndef N_MRTSCENESERVER_H
#define N_MRTSCENESERVER_H
//------------------------------------------------------------------------------
/**
    @class nMRTSceneServer
    @ingroup Scene

    The scene server that draws: RenderScene loads what the frame's nodes
    lack, buckets them by their "colr" shader, sorts the buckets and walks
    the render path pass by pass, phase by phase, sequence by sequence,
    drawing each sequence's bucket; instances of one node share one
    ApplyShader/ApplyGeometry. It then begins a graphics scene for the
    application's 2-D drawing, which PresentScene ends and shows.

    The watched variables "sceneInstanceGroups" (node changes) and
    "sceneInstances" (draws) under "/sys/var" count the last frame.
*/
#include "scene/nsceneserver.h"
#include "kernel/nref.h"

class nEnv;

class nMRTSceneServer : public nSceneServer
{
public:
    nMRTSceneServer();

    bool Open() override;
    bool BeginScene(const matrix44& viewer) override;
    void RenderScene() override;
    void PresentScene() override;

    /// the node changes and the draws of the frame so far
    int GetNumInstanceGroups() const { return this->numInstanceGroups; }
    int GetNumInstances() const { return this->numInstances; }

protected:
    ~nMRTSceneServer() override = default;

private:
    /// how many draws ahead a group is fetched from memory
    static constexpr int PrefetchDistance = 8;
    /// draw the frame through the render path
    void DoRenderPath();
    /// draw one sequence's bucket with its shader
    void RenderBucket(nShader2* shader, const nArray<int>& bucket, nFourCC fourcc);
    /// the shadow pass: the shadow casters lit by the first light
    void RenderShadow();
    /// copy the counters into their watched variables
    void PublishCounters();

    nRef<nEnv> watchInstanceGroups;
    nRef<nEnv> watchInstances;
    int numInstanceGroups;
    int numInstances;
    bool gfxSceneBegun;
};
#endif
