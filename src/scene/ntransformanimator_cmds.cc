//------------------------------------------------------------------------------
//  ntransformanimator_cmds.cc
//
//  The script commands of ntransformanimator and its SaveCmds. Euler
//  angles are degrees in the commands and radians in the keys.
//------------------------------------------------------------------------------
#include "scene/ntransformanimator.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

#include <climits>

namespace
{

/// time and three floats of a vector key
bool GetVectorKey(nCmd* cmd, float& t, vector3& v)
{
    return nCmdGetF(cmd, t, "key time") && nCmdGetVector3(cmd, v, "key value");
}

void n_addposkey(void* slf, nCmd* cmd)
{
    float t = 0;
    vector3 v;
    if (GetVectorKey(cmd, t, v)) nCmdSelf<nTransformAnimator>(slf)->AddPosKey(t, v);
}

void n_addeulerkey(void* slf, nCmd* cmd)
{
    float t = 0;
    vector3 v;
    if (GetVectorKey(cmd, t, v)) nCmdSelf<nTransformAnimator>(slf)->AddEulerKey(t, nCmdDegToRad(v));
}

void n_addscalekey(void* slf, nCmd* cmd)
{
    float t = 0;
    vector3 v;
    if (GetVectorKey(cmd, t, v)) nCmdSelf<nTransformAnimator>(slf)->AddScaleKey(t, v);
}

void n_addquatkey(void* slf, nCmd* cmd)
{
    float t = 0;
    quaternion q;
    if (nCmdGetF(cmd, t, "key time") && nCmdGetQuaternion(cmd, q, "key value")) nCmdSelf<nTransformAnimator>(slf)->AddQuatKey(t, q);
}

void n_getnumposkeys(void* slf, nCmd* cmd) { cmd->Out()->SetI(nCmdSelf<nTransformAnimator>(slf)->GetNumPosKeys()); }
void n_getnumeulerkeys(void* slf, nCmd* cmd) { cmd->Out()->SetI(nCmdSelf<nTransformAnimator>(slf)->GetNumEulerKeys()); }
void n_getnumscalekeys(void* slf, nCmd* cmd) { cmd->Out()->SetI(nCmdSelf<nTransformAnimator>(slf)->GetNumScaleKeys()); }
void n_getnumquatkeys(void* slf, nCmd* cmd) { cmd->Out()->SetI(nCmdSelf<nTransformAnimator>(slf)->GetNumQuatKeys()); }

/*
 * GetKeyIndex --
 *     Results: true with an index of one of the array's keys; false,
 *     reported, otherwise.
 */
template <class TYPE>
bool GetKeyIndex(nCmd* cmd, const nIpolKeyArray<TYPE>& keys, int& index)
{
    if (keys.Size() == 0) return nCmdFail(cmd, "the animator has no such keys");
    return nCmdGetI(cmd, index, 0, keys.Size() - 1, "key index");
}

/// time and vector of a key, the vector converted by a function
void PutVectorKey(nCmd* cmd, const nIpolKeyArray<vector3>& keys, vector3 (*convert)(const vector3&))
{
    int index = 0;
    if (!GetKeyIndex(cmd, keys, index)) return;
    cmd->Out()->SetF(keys.At(index).time);
    nCmdPutVector3(cmd, convert ? convert(keys.At(index).value) : keys.At(index).value);
}

void n_getposkeyat(void* slf, nCmd* cmd) { PutVectorKey(cmd, nCmdSelf<nTransformAnimator>(slf)->GetPosKeys(), nullptr); }
void n_geteulerkeyat(void* slf, nCmd* cmd) { PutVectorKey(cmd, nCmdSelf<nTransformAnimator>(slf)->GetEulerKeys(), nCmdRadToDeg); }
void n_getscalekeyat(void* slf, nCmd* cmd) { PutVectorKey(cmd, nCmdSelf<nTransformAnimator>(slf)->GetScaleKeys(), nullptr); }

void n_getquatkeyat(void* slf, nCmd* cmd)
{
    const nIpolKeyArray<quaternion>& keys = nCmdSelf<nTransformAnimator>(slf)->GetQuatKeys();
    int index = 0;
    if (!GetKeyIndex(cmd, keys, index)) return;
    const quaternion& q = keys.At(index).value;
    cmd->Out()->SetF(keys.At(index).time);
    nCmdPutQuaternion(cmd, q);
}

/*
 * PutVectorKeys --
 *     Results: false when a command could not be written.
 *     Side effects: one command per key: time and the (converted) vector.
 */
bool PutVectorKeys(nPersistServer* ps, nObject* obj, nFourCC id, const nIpolKeyArray<vector3>& keys,
                   vector3 (*convert)(const vector3&))
{
    for (int i = 0; i < keys.Size(); i++)
    {
        nCmd* cmd = ps->GetCmd(obj, id);
        cmd->In()->SetF(keys.At(i).time);
        nCmdSetVector3(cmd, convert ? convert(keys.At(i).value) : keys.At(i).value);
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}

}  // namespace

/*
 * ntransformanimator_initcmds --
 *     Results: none. Side effects: registers the commands of ntransformanimator.
 */
void ntransformanimator_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_addposkey_ffff", N_FOURCC('A', 'D', 'P', 'K'), n_addposkey);
    cl->AddCmd("v_addeulerkey_ffff", N_FOURCC('A', 'D', 'E', 'K'), n_addeulerkey);
    cl->AddCmd("v_addscalekey_ffff", N_FOURCC('A', 'D', 'S', 'K'), n_addscalekey);
    cl->AddCmd("v_addquatkey_fffff", N_FOURCC('A', 'D', 'Q', 'K'), n_addquatkey);
    cl->AddCmd("i_getnumposkeys_v", N_FOURCC('G', 'N', 'P', 'K'), n_getnumposkeys);
    cl->AddCmd("i_getnumeulerkeys_v", N_FOURCC('G', 'N', 'E', 'K'), n_getnumeulerkeys);
    cl->AddCmd("i_getnumscalekeys_v", N_FOURCC('G', 'N', 'S', 'K'), n_getnumscalekeys);
    cl->AddCmd("i_getnumquatkeys_v", N_FOURCC('G', 'N', 'Q', 'K'), n_getnumquatkeys);
    cl->AddCmd("ffff_getposkeyat_i", N_FOURCC('G', 'P', 'K', 'A'), n_getposkeyat);
    cl->AddCmd("ffff_geteulerkeyat_i", N_FOURCC('G', 'E', 'K', 'A'), n_geteulerkeyat);
    cl->AddCmd("ffff_getscalekeyat_i", N_FOURCC('G', 'S', 'K', 'A'), n_getscalekeyat);
    cl->AddCmd("fffff_getquatkeyat_i", N_FOURCC('G', 'S', 'Q', 'A'), n_getquatkeyat);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: position keys; Euler keys (degrees) when there are
 *     any, else quaternion keys; scale keys.
 */
bool nTransformAnimator::SaveCmds(nPersistServer* ps)
{
    if (!nAnimator::SaveCmds(ps)) return false;
    if (!PutVectorKeys(ps, this, N_FOURCC('A', 'D', 'P', 'K'), this->posArray, nullptr)) return false;
    if (this->eulerArray.Size() > 0)
    {
        if (!PutVectorKeys(ps, this, N_FOURCC('A', 'D', 'E', 'K'), this->eulerArray, nCmdRadToDeg)) return false;
    }
    else
    {
        for (int i = 0; i < this->quatArray.Size(); i++)
        {
            const quaternion& q = this->quatArray.At(i).value;
            nCmd* cmd = ps->GetCmd(this, N_FOURCC('A', 'D', 'Q', 'K'));
            cmd->In()->SetF(this->quatArray.At(i).time);
            nCmdSetVector4(cmd, vector4(q.x, q.y, q.z, q.w));
            if (!ps->PutCmd(cmd)) return false;
        }
    }
    return PutVectorKeys(ps, this, N_FOURCC('A', 'D', 'S', 'K'), this->scaleArray, nullptr);
}
