//------------------------------------------------------------------------------
//  nparticleshapenode_cmds.cc
//
//  The script commands of nparticleshapenode; every value comes from data
//  scripts, so a curve type out of range or a non-finite number is a
//  script error.
//------------------------------------------------------------------------------
#include "game/nparticleshapenode.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdguard.h"

namespace
{

nParticleShapeNode* Self(void* slf)
{
    return static_cast<nParticleShapeNode*>(slf);
}

void n_setloop(void* slf, nCmd* cmd)
{
    Self(slf)->SetLoop(cmd->In()->GetB());
}

void n_getloop(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(Self(slf)->GetLoop());
}

void n_setemissionduration(void* slf, nCmd* cmd)
{
    float d;
    if (!nCmdGetF(cmd, d, 0.0f, 1e6f, "emission duration")) return;
    Self(slf)->SetEmissionDuration(d);
}

void n_getemissionduration(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(Self(slf)->GetEmissionDuration());
}

void n_setcurve(void* slf, nCmd* cmd)
{
    int type;
    nParticleShapeNode::Curve c;
    if (!nCmdGetI(cmd, type, 0, nParticleShapeNode::NumCurves - 1, "curve type")) return;
    for (float& k : c.keys)
    {
        if (!nCmdGetF(cmd, k, "key value")) return;
    }
    if (!nCmdGetF(cmd, c.amplitude, "amplitude")) return;
    Self(slf)->SetCurve(type, c);
}

}  // namespace

/*
 * nparticleshapenode_initcmds --
 *     Side effects: registers the commands of nparticleshapenode.
 */
void nparticleshapenode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setloop_b", N_FOURCC('S', 'L', 'O', 'P'), n_setloop);
    cl->AddCmd("b_getloop_v", N_FOURCC('G', 'L', 'O', 'P'), n_getloop);
    cl->AddCmd("v_setemissionduration_f", N_FOURCC('S', 'E', 'M', 'D'), n_setemissionduration);
    cl->AddCmd("f_getemissionduration_v", N_FOURCC('G', 'E', 'M', 'D'), n_getemissionduration);
    cl->AddCmd("v_setcurve_ifffff", N_FOURCC('S', 'C', 'R', 'V'), n_setcurve);
    cl->EndCmds();
}
