//------------------------------------------------------------------------------
//  nopendesliderjoint_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendesliderjoint.h"
#include "opende/nopendejointcmds.h"

using namespace nOpendeCmd;

namespace
{

N_JOINT_SET_VECTOR(n_setaxis, nOpendeSliderJoint, SetAxis, "axis", GetDirection)
N_JOINT_GET_VECTOR(n_getaxis, nOpendeSliderJoint, GetAxis, Joint)
// ODE aborts when it reads the position of a slider without a body
N_JOINT_GET_FLOAT(n_getposition, nOpendeSliderJoint, GetPosition, AttachedJoint)
N_JOINT_GET_FLOAT(n_getpositionrate, nOpendeSliderJoint, GetPositionRate, AttachedJoint)

}  // namespace

/*
 * nopendesliderjoint_initcmds --
 *     Side effects: registers the commands of nopendesliderjoint.
 */
void nopendesliderjoint_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetAxis_fff", N_FOURCC('S', 'A', 'X', '_'), n_setaxis);
    cl->AddCmd("fff_GetAxis_v", N_FOURCC('G', 'A', 'X', '_'), n_getaxis);
    cl->AddCmd("f_GetPosition_v", N_FOURCC('G', 'P', 'O', 'S'), n_getposition);
    cl->AddCmd("f_GetPositionRate_v", N_FOURCC('G', 'P', 'R', '_'), n_getpositionrate);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: the base's commands, then SAX_ and the parameters of
 *     axis 0.
 */
bool nOpendeSliderJoint::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeJoint::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    return PutAxisCmd(ps, this, N_FOURCC('S', 'A', 'X', '_'), this->GetAxis()) && this->SaveParams(ps, 1);
}
