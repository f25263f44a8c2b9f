//------------------------------------------------------------------------------
//  nopendejoint_cmds.cc
//
//  The script commands of nopendejoint, inherited by every joint type, and
//  the base's SaveCmds.
//------------------------------------------------------------------------------
#include "opende/nopendejoint.h"
#include "kernel/ncmdargs.h"
#include "opende/nopendejointcmds.h"
#include "kernel/nkernelserver.h"
#include "kernel/npersistserver.h"

#include <cmath>

using namespace nOpendeCmd;

namespace
{

void n_create(void* slf, nCmd* cmd)
{
    nOpendeJoint* self = nCmdSelf<nOpendeJoint>(slf);
    const char* path = nullptr;
    if (!nCmdGetNonEmptyS(cmd, path, "world path")) return;
    n_cmd_check(cmd, 0 == self->id(), "'%s' has been created already", self->GetName());
    nRoot* world = nKernelServer::Instance()->Lookup(path);
    n_cmd_check(cmd, world && world->IsA("nopendeworld"), "world path '%s' names no nopendeworld", path);
    n_cmd_check(cmd, self->GetClass() != nKernelServer::Instance()->FindClass("nopendejoint"),
                "a plain nopendejoint makes no ODE joint: create one of the joint types");
    self->Create(path);
}

void n_attachto(void* slf, nCmd* cmd)
{
    const char* p1 = nullptr;
    const char* p2 = nullptr;
    if (!nCmdGetNonEmptyS(cmd, p1, "body 1 path") || !nCmdGetNonEmptyS(cmd, p2, "body 2 path")) return;
    nOpendeJoint* self = Joint(slf, cmd);
    if (!self) return;
    const char* problem = self->AttachProblem(p1, p2);
    if (problem && nKernelServer::Instance()->GetPersistServer()->IsLoading())
    {
        // bodies save no state and are created by script after the load:
        // the rest of the file still loads, and the joint waits for them
        n_printf("nOpendeJoint: '%s' is loaded detached (cannot attach '%s' and '%s': %s); attach it once its "
                 "bodies are created\n",
                 self->GetFullName().Get(), p1, p2, problem);
        return;
    }
    n_cmd_check(cmd, !problem, "cannot attach '%s' and '%s': %s", p1, p2, problem);
    self->Attach(p1, p2);
}

void n_getjointtype(void* slf, nCmd* cmd)
{
    nOpendeJoint* self = Joint(slf, cmd);
    if (self) cmd->Out()->SetS(self->GetJointType());
}

void n_getbodyname(void* slf, nCmd* cmd)
{
    int index = 0;
    if (!nCmdGetI(cmd, index, 0, 1, "body index")) return;
    cmd->Out()->SetS(nCmdSelf<nOpendeJoint>(slf)->GetBodyName(index));
}

void n_isfeedbackenabled(void* slf, nCmd* cmd)
{
    nOpendeJoint* self = Joint(slf, cmd);
    if (self) cmd->Out()->SetB(self->IsFeedbackEnabled());
}

void n_getfeedback(void* slf, nCmd* cmd)
{
    nOpendeJoint* self = Joint(slf, cmd);
    if (!self) return;
    n_cmd_check(cmd, self->IsFeedbackEnabled(), "'%s' has no feedback record", self->GetName());
    vector3 v[4];
    self->GetFeedback(v[0], v[1], v[2], v[3]);
    for (const vector3& x : v) nCmdPutVector3(cmd, x);
}

/// a parameter name and an axis 0..2
bool GetParamAndAxis(nCmd* cmd, const char*& name, int& axis)
{
    if (!nCmdGetNonEmptyS(cmd, name, "parameter name")) return false;
    if (nOpendeJoint::ParamIndex(name) < 0) return nCmdFail(cmd, "unknown joint parameter '%s'", name);
    return nCmdGetI(cmd, axis, 0, 2, "axis");
}

void n_setparam(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    int axis = 0;
    float value = 0.0f;
    if (!GetParamAndAxis(cmd, name, axis)) return;
    // ODE's stops are infinite when unset, and saved joints write them so;
    // values beyond a parameter's range would make ODE's step abort
    value = cmd->In()->GetF();
    const char* problem = nOpendeJoint::ParamProblem(nOpendeJoint::ParamIndex(name), value);
    n_cmd_check(cmd, !problem, "%s %g %s", name, value, problem);
    nOpendeJoint* self = Joint(slf, cmd);
    if (self) self->SetParam(name, axis, value);
}

void n_getparam(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    int axis = 0;
    if (!GetParamAndAxis(cmd, name, axis)) return;
    nOpendeJoint* self = Joint(slf, cmd);
    if (self) cmd->Out()->SetF(self->GetParam(name, axis));
}

}  // namespace

/*
 * nopendejoint_initcmds --
 *     Side effects: registers the commands every joint type inherits.
 */
void nopendejoint_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_Create_s", N_FOURCC('C', 'R', 'E', 'A'), n_create);
    cl->AddCmd("v_AttachTo_ss", N_FOURCC('A', 'T', '_', '_'), n_attachto);
    cl->AddCmd("s_GetJointType_v", N_FOURCC('G', 'J', 'T', '_'), n_getjointtype);
    cl->AddCmd("s_GetBodyName_i", N_FOURCC('G', 'B', 'N', '_'), n_getbodyname);
    cl->AddCmd("b_IsFeedbackEnabled_v", N_FOURCC('I', 'F', 'B', 'E'), n_isfeedbackenabled);
    cl->AddCmd("ffffffffffff_GetFeedback_v", N_FOURCC('G', 'F', '_', '_'), n_getfeedback);
    cl->AddCmd("v_SetParam_sif", N_FOURCC('S', 'P', '_', '_'), n_setparam);
    cl->AddCmd("f_GetParam_si", N_FOURCC('G', 'P', '_', '_'), n_getparam);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the base object's commands; for a created
 *     joint CREA with its world path and AT__ with both body names.
 */
bool nOpendeJoint::SaveCmds(nPersistServer* ps)
{
    if (!nRoot::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('C', 'R', 'E', 'A'));
    cmd->In()->SetS(this->worldPath.Get());
    if (!ps->PutCmd(cmd)) return false;
    cmd = ps->GetCmd(this, N_FOURCC('A', 'T', '_', '_'));
    cmd->In()->SetS(this->body1Name.Get());
    cmd->In()->SetS(this->body2Name.Get());
    return ps->PutCmd(cmd);
}

bool nOpendeJoint::SaveAxisParams(nPersistServer* ps, int axis)
{
    for (int i = 0; i < NumParams; i++)
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'P', '_', '_'));
        cmd->In()->SetS(ParamName(i));
        cmd->In()->SetI(axis);
        cmd->In()->SetF(this->GetParam(axis * 256 + i));
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}

bool nOpendeJoint::SaveParams(nPersistServer* ps, int numAxes)
{
    for (int axis = 0; axis < numAxes; axis++)
    {
        if (!this->SaveAxisParams(ps, axis)) return false;
    }
    return true;
}
