#ifndef N_PARAMANIMATORCMDS_H
#define N_PARAMANIMATORCMDS_H
//------------------------------------------------------------------------------
//  The five script commands the vector, float and int animators share
//  (same fourccs, prototypes differing in the value), and the reading and
//  writing of a key value of each type.
//------------------------------------------------------------------------------
#include "scene/nparamanimator.h"
#include "kernel/ncmdargs.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"

#include <climits>

namespace nParamAnimatorCmds
{

inline bool ReadValue(nCmd* cmd, float& v) { return nCmdGetF(cmd, v, "key value"); }
inline bool ReadValue(nCmd* cmd, int& v) { return nCmdGetI(cmd, v, INT_MIN, INT_MAX, "key value"); }
inline bool ReadValue(nCmd* cmd, vector4& v) { return nCmdGetVector4(cmd, v, "key value"); }

/// the value as the command's next outputs (or inputs, for saving)
inline void WriteValue(nCmd* cmd, bool out, float v) { (out ? cmd->Out() : cmd->In())->SetF(v); }
inline void WriteValue(nCmd* cmd, bool out, int v) { (out ? cmd->Out() : cmd->In())->SetI(v); }
inline void WriteValue(nCmd* cmd, bool out, const vector4& v)
{
    if (out)
    {
        nCmdPutVector4(cmd, v);
    }
    else
    {
        nCmdSetVector4(cmd, v);
    }
}

template <class TYPE> void n_setname(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "shader parameter name")) return;
    nCmdSelf<nParamAnimator<TYPE>>(slf)->SetParamName(name);
}

template <class TYPE> void n_getname(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nParamAnimator<TYPE>>(slf)->GetParamName());
}

template <class TYPE> void n_addkey(void* slf, nCmd* cmd)
{
    float t = 0;
    TYPE v = TYPE();
    if (!nCmdGetF(cmd, t, "key time") || !ReadValue(cmd, v)) return;
    nCmdSelf<nParamAnimator<TYPE>>(slf)->AddKey(t, v);
}

template <class TYPE> void n_getnumkeys(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nParamAnimator<TYPE>>(slf)->GetNumKeys());
}

template <class TYPE> void n_getkeyat(void* slf, nCmd* cmd)
{
    const int n = nCmdSelf<nParamAnimator<TYPE>>(slf)->GetNumKeys();
    int index = 0;
    n_cmd_check(cmd, n > 0, "the animator has no keys");
    if (!nCmdGetI(cmd, index, 0, n - 1, "key index")) return;
    const auto& key = nCmdSelf<nParamAnimator<TYPE>>(slf)->GetKeyAt(index);
    cmd->Out()->SetF(key.time);
    WriteValue(cmd, true, key.value);
}

/*
 * InitCmds --
 *     Results: none.
 *     Side effects: registers the five commands with the class's own
 *     prototypes (set name, get name, add key, get key), in table order.
 */
template <class TYPE>
void InitCmds(nClass* cl, const char* setName, const char* getName, const char* addKey, const char* getKeyAt)
{
    cl->BeginCmds();
    cl->AddCmd(setName, N_FOURCC('S', 'V', 'C', 'N'), n_setname<TYPE>);
    cl->AddCmd(getName, N_FOURCC('G', 'V', 'C', 'N'), n_getname<TYPE>);
    cl->AddCmd(addKey, N_FOURCC('A', 'D', 'D', 'K'), n_addkey<TYPE>);
    cl->AddCmd("i_getnumkeys_v", N_FOURCC('G', 'N', 'K', 'S'), n_getnumkeys<TYPE>);
    cl->AddCmd(getKeyAt, N_FOURCC('G', 'K', 'A', 'T'), n_getkeyat<TYPE>);
    cl->EndCmds();
}

}  // namespace nParamAnimatorCmds

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: the parameter's name when set, then one "addkey" per key.
 */
template <class TYPE>
bool nParamAnimator<TYPE>::SaveCmds(nPersistServer* ps)
{
    if (!nAnimator::SaveCmds(ps)) return false;
    if (this->GetParamName())
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'V', 'C', 'N'));
        cmd->In()->SetS(this->GetParamName());
        if (!ps->PutCmd(cmd)) return false;
    }
    for (int i = 0; i < this->GetNumKeys(); i++)
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('A', 'D', 'D', 'K'));
        cmd->In()->SetF(this->GetKeyAt(i).time);
        nParamAnimatorCmds::WriteValue(cmd, false, this->GetKeyAt(i).value);
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}
#endif
