//------------------------------------------------------------------------------
//  nscenecmdutil.cc
//------------------------------------------------------------------------------
#include "scene/nscenecmdutil.h"
#include "kernel/ncmd.h"

#include <cstring>

/*
 * nSceneCmdGetVector3 --
 *     Results: false (reported) when an input is not a finite float.
 *     Side effects: consumes three inputs.
 */
bool nSceneCmdGetVector3(nCmd* cmd, vector3& out, const char* what)
{
    return nCmdGetF(cmd, out.x, what) && nCmdGetF(cmd, out.y, what) && nCmdGetF(cmd, out.z, what);
}

/*
 * nSceneCmdGetVector4 --
 *     Results: false (reported) when an input is not a finite float.
 *     Side effects: consumes four inputs.
 */
bool nSceneCmdGetVector4(nCmd* cmd, vector4& out, const char* what)
{
    return nCmdGetF(cmd, out.x, what) && nCmdGetF(cmd, out.y, what) && nCmdGetF(cmd, out.z, what) &&
           nCmdGetF(cmd, out.w, what);
}

/*
 * nSceneCmdGetQuat --
 *     Results: false (reported) when an input is not a finite float.
 *     Side effects: consumes four inputs.
 */
bool nSceneCmdGetQuat(nCmd* cmd, quaternion& out, const char* what)
{
    return nCmdGetF(cmd, out.x, what) && nCmdGetF(cmd, out.y, what) && nCmdGetF(cmd, out.z, what) &&
           nCmdGetF(cmd, out.w, what);
}

void nSceneCmdPutVector3(nCmd* cmd, const vector3& v)
{
    cmd->Out()->SetF(v.x);
    cmd->Out()->SetF(v.y);
    cmd->Out()->SetF(v.z);
}

void nSceneCmdSetVector3(nCmd* cmd, const vector3& v)
{
    cmd->In()->SetF(v.x);
    cmd->In()->SetF(v.y);
    cmd->In()->SetF(v.z);
}

void nSceneCmdSetVector4(nCmd* cmd, const vector4& v)
{
    cmd->In()->SetF(v.x);
    cmd->In()->SetF(v.y);
    cmd->In()->SetF(v.z);
    cmd->In()->SetF(v.w);
}

/*
 * nSceneStringToFourCC --
 *     Results: the first four characters packed first character lowest,
 *     missing ones as zero bytes. Side effects: none.
 */
nFourCC nSceneStringToFourCC(const char* str)
{
    nFourCC fourcc = 0;
    for (int i = 0; (i < 4) && str[i]; i++)
    {
        fourcc |= nFourCC((uchar)str[i]) << (8 * i);
    }
    return fourcc;
}

/*
 * nSceneFourCCToString --
 *     Results: the characters of the fourcc, lowest byte first, up to the
 *     first zero byte. Side effects: none.
 */
nString nSceneFourCCToString(nFourCC fourcc)
{
    char buf[5] = {0, 0, 0, 0, 0};
    for (int i = 0; i < 4; i++)
    {
        buf[i] = char((fourcc >> (8 * i)) & 0xff);
    }
    return nString(buf);
}
