#ifndef N_INPUTMAPPING_H
#define N_INPUTMAPPING_H
//------------------------------------------------------------------------------
/**
    @class nInputMapping
    @ingroup Input

    Binds an event template with a modifier to an input state or to a
    script command. Every frame the input server opens the mapping
    (BeginFrame), tells it which matching events it saw, and closes it
    (EndFrame); in between the state bits say what the key or button did in
    the frame, and the mapping is active when they meet its modifier.
*/
#include "util/nhashnode.h"
#include "util/nstring.h"

class nInputEvent;
class nInputState;

class nInputMapping : public nHashNode
{
public:
    /// the state bits; a modifier selects one of them
    enum
    {
        PRESSED = (1 << 0),
        DOWN = (1 << 1),
        UP = (1 << 2),
        LONGDOWN = (1 << 3),
        LONG = (1 << 4),
        DOUBLE = (1 << 5),
    };

    /// takes ownership of the (unlinked) template
    nInputMapping(const char* name, nInputEvent* tmpl, int modMask, double longPressTime, double doubleClickTime);
    /// releases the template, the command and the state
    ~nInputMapping();
    nInputMapping(const nInputMapping&) = delete;
    nInputMapping& operator=(const nInputMapping&) = delete;

    /// the state bit of a modifier name, 0 for an unknown one
    static int ModifierMask(const char* modifier);

    /// bind a state (dropping a command or another state)
    void SetInputState(nInputState* state);
    nInputState* GetInputState() const { return this->is; }
    /// bind a command, a copy of the text (dropping a state)
    void SetCommand(const char* cmd);
    /// the command, 0 when bound to a state
    const char* GetCommand() const { return this->cmd.IsEmpty() ? nullptr : this->cmd.Get(); }
    const nInputEvent* GetTemplate() const { return this->tmpl; }

    /// open the frame: reset the bound state, age the bits, detect a long press
    void BeginFrame(double time);
    /// a matching down event was seen this frame
    void SetDownSeen() { this->internalFlags |= DOWN_SEEN; }
    /// a matching up event was seen this frame (or the focus went away)
    void SetUpSeen() { this->internalFlags |= UP_SEEN; }
    void SetSlider(float s) { this->slider = s; }
    float GetSlider() const { return this->slider; }
    /// close the frame: turn the events seen into state bits
    void EndFrame();
    /// whether the state bits meet the modifier; only between EndFrame and BeginFrame
    bool IsActive() const;
    int GetStateBits() const { return this->stateBits; }
    bool IsPressed() const { return (this->stateBits & PRESSED) != 0; }

    void SetObsolete(bool b);
    bool IsObsolete() const { return (this->internalFlags & OBSOLETE) != 0; }

private:
    enum
    {
        OBSOLETE = (1 << 0),
        UP_SEEN = (1 << 1),
        DOWN_SEEN = (1 << 2),
    };

    /// let go of the bound state
    void ReleaseState();

    nInputEvent* tmpl;
    nInputState* is = nullptr;
    nString cmd;
    /// set by the first press; a double click needs a press before it
    bool hasDown = false;
    double lastDownTime = 0.0;
    double curTime = 0.0;
    double longPressTime;
    double doubleClickTime;
    float slider = 0.0f;
    bool stateValid = false;
    int stateBits = 0;
    int modMask;
    int internalFlags = 0;
};
#endif
