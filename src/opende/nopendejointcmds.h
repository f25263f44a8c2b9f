#ifndef N_OPENDEJOINTCMDS_H
#define N_OPENDEJOINTCMDS_H
//------------------------------------------------------------------------------
/**
    @file nopendejointcmds.h
    @ingroup Opende

    Argument readers and result writers shared by the joint types' command
    handlers and SaveCmds.
*/
#include "opende/nopendecmdguard.h"
#include "kernel/ncmdargs.h"
#include "opende/nopendejoint.h"
#include "kernel/npersistserver.h"

namespace nOpendeCmd
{

/// the joint of the command if its ODE joint exists; else 0, reported
template <class T = nOpendeJoint>
T* Joint(void* slf, nCmd* cmd)
{
    nOpendeJoint* j = nCmdSelf<nOpendeJoint>(slf);
    if (j->id()) return static_cast<T*>(j);
    nCmdFail(cmd, "'%s' has no ODE joint yet: call Create first", j->GetName());
    return nullptr;
}

/// as Joint, and a body must be attached (ODE reads it)
template <class T>
T* AttachedJoint(void* slf, nCmd* cmd)
{
    T* j = Joint<T>(slf, cmd);
    if (j && !j->GetBody(0) && !j->GetBody(1))
    {
        nCmdFail(cmd, "'%s' is attached to no body", j->GetName());
        return nullptr;
    }
    return j;
}

/// writes one command with a vector
inline bool PutVectorCmd(nPersistServer* ps, nRoot* obj, nFourCC fourcc, const vector3& v)
{
    nCmd* cmd = ps->GetCmd(obj, fourcc);
    nCmdSetVector3(cmd, v);
    return ps->PutCmd(cmd);
}

/// writes one command with an axis, nothing for an axis a joint without
/// bodies has not been given (ODE has none; zero is no axis)
inline bool PutAxisCmd(nPersistServer* ps, nRoot* obj, nFourCC fourcc, const vector3& v)
{
    if (v.x == 0.0f && v.y == 0.0f && v.z == 0.0f) return true;
    return PutVectorCmd(ps, obj, fourcc, v);
}

}  // namespace nOpendeCmd

/// a command handler setting one vector through a method of the joint type
#define N_JOINT_SET_VECTOR(fn, T, method, what, reader) \
    void fn(void* slf, nCmd* cmd) \
    { \
        vector3 v; \
        if (!reader(cmd, v, what)) return; \
        T* self = nOpendeCmd::Joint<T>(slf, cmd); \
        if (self) self->method(v); \
    }

/// a command handler returning one vector of the joint type
#define N_JOINT_GET_VECTOR(fn, T, method, getter) \
    void fn(void* slf, nCmd* cmd) \
    { \
        T* self = getter<T>(slf, cmd); \
        if (self) nCmdPutVector3(cmd, self->method()); \
    }

/// a command handler returning one float of the joint type
#define N_JOINT_GET_FLOAT(fn, T, method, getter) \
    void fn(void* slf, nCmd* cmd) \
    { \
        T* self = getter<T>(slf, cmd); \
        if (self) cmd->Out()->SetF(self->method()); \
    }
#endif
