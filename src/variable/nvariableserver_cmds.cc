//------------------------------------------------------------------------------
//  nvariableserver_cmds.cc
//
//  Script commands of nvariableserver. Every name is resolved with
//  GetVariableHandleByName, so using an undeclared name declares it.
//  Scripts are outside data: a global variable of another type than the
//  command's, or a null string (":null:") for a name or text, is a script
//  error instead of stopping the program.
//------------------------------------------------------------------------------
#include "variable/nvariableserver.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/ncmdargs.h"

namespace
{

const char* TypeName(nVariable::Type t)
{
    static const char* const names[] = {"void", "int", "float", "float4", "string",
                                        "object", "matrix", "handle", "vector4"};
    return names[t];
}

/*
 * NameHandle --
 *     Results: the handle of the named variable (declaring it), or
 *     InvalidHandle after a script error for a null or empty name.
 */
int NameHandle(nVariableServer* self, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetNonEmptyS(cmd, name, "name")) return nVariable::InvalidHandle;
    return self->GetVariableHandleByName(name);
}

/*
 * Usable --
 *     Results: true for a handle whose global value, if any (or, when it
 *     must exist, which exists), has the wanted type; else false, a script
 *     error.
 */
bool Usable(nCmd* cmd, nVariableServer* self, int h, nVariable::Type wanted, bool mustExist = false)
{
    if (nVariable::InvalidHandle == h) return false;
    const nVariable* var = self->GetGlobalVariableContext().GetVariable(h);
    if (!var && mustExist)
    {
        return nCmdFail(cmd, "variable '%s' has no global value", self->GetVariableName(h));
    }
    if (var && (var->GetType() != wanted))
    {
        return nCmdFail(cmd, "variable '%s' is of type %s, not %s", self->GetVariableName(h),
                        TypeName(var->GetType()), TypeName(wanted));
    }
    return true;
}

/*
 * n_declarevariable --
 *     i_declarevariable_ss: declares name and fourcc text; the handle.
 */
void n_declarevariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const char* name;
    const char* fourcc;
    if (!nCmdGetNonEmptyS(cmd, name, "name") || !nCmdGetS(cmd, fourcc, "fourcc")) return;
    const nFourCC code = nVariableServer::StringToFourCC(fourcc);
    const int byName = self->FindVariableHandleByName(name);
    const int byFourCC = self->FindVariableHandleByFourCC(code);
    n_cmd_check(cmd, byName == byFourCC || (byName == nVariable::InvalidHandle && byFourCC == nVariable::InvalidHandle),
                "'%.64s'/'%.4s' conflicts with a declaration: the name or the fourcc is taken", name, fourcc);
    cmd->Out()->SetI(self->DeclareVariable(name, code));
}

/*
 * n_getnumvariables --
 *     i_getnumvariables_v: the number of declarations.
 */
void n_getnumvariables(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nVariableServer>(slf)->GetNumVariables());
}

/*
 * n_getvariableat --
 *     ss_getvariableat_i: name and fourcc text of a declaration; an index
 *     outside the registry is reported and gives two empty texts.
 */
void n_getvariableat(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int index = cmd->In()->GetI();
    n_cmd_check(cmd, index >= 0 && index < self->GetNumVariables(), "no variable at index %d", index);
    const char* name = "";
    nFourCC fourcc = 0;
    self->GetVariableAt(index, name, fourcc);
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
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int h = NameHandle(self, cmd);
    if (!Usable(cmd, self, h, nVariable::Float, true)) return;
    cmd->Out()->SetF(self->GetFloatVariable(h));
}

/*
 * n_getintvariable --
 *     i_getintvariable_s: the global int value.
 */
void n_getintvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int h = NameHandle(self, cmd);
    if (!Usable(cmd, self, h, nVariable::Int, true)) return;
    cmd->Out()->SetI(self->GetIntVariable(h));
}

/*
 * n_getvectorvariable --
 *     ffff_getvectorvariable_s: the global vector4 value as four floats.
 */
void n_getvectorvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int h = NameHandle(self, cmd);
    if (!Usable(cmd, self, h, nVariable::Vector4, true)) return;
    const vector4 v = self->GetVectorVariable(h);
    nCmdPutVector4(cmd, v);
}

/*
 * n_getstringvariable --
 *     s_getstringvariable_s: the global string value.
 */
void n_getstringvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int h = NameHandle(self, cmd);
    if (!Usable(cmd, self, h, nVariable::String, true)) return;
    cmd->Out()->SetS(self->GetStringVariable(h));
}

/*
 * n_setfloatvariable --
 *     v_setfloatvariable_sf: sets a global float.
 */
void n_setfloatvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int h = NameHandle(self, cmd);
    float val;
    if (!Usable(cmd, self, h, nVariable::Float) || !nCmdGetF(cmd, val, "value")) return;
    self->SetFloatVariable(h, val);
}

/*
 * n_setintvariable --
 *     v_setintvariable_si: sets a global int.
 */
void n_setintvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int h = NameHandle(self, cmd);
    if (!Usable(cmd, self, h, nVariable::Int)) return;
    self->SetIntVariable(h, cmd->In()->GetI());
}

/*
 * n_setvectorvariable --
 *     v_setvectorvariable_sffff: sets a global vector4 from four floats.
 */
void n_setvectorvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int h = NameHandle(self, cmd);
    if (!Usable(cmd, self, h, nVariable::Vector4)) return;
    vector4 v;
    if (!nCmdGetVector4(cmd, v, nCmdXYZW))
    {
        return;
    }
    self->SetVectorVariable(h, v);
}

/*
 * n_setstringvariable --
 *     v_setstringvariable_ss: sets a global string.
 */
void n_setstringvariable(void* slf, nCmd* cmd)
{
    nVariableServer* self = nCmdSelf<nVariableServer>(slf);
    const int h = NameHandle(self, cmd);
    const char* val;
    if (nVariable::InvalidHandle == h || !nCmdGetS(cmd, val, "text") || !Usable(cmd, self, h, nVariable::String))
    {
        return;
    }
    self->SetStringVariable(h, val);
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
