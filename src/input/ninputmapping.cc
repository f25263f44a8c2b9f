//------------------------------------------------------------------------------
//  ninputmapping.cc
//------------------------------------------------------------------------------
#include "input/ninputmapping.h"
#include "input/ninputevent.h"
#include "input/ninputstate.h"
#include "kernel/ntypes.h"

#include <cstring>

/*
 * nInputMapping --
 *     Results: none.
 *     Side effects: the mapping owns the template; it is bound to nothing
 *     yet and has seen no press.
 */
nInputMapping::nInputMapping(const char* name, nInputEvent* tmpl, int modMask, double longPressTime,
                             double doubleClickTime) :
    nHashNode(name),
    tmpl(tmpl),
    longPressTime(longPressTime),
    doubleClickTime(doubleClickTime),
    modMask(modMask)
{
    n_assert(tmpl && !tmpl->IsLinked());
}

/*
 * ~nInputMapping --
 *     Results: none.
 *     Side effects: releases the bound state and deletes the template.
 */
nInputMapping::~nInputMapping()
{
    this->ReleaseState();
    n_delete(this->tmpl);
}

/*
 * ModifierMask --
 *     Results: the state bit the modifier name selects, 0 when the name is
 *     none of "pressed", "down", "up", "longdown", "long", "double".
 *     Side effects: none.
 */
int nInputMapping::ModifierMask(const char* modifier)
{
    static const struct
    {
        const char* name;
        int mask;
    } modifiers[] = {
        {"pressed", PRESSED}, {"down", DOWN}, {"up", UP}, {"longdown", LONGDOWN}, {"long", LONG}, {"double", DOUBLE},
    };
    for (const auto& m : modifiers)
    {
        if (strcmp(m.name, modifier) == 0) return m.mask;
    }
    return 0;
}

/*
 * ReleaseState --
 *     Results: none.
 *     Side effects: the bound state loses this mapping's reference (and
 *     dies with its last one); the mapping is bound to no state.
 */
void nInputMapping::ReleaseState()
{
    if (this->is)
    {
        this->is->Release();
        this->is = nullptr;
    }
}

/*
 * SetInputState --
 *     Results: none.
 *     Side effects: drops a command. Moving from another state while
 *     pressed first marks an up, so the press ends cleanly; the old state
 *     is released and the new one referenced.
 */
void nInputMapping::SetInputState(nInputState* state)
{
    n_assert(state);
    this->cmd.Delete();
    if (this->is == state) return;
    if (this->is)
    {
        if (this->IsPressed()) this->SetUpSeen();
        this->ReleaseState();
    }
    n_assert(nullptr == this->is);
    this->is = state;
    state->AddRef();
}

/*
 * SetCommand --
 *     Results: none.
 *     Side effects: the command becomes a copy of the text; a bound state
 *     is released.
 */
void nInputMapping::SetCommand(const char* command)
{
    n_assert(command);
    this->cmd = command;
    this->ReleaseState();
}

/*
 * SetObsolete --
 *     Results: none.
 *     Side effects: marks or clears the mapping for deletion at EndMap.
 */
void nInputMapping::SetObsolete(bool b)
{
    if (b) this->internalFlags |= OBSOLETE;
    else this->internalFlags &= ~OBSOLETE;
}

/*
 * BeginFrame --
 *     Results: none.
 *     Side effects: the bound state is reset (every mapping of a state
 *     resets it before any feeds it); only pressed and long survive from
 *     the last frame; a press held longer than the long-press time sets
 *     long, and longdown in the one frame where long first appears.
 */
void nInputMapping::BeginFrame(double time)
{
    this->stateValid = false;
    this->curTime = time;
    if (this->is)
    {
        this->is->SetButton(false);
        this->is->SetSlider(0.0f);
    }
    this->stateBits &= (PRESSED | LONG);
    if (this->IsPressed() && (this->curTime - this->lastDownTime) > this->longPressTime)
    {
        if (!(this->stateBits & LONG)) this->stateBits |= LONGDOWN;
        this->stateBits |= LONG;
    }
}

/*
 * EndFrame --
 *     Results: none.
 *     Side effects: a down that starts a press sets pressed and down, and
 *     double when an earlier press began less than the double-click time
 *     ago; a down while pressed changes nothing. An up ends the press and
 *     its long state and sets up. The events seen are forgotten and the
 *     bits may be read.
 */
void nInputMapping::EndFrame()
{
    if ((this->internalFlags & DOWN_SEEN) && !this->IsPressed())
    {
        this->stateBits |= PRESSED | DOWN;
        if (this->hasDown && (this->curTime - this->lastDownTime) < this->doubleClickTime)
        {
            this->stateBits |= DOUBLE;
        }
        this->lastDownTime = this->curTime;
        this->hasDown = true;
    }
    if (this->internalFlags & UP_SEEN)
    {
        this->stateBits &= ~(PRESSED | LONG);
        this->stateBits |= UP;
    }
    this->internalFlags &= ~(DOWN_SEEN | UP_SEEN);
    this->stateValid = true;
}

/*
 * IsActive --
 *     Results: whether a state bit of the frame meets the modifier; a
 *     mapping without a modifier is never active.
 *     Side effects: asserts that the frame's bits are valid.
 */
bool nInputMapping::IsActive() const
{
    n_assert(this->stateValid);
    return (this->stateBits & this->modMask) != 0;
}
