#ifndef N_OPENDECMDGUARD_H
#define N_OPENDECMDGUARD_H
//------------------------------------------------------------------------------
/**
    @file nopendecmdguard.h
    @ingroup Opende

    Argument readers shared by the physics classes' command handlers, on
    top of the kernel's guard family. Debian's ODE keeps its internal
    checks and aborts the program on a bad value, so the handlers refuse
    what ODE would abort on before they call it.
*/
#include "kernel/ncmdargs.h"
#include "opende/nopendegeom.h"

namespace nOpendeCmd
{

/// the geom of the command if its ODE geom exists; else 0, reported
inline nOpendeGeom* Created(void* slf, nCmd* cmd)
{
    nOpendeGeom* g = nCmdSelf<nOpendeGeom>(slf);
    if (g->id()) return g;
    nCmdFail(cmd, "'%s' has no ODE geom yet: call Create first", g->GetName());
    return nullptr;
}

/// as Created, and the geom must be one that ODE places
inline nOpendeGeom* Placeable(void* slf, nCmd* cmd)
{
    nOpendeGeom* g = Created(slf, cmd);
    if (g && !g->IsPlaceable())
    {
        nCmdFail(cmd, "'%s' is a %s, which has no position or rotation", g->GetName(), g->GetGeomClassName());
        return nullptr;
    }
    return g;
}

/// three finite floats that are not all zero (a direction or an axis)
inline bool GetDirection(nCmd* cmd, vector3& v, const char* what)
{
    if (!nCmdGetVector3(cmd, v, what)) return false;
    if (v.x == 0.0f && v.y == 0.0f && v.z == 0.0f) return nCmdFail(cmd, "%s has zero length", what);
    return true;
}

/// four finite floats x, y, z, w, not all zero
inline bool GetQuaternion(nCmd* cmd, quaternion& q, const char* what)
{
    if (!nCmdGetQuaternion(cmd, q, what)) return false;
    if (q.x == 0.0f && q.y == 0.0f && q.z == 0.0f && q.w == 0.0f) return nCmdFail(cmd, "%s has zero length", what);
    return true;
}

/// a finite float of at least 0
inline bool GetNonNegative(nCmd* cmd, float& f, const char* what)
{
    if (!nCmdGetF(cmd, f, what)) return false;
    if (f < 0.0f) return nCmdFail(cmd, "%s %g is negative", what, f);
    return true;
}

/// a finite float above 0
inline bool GetPositive(nCmd* cmd, float& f, const char* what)
{
    if (!nCmdGetF(cmd, f, what)) return false;
    if (!(f > 0.0f)) return nCmdFail(cmd, "%s %g must be above 0", what, f);
    return true;
}


}  // namespace nOpendeCmd
#endif
