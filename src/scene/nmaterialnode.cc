//------------------------------------------------------------------------------
//  nmaterialnode.cc
//------------------------------------------------------------------------------
#include "scene/nmaterialnode.h"
#include "scene/nsceneserver.h"
#include "scene/nrendercontext.h"
#include "kernel/nkernelserver.h"

nMaterialNode::nMaterialNode() :
    shaderArray(4, 4)
{
}

nMaterialNode::~nMaterialNode()
{
    for (ShaderEntry& entry : this->shaderArray)
    {
        entry.shader.Destroy();
    }
}

/*
 * SetShader --
 *     Results: none.
 *     Side effects: the pass's entry gets the file name (its loaded
 *     shader released), or a new entry is appended.
 */
void nMaterialNode::SetShader(nFourCC fourcc, const char* name)
{
    n_assert(name);
    ShaderEntry* entry = this->FindShaderEntry(fourcc);
    if (entry)
    {
        entry->shader.release();
        entry->name = name;
    }
    else
    {
        ShaderEntry e;
        e.fourcc = fourcc;
        e.name = name;
        this->shaderArray.Append(e);
    }
    this->SetResourcesValid(false);
}

const char* nMaterialNode::GetShader(nFourCC fourcc) const
{
    const ShaderEntry* entry = this->FindShaderEntry(fourcc);
    return entry ? entry->name.Get() : nullptr;
}

const nMaterialNode::ShaderEntry& nMaterialNode::GetShaderAt(int index) const
{
    n_assert((index >= 0) && (index < this->shaderArray.Size()));
    return this->shaderArray[index];
}

nMaterialNode::ShaderEntry* nMaterialNode::FindShaderEntry(nFourCC fourcc) const
{
    for (ShaderEntry& entry : this->shaderArray)
    {
        if (entry.fourcc == fourcc) return &entry;
    }
    return nullptr;
}

bool nMaterialNode::HasShader(nFourCC fourcc) const
{
    return nullptr != this->FindShaderEntry(fourcc);
}

/*
 * LoadShaders --
 *     Results: true.
 *     Side effects: every entry with a file name and no shader, whose pass
 *     the scene server uses, gets its shader from the graphics server,
 *     loaded; a failed load leaves the entry empty.
 */
bool nMaterialNode::LoadShaders()
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    nRoot* sceneObj = nKernelServer::Instance()->Lookup("/sys/servers/scene");
    const nSceneServer* scene = (sceneObj && sceneObj->IsA("nsceneserver")) ? static_cast<nSceneServer*>(sceneObj)
                                                                           : nullptr;
    for (ShaderEntry& entry : this->shaderArray)
    {
        if (entry.shader.get() || entry.name.IsEmpty()) continue;
        if (scene && !scene->IsShaderUsed(entry.fourcc)) continue;
        nShader2* shader = gfx ? gfx->NewShader(entry.name.Get()) : nullptr;
        if (!shader)
        {
            n_printf("nMaterialNode: Error loading shader '%s'\n", entry.name.Get());
            continue;
        }
        if (!shader->IsLoaded())
        {
            shader->SetFilename(entry.name);
            if (!shader->Load())
            {
                n_printf("nMaterialNode: Error loading shader '%s'\n", entry.name.Get());
                shader->Release();
                continue;
            }
        }
        entry.shader.set(shader);
    }
    return true;
}

/*
 * LoadResources --
 *     Results: true.
 *     Side effects: shaders first, so that the textures can ask them
 *     which parameters they use, then the textures.
 */
bool nMaterialNode::LoadResources()
{
    this->LoadShaders();
    return nAbstractShaderNode::LoadResources();
}

/*
 * UnloadResources --
 *     Results: none. Side effects: textures, then shaders are released.
 */
void nMaterialNode::UnloadResources()
{
    nAbstractShaderNode::UnloadResources();
    for (ShaderEntry& entry : this->shaderArray)
    {
        entry.shader.release();
    }
}

nShader2* nMaterialNode::GetShaderObject(nFourCC fourcc)
{
    if (!this->AreResourcesValid()) this->LoadResources();
    const ShaderEntry* entry = this->FindShaderEntry(fourcc);
    return entry ? entry->shader.get() : nullptr;
}

/*
 * ApplyShader --
 *     Results: true when the pass's shader is loaded and now current.
 *     Side effects: a pass without entry is reported; a shader that died
 *     under the node is dropped and loaded again next frame.
 */
bool nMaterialNode::ApplyShader(nFourCC fourcc, nSceneServer* sceneServer)
{
    n_assert(sceneServer);
    ShaderEntry* entry = this->FindShaderEntry(fourcc);
    if (!entry)
    {
        n_printf("WARNING:%sShader '%i' not found!", __FILE__, int(fourcc));
        return false;
    }
    if (entry->shader.died())
    {
        // the shader's pool was deleted: load it again with the next frame
        entry->shader.release();
        this->SetResourcesValid(false);
        return false;
    }
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    nShader2* shader = entry->shader.get();
    if (!shader || !gfx) return false;
    gfx->SetShader(shader);
    return true;
}

/*
 * RenderShader --
 *     Results: true.
 *     Side effects: shader animators run; the uv matrices of all four
 *     stages become the Texture0..3 transforms; the current shader gets
 *     the node's parameters and then the context's overrides.
 */
bool nMaterialNode::RenderShader(nFourCC /*fourcc*/, nSceneServer* sceneServer, nRenderContext* renderContext)
{
    n_assert(sceneServer);
    n_assert(renderContext);
    this->InvokeAnimators(ShaderAnimator, renderContext);
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return true;
    for (int stage = 0; stage < nGfxServer2::MaxTextureStages; stage++)
    {
        const matrix44 m(this->GetUvMatrix(uint(stage)));
        gfx->SetTransform(nGfxServer2::TransformType(nGfxServer2::Texture0 + stage), m);
    }
    this->DropDeadTextures();
    nShader2* shader = gfx->GetShader();
    if (shader)
    {
        shader->SetParams(this->shaderParams);
        shader->SetParams(renderContext->GetShaderOverrides());
    }
    return true;
}

/*
 * IsTextureUsed --
 *     Results: true when a loaded shader uses the parameter. Side effects: none.
 */
bool nMaterialNode::IsTextureUsed(nShaderState::Param param)
{
    for (const ShaderEntry& entry : this->shaderArray)
    {
        nShader2* shader = entry.shader.get();
        if (shader && shader->IsParameterUsed(param)) return true;
    }
    return false;
}

/*
 * UpdateInstanceStreamDecl --
 *     Results: none.
 *     Side effects: the node loads when not loaded; each loaded shader
 *     adds its per-instance parameters; a pass whose shader failed to load
 *     adds nothing. Then the children add theirs.
 */
void nMaterialNode::UpdateInstanceStreamDecl(nInstanceStream::Declaration& decl)
{
    if (!this->AreResourcesValid()) this->LoadResources();
    for (const ShaderEntry& entry : this->shaderArray)
    {
        nShader2* shader = entry.shader.get();
        if (shader) shader->CreateInstanceDeclaration(decl);
    }
    nAbstractShaderNode::UpdateInstanceStreamDecl(decl);
}
