#ifndef N_RPPASS_H
#define N_RPPASS_H
//------------------------------------------------------------------------------
/**
    @class nRpPass
    @ingroup RenderPath

    One pass of the render path: it draws into the back buffer or a render
    target, clears it, sets up its pass shader with constant and
    variable-bound parameters, optionally draws the GUI and a full-screen
    quad, and holds the phases drawn in it.
*/
#include "renderpath/nrpphase.h"
#include "gfx2/nmesh2.h"
#include "gfx2/nshaderparams.h"
#include "mathlib/vector4.h"
#include "variable/nvariablecontext.h"

class nRpPass
{
public:
    nRpPass();

    void SetName(const nString& n) { this->name = n; }
    const nString& GetName() const { return this->name; }
    void SetShaderPath(const nString& p) { this->shaderPath = p; }
    const nString& GetShaderPath() const { return this->shaderPath; }
    void SetTechnique(const nString& t) { this->technique = t; }
    const nString& GetTechnique() const { return this->technique; }
    /// the render target's name; empty for the back buffer
    void SetRenderTargetName(const nString& n) { this->renderTargetName = n; }
    const nString& GetRenderTargetName() const { return this->renderTargetName; }
    /// a constant shader parameter of the pass shader
    void SetShaderArg(nShaderState::Param p, const nShaderArg& arg) { this->shaderParams.SetArg(p, arg); }
    const nShaderParams& GetShaderParams() const { return this->shaderParams; }
    /// bind a global render variable to a shader parameter (read every frame)
    void AddVariableShaderParam(int varHandle, nShaderState::Param p);
    const nVariableContext& GetVariableBindings() const { return this->variableBindings; }
    void AddPhase(const nRpPhase& phase) { this->phases.Append(phase); }
    int GetNumPhases() const { return this->phases.Size(); }
    nRpPhase& GetPhase(int i) const { return this->phases[i]; }
    /// a combination of nGfxServer2::BufferType; 0 means no clear
    void SetClearFlags(int f) { this->clearFlags = f; }
    int GetClearFlags() const { return this->clearFlags; }
    void SetClearColor(const vector4& c) { this->clearColor = c; }
    const vector4& GetClearColor() const { return this->clearColor; }
    void SetClearDepth(float d) { this->clearDepth = d; }
    float GetClearDepth() const { return this->clearDepth; }
    void SetClearStencil(int s) { this->clearStencil = s; }
    int GetClearStencil() const { return this->clearStencil; }
    void SetDrawQuad(bool b) { this->drawQuad = b; }
    bool GetDrawQuad() const { return this->drawQuad; }
    void SetDrawShadowVolumes(bool b) { this->drawShadowVolumes = b; }
    bool GetDrawShadowVolumes() const { return this->drawShadowVolumes; }
    void SetDrawGui(bool b) { this->drawGui = b; }
    bool GetDrawGui() const { return this->drawGui; }
    void SetShadowEnabledCondition(bool b) { this->shadowEnabledCondition = b; }
    bool GetShadowEnabledCondition() const { return this->shadowEnabledCondition; }
    /// the pass shader, null without one or before Validate
    nShader2* GetShader() const { return this->shader.get_unsafe(); }
    /// the shared full-screen quad, null before Validate
    nMesh2* GetQuadMesh() const { return this->quadMesh.get_unsafe(); }

    /// validate the phases, the pass shader and the quad mesh
    void Validate();
    /// begin the pass's graphics scene; the number of phases, 0 when it did not begin
    int Begin();
    /// end the pass's graphics scene (nothing when Begin returned 0)
    void End();
    /// copy the current values of the bound global variables into the parameters
    void UpdateVariableShaderParams();
    /// write the full-screen quad for the current render target's size
    void UpdateMeshCoords();

private:
    /// draw the full-screen quad with the active pass shader
    void DrawFullScreenQuad();

    bool inBegin = false;
    nString name;
    nString technique;
    nString shaderPath;
    nString renderTargetName;
    nShaderParams shaderParams;
    nStrongRef<nShader2> shader;
    nStrongRef<nMesh2> quadMesh;
    /// whether the quad's name was refused: the pass then draws no quad
    bool quadRefused = false;
    nArray<nRpPhase> phases;
    nVariableContext variableBindings;
    int clearFlags = 0;
    vector4 clearColor;
    float clearDepth = 1.0f;
    int clearStencil = 0;
    bool drawQuad = false;
    bool drawShadowVolumes = false;
    bool drawGui = false;
    bool shadowEnabledCondition = false;
};
#endif
