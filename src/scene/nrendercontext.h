#ifndef N_RENDERCONTEXT_H
#define N_RENDERCONTEXT_H
//------------------------------------------------------------------------------
/**
    @class nRenderContext
    @ingroup Scene

    The per-instance state with which a shared node tree is drawn: the
    instance's world matrix, its render variables (the animators' "time"
    channel among them), the root node of the tree and shader parameters
    that override the material nodes' own. Owned by whatever draws the
    tree; not a registered class.
*/
#include "variable/nvariablecontext.h"
#include "gfx2/nshaderparams.h"
#include "kernel/nref.h"
#include "mathlib/matrix44.h"
#include "util/narray.h"

class nSceneNode;

class nRenderContext
{
public:
    nRenderContext();

    /// the top node of the tree this context draws (asserts a node)
    void SetRootNode(nSceneNode* node);
    /// the root node, or 0
    nSceneNode* GetRootNode() const;
    /// whether a root node is set and alive
    bool IsValid() const { return this->rootNode.isvalid(); }
    void SetTransform(const matrix44& m) { this->transform = m; }
    const matrix44& GetTransform() const { return this->transform; }
    void SetFrameId(uint id) { this->frameId = id; }
    uint GetFrameId() const { return this->frameId; }
    void SetPriority(float p) { this->priority = p; }
    float GetPriority() const { return this->priority; }
    nVariableContext& GetVariableContext() { return this->varContext; }
    /// append a copy of the variable
    void AddVariable(const nVariable& var) { this->varContext.AddVariable(var); }
    /// the first variable with the handle, or 0
    nVariable* GetVariable(int handle) const { return this->varContext.GetVariable(handle); }
    nShaderParams& GetShaderOverrides() { return this->shaderOverrides; }
    nArray<int>& GetIntArray() { return this->intArray; }
    nArray<nVariable>& GetLocalVarArray() { return this->localVarArray; }

private:
    nVariableContext varContext;
    uint frameId;
    matrix44 transform;
    nRef<nSceneNode> rootNode;
    float priority;
    nArray<int> intArray;
    nShaderParams shaderOverrides;
    nArray<nVariable> localVarArray;
};
#endif
