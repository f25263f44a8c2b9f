//------------------------------------------------------------------------------
//  nanimator.cc
//------------------------------------------------------------------------------
#include "scene/nanimator.h"
#include "scene/nrendercontext.h"
#include "variable/nvariableserver.h"

#include <cstring>

nAnimator::nAnimator() :
    channelVarHandle(nVariable::InvalidHandle),
    loopType(Loop),
    channelWarned(false)
{
    nVariableServer* vs = nVariableServer::InstanceOrNull();
    if (vs) this->channelVarHandle = vs->GetVariableHandleByName("time");
}

int nAnimator::GetAnimatorType() const
{
    return 0;
}

void nAnimator::Animate(nSceneNode* /*sceneNode*/, nRenderContext* /*renderContext*/)
{
}

/*
 * SetChannel --
 *     Results: none.
 *     Side effects: the channel is the variable of the name, declared in
 *     the variable server when new; invalid when there is no server.
 */
void nAnimator::SetChannel(const char* name)
{
    n_assert(name);
    nVariableServer* vs = nVariableServer::InstanceOrNull();
    this->channelVarHandle = vs ? vs->GetVariableHandleByName(name) : nVariable::InvalidHandle;
    this->channelWarned = false;
}

/*
 * GetChannel --
 *     Results: the channel's name, or 0. Side effects: none.
 */
const char* nAnimator::GetChannel() const
{
    nVariableServer* vs = nVariableServer::InstanceOrNull();
    if (!vs || (nVariable::InvalidHandle == this->channelVarHandle)) return nullptr;
    return vs->GetVariableName(this->channelVarHandle);
}

const char* nAnimator::LoopTypeToString(LoopType t)
{
    return (Loop == t) ? "loop" : "oneshot";
}

nAnimator::LoopType nAnimator::StringToLoopType(const char* str)
{
    return (str && (0 == strcmp(str, "loop"))) ? Loop : OneShot;
}

/*
 * GetChannelTime --
 *     Results: true with the channel's float value in time; false when
 *     the context holds no float variable of the channel.
 *     Side effects: an animator made before the variable server existed
 *     takes the channel "time" now; the first miss is reported.
 */
bool nAnimator::GetChannelTime(nRenderContext* renderContext, float& time)
{
    if (nVariable::InvalidHandle == this->channelVarHandle)
    {
        // made before the variable server existed: take the default channel now
        nVariableServer* vs = nVariableServer::InstanceOrNull();
        if (vs) this->channelVarHandle = vs->GetVariableHandleByName("time");
    }
    const nVariable* var = renderContext->GetVariable(this->channelVarHandle);
    if (var && (nVariable::Float == var->GetType()))
    {
        time = var->GetFloat();
        return true;
    }
    if (!this->channelWarned)
    {
        this->channelWarned = true;
        const char* name = this->GetChannel();
        n_printf("Warning: %s::Animate() ChannelVariable '%s' not found!\n", this->GetClass()->GetProperName(),
                 name ? name : "");
    }
    return false;
}
