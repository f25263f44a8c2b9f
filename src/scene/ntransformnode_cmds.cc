//------------------------------------------------------------------------------
//  ntransformnode_cmds.cc
//
//  The script commands of ntransformnode and its SaveCmds. Angles are
//  degrees in the commands and radians in the node.
//------------------------------------------------------------------------------
#include "scene/ntransformnode.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

namespace
{

void n_setactive(void* slf, nCmd* cmd) { nCmdSelf<nTransformNode>(slf)->SetActive(cmd->In()->GetB()); }
void n_getactive(void* slf, nCmd* cmd) { cmd->Out()->SetB(nCmdSelf<nTransformNode>(slf)->GetActive()); }
void n_setlockviewer(void* slf, nCmd* cmd) { nCmdSelf<nTransformNode>(slf)->SetLockViewer(cmd->In()->GetB()); }
void n_getlockviewer(void* slf, nCmd* cmd) { cmd->Out()->SetB(nCmdSelf<nTransformNode>(slf)->GetLockViewer()); }

void n_setposition(void* slf, nCmd* cmd)
{
    vector3 v;
    if (!nCmdGetVector3(cmd, v, "position")) return;
    nCmdSelf<nTransformNode>(slf)->SetPosition(v);
}

/// replace one component of the position
void SetPosComponent(void* slf, nCmd* cmd, int component)
{
    float f = 0;
    if (!nCmdGetF(cmd, f, "position component")) return;
    vector3 v = nCmdSelf<nTransformNode>(slf)->GetPosition();
    (0 == component ? v.x : (1 == component ? v.y : v.z)) = f;
    nCmdSelf<nTransformNode>(slf)->SetPosition(v);
}

void n_setposx(void* slf, nCmd* cmd) { SetPosComponent(slf, cmd, 0); }
void n_setposy(void* slf, nCmd* cmd) { SetPosComponent(slf, cmd, 1); }
void n_setposz(void* slf, nCmd* cmd) { SetPosComponent(slf, cmd, 2); }
void n_getposition(void* slf, nCmd* cmd) { nCmdPutVector3(cmd, nCmdSelf<nTransformNode>(slf)->GetPosition()); }

void n_seteuler(void* slf, nCmd* cmd)
{
    vector3 v;
    if (!nCmdGetVector3(cmd, v, "Euler angle")) return;
    nCmdSelf<nTransformNode>(slf)->SetEuler(nCmdDegToRad(v));
}

/// replace one Euler angle (degrees), keeping the other two
void SetEulerComponent(void* slf, nCmd* cmd, int component)
{
    float f = 0;
    if (!nCmdGetF(cmd, f, "Euler angle")) return;
    vector3 v = nCmdSelf<nTransformNode>(slf)->GetEuler();
    (0 == component ? v.x : (1 == component ? v.y : v.z)) = n_deg2rad(f);
    nCmdSelf<nTransformNode>(slf)->SetEuler(v);
}

void n_seteulerx(void* slf, nCmd* cmd) { SetEulerComponent(slf, cmd, 0); }
void n_seteulery(void* slf, nCmd* cmd) { SetEulerComponent(slf, cmd, 1); }
void n_seteulerz(void* slf, nCmd* cmd) { SetEulerComponent(slf, cmd, 2); }
void n_geteuler(void* slf, nCmd* cmd) { nCmdPutVector3(cmd, nCmdRadToDeg(nCmdSelf<nTransformNode>(slf)->GetEuler())); }

void n_setquat(void* slf, nCmd* cmd)
{
    quaternion q;
    if (!nCmdGetQuaternion(cmd, q, "quaternion")) return;
    nCmdSelf<nTransformNode>(slf)->SetQuat(q);
}

void n_getquat(void* slf, nCmd* cmd)
{
    const quaternion& q = nCmdSelf<nTransformNode>(slf)->GetQuat();
    nCmdPutQuaternion(cmd, q);
}

void n_setscale(void* slf, nCmd* cmd)
{
    vector3 v;
    if (!nCmdGetVector3(cmd, v, "scale")) return;
    nCmdSelf<nTransformNode>(slf)->SetScale(v);
}

void n_getscale(void* slf, nCmd* cmd) { nCmdPutVector3(cmd, nCmdSelf<nTransformNode>(slf)->GetScale()); }

}  // namespace

/*
 * ntransformnode_initcmds --
 *     Results: none. Side effects: registers the commands of ntransformnode.
 */
void ntransformnode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setactive_b", N_FOURCC('S', 'A', 'C', 'T'), n_setactive);
    cl->AddCmd("b_getactive_v", N_FOURCC('G', 'A', 'C', 'T'), n_getactive);
    cl->AddCmd("v_setlockviewer_b", N_FOURCC('S', 'L', 'K', 'V'), n_setlockviewer);
    cl->AddCmd("b_getlockviewer_v", N_FOURCC('G', 'L', 'K', 'V'), n_getlockviewer);
    cl->AddCmd("v_setposition_fff", N_FOURCC('S', 'P', 'O', 'S'), n_setposition);
    cl->AddCmd("v_setposx_f", N_FOURCC('S', 'P', 'O', 'X'), n_setposx);
    cl->AddCmd("v_setposy_f", N_FOURCC('S', 'P', 'O', 'Y'), n_setposy);
    cl->AddCmd("v_setposz_f", N_FOURCC('S', 'P', 'O', 'Z'), n_setposz);
    cl->AddCmd("fff_getposition_v", N_FOURCC('G', 'P', 'O', 'S'), n_getposition);
    cl->AddCmd("v_seteuler_fff", N_FOURCC('S', 'E', 'U', 'L'), n_seteuler);
    cl->AddCmd("v_seteulerx_f", N_FOURCC('S', 'E', 'U', 'X'), n_seteulerx);
    cl->AddCmd("v_seteulery_f", N_FOURCC('S', 'E', 'U', 'Y'), n_seteulery);
    cl->AddCmd("v_seteulerz_f", N_FOURCC('S', 'E', 'U', 'Z'), n_seteulerz);
    cl->AddCmd("fff_geteuler_v", N_FOURCC('G', 'E', 'U', 'L'), n_geteuler);
    cl->AddCmd("v_setquat_ffff", N_FOURCC('S', 'Q', 'U', 'T'), n_setquat);
    cl->AddCmd("ffff_getquat_v", N_FOURCC('G', 'Q', 'U', 'T'), n_getquat);
    cl->AddCmd("v_setscale_fff", N_FOURCC('S', 'S', 'C', 'L'), n_setscale);
    cl->AddCmd("fff_getscale_v", N_FOURCC('G', 'S', 'C', 'L'), n_getscale);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes what differs from a fresh node: inactive, locked,
 *     position, the rotation in the mode it was last set in, scale.
 */
bool nTransformNode::SaveCmds(nPersistServer* ps)
{
    if (!nSceneNode::SaveCmds(ps)) return false;
    nCmd* cmd = nullptr;
    if (!this->GetActive())
    {
        cmd = ps->GetCmd(this, N_FOURCC('S', 'A', 'C', 'T'));
        cmd->In()->SetB(false);
        if (!ps->PutCmd(cmd)) return false;
    }
    if (this->GetLockViewer())
    {
        cmd = ps->GetCmd(this, N_FOURCC('S', 'L', 'K', 'V'));
        cmd->In()->SetB(true);
        if (!ps->PutCmd(cmd)) return false;
    }
    const vector3& pos = this->GetPosition();
    if ((pos.x != 0.0f) || (pos.y != 0.0f) || (pos.z != 0.0f))
    {
        cmd = ps->GetCmd(this, N_FOURCC('S', 'P', 'O', 'S'));
        nCmdSetVector3(cmd, pos);
        if (!ps->PutCmd(cmd)) return false;
    }
    if (this->IsEulerMode())
    {
        const vector3& e = this->GetEuler();
        if ((e.x != 0.0f) || (e.y != 0.0f) || (e.z != 0.0f))
        {
            cmd = ps->GetCmd(this, N_FOURCC('S', 'E', 'U', 'L'));
            nCmdSetVector3(cmd, nCmdRadToDeg(e));
            if (!ps->PutCmd(cmd)) return false;
        }
    }
    else
    {
        const quaternion& q = this->GetQuat();
        if ((q.x != 0.0f) || (q.y != 0.0f) || (q.z != 0.0f) || (q.w != 1.0f))
        {
            cmd = ps->GetCmd(this, N_FOURCC('S', 'Q', 'U', 'T'));
            nCmdSetVector4(cmd, vector4(q.x, q.y, q.z, q.w));
            if (!ps->PutCmd(cmd)) return false;
        }
    }
    const vector3& s = this->GetScale();
    if ((s.x != 1.0f) || (s.y != 1.0f) || (s.z != 1.0f))
    {
        cmd = ps->GetCmd(this, N_FOURCC('S', 'S', 'C', 'L'));
        nCmdSetVector3(cmd, s);
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}
