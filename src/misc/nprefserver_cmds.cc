//------------------------------------------------------------------------------
//  nprefserver_cmds.cc
//
//  Script commands of nPrefServer. keyexists takes the key it tests as
//  its one argument. Keys must not be empty; a read or write before open
//  opens the store once the company and application names are set, and
//  without them is a script error, as are open twice and close unopened.
//------------------------------------------------------------------------------
#include "misc/nprefserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

/*
 * Ready --
 *     Results: true when the store is open, opening it when it can;
 *     else false, a script error.
 */
bool Ready(nCmd* cmd, nPrefServer* self)
{
    if (self->IsOpen()) return true;
    if (self->GetCompanyName().IsEmpty() || self->GetApplicationName().IsEmpty())
    {
        return nCmdFail(cmd, "set the company and application names first");
    }
    return self->Open() || nCmdFail(cmd, "the preferences could not be opened");
}

/*
 * GetKey --
 *     Results: true with the key, which is no null or empty text, when
 *     the store is ready; else false, a script error.
 */
bool GetKey(nCmd* cmd, nPrefServer* self, nString& key)
{
    const char* text;
    if (!nCmdGetNonEmptyS(cmd, text, "key") || !Ready(cmd, self)) return false;
    key = text;
    return true;
}

void n_setcompanyname(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "company name")) return;
    nCmdSelf<nPrefServer>(slf)->SetCompanyName(name);
}

void n_getcompanyname(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nPrefServer>(slf)->GetCompanyName().Get());
}

void n_setapplicationname(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "application name")) return;
    nCmdSelf<nPrefServer>(slf)->SetApplicationName(name);
}

void n_getapplicationname(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nPrefServer>(slf)->GetApplicationName().Get());
}

void n_open(void* slf, nCmd* cmd)
{
    nPrefServer* self = nCmdSelf<nPrefServer>(slf);
    n_cmd_check(cmd, !self->IsOpen(), "the preferences are open already");
    n_cmd_check(cmd, !self->GetCompanyName().IsEmpty() && !self->GetApplicationName().IsEmpty(),
                "set the company and application names first");
    cmd->Out()->SetB(self->Open());
}

void n_close(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nPrefServer>(slf)->IsOpen(), "the preferences are not open");
    nCmdSelf<nPrefServer>(slf)->Close();
}

void n_isopen(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->IsOpen());
}

void n_keyexists(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->KeyExists(key));
}

void n_writestring(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    const char* value;
    if (!nCmdGetS(cmd, value, "value")) return;
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->WriteString(key, nString(value)));
}

void n_writeint(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    const int value = cmd->In()->GetI();
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->WriteInt(key, value));
}

void n_writefloat(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    float value;
    if (!nCmdGetF(cmd, value, "value")) return;
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->WriteFloat(key, value));
}

void n_writebool(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    const bool value = cmd->In()->GetB();
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->WriteBool(key, value));
}

void n_writevector4(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    vector4 v;
    if (!nCmdGetVector4(cmd, v, nCmdXYZW))
    {
        return;
    }
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->WriteVector4(key, v));
}

void n_writevector3(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    vector3 v;
    if (!nCmdGetVector3(cmd, v, nCmdXYZW)) return;
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->WriteVector3(key, v));
}

void n_readstring(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    cmd->Out()->SetS(nCmdSelf<nPrefServer>(slf)->ReadString(key).Get());
}

void n_readint(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    cmd->Out()->SetI(nCmdSelf<nPrefServer>(slf)->ReadInt(key));
}

void n_readfloat(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    cmd->Out()->SetF(nCmdSelf<nPrefServer>(slf)->ReadFloat(key));
}

void n_readbool(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    cmd->Out()->SetB(nCmdSelf<nPrefServer>(slf)->ReadBool(key));
}

void n_readvector4(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    const vector4 v = nCmdSelf<nPrefServer>(slf)->ReadVector4(key);
    nCmdPutVector4(cmd, v);
}

void n_readvector3(void* slf, nCmd* cmd)
{
    nString key;
    if (!GetKey(cmd, nCmdSelf<nPrefServer>(slf), key)) return;
    const vector3 v = nCmdSelf<nPrefServer>(slf)->ReadVector3(key);
    nCmdPutVector3(cmd, v);
}

}  // namespace

/*
 * nprefserver_initcmds --
 *     Side effects: registers the preference commands on the class.
 */
void nprefserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setcompanyname_s", N_FOURCC('S', 'C', 'P', 'N'), n_setcompanyname);
    cl->AddCmd("s_getcompanyname_v", N_FOURCC('G', 'C', 'P', 'N'), n_getcompanyname);
    cl->AddCmd("v_setapplicationname_s", N_FOURCC('S', 'A', 'P', 'N'), n_setapplicationname);
    cl->AddCmd("s_getapplicationname_v", N_FOURCC('G', 'A', 'P', 'N'), n_getapplicationname);
    cl->AddCmd("b_open_v", N_FOURCC('O', 'P', 'E', 'N'), n_open);
    cl->AddCmd("v_close_v", N_FOURCC('C', 'L', 'O', 'S'), n_close);
    cl->AddCmd("b_isopen_v", N_FOURCC('I', 'S', 'O', 'P'), n_isopen);
    cl->AddCmd("b_keyexists_s", N_FOURCC('K', 'E', 'X', 'T'), n_keyexists);
    cl->AddCmd("b_writestring_ss", N_FOURCC('W', 'S', 'T', 'R'), n_writestring);
    cl->AddCmd("b_writeint_si", N_FOURCC('W', 'I', 'N', 'T'), n_writeint);
    cl->AddCmd("b_writefloat_sf", N_FOURCC('W', 'F', 'L', 'T'), n_writefloat);
    cl->AddCmd("b_writebool_sb", N_FOURCC('W', 'B', 'O', 'L'), n_writebool);
    cl->AddCmd("b_writevector4_sffff", N_FOURCC('W', 'V', 'C', '4'), n_writevector4);
    cl->AddCmd("b_writevector3_sfff", N_FOURCC('W', 'V', 'C', '3'), n_writevector3);
    cl->AddCmd("s_readstring_s", N_FOURCC('R', 'S', 'T', 'R'), n_readstring);
    cl->AddCmd("i_readint_s", N_FOURCC('R', 'I', 'N', 'T'), n_readint);
    cl->AddCmd("f_readfloat_s", N_FOURCC('R', 'F', 'L', 'T'), n_readfloat);
    cl->AddCmd("b_readbool_s", N_FOURCC('R', 'B', 'O', 'L'), n_readbool);
    cl->AddCmd("ffff_readvector4_s", N_FOURCC('R', 'V', 'C', '4'), n_readvector4);
    cl->AddCmd("fff_readvector3_s", N_FOURCC('R', 'V', 'C', '3'), n_readvector3);
    cl->EndCmds();
}
