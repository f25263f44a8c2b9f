//------------------------------------------------------------------------------
//  nparticleshapenode_cmds.cc
//
//  The script commands of nparticleshapenode; every value comes from data
//  scripts, so a curve type out of range or a non-finite number is a
//  script error.
//------------------------------------------------------------------------------
#include "game/nparticleshapenode.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

namespace
{

void n_setloop(void* slf, nCmd* cmd)
{
    nCmdSelf<nParticleShapeNode>(slf)->SetLoop(cmd->In()->GetB());
}

void n_getloop(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nParticleShapeNode>(slf)->GetLoop());
}

void n_setemissionduration(void* slf, nCmd* cmd)
{
    float d;
    if (!nCmdGetF(cmd, d, 0.0f, 1e6f, "emission duration")) return;
    nCmdSelf<nParticleShapeNode>(slf)->SetEmissionDuration(d);
}

void n_getemissionduration(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nParticleShapeNode>(slf)->GetEmissionDuration());
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
    nCmdSelf<nParticleShapeNode>(slf)->SetCurve(type, c);
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

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: the shape node's commands, then setloop,
 *     setemissionduration and setcurve for every curve that is set
 *     (a curve of zeros is what a loaded node starts with).
 */
bool nParticleShapeNode::SaveCmds(nPersistServer* ps)
{
    if (!nShapeNode::SaveCmds(ps)) return false;
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'L', 'O', 'P'));
    cmd->In()->SetB(this->GetLoop());
    if (!ps->PutCmd(cmd)) return false;
    cmd = ps->GetCmd(this, N_FOURCC('S', 'E', 'M', 'D'));
    cmd->In()->SetF(this->GetEmissionDuration());
    if (!ps->PutCmd(cmd)) return false;
    for (int type = 0; type < NumCurves; type++)
    {
        const Curve& c = this->GetCurve(type);
        bool isSet = c.amplitude != 0.0f;
        for (float k : c.keys) isSet = isSet || k != 0.0f;
        if (!isSet) continue;
        cmd = ps->GetCmd(this, N_FOURCC('S', 'C', 'R', 'V'));
        cmd->In()->SetI(type);
        for (float k : c.keys) cmd->In()->SetF(k);
        cmd->In()->SetF(c.amplitude);
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}
