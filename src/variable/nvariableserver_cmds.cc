//------------------------------------------------------------------------------
//  nvariableserver_cmds.cc
//
//  Script commands of nvariableserver. Every name is resolved with
//  GetVariableHandleByName, so using an undeclared name declares it.
//  Scripts are outside data: a global variable of another type than the
//  command's, or a null string (":null:") for a name or text, is reported
//  and left alone instead of stopping the program.
//------------------------------------------------------------------------------
#include "variable/nvariableserver.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"

namespace
{

const char* TypeName(nVariable::Type t)
{
    static const char* const names[] = {"void", "int", "float", "float4", "string",
                                        "object", "matrix", "handle", "vector4"};
    return names[t];
}

/*
 * NullArg --
 *     Results: true when a script handed the command a null string for
 *     what. Side effects: prints a message then.
 */
bool NullArg(nCmd* cmd, const char* str, const char* what)
{
    if (str) return false;
    n_printf("%s: null %s argument\n", cmd->GetProto()->GetProtoDef(), what);
    return true;
}

/*
 * NameHandle --
 *     Results: the handle of the command's name argument, declared when
 *     new; -1 for a null name (reported).
 */
int NameHandle(nVariableServer* self, nCmd* cmd, const char* name)
{
    if (NullArg(cmd, name, "name")) return nVariable::InvalidHandle;
    return self->GetVariableHandleByName(name);
}

/*
 * MismatchedGlobal --
 *     Results: true when the global variable of the handle exists with
 *     another type than wanted.
 *     Side effects: prints a message naming the variable then.
 */
bool MismatchedGlobal(nVariableServer* self, int h, const char* name, nVariable::Type wanted)
{
    const nVariable* var = self->GetGlobalVariableContext().GetVariable(h);
    if (var && (var->GetType() != wanted))
    {
        n_printf("nVariableServer: variable '%s' is of type %s, not %s!\n", name,
                 TypeName(var->GetType()), TypeName(wanted));
        return true;
    }
    return false;
}

/*
 * Usable --
 *     Results: true when the handle names a global that the command may
 *     read or write as the wanted type (or one not set yet).
 */
bool Usable(nVariableServer* self, int h, const char* name, nVariable::Type wanted)
{
    return (nVariable::InvalidHandle != h) && !MismatchedGlobal(self, h, name, wanted);
}

/*
 * n_declarevariable --
 *     i_declarevariable_ss: declares name and fourcc text; the handle.
 */
void n_declarevariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    const char* fourcc = cmd->In()->GetS();
    if (NullArg(cmd, name, "name") || NullArg(cmd, fourcc, "fourcc"))
    {
        cmd->Out()->SetI(nVariable::InvalidHandle);
        return;
    }
    cmd->Out()->SetI(self->DeclareVariable(name, nVariableServer::StringToFourCC(fourcc)));
}

/*
 * n_getnumvariables --
 *     i_getnumvariables_v: the number of declarations.
 */
void n_getnumvariables(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(static_cast<nVariableServer*>(slf)->GetNumVariables());
}

/*
 * n_getvariableat --
 *     ss_getvariableat_i: name and fourcc text of a declaration; an index
 *     outside the registry is reported and gives two empty texts.
 */
void n_getvariableat(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const int index = cmd->In()->GetI();
    const char* name = "";
    nFourCC fourcc = 0;
    if ((index >= 0) && (index < self->GetNumVariables()))
    {
        self->GetVariableAt(index, name, fourcc);
    }
    else
    {
        n_printf("nVariableServer: no variable at index %d!\n", index);
    }
    char buf[5];
    cmd->Out()->SetS(name);
    cmd->Out()->SetS(nVariableServer::FourCCToString(fourcc, buf, sizeof(buf)));
}

/*
 * n_getfloatvariable --
 *     f_getfloatvariable_s: the global float value.
 */
void n_getfloatvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    const int h = NameHandle(self, cmd, name);
    const bool bad = !Usable(self, h, name, nVariable::Float);
    cmd->Out()->SetF(bad ? 0.0f : self->GetFloatVariable(h));
}

/*
 * n_getintvariable --
 *     i_getintvariable_s: the global int value.
 */
void n_getintvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    const int h = NameHandle(self, cmd, name);
    const bool bad = !Usable(self, h, name, nVariable::Int);
    cmd->Out()->SetI(bad ? 0 : self->GetIntVariable(h));
}

/*
 * n_getvectorvariable --
 *     ffff_getvectorvariable_s: the global vector4 value as four floats.
 */
void n_getvectorvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    const int h = NameHandle(self, cmd, name);
    const bool bad = !Usable(self, h, name, nVariable::Vector4);
    const vector4 v = bad ? vector4() : self->GetVectorVariable(h);
    cmd->Out()->SetF(v.x);
    cmd->Out()->SetF(v.y);
    cmd->Out()->SetF(v.z);
    cmd->Out()->SetF(v.w);
}

/*
 * n_getstringvariable --
 *     s_getstringvariable_s: the global string value.
 */
void n_getstringvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    const int h = NameHandle(self, cmd, name);
    const bool bad = !Usable(self, h, name, nVariable::String);
    cmd->Out()->SetS(bad ? "" : self->GetStringVariable(h));
}

/*
 * n_setfloatvariable --
 *     v_setfloatvariable_sf: sets a global float.
 */
void n_setfloatvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    const float val = cmd->In()->GetF();
    const int h = NameHandle(self, cmd, name);
    if (Usable(self, h, name, nVariable::Float)) self->SetFloatVariable(h, val);
}

/*
 * n_setintvariable --
 *     v_setintvariable_si: sets a global int.
 */
void n_setintvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    const int val = cmd->In()->GetI();
    const int h = NameHandle(self, cmd, name);
    if (Usable(self, h, name, nVariable::Int)) self->SetIntVariable(h, val);
}

/*
 * n_setvectorvariable --
 *     v_setvectorvariable_sffff: sets a global vector4 from four floats.
 */
void n_setvectorvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    vector4 v;
    v.x = cmd->In()->GetF();
    v.y = cmd->In()->GetF();
    v.z = cmd->In()->GetF();
    v.w = cmd->In()->GetF();
    const int h = NameHandle(self, cmd, name);
    if (Usable(self, h, name, nVariable::Vector4)) self->SetVectorVariable(h, v);
}

/*
 * n_setstringvariable --
 *     v_setstringvariable_ss: sets a global string.
 */
void n_setstringvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = static_cast<nVariableServer*>(slf);
    const char* name = cmd->In()->GetS();
    const char* val = cmd->In()->GetS();
    const int h = NameHandle(self, cmd, name);
    if (!NullArg(cmd, val, "text") && Usable(self, h, name, nVariable::String)) self->SetStringVariable(h, val);
}

}  // namespace

/*
 * nvariableserver_initcmds --
 *     Registers the script commands of nvariableserver.
 */
void nvariableserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("i_declarevariable_ss", N_FOURCC('D', 'C', 'L', 'V'), n_declarevariable);
    cl->AddCmd("i_getnumvariables_v", N_FOURCC('G', 'N', 'M', 'V'), n_getnumvariables);
    cl->AddCmd("ss_getvariableat_i", N_FOURCC('G', 'V', 'A', 'T'), n_getvariableat);
    cl->AddCmd("f_getfloatvariable_s", N_FOURCC('G', 'F', 'L', 'V'), n_getfloatvariable);
    cl->AddCmd("i_getintvariable_s", N_FOURCC('G', 'I', 'N', 'V'), n_getintvariable);
    cl->AddCmd("ffff_getvectorvariable_s", N_FOURCC('G', 'V', 'C', 'V'), n_getvectorvariable);
    cl->AddCmd("s_getstringvariable_s", N_FOURCC('G', 'S', 'T', 'V'), n_getstringvariable);
    cl->AddCmd("v_setfloatvariable_sf", N_FOURCC('S', 'F', 'L', 'V'), n_setfloatvariable);
    cl->AddCmd("v_setintvariable_si", N_FOURCC('S', 'I', 'N', 'V'), n_setintvariable);
    cl->AddCmd("v_setvectorvariable_sffff", N_FOURCC('S', 'V', 'C', 'V'), n_setvectorvariable);
    cl->AddCmd("v_setstringvariable_ss", N_FOURCC('S', 'S', 'T', 'V'), n_setstringvariable);
    cl->EndCmds();
}
