#ifndef N_GAMEOBJECT_H
#define N_GAMEOBJECT_H
//------------------------------------------------------------------------------
/**
    @class nGameObject
    @ingroup Game

    The base of everything that lives in the match (ring, boxers, fists,
    clothes). It is built from a prototype below "/usr/lib/objects" whose
    nenv children name its scene node ("model"), its collision shape
    ("geom": "sphere" with "radius", "box" with "box_lengths", or a
    triangle-mesh id loaded from "meshes:") and the tuning of subclasses.
    It owns a render context bound to the model and, with a geom, an ODE
    geom child "physgeom" in the world's collision space. Every frame
    Trigger lets it follow its parent and moves the geom; Render attaches
    the render context to the scene.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "kernel/narg.h"
#include "mathlib/transform44.h"
#include "scene/nrendercontext.h"
#include "util/nstring.h"

/// the progress of a bonus period that has no length: over (above 1)
constexpr float FinishedProgress = 2.0f;

class nEnv;
class nSceneNode;
class nOpendeGeom;

class nGameObject : public nRoot
{
public:
    nGameObject();

    /// build the object from the prototype at the path (see the class comment)
    virtual void Init(const char* proto);
    /// one frame of scaled time: follow the parent, move the geom, advance "time"
    virtual void Trigger(float* dt);
    /// attach the render context, placed at the transform, to the scene
    virtual void Render();

    /**
        Whether Init can build an object from the prototype at the path:
        it exists, its "model" names a scene node and its "geom", if any,
        comes with the value that shape needs. Results: false, logged
        with the reason, when not; callers that build from data check
        this first and leave the object unbuilt.
    */
    static bool IsUsableProto(const char* path);

    /// follow the object from now on, keeping the present offset to it
    void SetParent(nGameObject* parent);
    transform44& GetTransform() { return this->transform; }
    /// the prototype (asserts it)
    nRoot* GetProto() const;
    /// the ODE geom "physgeom" (asserts it)
    nOpendeGeom* GetGeom() const;
    /// whether the object has a physics geom
    bool HasGeom() const { return this->m_refPhysGeom.isvalid(); }
    nRenderContext& GetRenderContext() { return this->renderContext; }
    /// the prototype's "geom" value, empty without one
    const nString& GetGeomID() const { return this->m_strGeomID; }
    int GetFrameId() const { return this->frameId; }

    /// the prototype's nenv of the name, or 0
    nEnv* FindVar(const char* name) const;
    /// the prototype's nenv of the name holding the type, or 0
    nEnv* FindTypedVar(const char* name, nArg::Type type) const;
    /// the prototype's float of the name; false when there is none
    bool ReadVarF(const char* name, float& out) const;
    /// the prototype's four floats of the name; false when there are none
    bool ReadVarF4(const char* name, nFloat4& out) const;
    /// the prototype's string of the name; false when there is none
    bool ReadVarS(const char* name, nString& out) const;
    /// the prototype's object of the name; false when there is none
    bool ReadVarO(const char* name, nObject*& out) const;

protected:
    /// tells the model its render context goes; the geom goes with the children
    ~nGameObject() override;

    transform44 transform;
    transform44 parentOffset;
    nRenderContext renderContext;
    nRef<nOpendeGeom> m_refPhysGeom;
    nRef<nRoot> m_refProto;
    nRef<nSceneNode> modelNode;
    nRef<nGameObject> parent;
    nString m_strGeomID;
    int frameId;

private:
    /// the render context's root node and its variables "time", "one", "wind"
    void InitRenderContext(nSceneNode* pSceneNode);
    /// the geom the prototype names, created in the world's space
    void InitGeom();

    int timeHandle;
};
#endif
