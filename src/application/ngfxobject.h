#ifndef N_GFXOBJECT_H
#define N_GFXOBJECT_H
//------------------------------------------------------------------------------
/**
    @class nGfxObject
    @ingroup Application

    A scene-node file loaded once below "/res" and drawn through a render
    context of its own: every object of one file name shares the node,
    which lives while any of them holds it. Render attaches the object to
    the scene server at its transform; call it from a state's OnRender3D.
*/
#include "kernel/nstrongref.h"
#include "mathlib/bbox.h"
#include "mathlib/transform44.h"
#include "scene/nrendercontext.h"
#include "scene/ntransformnode.h"
#include "util/nstring.h"

class nGfxObject
{
public:
    /// where a box lies against a view-projection matrix
    enum ClipStatus
    {
        Outside = 0,
        Inside = 1,
        Clipped = 2,
    };

    nGfxObject();
    ~nGfxObject();
    nGfxObject(const nGfxObject&) = delete;
    nGfxObject& operator=(const nGfxObject&) = delete;

    /// the scene-node file (".n2") to load
    void SetResourceName(const nString& name);
    const nString& GetResourceName() const { return this->resourceName; }
    /// load the file, or share the node another object loaded; false when the file holds no transform node
    bool Load();
    /// let go of the node
    void Unload();
    bool IsValid() const { return this->refTransformNode.isvalid(); }
    /// attach the render context at the object's transform to the scene server
    void Render();

    transform44& Transform() { return this->transform; }
    nRenderContext& GetRenderContext() { return this->renderContext; }
    /// the node's local box placed by the transform (empty when not loaded)
    const bbox3& GetBox();
    /// false only when the box lies completely outside the view-projection matrix's frustum
    bool IsVisible(const matrix44& viewProjection);

    /// where the box lies against a view-projection matrix
    static ClipStatus GetClipStatus(const bbox3& box, const matrix44& viewProjection);

private:
    nString resourceName;
    nStrongRef<nTransformNode> refTransformNode;
    nRenderContext renderContext;
    transform44 transform;
    int timeHandle;
    bbox3 box;
    bool boxDirty;
};
#endif
