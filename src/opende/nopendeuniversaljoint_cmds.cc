//------------------------------------------------------------------------------
//  nopendeuniversaljoint_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendeuniversaljoint.h"
#include "opende/nopendejointcmds.h"

using namespace nOpendeCmd;

namespace
{

N_JOINT_SET_VECTOR(n_setanchor, nOpendeUniversalJoint, SetAnchor, "anchor", nCmdGetVector3)
N_JOINT_SET_VECTOR(n_setaxis1, nOpendeUniversalJoint, SetAxis1, "axis 1", GetDirection)
N_JOINT_SET_VECTOR(n_setaxis2, nOpendeUniversalJoint, SetAxis2, "axis 2", GetDirection)
N_JOINT_GET_VECTOR(n_getanchor, nOpendeUniversalJoint, GetAnchor, Joint)
N_JOINT_GET_VECTOR(n_getanchor2, nOpendeUniversalJoint, GetAnchor2, Joint)
N_JOINT_GET_VECTOR(n_getaxis1, nOpendeUniversalJoint, GetAxis1, Joint)
N_JOINT_GET_VECTOR(n_getaxis2, nOpendeUniversalJoint, GetAxis2, Joint)

}  // namespace

/*
 * nopendeuniversaljoint_initcmds --
 *     Side effects: registers the commands of nopendeuniversaljoint.
 */
void nopendeuniversaljoint_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetAnchor_fff", N_FOURCC('S', 'A', 'N', 'C'), n_setanchor);
    cl->AddCmd("fff_GetAnchor_v", N_FOURCC('G', 'A', 'N', 'C'), n_getanchor);
    cl->AddCmd("fff_GetAnchor2_v", N_FOURCC('G', 'A', 'N', '2'), n_getanchor2);
    cl->AddCmd("v_SetAxis1_fff", N_FOURCC('S', 'A', 'X', '1'), n_setaxis1);
    cl->AddCmd("fff_GetAxis1_v", N_FOURCC('G', 'A', 'X', '1'), n_getaxis1);
    cl->AddCmd("v_SetAxis2_fff", N_FOURCC('S', 'A', 'X', '2'), n_setaxis2);
    cl->AddCmd("fff_GetAxis2_v", N_FOURCC('G', 'A', 'X', '2'), n_getaxis2);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: the base's commands, then SANC, SAX1 and SAX2 (axes that
 *     were never set are left out) and the
 *     parameters of the three axes.
 */
bool nOpendeUniversalJoint::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeJoint::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    return PutVectorCmd(ps, this, N_FOURCC('S', 'A', 'N', 'C'), this->GetAnchor()) &&
           PutAxisCmd(ps, this, N_FOURCC('S', 'A', 'X', '1'), this->GetAxis1()) &&
           PutAxisCmd(ps, this, N_FOURCC('S', 'A', 'X', '2'), this->GetAxis2()) && this->SaveParams(ps, 3);
}
