//------------------------------------------------------------------------------
//  nabstractshadernode.cc
//------------------------------------------------------------------------------
#include "scene/nabstractshadernode.h"

nAbstractShaderNode::nAbstractShaderNode() :
    texNodeArray(0, 16)
{
}

nAbstractShaderNode::~nAbstractShaderNode()
{
    for (TexEntry& entry : this->texNodeArray)
    {
        entry.texture.Destroy();
    }
}

/*
 * CheckParam --
 *     Results: true for a parameter of the name table.
 *     Side effects: the first other one is reported with the node's name.
 */
bool nAbstractShaderNode::CheckParam(nShaderState::Param param) const
{
    if ((param >= 0) && (param < nShaderState::NumParameters)) return true;
    if (!this->invalidParamReported)
    {
        this->invalidParamReported = true;
        n_printf("WARNING: invalid shader parameter in object '%s'\n", this->GetName());
    }
    return false;
}

/*
 * ReleaseTexture --
 *     Results: none.
 *     Side effects: the entry's texture is released and the parameter no
 *     longer points at it (the block does not count its references).
 */
void nAbstractShaderNode::ReleaseTexture(TexEntry& entry)
{
    if (this->shaderParams.IsParameterValid(entry.param) &&
        (nShaderState::Texture == this->shaderParams.GetArg(entry.param).GetType()))
    {
        this->shaderParams.SetArg(entry.param, nShaderArg());
    }
    entry.texture.release();
}

/*
 * SetTexture --
 *     Results: none.
 *     Side effects: the parameter's entry gets the file name (its loaded
 *     texture released) or a new entry is appended; the node's resources
 *     count as not valid, so the next frame loads the texture.
 */
void nAbstractShaderNode::SetTexture(nShaderState::Param param, const char* texName)
{
    n_assert(texName);
    if (!this->CheckParam(param)) return;
    TexEntry* entry = nullptr;
    for (TexEntry& e : this->texNodeArray)
    {
        if (e.param == param) entry = &e;
    }
    if (entry)
    {
        this->ReleaseTexture(*entry);
        entry->texName = texName;
    }
    else
    {
        TexEntry e;
        e.param = param;
        e.texName = texName;
        this->texNodeArray.Append(e);
    }
    this->SetResourcesValid(false);
}

const char* nAbstractShaderNode::GetTexture(nShaderState::Param param) const
{
    for (const TexEntry& e : this->texNodeArray)
    {
        if (e.param == param) return e.texName.Get();
    }
    return nullptr;
}

void nAbstractShaderNode::SetInt(nShaderState::Param param, int val)
{
    if (this->CheckParam(param)) this->shaderParams.SetArg(param, nShaderArg(val));
}

void nAbstractShaderNode::SetBool(nShaderState::Param param, bool val)
{
    if (this->CheckParam(param)) this->shaderParams.SetArg(param, nShaderArg(val));
}

void nAbstractShaderNode::SetFloat(nShaderState::Param param, float val)
{
    if (this->CheckParam(param)) this->shaderParams.SetArg(param, nShaderArg(val));
}

void nAbstractShaderNode::SetVector(nShaderState::Param param, const vector4& val)
{
    if (this->CheckParam(param)) this->shaderParams.SetArg(param, nShaderArg(val));
}

int nAbstractShaderNode::GetInt(nShaderState::Param param) const
{
    return this->shaderParams.GetArg(param).GetInt();
}

bool nAbstractShaderNode::GetBool(nShaderState::Param param) const
{
    return this->shaderParams.GetArg(param).GetBool();
}

float nAbstractShaderNode::GetFloat(nShaderState::Param param) const
{
    return this->shaderParams.GetArg(param).GetFloat();
}

vector4 nAbstractShaderNode::GetVector(nShaderState::Param param) const
{
    return this->shaderParams.GetArg(param).GetVector4();
}

void nAbstractShaderNode::SetUvPos(uint layer, const vector2& p)
{
    n_assert(layer < nGfxServer2::MaxTextureStages);
    this->uvTransforms[layer].pos = p;
    this->uvTransforms[layer].dirty = true;
}

const vector2& nAbstractShaderNode::GetUvPos(uint layer) const
{
    n_assert(layer < nGfxServer2::MaxTextureStages);
    return this->uvTransforms[layer].pos;
}

void nAbstractShaderNode::SetUvEuler(uint layer, const vector2& e)
{
    n_assert(layer < nGfxServer2::MaxTextureStages);
    this->uvTransforms[layer].euler = e;
    this->uvTransforms[layer].dirty = true;
}

const vector2& nAbstractShaderNode::GetUvEuler(uint layer) const
{
    n_assert(layer < nGfxServer2::MaxTextureStages);
    return this->uvTransforms[layer].euler;
}

void nAbstractShaderNode::SetUvScale(uint layer, const vector2& s)
{
    n_assert(layer < nGfxServer2::MaxTextureStages);
    this->uvTransforms[layer].scale = s;
    this->uvTransforms[layer].dirty = true;
}

const vector2& nAbstractShaderNode::GetUvScale(uint layer) const
{
    n_assert(layer < nGfxServer2::MaxTextureStages);
    return this->uvTransforms[layer].scale;
}

/*
 * GetUvMatrix --
 *     Results: the stage's uv matrix: scaled in x and y, rotated about x
 *     and then y, the position added to the third row.
 *     Side effects: a dirty matrix is rebuilt and the flag cleared.
 */
const matrix33& nAbstractShaderNode::GetUvMatrix(uint layer)
{
    n_assert(layer < nGfxServer2::MaxTextureStages);
    UvTransform& uv = this->uvTransforms[layer];
    if (uv.dirty)
    {
        uv.matrix.ident();
        uv.matrix.scale(vector3(uv.scale.x, uv.scale.y, 1.0f));
        uv.matrix.rotate_x(uv.euler.x);
        uv.matrix.rotate_y(uv.euler.y);
        uv.matrix.m[2][0] += uv.pos.x;
        uv.matrix.m[2][1] += uv.pos.y;
        uv.dirty = false;
    }
    return uv.matrix;
}

bool nAbstractShaderNode::IsTextureUsed(nShaderState::Param /*param*/)
{
    return true;
}

/*
 * LoadTexture --
 *     Results: none.
 *     Side effects: an entry with a file name, no texture and a used
 *     parameter gets its texture from the graphics server, loaded, and
 *     set into the parameters; a failed load is reported and leaves the
 *     entry empty.
 */
void nAbstractShaderNode::LoadTexture(int index)
{
    TexEntry& entry = this->texNodeArray[index];
    if (entry.texture.get() || entry.texName.IsEmpty() || !this->IsTextureUsed(entry.param)) return;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    nTexture2* tex = gfx ? gfx->NewTexture(entry.texName.Get()) : nullptr;
    if (!tex)
    {
        n_printf("nAbstractShaderNode: Error loading texture '%s'\n", entry.texName.Get());
        return;
    }
    if (!tex->IsLoaded())
    {
        tex->SetFilename(entry.texName);
        if (!tex->Load())
        {
            n_printf("nAbstractShaderNode: Error loading texture '%s'\n", entry.texName.Get());
            tex->Release();
            return;
        }
    }
    entry.texture.set(tex);
    this->shaderParams.SetArg(entry.param, nShaderArg(tex));
}

/*
 * LoadResources --
 *     Results: true (a texture that fails does not fail the node).
 *     Side effects: the node counts as loaded; every entry's texture loads.
 */
bool nAbstractShaderNode::LoadResources()
{
    nTransformNode::LoadResources();
    for (int i = 0; i < this->texNodeArray.Size(); i++)
    {
        this->LoadTexture(i);
    }
    return true;
}

/*
 * UnloadResources --
 *     Results: none.
 *     Side effects: every entry's texture is released and its parameter
 *     holds no texture any more.
 */
void nAbstractShaderNode::UnloadResources()
{
    nTransformNode::UnloadResources();
    for (TexEntry& entry : this->texNodeArray)
    {
        this->ReleaseTexture(entry);
    }
}

/*
 * DropDeadTextures --
 *     Results: none.
 *     Side effects: a parameter whose entry's texture died holds no
 *     texture any more, and the node counts as not loaded.
 */
void nAbstractShaderNode::DropDeadTextures()
{
    for (TexEntry& entry : this->texNodeArray)
    {
        if (entry.texture.died())
        {
            this->ReleaseTexture(entry);
            this->SetResourcesValid(false);
        }
    }
}
