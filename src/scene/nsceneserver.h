#ifndef N_SCENESERVER_H
#define N_SCENESERVER_H
//------------------------------------------------------------------------------
/**
    @class nSceneServer
    @ingroup Scene

    Collects, once per frame, every scene graph attached through a render
    context into one array of groups (one per transform node, each with
    its parent group and its world matrix), splits them into lights,
    shadow casters and one bucket per render-path sequence shader, and
    sorts each bucket by render priority, node and distance to the
    camera. It owns the one render path and opens and closes it with the
    display. Rendering through the path is nMRTSceneServer's; this class
    leaves RenderScene and PresentScene empty.

    Every per-frame array keeps its memory between frames.
*/
#include "kernel/nroot.h"
#include "kernel/ntypes.h"
#include "mathlib/matrix44.h"
#include "renderpath/nrenderpath2.h"
#include "util/narray.h"

#include <set>
#include <string>

class nSceneNode;
class nRenderContext;

class nSceneServer : public nRoot
{
public:
    enum
    {
        MaxHierarchyDepth = 64,
        NumBuckets = nRenderPath2::MaxSequenceShaders,
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
    /// the one scene server (asserted to exist)
    static nSceneServer* Instance();

    /// open the render path and the display; false when the display cannot open
    virtual bool Open();
    /// close the render path and the display
    virtual void Close();
    bool IsOpen() const { return this->isOpen; }
    /// whether material nodes load their shader of the pass (always)
    virtual bool IsShaderUsed(nFourCC fourcc) const;
    /// forget the last frame and look through the viewer's world matrix
    virtual bool BeginScene(const matrix44& viewer);
    /// let the context's root node attach its tree (asserts a root node)
    virtual void Attach(nRenderContext* renderContext);
    /// the frame's groups are complete
    virtual void EndScene();
    /// draw the frame (nothing here)
    virtual void RenderScene();
    /// show the frame (nothing here)
    virtual void PresentScene();
    /// the model matrix of the group appended last
    virtual void SetModelTransform(const matrix44& m);
    virtual const matrix44& GetModelTransform() const;
    /// append a group for the node and compute its model matrix
    virtual bool BeginGroup(nSceneNode* sceneNode, nRenderContext* renderContext);
    /// close the group begun last
    virtual void EndGroup();
    /// put every group into the lights, shadow casters and shader buckets of a pass
    virtual void SplitNodes(nFourCC fourcc);
    /// sort the first count entries of a bucket by priority, node and distance
    virtual void SortBucket(int bucketIndex, int count);

    /// the render path (its file name is set before Open)
    nRenderPath2* GetRenderPath() { return &this->renderPath; }
    void SetRenderPathFilename(const nString& name) { this->renderPath.SetFilename(name); }
    const nString& GetRenderPathFilename() const { return this->renderPath.GetFilename(); }

    int GetNumGroups() const { return this->groups.Size(); }
    const Group& GetGroupAt(int i) const { return this->groups[i]; }
    /// the group indices of a bucket, of the lights and of the shadow casters
    const nArray<int>& GetBucket(int i) const { return this->shaderBuckets[i]; }
    const nArray<int>& GetLights() const { return this->lights; }
    const nArray<int>& GetShadowCasters() const { return this->shadowCasters; }

protected:
    ~nSceneServer() override;

    /// load the resources of every node whose resources are not valid
    void ValidateNodeResources();
    /// sort every bucket that holds a group
    void SortNodes();

    bool isOpen;
    bool inBeginScene;
    int stackDepth;
    /// groups begun beyond MaxHierarchyDepth and not yet ended: left out
    int skippedDepth = 0;
    /// whether a model nested too deep was reported
    bool depthReported = false;
    nRenderPath2 renderPath;
    int groupStack[MaxHierarchyDepth];
    nArray<Group> groups;
    // group indices are ints: a frame may hold more groups than 16 bits count
    nArray<int> lights;
    nArray<int> shadowCasters;
    nArray<int> shaderBuckets[NumBuckets];

private:
    /// what the drawing order of a group depends on, gathered in one place
    /// so that a sort of many groups reads no group and no node
    struct SortKey
    {
        int renderPri;
        const nSceneNode* sceneNode;
        float distance;
        int group;
    };
    /// whether the group of a is drawn before the group of b
    static bool DrawnBefore(const SortKey& a, const SortKey& b);

    static nSceneServer* Singleton;
    /// the squared distance of each group to the camera, filled by SortNodes
    nArray<float> groupDistances;
    /// the keys of the bucket being sorted (kept, so a frame allocates nothing)
    nArray<SortKey> sortKeys;
    /// shader files reported as missing from the render path, so that each is reported once
    std::set<std::string> unlistedShadersReported;
};
#endif
