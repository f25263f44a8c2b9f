//------------------------------------------------------------------------------
//  nopendehinge2joint_cmds.cc
//
//  ODE reads both bodies for the axes of a hinge-2 and aborts with one:
//  the axis commands need both attached, or none (then they are kept
//  until the bodies are attached).
//------------------------------------------------------------------------------
#include "opende/nopendehinge2joint.h"
#include "opende/nopendejointcmds.h"

using namespace nOpendeCmd;

namespace
{

/// the joint when both its bodies are attached; else 0, reported
template <class T>
T* Wheeled(void* slf, nCmd* cmd)
{
    T* j = Joint<T>(slf, cmd);
    // without any body the axes are kept for the attachment
    if (j && j->HasBody() && !j->HasBothBodies())
    {
        nCmdFail(cmd, "'%s' needs both bodies attached for its axes", j->GetName());
        return nullptr;
    }
    return j;
}

N_JOINT_SET_VECTOR(n_setanchor, nOpendeHinge2Joint, SetAnchor, "anchor", nCmdGetVector3)
N_JOINT_GET_VECTOR(n_getanchor, nOpendeHinge2Joint, GetAnchor, Joint)
N_JOINT_GET_VECTOR(n_getanchor2, nOpendeHinge2Joint, GetAnchor2, Joint)
N_JOINT_GET_VECTOR(n_getaxis1, nOpendeHinge2Joint, GetAxis1, Wheeled)
N_JOINT_GET_VECTOR(n_getaxis2, nOpendeHinge2Joint, GetAxis2, Wheeled)
N_JOINT_GET_FLOAT(n_getangle1, nOpendeHinge2Joint, GetAngle1, Joint)
N_JOINT_GET_FLOAT(n_getangle1rate, nOpendeHinge2Joint, GetAngle1Rate, Joint)
N_JOINT_GET_FLOAT(n_getangle2rate, nOpendeHinge2Joint, GetAngle2Rate, Joint)

void n_setaxis1(void* slf, nCmd* cmd)
{
    vector3 v;
    if (!GetDirection(cmd, v, "axis 1")) return;
    nOpendeHinge2Joint* self = Wheeled<nOpendeHinge2Joint>(slf, cmd);
    if (self) self->SetAxis1(v);
}

void n_setaxis2(void* slf, nCmd* cmd)
{
    vector3 v;
    if (!GetDirection(cmd, v, "axis 2")) return;
    nOpendeHinge2Joint* self = Wheeled<nOpendeHinge2Joint>(slf, cmd);
    if (self) self->SetAxis2(v);
}

}  // namespace

/*
 * nopendehinge2joint_initcmds --
 *     Side effects: registers the commands of nopendehinge2joint.
 */
void nopendehinge2joint_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetAnchor_fff", N_FOURCC('S', 'A', 'N', 'C'), n_setanchor);
    cl->AddCmd("fff_GetAnchor_v", N_FOURCC('G', 'A', 'N', 'C'), n_getanchor);
    cl->AddCmd("fff_GetAnchor2_v", N_FOURCC('G', 'A', 'N', '2'), n_getanchor2);
    cl->AddCmd("v_SetAxis1_fff", N_FOURCC('S', 'A', 'X', '1'), n_setaxis1);
    cl->AddCmd("fff_GetAxis1_v", N_FOURCC('G', 'A', 'X', '1'), n_getaxis1);
    cl->AddCmd("v_SetAxis2_fff", N_FOURCC('S', 'A', 'X', '2'), n_setaxis2);
    cl->AddCmd("fff_GetAxis2_v", N_FOURCC('G', 'A', 'X', '2'), n_getaxis2);
    cl->AddCmd("f_GetAngle1_v", N_FOURCC('G', 'A', '1', '_'), n_getangle1);
    cl->AddCmd("f_GetAngle1Rate_v", N_FOURCC('G', 'A', '1', 'R'), n_getangle1rate);
    cl->AddCmd("f_GetAngle2Rate_v", N_FOURCC('G', 'A', '2', 'R'), n_getangle2rate);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: the base's commands, then SANC, SAX1 and SAX2 (the
 *     axes only with both bodies attached or kept before attaching: ODE
 *     has none otherwise) and
 *     the parameters of the three axes.
 */
bool nOpendeHinge2Joint::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeJoint::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    if (!PutVectorCmd(ps, this, N_FOURCC('S', 'A', 'N', 'C'), this->GetAnchor())) return false;
    if (this->HasBothBodies() || !this->HasBody())
    {
        if (!PutAxisCmd(ps, this, N_FOURCC('S', 'A', 'X', '1'), this->GetAxis1()) ||
            !PutAxisCmd(ps, this, N_FOURCC('S', 'A', 'X', '2'), this->GetAxis2()))
        {
            return false;
        }
    }
    return this->SaveParams(ps, 3);
}
