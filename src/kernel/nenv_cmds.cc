//------------------------------------------------------------------------------
//  nenv_cmds.cc
//
//  The script commands of nenv. A script is outside data: a command that
//  reads or sets another type than the value holds reports it and reads a
//  zero value (or changes nothing) instead of failing the type assertion.
//------------------------------------------------------------------------------
#include "kernel/nenv.h"
#include "kernel/ncmd.h"
#include "kernel/npersistserver.h"

namespace
{

nEnv* Self(void* slf)
{
    return static_cast<nEnv*>(slf);
}

/*
 * TypeMismatch --
 *     Results: none.
 *     Side effects: prints which command met which type on which value.
 */
void TypeMismatch(const nEnv* env, const char* cmdName, nArg::Type wanted)
{
    n_printf("nEnv '%s': %s expects type %s, but the value has type %s\n", env->GetFullName().Get(), cmdName,
             nEnv::TypeName(wanted), nEnv::TypeName(env->GetType()));
}

/*
 * CanRead --
 *     Results: true when the value has the type; else false, reported.
 */
bool CanRead(const nEnv* env, const char* cmdName, nArg::Type type)
{
    if (env->GetType() == type) return true;
    TypeMismatch(env, cmdName, type);
    return false;
}

/*
 * CanWrite --
 *     Results: true when the value is unset or has the type; else false,
 *     reported.
 */
bool CanWrite(const nEnv* env, const char* cmdName, nArg::Type type)
{
    if (env->GetType() == nArg::Void || env->GetType() == type) return true;
    TypeMismatch(env, cmdName, type);
    return false;
}

void n_gettype(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nEnv::TypeName(Self(slf)->GetType()));
}

void n_geti(void* slf, nCmd* cmd)
{
    const nEnv* self = Self(slf);
    cmd->Out()->SetI(CanRead(self, "geti", nArg::Int) ? self->GetI() : 0);
}

void n_getf(void* slf, nCmd* cmd)
{
    const nEnv* self = Self(slf);
    cmd->Out()->SetF(CanRead(self, "getf", nArg::Float) ? self->GetF() : 0.0f);
}

void n_getb(void* slf, nCmd* cmd)
{
    const nEnv* self = Self(slf);
    cmd->Out()->SetB(CanRead(self, "getb", nArg::Bool) ? self->GetB() : false);
}

void n_gets(void* slf, nCmd* cmd)
{
    const nEnv* self = Self(slf);
    cmd->Out()->SetS(CanRead(self, "gets", nArg::String) ? self->GetS() : "");
}

void n_geto(void* slf, nCmd* cmd)
{
    const nEnv* self = Self(slf);
    cmd->Out()->SetO(CanRead(self, "geto", nArg::Object) ? self->GetO() : nullptr);
}

void n_getf4(void* slf, nCmd* cmd)
{
    const nEnv* self = Self(slf);
    const nFloat4 f4 = CanRead(self, "getf4", nArg::Float4) ? self->GetF4() : nFloat4{0.0f, 0.0f, 0.0f, 0.0f};
    cmd->Out()->SetF(f4.x);
    cmd->Out()->SetF(f4.y);
    cmd->Out()->SetF(f4.z);
    cmd->Out()->SetF(f4.w);
}

void n_seti(void* slf, nCmd* cmd)
{
    const int i = cmd->In()->GetI();
    if (CanWrite(Self(slf), "seti", nArg::Int)) Self(slf)->SetI(i);
}

void n_setf(void* slf, nCmd* cmd)
{
    const float f = cmd->In()->GetF();
    if (CanWrite(Self(slf), "setf", nArg::Float)) Self(slf)->SetF(f);
}

void n_setb(void* slf, nCmd* cmd)
{
    const bool b = cmd->In()->GetB();
    if (CanWrite(Self(slf), "setb", nArg::Bool)) Self(slf)->SetB(b);
}

void n_sets(void* slf, nCmd* cmd)
{
    const char* s = cmd->In()->GetS();
    if (CanWrite(Self(slf), "sets", nArg::String)) Self(slf)->SetS(s);
}

void n_seto(void* slf, nCmd* cmd)
{
    nObject* o = static_cast<nObject*>(cmd->In()->GetO());
    if (CanWrite(Self(slf), "seto", nArg::Object)) Self(slf)->SetO(o);
}

void n_setf4(void* slf, nCmd* cmd)
{
    nFloat4 f4;
    f4.x = cmd->In()->GetF();
    f4.y = cmd->In()->GetF();
    f4.z = cmd->In()->GetF();
    f4.w = cmd->In()->GetF();
    if (CanWrite(Self(slf), "setf4", nArg::Float4)) Self(slf)->SetF4(f4);
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
