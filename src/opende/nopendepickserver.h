#ifndef N_OPENDEPICKSERVER_H
#define N_OPENDEPICKSERVER_H
//------------------------------------------------------------------------------
/**
    @class nOpendePickServer
    @ingroup Opende

    Turns a point on the screen into a line through the graphics server's
    camera and tests it against ODE geoms or spaces with a ray of its own:
    all contacts with one geom, or the nearest contact in a space (its
    sub-spaces searched as well). The ray is in no space, so it never
    collides by itself. No script commands; a service for code, main
    thread only, and a space pick is not re-entrant.
*/
#include "kernel/nroot.h"
#include "kernel/nautoref.h"
#include "gfx2/ngfxserver2.h"
#include "opende/nopendelayer.h"
#include "opende/nopendeline.h"

class nOpendePickServer : public nRoot
{
public:
    /// query flags
    enum
    {
        FirstContact = 0x1,
        ClosestHit = 0x2,
        BackfaceCull = 0x4,
        CollideGeom = 0x8,
        NearestInSpace = 0x10,
    };

    nOpendePickServer();

    /// the pick line of a pixel of the display mode; the line is left as
    /// it was for an orthogonal camera or an unusable display or camera
    void PixelToLine(float x, float y, line3& line);
    /// the pick line of a position relative to the screen (0..1, y down)
    void RelPosToLine(float x, float y, line3& line);
    /// place the ray on the line and run dSpaceCollide2 of it against the
    /// geom or space with the caller's data and callback
    void RayCollide(const line3& line, int flags, dGeomID geomOrSpace, void* data, dNearCallback* callback);
    /// the contacts of the line with a geom (flag 0x8) or the nearest in a
    /// space (flag 0x10); the number of contacts written
    int Pick(dGeomID geomOrSpace, const line3& line, int maxContacts, dContactGeom* contacts, int stride, int flags);

    /// the ODE ray (for tests)
    dGeomID GetRay() const { return this->ray; }

protected:
    ~nOpendePickServer() override;

private:
    /// the line through normalised screen coordinates (-1..1, y up)
    void NormalisedToLine(float nx, float ny, line3& line);
    /// false for a line of no length (ODE cannot aim a ray along it)
    bool PlaceRay(const line3& line, int flags);
    /// keeps the nearest contact of the ray in the pick's record
    static void NearestCallback(void* data, dGeomID o1, dGeomID o2);

    nOpendeUser odeUser;
    dGeomID ray;
    nAutoRef<nGfxServer2> ref_GfxServer;
    dContactGeom* contacts;
};
#endif
