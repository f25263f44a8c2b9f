//------------------------------------------------------------------------------
//  nopendeworld_cmds.cc
//
//  The script commands of nopendeworld. ODE aborts the program on a step
//  size that is not above 0 and on a step that drives a body out of range;
//  the handlers refuse those first.
//------------------------------------------------------------------------------
#include "opende/nopendeworld.h"
#include "kernel/ncmdargs.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

#include <climits>

using namespace nOpendeCmd;

namespace
{

/// iterations per QuickStep; far beyond any use, a script's mistake that
/// would stall the program
const int MaxIterations = 100000;

void n_setgravity(void* slf, nCmd* cmd)
{
    vector3 g;
    if (nCmdGetVector3(cmd, g, "gravity")) nCmdSelf<nOpendeWorld>(slf)->SetGravity(g);
}

void n_getgravity(void* slf, nCmd* cmd)
{
    nCmdPutVector3(cmd, nCmdSelf<nOpendeWorld>(slf)->GetGravity());
}

void n_seterp(void* slf, nCmd* cmd)
{
    float f = 0.0f;
    if (nCmdGetF(cmd, f, "error reduction")) nCmdSelf<nOpendeWorld>(slf)->SetERP(f);
}

void n_geterp(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nOpendeWorld>(slf)->GetERP());
}

void n_setcfm(void* slf, nCmd* cmd)
{
    float f = 0.0f;
    if (nCmdGetF(cmd, f, "constraint force mixing")) nCmdSelf<nOpendeWorld>(slf)->SetCFM(f);
}

void n_getcfm(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nOpendeWorld>(slf)->GetCFM());
}

/// a step size above 0 that keeps every body of the world in range
bool GetStep(nCmd* cmd, const nOpendeWorld* world, float& step)
{
    if (!GetPositive(cmd, step, "step size")) return false;
    nString why;
    if (!world->CanStep(step, why)) return nCmdFail(cmd, "a step of %g is refused: %s", step, why.Get());
    return true;
}

void n_step(void* slf, nCmd* cmd)
{
    float step = 0.0f;
    nOpendeWorld* self = nCmdSelf<nOpendeWorld>(slf);
    if (GetStep(cmd, self, step)) self->Step(step);
}

void n_quickstep(void* slf, nCmd* cmd)
{
    float step = 0.0f;
    nOpendeWorld* self = nCmdSelf<nOpendeWorld>(slf);
    if (GetStep(cmd, self, step)) self->QuickStep(step);
}

void n_setquickstepnumiterations(void* slf, nCmd* cmd)
{
    int num = 0;
    if (nCmdGetI(cmd, num, 1, MaxIterations, "iteration count")) nCmdSelf<nOpendeWorld>(slf)->SetQuickStepNumIterations(num);
}

void n_getquickstepnumiterations(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nOpendeWorld>(slf)->GetQuickStepNumIterations());
}

void n_impulsetoforce(void* slf, nCmd* cmd)
{
    float step = 0.0f;
    vector3 impulse;
    if (GetPositive(cmd, step, "step size") && nCmdGetVector3(cmd, impulse, "impulse"))
    {
        nCmdPutVector3(cmd, nCmdSelf<nOpendeWorld>(slf)->ImpulseToForce(step, impulse));
    }
}

void n_stepfast1(void* slf, nCmd* cmd)
{
    float step = 0.0f;
    int num = 0;
    nOpendeWorld* self = nCmdSelf<nOpendeWorld>(slf);
    if (GetStep(cmd, self, step) && nCmdGetI(cmd, num, 1, MaxIterations, "iteration count")) self->StepFast1(step, num);
}

void n_setautodisableflag(void* slf, nCmd* cmd)
{
    int flag = 0;
    if (nCmdGetI(cmd, flag, INT_MIN, INT_MAX, "auto-disable flag")) nCmdSelf<nOpendeWorld>(slf)->SetAutoDisableFlag(flag);
}

void n_getautodisableflag(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nOpendeWorld>(slf)->GetAutoDisableFlag());
}

void n_setautodisablelinearthreshold(void* slf, nCmd* cmd)
{
    float f = 0.0f;
    if (nCmdGetF(cmd, f, "linear threshold")) nCmdSelf<nOpendeWorld>(slf)->SetAutoDisableLinearThreshold(f);
}

void n_getautodisablelinearthreshold(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nOpendeWorld>(slf)->GetAutoDisableLinearThreshold());
}

void n_setautodisableangularthreshold(void* slf, nCmd* cmd)
{
    float f = 0.0f;
    if (nCmdGetF(cmd, f, "angular threshold")) nCmdSelf<nOpendeWorld>(slf)->SetAutoDisableAngularThreshold(f);
}

void n_getautodisableangularthreshold(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nOpendeWorld>(slf)->GetAutoDisableAngularThreshold());
}

void n_setautodisablesteps(void* slf, nCmd* cmd)
{
    int steps = 0;
    if (nCmdGetI(cmd, steps, 0, INT_MAX, "auto-disable steps")) nCmdSelf<nOpendeWorld>(slf)->SetAutoDisableSteps(steps);
}

void n_getautodisablesteps(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nOpendeWorld>(slf)->GetAutoDisableSteps());
}

void n_setautodisabletime(void* slf, nCmd* cmd)
{
    float f = 0.0f;
    if (nCmdGetF(cmd, f, "auto-disable time")) nCmdSelf<nOpendeWorld>(slf)->SetAutoDisableTime(f);
}

void n_getautodisabletime(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nOpendeWorld>(slf)->GetAutoDisableTime());
}

}  // namespace

/*
 * nopendeworld_initcmds --
 *     Side effects: registers the 22 commands of nopendeworld.
 */
void nopendeworld_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetGravity_fff", N_FOURCC('S', 'G', 'R', 'V'), n_setgravity);
    cl->AddCmd("fff_GetGravity_v", N_FOURCC('G', 'G', 'R', 'V'), n_getgravity);
    cl->AddCmd("v_SetERP_f", N_FOURCC('S', 'E', 'R', 'P'), n_seterp);
    cl->AddCmd("f_GetERP_v", N_FOURCC('G', 'E', 'R', 'P'), n_geterp);
    cl->AddCmd("v_SetCFM_f", N_FOURCC('S', 'C', 'F', 'M'), n_setcfm);
    cl->AddCmd("f_GetCFM_v", N_FOURCC('G', 'C', 'F', 'M'), n_getcfm);
    cl->AddCmd("v_Step_f", N_FOURCC('S', 'T', 'E', 'P'), n_step);
    cl->AddCmd("v_QuickStep_f", N_FOURCC('Q', 'S', 'T', 'P'), n_quickstep);
    cl->AddCmd("v_SetQuickStepNumIterations_i", N_FOURCC('Q', 'S', 'S', 'I'), n_setquickstepnumiterations);
    cl->AddCmd("i_GetQuickStepNumIterations_v", N_FOURCC('Q', 'S', 'G', 'I'), n_getquickstepnumiterations);
    cl->AddCmd("fff_ImpulseToForce_ffff", N_FOURCC('I', 'T', 'O', 'F'), n_impulsetoforce);
    cl->AddCmd("v_StepFast1_fi", N_FOURCC('S', 'T', 'P', 'F'), n_stepfast1);
    cl->AddCmd("v_SetAutoDisableFlag_i", N_FOURCC('S', 'A', 'D', 'F'), n_setautodisableflag);
    cl->AddCmd("i_GetAutoDisableFlag_v", N_FOURCC('G', 'A', 'D', 'F'), n_getautodisableflag);
    cl->AddCmd("v_SetAutoDisableLinearThreshold_f", N_FOURCC('S', 'A', 'L', 'T'), n_setautodisablelinearthreshold);
    cl->AddCmd("f_GetAutoDisableLinearThreshold_v", N_FOURCC('G', 'A', 'L', 'T'), n_getautodisablelinearthreshold);
    cl->AddCmd("v_SetAutoDisableAngularThreshold_f", N_FOURCC('S', 'A', 'A', 'T'), n_setautodisableangularthreshold);
    cl->AddCmd("f_GetAutoDisableAngularThreshold_v", N_FOURCC('G', 'A', 'A', 'T'), n_getautodisableangularthreshold);
    cl->AddCmd("v_SetAutoDisableSteps_i", N_FOURCC('S', 'A', 'D', 'S'), n_setautodisablesteps);
    cl->AddCmd("i_GetAutoDisableSteps_v", N_FOURCC('G', 'A', 'D', 'S'), n_getautodisablesteps);
    cl->AddCmd("v_SetAutoDisableTime_f", N_FOURCC('S', 'A', 'D', 'T'), n_setautodisabletime);
    cl->AddCmd("f_GetAutoDisableTime_v", N_FOURCC('G', 'A', 'D', 'T'), n_getautodisabletime);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the base object's commands, then SGRV, SERP,
 *     SCFM, QSSI, SADF, SALT, SAAT, SADS and SADT with the current values.
 */
bool nOpendeWorld::SaveCmds(nPersistServer* ps)
{
    if (!nRoot::SaveCmds(ps)) return false;
    const vector3 g = this->GetGravity();
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'G', 'R', 'V'));
    nCmdSetVector3(cmd, g);
    if (!ps->PutCmd(cmd)) return false;

    struct FloatValue
    {
        nFourCC fourcc;
        float value;
    };
    const FloatValue floats1[] = {
        {N_FOURCC('S', 'E', 'R', 'P'), this->GetERP()},
        {N_FOURCC('S', 'C', 'F', 'M'), this->GetCFM()},
    };
    for (const FloatValue& f : floats1)
    {
        cmd = ps->GetCmd(this, f.fourcc);
        cmd->In()->SetF(f.value);
        if (!ps->PutCmd(cmd)) return false;
    }
    cmd = ps->GetCmd(this, N_FOURCC('Q', 'S', 'S', 'I'));
    cmd->In()->SetI(this->GetQuickStepNumIterations());
    if (!ps->PutCmd(cmd)) return false;
    cmd = ps->GetCmd(this, N_FOURCC('S', 'A', 'D', 'F'));
    cmd->In()->SetI(this->GetAutoDisableFlag());
    if (!ps->PutCmd(cmd)) return false;

    const FloatValue floats2[] = {
        {N_FOURCC('S', 'A', 'L', 'T'), this->GetAutoDisableLinearThreshold()},
        {N_FOURCC('S', 'A', 'A', 'T'), this->GetAutoDisableAngularThreshold()},
    };
    for (const FloatValue& f : floats2)
    {
        cmd = ps->GetCmd(this, f.fourcc);
        cmd->In()->SetF(f.value);
        if (!ps->PutCmd(cmd)) return false;
    }
    cmd = ps->GetCmd(this, N_FOURCC('S', 'A', 'D', 'S'));
    cmd->In()->SetI(this->GetAutoDisableSteps());
    if (!ps->PutCmd(cmd)) return false;
    cmd = ps->GetCmd(this, N_FOURCC('S', 'A', 'D', 'T'));
    cmd->In()->SetF(this->GetAutoDisableTime());
    return ps->PutCmd(cmd);
}
