//------------------------------------------------------------------------------
//  nopendepickserver.cc
//------------------------------------------------------------------------------
#include "opende/nopendepickserver.h"
#include "gfx2/ncamera2.h"

#include <cmath>

using namespace nOpendeLayer;

nOpendePickServer::nOpendePickServer() :
    ray(dCreateRay(0, 1)),
    ref_GfxServer("/sys/servers/gfx", "ngfxserver2"),
    contacts(nullptr)
{
}

nOpendePickServer::~nOpendePickServer()
{
    dGeomDestroy(this->ray);
    this->ray = 0;
}

/*
 * NormalisedToLine --
 *     Side effects: asserts the graphics server; for a perspective camera
 *     sets the line from the point on the near plane to the point on the
 *     far plane, both moved into the world by the InvView transform. Any
 *     other camera, or planes that make no view volume, leave it alone.
 */
void nOpendePickServer::NormalisedToLine(float nx, float ny, line3& line)
{
    n_assert(this->ref_GfxServer.isvalid());
    nGfxServer2* gfx = this->ref_GfxServer.get();
    const nCamera2& camera = gfx->GetCamera();
    if (camera.GetType() != nCamera2::Perspective) return;
    const float nearPlane = camera.GetNearPlane();
    const float farPlane = camera.GetFarPlane();
    if (!(nearPlane > 0.0f) || !std::isfinite(farPlane)) return;
    const float maxY = std::tan(camera.GetAngleOfView() * 0.5f) * nearPlane;
    const float maxX = camera.GetAspectRatio() * maxY;
    const vector3 nearPoint(nx * maxX, ny * maxY, -nearPlane);
    const float f = farPlane / nearPlane;
    const vector3 farPoint(nearPoint.x * f, nearPoint.y * f, -farPlane);
    const matrix44& invView = gfx->GetTransform(nGfxServer2::InvView);
    line.set(invView.transform_coord(nearPoint), invView.transform_coord(farPoint));
}

void nOpendePickServer::PixelToLine(float x, float y, line3& line)
{
    n_assert(this->ref_GfxServer.isvalid());
    const nDisplayMode2& mode = this->ref_GfxServer->GetDisplayMode();
    if (0 == mode.GetWidth() || 0 == mode.GetHeight()) return;
    const float nx = x / (mode.GetWidth() * 0.5f) - 1.0f;
    const float ny = 1.0f - y / (mode.GetHeight() * 0.5f);
    this->NormalisedToLine(nx, ny, line);
}

void nOpendePickServer::RelPosToLine(float x, float y, line3& line)
{
    this->NormalisedToLine(x * 2.0f - 1.0f, 1.0f - y * 2.0f, line);
}

/*
 * PlaceRay --
 *     Results: false (reported) for a line without length or with values
 *     that are not finite: ODE aborts when it normalises such a direction.
 *     Side effects: puts the ray on the line with the flags' ray options.
 */
bool nOpendePickServer::PlaceRay(const line3& line, int flags)
{
    const float length = line.len();
    if (!(length > 0.0f) || !std::isfinite(length) || !std::isfinite(line.b.x) || !std::isfinite(line.b.y) ||
        !std::isfinite(line.b.z))
    {
        n_printf("nOpendePickServer: the pick line has no usable length, nothing picked\n");
        return false;
    }
    dGeomRaySet(this->ray, line.b.x, line.b.y, line.b.z, line.m.x, line.m.y, line.m.z);
    dGeomRaySetLength(this->ray, length);
    dGeomRaySetFirstContact(this->ray, (flags & FirstContact) ? 1 : 0);
    dGeomRaySetBackfaceCull(this->ray, (flags & BackfaceCull) ? 1 : 0);
    dGeomRaySetClosestHit(this->ray, (flags & ClosestHit) ? 1 : 0);
    return true;
}

void nOpendePickServer::RayCollide(const line3& line, int flags, dGeomID geomOrSpace, void* data,
                                   dNearCallback* callback)
{
    n_assert(geomOrSpace && callback);
    if (this->PlaceRay(line, flags)) dSpaceCollide2(this->ray, geomOrSpace, data, callback);
}

/*
 * NearestCallback --
 *     A space among the pair is searched in turn (ODE aborts on dCollide
 *     of a space). Otherwise the ray meets the other geom; a contact that
 *     is nearer to the ray's start than the kept one (or the first one)
 *     replaces it, so ties keep the earlier contact.
 */
void nOpendePickServer::NearestCallback(void* data, dGeomID o1, dGeomID o2)
{
    if (dGeomIsSpace(o1) || dGeomIsSpace(o2))
    {
        dSpaceCollide2(o1, o2, data, &NearestCallback);
        return;
    }
    nOpendePickServer* self = static_cast<nOpendePickServer*>(data);
    dGeomID rayGeom = o1;
    dGeomID other = o2;
    if (dGeomGetClass(o1) != dRayClass)
    {
        rayGeom = o2;
        other = o1;
    }
    dContactGeom contact;
    if (Collide(rayGeom, other, 1, &contact, sizeof(dContactGeom)) > 0)
    {
        dContactGeom* kept = self->contacts;
        if (!kept->g2 || contact.depth < kept->depth) *kept = contact;
    }
}

/*
 * Pick --
 *     Results: with flag 0x8 the number of contacts of the line with the
 *     geom; with flag 0x10 1 when the line meets a geom of the space (the
 *     nearest contact in contacts[0]), else 0; 0 without either flag, for
 *     a line without length, and for a space given to the 0x8 pick
 *     (reported: ODE aborts on it).
 *     Side effects: asserts a contact array; fills it.
 */
int nOpendePickServer::Pick(dGeomID geomOrSpace, const line3& line, int maxContacts, dContactGeom* contacts,
                            int stride, int flags)
{
    n_assert((maxContacts > 0) && contacts);
    n_assert(geomOrSpace);
    if (flags & CollideGeom)
    {
        if (dGeomIsSpace(geomOrSpace))
        {
            n_printf("nOpendePickServer::Pick(): a single-geom pick was given a space, nothing picked\n");
            return 0;
        }
        if (!this->PlaceRay(line, flags)) return 0;
        return Collide(this->ray, geomOrSpace, maxContacts & 0xffff, contacts, stride);
    }
    if (flags & NearestInSpace)
    {
        contacts[0].g2 = 0;
        if (!this->PlaceRay(line, flags)) return 0;
        this->contacts = contacts;
        dSpaceCollide2(this->ray, geomOrSpace, this, &NearestCallback);
        this->contacts = nullptr;
        return contacts[0].g2 ? 1 : 0;
    }
    return 0;
}
