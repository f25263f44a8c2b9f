//------------------------------------------------------------------------------
//  nrppass.cc
//------------------------------------------------------------------------------
#include "renderpath/nrppass.h"
#include "renderpath/nrenderpath2.h"
#include "gfx2/ngfxserver2.h"
#include "variable/nvariableserver.h"

nRpPass::nRpPass() : phases(0, 16), clearColor(0.0f, 0.0f, 0.0f, 1.0f)
{
}

/*
 * AddVariableShaderParam --
 *     Results: none.
 *     Side effects: records a binding whose handle is the global
 *     variable's and whose integer value is the parameter.
 */
void nRpPass::AddVariableShaderParam(int varHandle, nShaderState::Param p)
{
    this->variableBindings.AddVariable(nVariable(varHandle, int(p)));
}

/*
 * Validate --
 *     Results: none.
 *     Side effects: validates the phases; gets and loads the pass shader
 *     when the pass names one; gets the full-screen quad "_rpmesh" that all
 *     passes share and, when it is not loaded, makes it an empty write-only
 *     mesh of 4 vertices (coord and uv0) and 6 indices. When an object
 *     that is no mesh holds that pooled name, the pass reports it once and
 *     draws no quad.
 */
void nRpPass::Validate()
{
    for (int i = 0; i < this->phases.Size(); i++)
    {
        this->phases[i].Validate();
    }
    if (!this->shaderPath.IsEmpty())
    {
        nRenderPath2::Instance()->ValidateShader(this->shader, this->shaderPath, false);
    }
    if (!this->quadMesh.isvalid())
    {
        if (this->quadRefused) return;
        nMesh2* mesh = nGfxServer2::Instance()->NewMesh("_rpmesh");
        if (!mesh)
        {
            // an object a script made holds the quad's pooled name (the
            // resource server said which); asked once, the pass draws no quad
            n_printf("nRpPass: pass '%s' has no full-screen quad mesh '_rpmesh' and draws none\n", this->name.Get());
            this->quadRefused = true;
            return;
        }
        this->quadMesh.adopt(mesh);
    }
    nMesh2* mesh = this->quadMesh.get();
    if (!mesh->IsLoaded())
    {
        mesh->SetUsage(nMesh2::WriteOnly);
        mesh->SetNumVertices(4);
        mesh->SetNumIndices(6);
        mesh->SetVertexComponents(nMesh2::Coord | nMesh2::Uv0);
        if (!mesh->Load())
        {
            n_error("nRpPass: could not create the full-screen quad mesh '_rpmesh'!");
        }
    }
}

/*
 * Begin --
 *     Results: the number of phases; 0 when the graphics server's scene
 *     did not begin (End then does nothing).
 *     Side effects: selects the render target (the back buffer for an
 *     empty name), begins the graphics scene, clears, begins the pass
 *     shader with the current values of the bound variables, draws the
 *     GUI and the full-screen quad when asked to.
 */
int nRpPass::Begin()
{
    n_assert(!this->inBegin);
    nGfxServer2* gfx = nGfxServer2::Instance();
    if (this->renderTargetName.IsEmpty())
    {
        gfx->SetRenderTarget(nullptr);
    }
    else
    {
        const nRpRenderTarget* rt = nRenderPath2::Instance()->FindRenderTarget(this->renderTargetName);
        if (!rt) n_fatal("nRpPass: invalid render target name: %s!", this->renderTargetName.Get());
        gfx->SetRenderTarget(rt->GetTexture());
    }
    if (!gfx->BeginScene()) return 0;
    if (0 != this->clearFlags)
    {
        gfx->Clear(this->clearFlags, this->clearColor.x, this->clearColor.y, this->clearColor.z,
                   this->clearColor.w, this->clearDepth, this->clearStencil);
    }
    nShader2* shd = this->shader.get_unsafe();
    if (shd)
    {
        this->UpdateVariableShaderParams();
        if (!this->technique.IsEmpty()) shd->SetTechnique(this->technique.Get());
        shd->SetParams(this->shaderParams);
        gfx->SetShader(shd);
        nRenderPath2::CheckOnePass(shd, shd->Begin(true));
        shd->BeginPass(0);
    }
    if (this->drawGui) nRenderPath2::Instance()->RenderGui();
    if (this->drawQuad) this->DrawFullScreenQuad();
    this->inBegin = true;
    return this->phases.Size();
}

/*
 * End --
 *     Results: none.
 *     Side effects: after a Begin that began the scene, ends the pass
 *     shader and the graphics scene.
 */
void nRpPass::End()
{
    if (!this->inBegin) return;
    nShader2* shd = this->shader.get_unsafe();
    if (shd)
    {
        shd->EndPass();
        shd->End();
    }
    nGfxServer2::Instance()->EndScene();
    this->inBegin = false;
}

/*
 * DrawFullScreenQuad --
 *     Results: none.
 *     Side effects: writes the quad for the current target, draws it with
 *     identity Model, View and Projection transforms (restored after)
 *     through the active pass shader's pass.
 */
void nRpPass::DrawFullScreenQuad()
{
    if (!this->quadMesh.isvalid()) return;
    this->UpdateMeshCoords();
    nGfxServer2* gfx = nGfxServer2::Instance();
    const matrix44 identity;
    gfx->PushTransform(nGfxServer2::Model, identity);
    gfx->PushTransform(nGfxServer2::View, identity);
    gfx->PushTransform(nGfxServer2::Projection, identity);
    gfx->SetMesh(this->quadMesh.get());
    gfx->SetVertexRange(0, 4);
    gfx->SetIndexRange(0, 6);
    gfx->DrawIndexedNS(nGfxServer2::TriangleList);
    gfx->SetMesh(nullptr);
    gfx->PopTransform(nGfxServer2::Projection);
    gfx->PopTransform(nGfxServer2::View);
    gfx->PopTransform(nGfxServer2::Model);
}

/*
 * UpdateVariableShaderParams --
 *     Results: none.
 *     Side effects: for each binding in order, the current value of the
 *     global variable becomes the bound parameter's value in the pass's
 *     parameters, by the variable's type. Variables are set from scripts,
 *     so a binding whose global is gone, whose type has no shader
 *     argument, or whose object is not a texture is logged and leaves the
 *     parameter as it was.
 */
void nRpPass::UpdateVariableShaderParams()
{
    nVariableServer* varServer = nVariableServer::Instance();
    for (int i = 0; i < this->variableBindings.GetNumVariables(); i++)
    {
        const nVariable& binding = this->variableBindings.GetVariableAt(i);
        const nShaderState::Param p = nShaderState::Param(binding.GetInt());
        const char* name = varServer->GetVariableName(binding.GetHandle());
        const char* varName = name ? name : "";
        const nVariable* valueVar = varServer->GetGlobalVariableContext().GetVariable(binding.GetHandle());
        if (!valueVar)
        {
            n_printf("nRpPass: pass '%.256s': the global variable '%.256s' is gone\n", this->name.Get(), varName);
            continue;
        }
        nShaderArg arg;
        switch (valueVar->GetType())
        {
            case nVariable::Int: arg = nShaderArg(valueVar->GetInt()); break;
            case nVariable::Float: arg = nShaderArg(valueVar->GetFloat()); break;
            case nVariable::Float4: arg = nShaderArg(valueVar->GetFloat4()); break;
            case nVariable::Vector4:
            {
                const vector4& v = valueVar->GetVector4();
                arg = nShaderArg(nFloat4{v.x, v.y, v.z, v.w});
                break;
            }
            case nVariable::Object:
            {
                nTexture2* tex = dynamic_cast<nTexture2*>(valueVar->GetObj());
                if (!tex)
                {
                    n_printf("nRpPass: pass '%.256s': the variable '%.256s' bound as a texture holds no texture\n",
                             this->name.Get(), varName);
                    continue;
                }
                arg = nShaderArg(tex);
                break;
            }
            case nVariable::Matrix: arg = nShaderArg(valueVar->GetMatrix()); break;
            default:
                n_printf("nRpPass: Invalid shader arg datatype! (pass '%.256s', variable '%.256s')\n", this->name.Get(),
                         varName);
                continue;
        }
        this->shaderParams.SetArg(p, arg);
    }
}

/*
 * UpdateMeshCoords --
 *     Results: none.
 *     Side effects: writes the quad's four vertices and six indices for
 *     the size of the current render target (the display mode for the back
 *     buffer), shifted by Direct3D's half-pixel convention so texels map
 *     to pixels.
 */
void nRpPass::UpdateMeshCoords()
{
    nGfxServer2* gfx = nGfxServer2::Instance();
    float w;
    float h;
    const nTexture2* target = gfx->GetRenderTarget();
    if (target)
    {
        w = float(target->GetWidth());
        h = float(target->GetHeight());
    }
    else
    {
        w = float(gfx->GetDisplayMode().GetWidth());
        h = float(gfx->GetDisplayMode().GetHeight());
    }
    // a target of unknown size is taken as one pixel, not divided by
    if (w < 1.0f) w = 1.0f;
    if (h < 1.0f) h = 1.0f;
    const float pixelX = 1.0f / w;
    const float pixelY = 1.0f / h;
    const float halfX = pixelX * 0.5f;
    const float halfY = pixelY * 0.5f;
    const float vertices[4][5] = {
        {-1.0f, 1.0f, 0.0f, halfX, halfY},
        {-1.0f, -1.0f + pixelY, 0.0f, halfX, 1.0f - halfY},
        {1.0f - pixelX, 1.0f, 0.0f, 1.0f - halfX, halfY},
        {1.0f - pixelX, -1.0f + pixelY, 0.0f, 1.0f - halfX, 1.0f - halfY},
    };
    static const ushort indices[6] = {0, 1, 2, 1, 3, 2};

    nMesh2* mesh = this->quadMesh.get();
    float* vPtr = mesh->LockVertices();
    n_assert(vPtr);
    for (int v = 0; v < 4; v++)
    {
        for (int c = 0; c < 5; c++) *vPtr++ = vertices[v][c];
    }
    mesh->UnlockVertices();
    ushort* iPtr = mesh->LockIndices();
    n_assert(iPtr);
    for (int i = 0; i < 6; i++) iPtr[i] = indices[i];
    mesh->UnlockIndices();
}
