//------------------------------------------------------------------------------
//  nmaterialnode_cmds.cc
//
//  The script commands of nmaterialnode and its SaveCmds. A pass is
//  named by a text of one to four characters.
//------------------------------------------------------------------------------
#include "scene/nmaterialnode.h"
#include "kernel/ncmdargs.h"
#include "scene/nscenecmdutil.h"
#include "kernel/npersistserver.h"

#include <cstring>

namespace
{

/*
 * GetPass --
 *     Results: true with the pass fourcc of a text of 1..4 characters;
 *     otherwise false, reported as a script error.
 */
bool GetPass(nCmd* cmd, nFourCC& fourcc)
{
    const char* str = nullptr;
    if (!nCmdGetNonEmptyS(cmd, str, "pass fourcc")) return false;
    if (strlen(str) > 4) return nCmdFail(cmd, "pass fourcc '%.16s' has more than four characters", str);
    fourcc = nSceneStringToFourCC(str);
    return true;
}

void n_setshader(void* slf, nCmd* cmd)
{
    nFourCC fourcc = 0;
    const char* name = nullptr;
    if (!GetPass(cmd, fourcc) || !nCmdGetS(cmd, name, "shader file name")) return;
    nCmdSelf<nMaterialNode>(slf)->SetShader(fourcc, name);
}

void n_getshader(void* slf, nCmd* cmd)
{
    nFourCC fourcc = 0;
    if (!GetPass(cmd, fourcc)) return;
    cmd->Out()->SetS(nCmdSelf<nMaterialNode>(slf)->GetShader(fourcc));
}

void n_getnumshaders(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(nCmdSelf<nMaterialNode>(slf)->GetNumShaders());
}

void n_getshaderat(void* slf, nCmd* cmd)
{
    const int n = nCmdSelf<nMaterialNode>(slf)->GetNumShaders();
    int index = 0;
    n_cmd_check(cmd, n > 0, "the node has no shaders");
    if (!nCmdGetI(cmd, index, 0, n - 1, "shader index")) return;
    const nMaterialNode::ShaderEntry& entry = nCmdSelf<nMaterialNode>(slf)->GetShaderAt(index);
    cmd->Out()->SetS(nSceneFourCCToString(entry.fourcc).Get());
    cmd->Out()->SetS(entry.name.Get());
}

}  // namespace

/*
 * nmaterialnode_initcmds --
 *     Results: none. Side effects: registers the commands of nmaterialnode.
 */
void nmaterialnode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setshader_ss", N_FOURCC('S', 'S', 'H', 'D'), n_setshader);
    cl->AddCmd("s_getshader_s", N_FOURCC('G', 'S', 'H', 'D'), n_getshader);
    cl->AddCmd("i_getnumshaders_v", N_FOURCC('G', 'N', 'S', 'D'), n_getnumshaders);
    cl->AddCmd("ss_getshaderat_i", N_FOURCC('G', 'S', 'A', 'T'), n_getshaderat);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: one "setshader" per entry, in order.
 */
bool nMaterialNode::SaveCmds(nPersistServer* ps)
{
    if (!nAbstractShaderNode::SaveCmds(ps)) return false;
    for (int i = 0; i < this->GetNumShaders(); i++)
    {
        const ShaderEntry& entry = this->GetShaderAt(i);
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'S', 'H', 'D'));
        cmd->In()->SetS(nSceneFourCCToString(entry.fourcc).Get());
        cmd->In()->SetS(entry.name.Get());
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}
