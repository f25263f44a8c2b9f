//------------------------------------------------------------------------------
//  ncmdargs.cc
//------------------------------------------------------------------------------
#include "kernel/ncmdargs.h"
#include "kernel/ncmd.h"

bool nCmdGetVector2(nCmd* cmd, vector2& out, const char* what)
{
    return nCmdGetF(cmd, out.x, what) && nCmdGetF(cmd, out.y, what);
}

bool nCmdGetVector3(nCmd* cmd, vector3& out, const char* what)
{
    return nCmdGetF(cmd, out.x, what) && nCmdGetF(cmd, out.y, what) && nCmdGetF(cmd, out.z, what);
}

bool nCmdGetVector3(nCmd* cmd, vector3& out, const nCmdComponentNames& names)
{
    return nCmdGetF(cmd, out.x, names.x) && nCmdGetF(cmd, out.y, names.y) && nCmdGetF(cmd, out.z, names.z);
}

bool nCmdGetVector4(nCmd* cmd, vector4& out, const char* what)
{
    return nCmdGetF(cmd, out.x, what) && nCmdGetF(cmd, out.y, what) && nCmdGetF(cmd, out.z, what) &&
           nCmdGetF(cmd, out.w, what);
}

bool nCmdGetVector4(nCmd* cmd, vector4& out, const nCmdComponentNames& names)
{
    return nCmdGetF(cmd, out.x, names.x) && nCmdGetF(cmd, out.y, names.y) && nCmdGetF(cmd, out.z, names.z) &&
           nCmdGetF(cmd, out.w, names.w);
}

bool nCmdGetColor(nCmd* cmd, vector4& out)
{
    return nCmdGetVector4(cmd, out, nCmdRGBA);
}

bool nCmdGetQuaternion(nCmd* cmd, quaternion& out, const char* what)
{
    return nCmdGetF(cmd, out.x, what) && nCmdGetF(cmd, out.y, what) && nCmdGetF(cmd, out.z, what) &&
           nCmdGetF(cmd, out.w, what);
}

bool nCmdGetMatrix33(nCmd* cmd, matrix33& out, const char* what)
{
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++)
        {
            if (!nCmdGetF(cmd, out.m[r][c], what)) return false;
        }
    }
    return true;
}

void nCmdPutVector2(nCmd* cmd, const vector2& v)
{
    cmd->Out()->SetF(v.x);
    cmd->Out()->SetF(v.y);
}

void nCmdPutVector3(nCmd* cmd, const vector3& v)
{
    cmd->Out()->SetF(v.x);
    cmd->Out()->SetF(v.y);
    cmd->Out()->SetF(v.z);
}

void nCmdPutVector4(nCmd* cmd, const vector4& v)
{
    cmd->Out()->SetF(v.x);
    cmd->Out()->SetF(v.y);
    cmd->Out()->SetF(v.z);
    cmd->Out()->SetF(v.w);
}

void nCmdPutQuaternion(nCmd* cmd, const quaternion& q)
{
    cmd->Out()->SetF(q.x);
    cmd->Out()->SetF(q.y);
    cmd->Out()->SetF(q.z);
    cmd->Out()->SetF(q.w);
}

void nCmdSetVector2(nCmd* cmd, const vector2& v)
{
    cmd->In()->SetF(v.x);
    cmd->In()->SetF(v.y);
}

void nCmdSetVector3(nCmd* cmd, const vector3& v)
{
    cmd->In()->SetF(v.x);
    cmd->In()->SetF(v.y);
    cmd->In()->SetF(v.z);
}

void nCmdSetVector4(nCmd* cmd, const vector4& v)
{
    cmd->In()->SetF(v.x);
    cmd->In()->SetF(v.y);
    cmd->In()->SetF(v.z);
    cmd->In()->SetF(v.w);
}

void nCmdSetQuaternion(nCmd* cmd, const quaternion& q)
{
    cmd->In()->SetF(q.x);
    cmd->In()->SetF(q.y);
    cmd->In()->SetF(q.z);
    cmd->In()->SetF(q.w);
}
