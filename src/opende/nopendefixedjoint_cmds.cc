//------------------------------------------------------------------------------
//  nopendefixedjoint_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendefixedjoint.h"
#include "opende/nopendejointcmds.h"

using namespace nOpendeCmd;

namespace
{

void n_fix(void* slf, nCmd* cmd)
{
    nOpendeFixedJoint* self = Joint<nOpendeFixedJoint>(slf, cmd);
    if (self) self->Fix();
}

}  // namespace

/*
 * nopendefixedjoint_initcmds --
 *     Side effects: registers the command of nopendefixedjoint.
 */
void nopendefixedjoint_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_Fix_v", N_FOURCC('F', 'I', 'X', '_'), n_fix);
    cl->EndCmds();
}
