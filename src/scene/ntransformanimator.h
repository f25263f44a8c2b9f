#ifndef N_TRANSFORMANIMATOR_H
#define N_TRANSFORMANIMATOR_H
//------------------------------------------------------------------------------
/**
    @class nTransformAnimator
    @ingroup Scene

    Moves a transform node from position, Euler (radians), scale and
    quaternion keys. Euler keys win over quaternion keys.
*/
#include "scene/nanimator.h"
#include "scene/nipolkeyarray.h"

class nTransformAnimator : public nAnimator
{
public:
    nTransformAnimator() = default;

    bool SaveCmds(nPersistServer* ps) override;
    int GetAnimatorType() const override;
    void Animate(nSceneNode* sceneNode, nRenderContext* renderContext) override;

    void AddPosKey(float time, const vector3& v) { this->posArray.AddKey(time, v); }
    void AddEulerKey(float time, const vector3& v) { this->eulerArray.AddKey(time, v); }
    void AddScaleKey(float time, const vector3& v) { this->scaleArray.AddKey(time, v); }
    void AddQuatKey(float time, const quaternion& q) { this->quatArray.AddKey(time, q); }
    int GetNumPosKeys() const { return this->posArray.Size(); }
    int GetNumEulerKeys() const { return this->eulerArray.Size(); }
    int GetNumScaleKeys() const { return this->scaleArray.Size(); }
    int GetNumQuatKeys() const { return this->quatArray.Size(); }
    const nIpolKeyArray<vector3>& GetPosKeys() const { return this->posArray; }
    const nIpolKeyArray<vector3>& GetEulerKeys() const { return this->eulerArray; }
    const nIpolKeyArray<vector3>& GetScaleKeys() const { return this->scaleArray; }
    const nIpolKeyArray<quaternion>& GetQuatKeys() const { return this->quatArray; }

protected:
    ~nTransformAnimator() override = default;

private:
    nIpolKeyArray<vector3> posArray;
    nIpolKeyArray<vector3> eulerArray;
    nIpolKeyArray<vector3> scaleArray;
    nIpolKeyArray<quaternion> quatArray;
    bool keysWarned = false;
};
#endif
