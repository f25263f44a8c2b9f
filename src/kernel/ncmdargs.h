#ifndef N_CMDARGS_H
#define N_CMDARGS_H
//------------------------------------------------------------------------------
/**
    The command handler's object and the vectors, colours, quaternions and
    matrices of script commands, on top of the guard readers of
    ncmdguard.h.

    Readers take the components in the order x, y, z, w (a colour red,
    green, blue, alpha; a matrix row by row), each a finite float, and
    report a bad one under the name given. Put writes the command's
    outputs, Set the inputs of a command being saved, in the same order.
*/
#include "kernel/ncmdguard.h"
#include "kernel/nobject.h"
#include "mathlib/matrix33.h"
#include "mathlib/nmath.h"
#include "mathlib/quaternion.h"
#include "mathlib/vector2.h"
#include "mathlib/vector3.h"
#include "mathlib/vector4.h"

/// the object a command handler runs on: the dispatcher passes an nObject
template <class TYPE> TYPE*
nCmdSelf(void* slf)
{
    return static_cast<TYPE*>(static_cast<nObject*>(slf));
}

/// the names each component of a vector is reported by
struct nCmdComponentNames
{
    const char* x;
    const char* y;
    const char* z;
    const char* w;
};
/// components named "x", "y", "z", "w"
inline constexpr nCmdComponentNames nCmdXYZW{"x", "y", "z", "w"};
/// components named "red", "green", "blue", "alpha"
inline constexpr nCmdComponentNames nCmdRGBA{"red", "green", "blue", "alpha"};

/// next two inputs, every component reported as what
bool nCmdGetVector2(nCmd* cmd, vector2& out, const char* what);
/// next three inputs, every component reported as what
bool nCmdGetVector3(nCmd* cmd, vector3& out, const char* what);
/// next three inputs, each component reported by its own name
bool nCmdGetVector3(nCmd* cmd, vector3& out, const nCmdComponentNames& names);
/// next four inputs, every component reported as what
bool nCmdGetVector4(nCmd* cmd, vector4& out, const char* what);
/// next four inputs, each component reported by its own name
bool nCmdGetVector4(nCmd* cmd, vector4& out, const nCmdComponentNames& names);
/// next four inputs as a colour red, green, blue, alpha
bool nCmdGetColor(nCmd* cmd, vector4& out);
/// next four inputs as a quaternion x, y, z, w
bool nCmdGetQuaternion(nCmd* cmd, quaternion& out, const char* what);
/// next nine inputs as a matrix, row by row
bool nCmdGetMatrix33(nCmd* cmd, matrix33& out, const char* what);

/// two, three or four outputs
void nCmdPutVector2(nCmd* cmd, const vector2& v);
void nCmdPutVector3(nCmd* cmd, const vector3& v);
void nCmdPutVector4(nCmd* cmd, const vector4& v);
void nCmdPutQuaternion(nCmd* cmd, const quaternion& q);

/// two, three or four inputs of a command being saved
void nCmdSetVector2(nCmd* cmd, const vector2& v);
void nCmdSetVector3(nCmd* cmd, const vector3& v);
void nCmdSetVector4(nCmd* cmd, const vector4& v);
void nCmdSetQuaternion(nCmd* cmd, const quaternion& q);

/// angles given in degrees by a script, in radians; and back
inline vector3
nCmdDegToRad(const vector3& d)
{
    return vector3(n_deg2rad(d.x), n_deg2rad(d.y), n_deg2rad(d.z));
}
inline vector3
nCmdRadToDeg(const vector3& r)
{
    return vector3(n_rad2deg(r.x), n_rad2deg(r.y), n_rad2deg(r.z));
}
#endif
