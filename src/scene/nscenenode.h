#ifndef N_SCENENODE_H
#define N_SCENENODE_H
//------------------------------------------------------------------------------
/**
    @class nSceneNode
    @ingroup Scene

    The base of every scene node: a local box, a render priority, the
    paths of its animators and whether its resources are loaded. The
    scene server drives a tree of nodes through the virtual operations
    below; the base forwards the tree-wide ones to its children that are
    scene nodes (other objects, such as nenv values, may live in a tree
    and are passed over).
*/
#include "kernel/nref.h"
#include "kernel/nroot.h"
#include "kernel/ntypes.h"
#include "mathlib/bbox.h"
#include "mathlib/matrix44.h"
#include "util/narray.h"
#include "util/nstring.h"
#include "gfx2/ninstancestream.h"

#include <memory>
#include <vector>

class nSceneServer;
class nRenderContext;
class nAnimator;

class nSceneNode : public nRoot
{
public:
    /// the animator types InvokeAnimators selects
    enum AnimatorType
    {
        TransformAnimator = 1,
        ShaderAnimator = 2,
    };

    nSceneNode();

    /// the last release unloads the resources first
    bool Release() override;
    bool SaveCmds(nPersistServer* ps) override;

    virtual bool LoadResources();
    virtual void UnloadResources();
    virtual void RenderContextCreated(nRenderContext* renderContext);
    virtual void RenderContextDestroyed(nRenderContext* renderContext);
    virtual void Attach(nSceneServer* sceneServer, nRenderContext* renderContext);
    virtual bool HasTransform() const;
    virtual bool HasGeometry() const;
    virtual bool HasShader(nFourCC fourcc) const;
    virtual bool HasLight() const;
    virtual bool HasShadow() const;
    virtual bool RenderTransform(nSceneServer* sceneServer, nRenderContext* renderContext,
                                 const matrix44& parentMatrix);
    virtual bool ApplyGeometry(nSceneServer* sceneServer);
    virtual bool RenderGeometry(nSceneServer* sceneServer, nRenderContext* renderContext);
    virtual bool ApplyShader(nFourCC fourcc, nSceneServer* sceneServer);
    virtual bool RenderShader(nFourCC fourcc, nSceneServer* sceneServer, nRenderContext* renderContext);
    virtual bool RenderLight(nSceneServer* sceneServer, nRenderContext* renderContext, const matrix44& lightMatrix);
    virtual void UpdateInstanceStreamDecl(nInstanceStream::Declaration& decl);

    /// append the path of an animator, relative to this node
    void AddAnimator(const char* relPath);
    /// remove the first animator whose object has the name
    void RemoveAnimator(const char* name);
    int GetNumAnimators() const { return (int)this->animatorArray.size(); }
    /// the stored path of the animator at an index (asserts the index)
    const char* GetAnimatorAt(int index) const;
    /// let every animator of the type change this node
    void InvokeAnimators(int type, nRenderContext* renderContext);

    void SetLocalBox(const bbox3& box) { this->localBox = box; }
    const bbox3& GetLocalBox() const { return this->localBox; }
    /// set the priority (asserts -127..127)
    void SetRenderPri(int pri);
    int GetRenderPri() const { return this->renderPri; }
    bool AreResourcesValid() const { return this->resourcesValid; }
    /// load what is not loaded, here and in every child, depth first
    void PreloadResources();

    /// the object as a scene node, or 0 when it is none
    static nSceneNode* AsSceneNode(nRoot* obj);

protected:
    ~nSceneNode() override;

    /// the first child that is a scene node, or 0
    nSceneNode* FirstChildNode() const;
    /// the next sibling after this node that is a scene node, or 0
    nSceneNode* NextSiblingNode() const;
    void SetResourcesValid(bool b) { this->resourcesValid = b; }

private:
    /// one animator path, resolved on first use and again only when its
    /// object dies; a path that does not name an animator is reported once
    struct AnimatorEntry
    {
        nString path;
        nRef<nRoot> target;
        bool warned = false;
    };
    /// the animator of an entry, relative to the current object, or 0
    nAnimator* ResolveAnimator(AnimatorEntry& entry);

    bbox3 localBox;
    /// entries hold references, which do not copy: each lives on the heap
    std::vector<std::unique_ptr<AnimatorEntry>> animatorArray;
    int renderPri;
    bool resourcesValid;
};
#endif
