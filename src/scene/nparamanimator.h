#ifndef N_PARAMANIMATOR_H
#define N_PARAMANIMATOR_H
//------------------------------------------------------------------------------
/**
    @class nParamAnimator
    @ingroup Scene

    What the vector, float and int animators share: one shader parameter
    of the animated node and the keys of its value. A subclass says how a
    value is set on the node.
*/
#include "scene/nanimator.h"
#include "scene/nipolkeyarray.h"
#include "scene/nabstractshadernode.h"
#include "kernel/npersistserver.h"

template <class TYPE>
class nParamAnimator : public nAnimator
{
public:
    nParamAnimator() = default;

    int GetAnimatorType() const override { return ShaderAnimator; }
    /// defined in nparamanimatorcmds.h, which each animator's source includes
    bool SaveCmds(nPersistServer* ps) override;

    /// the animated parameter by name (asserts a name; unknown names give
    /// InvalidParameter, which the node warns about when animated)
    void SetParamName(const char* name)
    {
        n_assert(name);
        this->param = nShaderState::StringToParam(name);
    }
    /// the parameter's name, or 0 while none is set
    const char* GetParamName() const
    {
        return (this->param < nShaderState::NumParameters) ? nShaderState::ParamToString(this->param) : nullptr;
    }
    void AddKey(float time, const TYPE& value) { this->keyArray.AddKey(time, value); }
    int GetNumKeys() const { return this->keyArray.Size(); }
    const typename nIpolKeyArray<TYPE>::Key& GetKeyAt(int i) const { return this->keyArray.At(i); }

    /*
        Results: none.
        Side effects: the node's parameter gets the keys' value at the
        channel's time; a context without the channel is warned about once
        and time 0 used. A node that is no shader node is left alone.
    */
    void Animate(nSceneNode* sceneNode, nRenderContext* renderContext) override
    {
        n_assert(sceneNode);
        n_assert(renderContext);
        n_assert(nVariable::InvalidHandle != this->channelVarHandle);
        if (!sceneNode->IsA("nabstractshadernode")) return;
        float t = 0.0f;
        if (!this->GetChannelTime(renderContext, t)) t = 0.0f;
        TYPE value;
        if (this->keyArray.Sample(t, this->GetLoopType(), value, this->keysWarned))
        {
            this->Apply(static_cast<nAbstractShaderNode*>(sceneNode), this->param, value);
        }
    }

protected:
    ~nParamAnimator() override = default;
    /// set the value on the node
    virtual void Apply(nAbstractShaderNode* node, nShaderState::Param p, const TYPE& value) = 0;

    nShaderState::Param param = nShaderState::InvalidParameter;
    nIpolKeyArray<TYPE> keyArray;

private:
    bool keysWarned = false;
};
#endif
