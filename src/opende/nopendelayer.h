#ifndef N_OPENDELAYER_H
#define N_OPENDELAYER_H
//------------------------------------------------------------------------------
/**
    @file nopendelayer.h
    @ingroup Opende

    The thin layer between the engine's single-precision math types and
    ODE, which Debian builds in double precision: conversions of vectors,
    rotation matrices and quaternions, the collide wrapper, the
    process-wide, counted start and shut-down of ODE, and the search of
    the object tree for the wrappers that ODE cannot list (the bodies of
    a world, the space that holds a geom).

    Engine matrices carry the axes in their rows (row vectors); ODE's
    dMatrix3 carries them in its columns, so the conversion transposes.
    ODE quaternions are (w, x, y, z), the engine's (x, y, z, w).
*/
#include "mathlib/matrix33.h"
#include "mathlib/quaternion.h"
#include "mathlib/vector3.h"
#include "kernel/ntypes.h"

#include <ode/ode.h>
#include <functional>

class nRoot;

namespace nOpendeLayer
{

/// a vector as ODE's three values
inline void ToOde(const vector3& v, dVector3 out)
{
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
    out[3] = 0;
}

/// three ODE values as a vector
inline vector3 ToVector3(const dReal* v)
{
    return vector3((float)v[0], (float)v[1], (float)v[2]);
}

/// ODE element (r, c) is engine element (c, r); each row's fourth is 0
inline void ToOde(const matrix33& m, dMatrix3 out)
{
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++) out[r * 4 + c] = m.m[c][r];
        out[r * 4 + 3] = 0;
    }
}

/// the inverse of ToOde (the fourth column is ignored)
inline matrix33 ToMatrix33(const dReal* m)
{
    matrix33 out;
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++) out.m[c][r] = (float)m[r * 4 + c];
    }
    return out;
}

/// (x, y, z, w) as ODE's (w, x, y, z)
inline void ToOde(const quaternion& q, dQuaternion out)
{
    out[0] = q.w;
    out[1] = q.x;
    out[2] = q.y;
    out[3] = q.z;
}

/// ODE's (w, x, y, z) as (x, y, z, w)
inline quaternion ToQuaternion(const dReal* q)
{
    return quaternion((float)q[1], (float)q[2], (float)q[3], (float)q[0]);
}

/// false for a triangle-mesh geom without mesh data, which ODE cannot
/// bound or collide (it reads the missing data and crashes)
inline bool HasShape(dGeomID g)
{
    return dGeomGetClass(g) != dTriMeshClass || dGeomTriMeshGetData(g) != 0;
}

/// report a refused collide call; out of line so the wrapper stays small
void CollideRefused(const char* why);

/*
 * Collide --
 *     The game's contact tests call this every frame for every moving
 *     fist, so it stays an inline pass-through to dCollide.
 * Results: the number of contacts written (at most the low 16 bits of
 *     flags), 0 when a geom is missing or no contact was asked for.
 * Side effects: fills contacts at the given byte stride; a refused call
 *     is reported (ODE itself would abort the program on it).
 */
inline int Collide(dGeomID o1, dGeomID o2, int flags, dContactGeom* contacts, int skip)
{
    if (!o1 || !o2 || !contacts)
    {
        CollideRefused("a geom or the contact array is missing");
        return 0;
    }
    if (0 == (flags & 0xffff))
    {
        CollideRefused("no contacts requested");
        return 0;
    }
    if (!HasShape(o1) || !HasShape(o2))
    {
        CollideRefused("a triangle-mesh geom has no mesh");
        return 0;
    }
    n_assert(skip >= (int)sizeof(dContactGeom));
    return dCollide(o1, o2, flags, contacts, skip);
}

/// a contact's position as a vector
inline vector3 ContactPos(const dContactGeom& c)
{
    return ToVector3(c.pos);
}

/// a contact's normal as a vector
inline vector3 ContactNormal(const dContactGeom& c)
{
    return ToVector3(c.normal);
}

/// a joint group for contact joints; maxSize 0 for no limit
inline dJointGroupID CreateJointGroup(int maxSize)
{
    return dJointGroupCreate(maxSize);
}

/// destroy a group and the joints in it
inline void DestroyJointGroup(dJointGroupID group)
{
    dJointGroupDestroy(group);
}

/// destroy the joints in a group and keep the group
inline void EmptyJointGroup(dJointGroupID group)
{
    dJointGroupEmpty(group);
}

/// the first object of the kernel's tree, depth first from the root,
/// that found accepts; 0 when none does
nRoot* FindInTree(const std::function<bool(nRoot*)>& found);

/// start ODE for this process and this thread; counted
void AcquireOde();
/// one user less; the last one shuts ODE down
void ReleaseOde();
/// the number of users (for tests)
int GetOdeUsers();

}  // namespace nOpendeLayer

/**
    A member that keeps ODE started while its holder lives. Every physics
    object that owns ODE data holds one, so ODE is shut down only after the
    last of them is gone.
*/
class nOpendeUser
{
public:
    nOpendeUser() { nOpendeLayer::AcquireOde(); }
    ~nOpendeUser() { nOpendeLayer::ReleaseOde(); }
    nOpendeUser(const nOpendeUser&) = delete;
    nOpendeUser& operator=(const nOpendeUser&) = delete;
};
#endif
