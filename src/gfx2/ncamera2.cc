//------------------------------------------------------------------------------
//  ncamera2.cc
//------------------------------------------------------------------------------
#include "gfx2/ncamera2.h"

#include <cmath>

nCamera2::nCamera2() :
    type(Perspective),
    width(0.0f),
    height(0.0f),
    angleOfView(1.0471976f),
    aspectRatio(4.0f / 3.0f),
    nearPlane(0.1f),
    farPlane(5000.0f),
    projDirty(true)
{
}

void nCamera2::Dirty()
{
    this->projDirty = true;
}

void nCamera2::SetPerspective(float aov, float aspect, float nearp, float farp)
{
    this->type = Perspective;
    this->angleOfView = aov;
    this->aspectRatio = aspect;
    this->nearPlane = nearp;
    this->farPlane = farp;
    this->Dirty();
}

void nCamera2::SetOrthogonal(float w, float h, float nearp, float farp)
{
    this->type = Orthogonal;
    this->width = w;
    this->height = h;
    this->nearPlane = nearp;
    this->farPlane = farp;
    this->Dirty();
}

void nCamera2::SetType(Type t) { this->type = t; this->Dirty(); }
void nCamera2::SetWidth(float w) { this->width = w; this->Dirty(); }
void nCamera2::SetHeight(float h) { this->height = h; this->Dirty(); }
void nCamera2::SetAngleOfView(float a) { this->angleOfView = a; this->Dirty(); }
void nCamera2::SetAspectRatio(float a) { this->aspectRatio = a; this->Dirty(); }
void nCamera2::SetNearPlane(float v) { this->nearPlane = v; this->Dirty(); }
void nCamera2::SetFarPlane(float v) { this->farPlane = v; this->Dirty(); }

/*
 * IsUsable --
 *     Results: true when every value is finite, near lies before far, and
 *     a perspective lens has an angle of view between 0 and 180 degrees
 *     and a positive aspect ratio, an orthogonal one a non-zero width and
 *     height; only then are the projection matrices finite.
 */
bool nCamera2::IsUsable() const
{
    if (!std::isfinite(this->nearPlane) || !std::isfinite(this->farPlane) || !(this->nearPlane < this->farPlane))
    {
        return false;
    }
    if (Perspective == this->type)
    {
        return std::isfinite(this->aspectRatio) && (this->aspectRatio > 0.0f) && (this->angleOfView > 0.0f) &&
               (this->angleOfView < 3.1415926f);
    }
    return std::isfinite(this->width) && std::isfinite(this->height) && (this->width != 0.0f) &&
           (this->height != 0.0f);
}

/*
 * UpdateProjection --
 *     Side effects: rebuilds projection and inverse when a value changed:
 *     the right-handed perspective or orthogonal matrix.
 */
void nCamera2::UpdateProjection() const
{
    if (!this->projDirty)
    {
        return;
    }
    this->projDirty = false;
    matrix44 p(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    const float n = this->nearPlane;
    const float f = this->farPlane;
    if (Perspective == this->type)
    {
        const float yScale = 1.0f / tanf(this->angleOfView * 0.5f);
        p.m[0][0] = yScale / this->aspectRatio;
        p.m[1][1] = yScale;
        p.m[2][2] = f / (n - f);
        p.m[2][3] = -1.0f;
        p.m[3][2] = (n * f) / (n - f);
    }
    else
    {
        p.m[0][0] = 2.0f / this->width;
        p.m[1][1] = 2.0f / this->height;
        p.m[2][2] = 1.0f / (n - f);
        p.m[3][2] = n / (n - f);
        p.m[3][3] = 1.0f;
    }
    this->projection = p;
    this->invProjection = p;
    this->invProjection.invert();
}

const matrix44& nCamera2::GetProjection() const
{
    this->UpdateProjection();
    return this->projection;
}

const matrix44& nCamera2::GetInvProjection() const
{
    this->UpdateProjection();
    return this->invProjection;
}
