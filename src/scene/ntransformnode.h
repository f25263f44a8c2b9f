#ifndef N_TRANSFORMNODE_H
#define N_TRANSFORMNODE_H
//------------------------------------------------------------------------------
/**
    @class nTransformNode
    @ingroup Scene

    A scene node with a local transform; it opens a group in the scene
    server's per-frame hierarchy, so its children are placed relative to
    it. An inactive node skips its whole subtree; a node locked to the
    viewer stays centred on the camera.
*/
#include "scene/nscenenode.h"
#include "mathlib/transform44.h"

class nTransformNode : public nSceneNode
{
public:
    enum
    {
        Active = (1 << 0),
        LockViewer = (1 << 1),
    };

    nTransformNode();

    bool SaveCmds(nPersistServer* ps) override;
    void Attach(nSceneServer* sceneServer, nRenderContext* renderContext) override;
    bool HasTransform() const override;
    bool RenderTransform(nSceneServer* sceneServer, nRenderContext* renderContext,
                         const matrix44& parentMatrix) override;

    void SetActive(bool b) { this->SetFlag(Active, b); }
    bool GetActive() const { return 0 != (this->transformNodeFlags & Active); }
    void SetLockViewer(bool b) { this->SetFlag(LockViewer, b); }
    bool GetLockViewer() const { return 0 != (this->transformNodeFlags & LockViewer); }
    void SetPosition(const vector3& v) { this->transform.settranslation(v); }
    const vector3& GetPosition() const { return this->transform.gettranslation(); }
    /// Euler angles in radians; selects Euler mode
    void SetEuler(const vector3& v) { this->transform.seteuler(v); }
    const vector3& GetEuler() const { return this->transform.geteuler(); }
    /// selects quaternion mode
    void SetQuat(const quaternion& q) { this->transform.setquat(q); }
    const quaternion& GetQuat() const { return this->transform.getquat(); }
    void SetScale(const vector3& v) { this->transform.setscale(v); }
    const vector3& GetScale() const { return this->transform.getscale(); }
    /// the local matrix, rebuilt when dirty
    const matrix44& GetTransform() { return this->transform.getmatrix(); }
    /// whether the rotation was last set as Euler angles
    bool IsEulerMode() const { return this->transform.iseuler(); }

protected:
    ~nTransformNode() override = default;

    /// model = local x parent, the translation replaced by the camera's
    /// position when the node is locked to the viewer
    matrix44 ComputeModel(const matrix44& local, const matrix44& parentMatrix) const;

private:
    void SetFlag(ushort flag, bool b)
    {
        if (b) this->transformNodeFlags |= flag;
        else this->transformNodeFlags &= ~flag;
    }

    transform44 transform;
    ushort transformNodeFlags;
};
#endif
