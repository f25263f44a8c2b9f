//------------------------------------------------------------------------------
//  nenv_cmds.cc
//
//  The script commands of nenv. A script is outside data: a command that
//  reads or sets another type than the value holds, or hands over a null
//  string or object, is a script error instead of a failed assertion.
//------------------------------------------------------------------------------
#include "kernel/nenv.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

namespace
{

/*
 * TypeMismatch --
 *     Results: false.
 *     Side effects: ends the command as a script error that says which
 *     type it met on which value.
 */
bool TypeMismatch(nCmd* cmd, const nEnv* env, nArg::Type wanted)
{
    return nCmdFail(cmd, "nEnv '%s' expects type %s, but the value has type %s", env->GetFullName().Get(),
                    nEnv::TypeName(wanted), nEnv::TypeName(env->GetType()));
}

/*
 * CanRead --
 *     Results: true when the value has the type; else false, a script
 *     error.
 */
bool CanRead(nCmd* cmd, const nEnv* env, nArg::Type type)
{
    return env->GetType() == type || TypeMismatch(cmd, env, type);
}

/*
 * CanWrite --
 *     Results: true when the value is unset or has the type; else false,
 *     a script error.
 */
bool CanWrite(nCmd* cmd, const nEnv* env, nArg::Type type)
{
    return env->GetType() == nArg::Void || env->GetType() == type || TypeMismatch(cmd, env, type);
}

void n_gettype(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nEnv::TypeName(nCmdSelf<nEnv>(slf)->GetType()));
}

void n_geti(void* slf, nCmd* cmd)
{
    const nEnv* self = nCmdSelf<nEnv>(slf);
    if (CanRead(cmd, self, nArg::Int)) cmd->Out()->SetI(self->GetI());
}

void n_getf(void* slf, nCmd* cmd)
{
    const nEnv* self = nCmdSelf<nEnv>(slf);
    if (CanRead(cmd, self, nArg::Float)) cmd->Out()->SetF(self->GetF());
}

void n_getb(void* slf, nCmd* cmd)
{
    const nEnv* self = nCmdSelf<nEnv>(slf);
    if (CanRead(cmd, self, nArg::Bool)) cmd->Out()->SetB(self->GetB());
}

void n_gets(void* slf, nCmd* cmd)
{
    const nEnv* self = nCmdSelf<nEnv>(slf);
    if (CanRead(cmd, self, nArg::String)) cmd->Out()->SetS(self->GetS());
}

void n_geto(void* slf, nCmd* cmd)
{
    const nEnv* self = nCmdSelf<nEnv>(slf);
    if (CanRead(cmd, self, nArg::Object)) cmd->Out()->SetO(self->GetO());
}

void n_getf4(void* slf, nCmd* cmd)
{
    const nEnv* self = nCmdSelf<nEnv>(slf);
    if (!CanRead(cmd, self, nArg::Float4)) return;
    const nFloat4 f4 = self->GetF4();
    cmd->Out()->SetF(f4.x);
    cmd->Out()->SetF(f4.y);
    cmd->Out()->SetF(f4.z);
    cmd->Out()->SetF(f4.w);
}

void n_seti(void* slf, nCmd* cmd)
{
    const int i = cmd->In()->GetI();
    if (CanWrite(cmd, nCmdSelf<nEnv>(slf), nArg::Int)) nCmdSelf<nEnv>(slf)->SetI(i);
}

void n_setf(void* slf, nCmd* cmd)
{
    // any float is a value, NaN and infinities included: the file a save
    // writes must load again
    const float f = cmd->In()->GetF();
    if (CanWrite(cmd, nCmdSelf<nEnv>(slf), nArg::Float)) nCmdSelf<nEnv>(slf)->SetF(f);
}

void n_setb(void* slf, nCmd* cmd)
{
    const bool b = cmd->In()->GetB();
    if (CanWrite(cmd, nCmdSelf<nEnv>(slf), nArg::Bool)) nCmdSelf<nEnv>(slf)->SetB(b);
}

void n_sets(void* slf, nCmd* cmd)
{
    const char* s;
    if (nCmdGetS(cmd, s, "text") && CanWrite(cmd, nCmdSelf<nEnv>(slf), nArg::String)) nCmdSelf<nEnv>(slf)->SetS(s);
}

void n_seto(void* slf, nCmd* cmd)
{
    // null is a value: a saved link whose object had died
    nObject* o = static_cast<nObject*>(cmd->In()->GetO());
    if (CanWrite(cmd, nCmdSelf<nEnv>(slf), nArg::Object)) nCmdSelf<nEnv>(slf)->SetO(o);
}

void n_setf4(void* slf, nCmd* cmd)
{
    nFloat4 f4;
    f4.x = cmd->In()->GetF();
    f4.y = cmd->In()->GetF();
    f4.z = cmd->In()->GetF();
    f4.w = cmd->In()->GetF();
    if (CanWrite(cmd, nCmdSelf<nEnv>(slf), nArg::Float4)) nCmdSelf<nEnv>(slf)->SetF4(f4);
}

}  // namespace

/*
 * nenv_initcmds --
 *     Results: none.
 *     Side effects: registers the commands of nenv on its class.
 */
void nenv_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("s_gettype_v", N_FOURCC('G', 'T', 'Y', 'P'), n_gettype);
    cl->AddCmd("i_geti_v", N_FOURCC('G', 'E', 'T', 'I'), n_geti);
    cl->AddCmd("f_getf_v", N_FOURCC('G', 'E', 'T', 'F'), n_getf);
    cl->AddCmd("b_getb_v", N_FOURCC('G', 'E', 'T', 'B'), n_getb);
    cl->AddCmd("s_gets_v", N_FOURCC('G', 'E', 'T', 'S'), n_gets);
    cl->AddCmd("o_geto_v", N_FOURCC('G', 'E', 'T', 'O'), n_geto);
    cl->AddCmd("ffff_getf4_v", N_FOURCC('G', 'T', 'V', '4'), n_getf4);
    cl->AddCmd("v_seti_i", N_FOURCC('S', 'E', 'T', 'I'), n_seti);
    cl->AddCmd("v_setf_f", N_FOURCC('S', 'E', 'T', 'F'), n_setf);
    cl->AddCmd("v_setb_b", N_FOURCC('S', 'E', 'T', 'B'), n_setb);
    cl->AddCmd("v_sets_s", N_FOURCC('S', 'E', 'T', 'S'), n_sets);
    cl->AddCmd("v_seto_o", N_FOURCC('S', 'E', 'T', 'O'), n_seto);
    cl->AddCmd("v_setf4_ffff", N_FOURCC('S', 'T', 'V', '4'), n_setf4);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: true.
 *     Side effects: writes the base commands, then the one command that
 *     restores the value by its type; an unset value writes none.
 */
bool nEnv::SaveCmds(nPersistServer* ps)
{
    if (!nRoot::SaveCmds(ps)) return false;
    nCmd* cmd = nullptr;
    switch (this->GetType())
    {
        case nArg::Int:
            cmd = ps->GetCmd(this, N_FOURCC('S', 'E', 'T', 'I'));
            cmd->In()->SetI(this->GetI());
            break;
        case nArg::Float:
            cmd = ps->GetCmd(this, N_FOURCC('S', 'E', 'T', 'F'));
            cmd->In()->SetF(this->GetF());
            break;
        case nArg::String:
            cmd = ps->GetCmd(this, N_FOURCC('S', 'E', 'T', 'S'));
            cmd->In()->SetS(this->GetS());
            break;
        case nArg::Bool:
            cmd = ps->GetCmd(this, N_FOURCC('S', 'E', 'T', 'B'));
            cmd->In()->SetB(this->GetB());
            break;
        case nArg::Object:
            cmd = ps->GetCmd(this, N_FOURCC('S', 'E', 'T', 'O'));
            cmd->In()->SetO(this->GetO());
            break;
        case nArg::Float4:
        {
            const nFloat4& f4 = this->GetF4();
            cmd = ps->GetCmd(this, N_FOURCC('S', 'T', 'V', '4'));
            cmd->In()->SetF(f4.x);
            cmd->In()->SetF(f4.y);
            cmd->In()->SetF(f4.z);
            cmd->In()->SetF(f4.w);
            break;
        }
        default:
            return true;
    }
    return ps->PutCmd(cmd);
}
