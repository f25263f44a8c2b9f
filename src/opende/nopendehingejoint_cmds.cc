//------------------------------------------------------------------------------
//  nopendehingejoint_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendehingejoint.h"
#include "opende/nopendejointcmds.h"

using namespace nOpendeCmd;

namespace
{

N_JOINT_SET_VECTOR(n_setanchor, nOpendeHingeJoint, SetAnchor, "anchor", nCmdGetVector3)
N_JOINT_SET_VECTOR(n_setaxis, nOpendeHingeJoint, SetAxis, "axis", GetDirection)
N_JOINT_GET_VECTOR(n_getanchor, nOpendeHingeJoint, GetAnchor, Joint)
N_JOINT_GET_VECTOR(n_getanchor2, nOpendeHingeJoint, GetAnchor2, Joint)
N_JOINT_GET_VECTOR(n_getaxis, nOpendeHingeJoint, GetAxis, Joint)
N_JOINT_GET_FLOAT(n_getangle, nOpendeHingeJoint, GetAngle, Joint)
N_JOINT_GET_FLOAT(n_getanglerate, nOpendeHingeJoint, GetAngleRate, Joint)

}  // namespace

/*
 * nopendehingejoint_initcmds --
 *     Side effects: registers the commands of nopendehingejoint.
 */
void nopendehingejoint_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetAnchor_fff", N_FOURCC('S', 'A', 'N', 'C'), n_setanchor);
    cl->AddCmd("v_SetAxis_fff", N_FOURCC('S', 'A', 'X', '_'), n_setaxis);
    cl->AddCmd("fff_GetAnchor_v", N_FOURCC('G', 'A', 'N', 'C'), n_getanchor);
    cl->AddCmd("fff_GetAnchor2_v", N_FOURCC('G', 'A', 'N', '2'), n_getanchor2);
    cl->AddCmd("fff_GetAxis_v", N_FOURCC('G', 'A', 'X', '_'), n_getaxis);
    cl->AddCmd("f_GetAngle_v", N_FOURCC('G', 'A', 'N', 'G'), n_getangle);
    cl->AddCmd("f_GetAngleRate_v", N_FOURCC('G', 'A', 'R', '_'), n_getanglerate);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: the base's commands, then SANC, SAX_ and the
 *     parameters of axis 0.
 */
bool nOpendeHingeJoint::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeJoint::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    return PutVectorCmd(ps, this, N_FOURCC('S', 'A', 'N', 'C'), this->GetAnchor()) &&
           PutAxisCmd(ps, this, N_FOURCC('S', 'A', 'X', '_'), this->GetAxis()) && this->SaveParams(ps, 1);
}
