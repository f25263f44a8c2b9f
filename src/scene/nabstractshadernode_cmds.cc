//------------------------------------------------------------------------------
//  nabstractshadernode_cmds.cc
//
//  The script commands of nabstractshadernode and its SaveCmds. Unknown
//  parameter names in setters are warned about and ignored, as in the
//  node; a texture stage outside 0..3 is warned about and the command
//  changes nothing, so that a model file with one bad line still loads.
//------------------------------------------------------------------------------
#include "scene/nabstractshadernode.h"
#include "kernel/ncmdargs.h"
#include "kernel/npersistserver.h"

#include <climits>

namespace
{

/*
 * GetParam --
 *     Results: false (a script error) when the input is no string;
 *     otherwise true with the parameter of the name (InvalidParameter for
 *     an unknown one).
 */
bool GetParam(nCmd* cmd, nShaderState::Param& param)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "shader parameter name")) return false;
    param = nShaderState::StringToParam(name);
    return true;
}

/*
 * GetStoredParam --
 *     Results: true with a parameter that holds a value of the type;
 *     otherwise false, reported as a script error.
 */
bool GetStoredParam(void* slf, nCmd* cmd, nShaderState::Type type, nShaderState::Param& param)
{
    if (!GetParam(cmd, param)) return false;
    const nShaderParams& params = nCmdSelf<nAbstractShaderNode>(slf)->GetShaderParams();
    if (!params.IsParameterValid(param) || (params.GetArg(param).GetType() != type))
    {
        return nCmdFail(cmd, "the node holds no %s value of that parameter", nShaderState::TypeToString(type));
    }
    return true;
}

/*
 * GetStage --
 *     Results: true with a texture stage 0..3; false when the input is out
 *     of range (warned, not a script error) or not an int.
 */
bool GetStage(void* slf, nCmd* cmd, uint& stage)
{
    int i = 0;
    if (!nCmdGetI(cmd, i, INT_MIN, INT_MAX, "texture stage")) return false;
    if ((i < 0) || (i >= nGfxServer2::MaxTextureStages))
    {
        n_printf("Warning: '%s': texture stage %d outside 0..%d, ignored\n", nCmdSelf<nAbstractShaderNode>(slf)->GetFullName().Get(), i,
                 nGfxServer2::MaxTextureStages - 1);
        return false;
    }
    stage = uint(i);
    return true;
}

/*
 * GetStageVector --
 *     Results: true with a stage and two finite floats.
 */
bool GetStageVector(void* slf, nCmd* cmd, uint& stage, vector2& v)
{
    return GetStage(slf, cmd, stage) && nCmdGetVector2(cmd, v, "uv value");
}

void n_setuvpos(void* slf, nCmd* cmd)
{
    uint stage = 0;
    vector2 v;
    if (GetStageVector(slf, cmd, stage, v)) nCmdSelf<nAbstractShaderNode>(slf)->SetUvPos(stage, v);
}

void n_getuvpos(void* slf, nCmd* cmd)
{
    uint stage = 0;
    nCmdPutVector2(cmd, GetStage(slf, cmd, stage) ? nCmdSelf<nAbstractShaderNode>(slf)->GetUvPos(stage) : vector2());
}

void n_setuveuler(void* slf, nCmd* cmd)
{
    uint stage = 0;
    vector2 v;
    if (GetStageVector(slf, cmd, stage, v)) nCmdSelf<nAbstractShaderNode>(slf)->SetUvEuler(stage, v);
}

void n_getuveuler(void* slf, nCmd* cmd)
{
    uint stage = 0;
    nCmdPutVector2(cmd, GetStage(slf, cmd, stage) ? nCmdSelf<nAbstractShaderNode>(slf)->GetUvEuler(stage) : vector2());
}

void n_setuvscale(void* slf, nCmd* cmd)
{
    uint stage = 0;
    vector2 v;
    if (GetStageVector(slf, cmd, stage, v)) nCmdSelf<nAbstractShaderNode>(slf)->SetUvScale(stage, v);
}

void n_getuvscale(void* slf, nCmd* cmd)
{
    uint stage = 0;
    nCmdPutVector2(cmd, GetStage(slf, cmd, stage) ? nCmdSelf<nAbstractShaderNode>(slf)->GetUvScale(stage) : vector2(1.0f, 1.0f));
}

void n_settexture(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    const char* texName = nullptr;
    if (!GetParam(cmd, param) || !nCmdGetS(cmd, texName, "texture file name")) return;
    nCmdSelf<nAbstractShaderNode>(slf)->SetTexture(param, texName);
}

void n_gettexture(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    if (!GetParam(cmd, param)) return;
    cmd->Out()->SetS(nCmdSelf<nAbstractShaderNode>(slf)->GetTexture(param));
}

void n_setint(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    int i = 0;
    if (!GetParam(cmd, param) || !nCmdGetI(cmd, i, INT_MIN, INT_MAX, "int value")) return;
    nCmdSelf<nAbstractShaderNode>(slf)->SetInt(param, i);
}

void n_getint(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    if (!GetStoredParam(slf, cmd, nShaderState::Int, param)) return;
    cmd->Out()->SetI(nCmdSelf<nAbstractShaderNode>(slf)->GetInt(param));
}

void n_setbool(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    if (!GetParam(cmd, param)) return;
    nCmdSelf<nAbstractShaderNode>(slf)->SetBool(param, cmd->In()->GetB());
}

void n_getbool(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    if (!GetStoredParam(slf, cmd, nShaderState::Bool, param)) return;
    cmd->Out()->SetB(nCmdSelf<nAbstractShaderNode>(slf)->GetBool(param));
}

void n_setfloat(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    float f = 0;
    if (!GetParam(cmd, param) || !nCmdGetF(cmd, f, "float value")) return;
    nCmdSelf<nAbstractShaderNode>(slf)->SetFloat(param, f);
}

void n_getfloat(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    if (!GetStoredParam(slf, cmd, nShaderState::Float, param)) return;
    cmd->Out()->SetF(nCmdSelf<nAbstractShaderNode>(slf)->GetFloat(param));
}

void n_setvector(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    vector4 v;
    if (!GetParam(cmd, param) || !nCmdGetVector4(cmd, v, "vector value")) return;
    nCmdSelf<nAbstractShaderNode>(slf)->SetVector(param, v);
}

void n_getvector(void* slf, nCmd* cmd)
{
    nShaderState::Param param = nShaderState::InvalidParameter;
    if (!GetStoredParam(slf, cmd, nShaderState::Float4, param)) return;
    const vector4 v = nCmdSelf<nAbstractShaderNode>(slf)->GetVector(param);
    nCmdPutVector4(cmd, v);
}

void n_getparams(void* slf, nCmd* cmd)
{
    const nShaderParams& params = nCmdSelf<nAbstractShaderNode>(slf)->GetShaderParams();
    const int num = params.GetNumValidParams();
    nArg* list = n_new_array(nArg, num > 0 ? num : 1);
    for (int i = 0; i < num; i++)
    {
        nArg* pair = n_new_array(nArg, 2);
        pair[0].SetS(nShaderState::ParamToString(params.GetParamByIndex(i)));
        pair[1].SetS(nShaderState::TypeToString(params.GetArgByIndex(i).GetType()));
        list[i].SetL(pair, 2);
    }
    cmd->Out()->SetL(list, num);
}

}  // namespace

/*
 * nabstractshadernode_initcmds --
 *     Results: none. Side effects: registers the commands of nabstractshadernode.
 */
void nabstractshadernode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setuvpos_iff", N_FOURCC('S', 'U', 'V', 'P'), n_setuvpos);
    cl->AddCmd("ff_getuvpos_i", N_FOURCC('G', 'U', 'V', 'P'), n_getuvpos);
    cl->AddCmd("v_setuveuler_iff", N_FOURCC('S', 'U', 'V', 'E'), n_setuveuler);
    cl->AddCmd("ff_getuveuler_i", N_FOURCC('G', 'U', 'V', 'E'), n_getuveuler);
    cl->AddCmd("v_setuvscale_iff", N_FOURCC('S', 'U', 'V', 'S'), n_setuvscale);
    cl->AddCmd("ff_getuvscale_i", N_FOURCC('G', 'U', 'V', 'S'), n_getuvscale);
    cl->AddCmd("v_settexture_ss", N_FOURCC('S', 'T', 'X', 'T'), n_settexture);
    cl->AddCmd("s_gettexture_s", N_FOURCC('G', 'T', 'X', 'T'), n_gettexture);
    cl->AddCmd("v_setint_si", N_FOURCC('S', 'I', 'N', 'T'), n_setint);
    cl->AddCmd("i_getint_s", N_FOURCC('G', 'I', 'N', 'T'), n_getint);
    cl->AddCmd("v_setbool_sb", N_FOURCC('S', 'B', 'O', 'O'), n_setbool);
    cl->AddCmd("b_getbool_s", N_FOURCC('G', 'B', 'O', 'O'), n_getbool);
    cl->AddCmd("v_setfloat_sf", N_FOURCC('S', 'F', 'L', 'T'), n_setfloat);
    cl->AddCmd("f_getfloat_s", N_FOURCC('G', 'F', 'L', 'T'), n_getfloat);
    cl->AddCmd("v_setvector_sffff", N_FOURCC('S', 'V', 'E', 'C'), n_setvector);
    cl->AddCmd("ffff_getvector_s", N_FOURCC('G', 'V', 'E', 'C'), n_getvector);
    cl->AddCmd("l_getparams_v", N_FOURCC('G', 'P', 'M', 'S'), n_getparams);
    cl->EndCmds();
}

namespace
{

/*
 * PutStageCmd --
 *     Results: false when the command could not be written.
 *     Side effects: writes stage, x and y of a uv command.
 */
bool PutStageCmd(nPersistServer* ps, nObject* obj, nFourCC id, int stage, const vector2& v)
{
    nCmd* cmd = ps->GetCmd(obj, id);
    cmd->In()->SetI(stage);
    nCmdSetVector2(cmd, v);
    return ps->PutCmd(cmd);
}

}  // namespace

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the uv transforms that differ from the
 *     identity, the texture entries, and the constant parameters.
 */
bool nAbstractShaderNode::SaveCmds(nPersistServer* ps)
{
    if (!nTransformNode::SaveCmds(ps)) return false;
    for (int stage = 0; stage < nGfxServer2::MaxTextureStages; stage++)
    {
        const UvTransform& uv = this->uvTransforms[stage];
        if (((uv.pos.x != 0.0f) || (uv.pos.y != 0.0f)) &&
            !PutStageCmd(ps, this, N_FOURCC('S', 'U', 'V', 'P'), stage, uv.pos))
            return false;
        if (((uv.euler.x != 0.0f) || (uv.euler.y != 0.0f)) &&
            !PutStageCmd(ps, this, N_FOURCC('S', 'U', 'V', 'E'), stage, uv.euler))
            return false;
        if (((uv.scale.x != 1.0f) || (uv.scale.y != 1.0f)) &&
            !PutStageCmd(ps, this, N_FOURCC('S', 'U', 'V', 'S'), stage, uv.scale))
            return false;
    }
    for (const TexEntry& entry : this->texNodeArray)
    {
        nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'T', 'X', 'T'));
        cmd->In()->SetS(nShaderState::ParamToString(entry.param));
        cmd->In()->SetS(entry.texName.Get());
        if (!ps->PutCmd(cmd)) return false;
    }
    for (int i = 0; i < this->shaderParams.GetNumValidParams(); i++)
    {
        const nShaderState::Param param = this->shaderParams.GetParamByIndex(i);
        const nShaderArg& arg = this->shaderParams.GetArgByIndex(i);
        nCmd* cmd = nullptr;
        switch (arg.GetType())
        {
            case nShaderState::Void:
            case nShaderState::Texture:
                continue;
            case nShaderState::Bool:
                cmd = ps->GetCmd(this, N_FOURCC('S', 'B', 'O', 'O'));
                cmd->In()->SetS(nShaderState::ParamToString(param));
                cmd->In()->SetB(arg.GetBool());
                break;
            case nShaderState::Int:
                cmd = ps->GetCmd(this, N_FOURCC('S', 'I', 'N', 'T'));
                cmd->In()->SetS(nShaderState::ParamToString(param));
                cmd->In()->SetI(arg.GetInt());
                break;
            case nShaderState::Float:
                cmd = ps->GetCmd(this, N_FOURCC('S', 'F', 'L', 'T'));
                cmd->In()->SetS(nShaderState::ParamToString(param));
                cmd->In()->SetF(arg.GetFloat());
                break;
            case nShaderState::Float4:
                cmd = ps->GetCmd(this, N_FOURCC('S', 'V', 'E', 'C'));
                cmd->In()->SetS(nShaderState::ParamToString(param));
                nCmdSetVector4(cmd, arg.GetVector4());
                break;
            default:
                n_error("nAbstractShaderNode::SaveCmds(): Invalid variable type!\n");
                return false;
        }
        if (!ps->PutCmd(cmd)) return false;
    }
    return true;
}
