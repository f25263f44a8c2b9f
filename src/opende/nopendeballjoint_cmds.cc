//------------------------------------------------------------------------------
//  nopendeballjoint_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendeballjoint.h"
#include "opende/nopendejointcmds.h"

using namespace nOpendeCmd;

namespace
{

N_JOINT_SET_VECTOR(n_setanchor, nOpendeBallJoint, SetAnchor, "anchor", nCmdGetVector3)
N_JOINT_GET_VECTOR(n_getanchor, nOpendeBallJoint, GetAnchor, Joint)
N_JOINT_GET_VECTOR(n_getanchor2, nOpendeBallJoint, GetAnchor2, Joint)

}  // namespace

/*
 * nopendeballjoint_initcmds --
 *     Side effects: registers the commands of nopendeballjoint.
 */
void nopendeballjoint_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetAnchor_fff", N_FOURCC('S', 'A', '_', '_'), n_setanchor);
    cl->AddCmd("fff_GetAnchor_v", N_FOURCC('G', 'A', '_', '_'), n_getanchor);
    cl->AddCmd("fff_GetAnchor2_v", N_FOURCC('G', 'A', '2', '_'), n_getanchor2);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: the base's commands, then SA__ with the anchor.
 */
bool nOpendeBallJoint::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeJoint::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    return PutVectorCmd(ps, this, N_FOURCC('S', 'A', '_', '_'), this->GetAnchor());
}
