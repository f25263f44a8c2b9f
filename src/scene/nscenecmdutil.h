#ifndef N_SCENECMDUTIL_H
#define N_SCENECMDUTIL_H
//------------------------------------------------------------------------------
//  Reading and writing the vectors, fourccs and degree angles of the scene
//  commands, shared by the command files of the scene nodes.
//------------------------------------------------------------------------------
#include "kernel/ncmdguard.h"
#include "kernel/ntypes.h"
#include "mathlib/vector2.h"
#include "mathlib/vector3.h"
#include "mathlib/vector4.h"
#include "mathlib/quaternion.h"
#include "util/nstring.h"

/// the pi of the degree conversions in the scene commands
const float nScenePi = 3.1415927f;

inline float nSceneDegToRad(float d) { return d * nScenePi / 180.0f; }
inline float nSceneRadToDeg(float r) { return r * 180.0f / nScenePi; }
inline vector3 nSceneDegToRad(const vector3& d)
{
    return vector3(nSceneDegToRad(d.x), nSceneDegToRad(d.y), nSceneDegToRad(d.z));
}
inline vector3 nSceneRadToDeg(const vector3& r)
{
    return vector3(nSceneRadToDeg(r.x), nSceneRadToDeg(r.y), nSceneRadToDeg(r.z));
}

/// next three inputs as finite floats
bool nSceneCmdGetVector3(nCmd* cmd, vector3& out, const char* what);
/// next four inputs as finite floats
bool nSceneCmdGetVector4(nCmd* cmd, vector4& out, const char* what);
/// next four inputs as a finite quaternion x y z w
bool nSceneCmdGetQuat(nCmd* cmd, quaternion& out, const char* what);
/// three outputs
void nSceneCmdPutVector3(nCmd* cmd, const vector3& v);
/// three inputs of a command being saved
void nSceneCmdSetVector3(nCmd* cmd, const vector3& v);
/// four inputs of a command being saved
void nSceneCmdSetVector4(nCmd* cmd, const vector4& v);

/// a pass fourcc from text of up to four characters, first character lowest
nFourCC nSceneStringToFourCC(const char* str);
/// the four characters of a pass fourcc (a zero byte ends the text early)
nString nSceneFourCCToString(nFourCC fourcc);
#endif
