#ifndef N_CAMERA2_H
#define N_CAMERA2_H
//------------------------------------------------------------------------------
/**
    @class nCamera2
    @ingroup Gfx2

    The camera lens, copied by value: perspective (angle of view, aspect
    ratio) or orthogonal (view volume width and height), near and far
    plane. The projection and its inverse are rebuilt on demand after a
    change.
*/
#include "mathlib/matrix44.h"

class nCamera2
{
public:
    enum Type
    {
        Perspective = 0,
        Orthogonal = 1,
    };

    /// 60 degrees, aspect 4/3, near 0.1, far 5000, perspective
    nCamera2();

    /// a perspective lens
    void SetPerspective(float aov, float aspect, float nearp, float farp);
    /// an orthogonal lens
    void SetOrthogonal(float w, float h, float nearp, float farp);

    void SetType(Type t);
    Type GetType() const { return this->type; }
    void SetWidth(float w);
    float GetWidth() const { return this->width; }
    void SetHeight(float h);
    float GetHeight() const { return this->height; }
    void SetAngleOfView(float a);
    float GetAngleOfView() const { return this->angleOfView; }
    void SetAspectRatio(float a);
    float GetAspectRatio() const { return this->aspectRatio; }
    void SetNearPlane(float v);
    float GetNearPlane() const { return this->nearPlane; }
    void SetFarPlane(float v);
    float GetFarPlane() const { return this->farPlane; }

    /// true when the lens gives finite projection matrices
    bool IsUsable() const;

    /// the projection matrix (rebuilt after a change)
    const matrix44& GetProjection() const;
    /// its inverse (rebuilt after a change)
    const matrix44& GetInvProjection() const;

private:
    void Dirty();
    void UpdateProjection() const;

    Type type;
    float width;
    float height;
    float angleOfView;
    float aspectRatio;
    float nearPlane;
    float farPlane;
    mutable bool projDirty;
    mutable matrix44 projection;
    mutable matrix44 invProjection;
};
#endif
