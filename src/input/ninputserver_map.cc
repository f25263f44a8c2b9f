//------------------------------------------------------------------------------
//  ninputserver_map.cc -- the mappings of nInputServer: made between
//  BeginMap and EndMap, each bound to a state or a script command
//------------------------------------------------------------------------------
#include "input/ninputserver.h"
#include "input/ninputevent.h"
#include "input/ninputmapping.h"
#include "input/ninputstate.h"

#include <cstring>

namespace
{

/// how much of a mapping string is read
const size_t MaxMapString = 31;
const char* const ScriptPrefix = "script:";
const size_t ScriptPrefixLen = 7;

}  // namespace

//--- mappings ---------------------------------------------------------------------

/*
 * BeginMap --
 *     Results: none.
 *     Side effects: opens a mapping run; every mapping is obsolete until
 *     mapped again.
 */
void nInputServer::BeginMap()
{
    n_assert(!this->inBeginMap);
    this->inBeginMap = true;
    for (nHashNode* m = this->mappings.GetHead(); m; m = m->GetSucc())
    {
        static_cast<nInputMapping*>(m)->SetObsolete(true);
    }
}

/*
 * Map --
 *     Results: true when the mapping exists and is bound to the target;
 *     false, reported, for a bad event string or target.
 *     Side effects: makes the mapping on its first use (named by both
 *     strings, of any length), binds the target (making a state when
 *     needed) and keeps the mapping past the next EndMap.
 */
bool nInputServer::Map(const char* mapStr, const char* target)
{
    n_assert(this->inBeginMap);
    n_assert(mapStr && target);
    if (!CheckTarget(mapStr, target)) return false;

    nString name(mapStr);
    name += "_";
    name += target;
    nInputMapping* mapping = this->FindMapping(name.Get());
    const bool isNew = (nullptr == mapping);
    if (isNew)
    {
        mapping = this->NewMapping(name, mapStr, target);
        if (!mapping) return false;
    }
    if (!this->BindTarget(mapping, target))
    {
        if (isNew) n_delete(mapping);
        return false;
    }
    if (isNew) this->mappings.AddTail(mapping);
    mapping->SetObsolete(false);
    return true;
}

/*
 * CheckTarget --
 *     Results: true when the target can be bound: a command that is not
 *     empty, or a state name that makes one node below the states node.
 *     Otherwise false, reported.
 */
bool nInputServer::CheckTarget(const char* mapStr, const char* target)
{
    const char* fault = nullptr;
    if (!target[0]) fault = "empty target";
    else if (strncmp(target, ScriptPrefix, ScriptPrefixLen) == 0)
    {
        if (!target[ScriptPrefixLen]) fault = "empty script command";
    }
    else fault = StateNameFault(target);
    if (fault)
    {
        n_printf("nInputServer::Map(%s,%s): %s!\n", mapStr, target, fault);
        return false;
    }
    return true;
}

/*
 * NewMapping --
 *     Reads the mapping string (at most 31 characters): a prefix up to
 *     the first '&' is dropped, the text after the first '.' is the
 *     modifier, the rest the event string.
 * Results: the new mapping (in no list yet), or 0 when the event string
 *     names no channel. An unknown modifier is reported and leaves the
 *     mapping without one.
 */
nInputMapping* nInputServer::NewMapping(const nString& name, const char* mapStr, const char* target)
{
    char buf[MaxMapString + 1];
    CopyCut(buf, mapStr, MaxMapString);
    char* evStr = buf;
    char* amp = strchr(buf, '&');
    if (amp) evStr = amp + 1;
    char* modifier = strchr(evStr, '.');
    if (modifier) *modifier++ = 0;

    nInputEvent* tmpl = this->NewEvent();
    if (!tmpl) return nullptr;
    if (!this->ParseEvent(evStr, tmpl))
    {
        this->ReleaseEvent(tmpl);
        return nullptr;
    }
    int mask = 0;
    if (modifier)
    {
        mask = nInputMapping::ModifierMask(modifier);
        if (!mask) n_printf("nInputServer::Map(%s,%s): invalid modifier '%s'!\n", mapStr, target, modifier);
    }
    return n_new(nInputMapping)(name.Get(), tmpl, mask, this->longPressedTime, this->doubleClickTime);
}

/*
 * BindTarget --
 *     Results: false only when a new state's node cannot be made.
 *     Side effects: binds the command after "script:", or the state of
 *     that name (made on first use).
 */
bool nInputServer::BindTarget(nInputMapping* mapping, const char* target)
{
    if (strncmp(target, ScriptPrefix, ScriptPrefixLen) == 0)
    {
        mapping->SetCommand(target + ScriptPrefixLen);
        return true;
    }
    nInputState* state = this->FindInputState(target);
    if (!state) state = this->CreateInputState(target);
    if (!state) return false;
    mapping->SetInputState(state);
    return true;
}

/*
 * DeleteMapping --
 *     Results: none.
 *     Side effects: the mapping leaves its list and dies with its template,
 *     command and its hold on a state.
 */
void nInputServer::DeleteMapping(nInputMapping* mapping)
{
    mapping->Remove();
    n_delete(mapping);
}

/*
 * EndMap --
 *     Results: none.
 *     Side effects: closes the mapping run and deletes the mappings it
 *     did not map again (with states no other mapping holds). A kept
 *     mapping whose state left the state list is a broken invariant and
 *     fatal.
 */
void nInputServer::EndMap()
{
    n_assert(this->inBeginMap);
    this->inBeginMap = false;
    nHashNode* next = nullptr;
    for (nHashNode* n = this->mappings.GetHead(); n; n = next)
    {
        next = n->GetSucc();
        nInputMapping* mapping = static_cast<nInputMapping*>(n);
        if (mapping->IsObsolete()) DeleteMapping(mapping);
    }
    for (nHashNode* n = this->mappings.GetHead(); n; n = n->GetSucc())
    {
        const nInputState* state = static_cast<nInputMapping*>(n)->GetInputState();
        if (state && this->states.Find(state->GetName()) != state)
        {
            n_error("nInputServer::EndMap(): ALERT! ALERT! ALERT!\n");
        }
    }
}

/*
 * FindMapping, FindInputState --
 *     Results: the mapping or state of that name, 0 when there is none.
 *     Side effects: none.
 */
nInputMapping* nInputServer::FindMapping(const char* name) const
{
    return static_cast<nInputMapping*>(this->mappings.Find(name));
}
