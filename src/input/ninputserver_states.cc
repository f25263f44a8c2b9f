//------------------------------------------------------------------------------
//  ninputserver_states.cc -- the named input states of nInputServer
//------------------------------------------------------------------------------
#include "input/ninputserver.h"
#include "input/ninputstate.h"
#include "kernel/nkernelserver.h"

#include <cstring>

/*
 * StateNameFault --
 *     A state names a node below the states node, so its name must be one
 *     path component that leaves nothing out.
 * Results: the complaint about the name, 0 when it is fine.
 */
const char* nInputServer::StateNameFault(const char* name)
{
    if (!name[0]) return "empty state name";
    if (strchr(name, '/') || strstr(name, "..") || strcmp(name, ".") == 0) return "state name holds '/' or '.'";
    if (strlen(StatesPath) + 1 + strlen(name) > N_MAXPATH - 1) return "state name too long";
    return nullptr;
}

//--- states -----------------------------------------------------------------------

nInputState* nInputServer::FindInputState(const char* name) const
{
    n_assert(name);
    return static_cast<nInputState*>(this->states.Find(name));
}

/*
 * CreateInputState --
 *     Results: the new state, or 0 (reported) when the name is no single
 *     node name or its node cannot be made.
 *     Side effects: the node "/sys/share/input/states/<name>" and the state
 *     in the state list.
 */
nInputState* nInputServer::CreateInputState(const char* name)
{
    n_assert(name);
    const char* fault = StateNameFault(name);
    if (fault)
    {
        n_printf("nInputServer: no input state '%s': %s\n", name, fault);
        return nullptr;
    }
    nString path(StatesPath);
    path += "/";
    path += name;
    if (!nKernelServer::Instance()->NewNoFail("nroot", path.Get())) return nullptr;
    nInputState* state = n_new(nInputState)(name);
    this->states.AddTail(state);
    return state;
}

/*
 * GetButton, GetSlider --
 *     Results: the state's button and slider of this frame; false and 0
 *     for an unknown state, which is not made.
 *     Side effects: none.
 */
bool nInputServer::GetButton(const char* name) const
{
    const nInputState* state = this->FindInputState(name);
    return state ? state->GetButton() : false;
}

float nInputServer::GetSlider(const char* name) const
{
    const nInputState* state = this->FindInputState(name);
    return state ? state->GetSlider() : 0.0f;
}
