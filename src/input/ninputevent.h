#ifndef N_INPUTEVENT_H
#define N_INPUTEVENT_H
//------------------------------------------------------------------------------
/**
    @class nInputEvent
    @ingroup Input

    One piece of user input of the current frame. A producer gets a zeroed
    event from the input server, fills it and links it into the server's
    event list; consumers walk the list during the frame and the
    application flushes it at the frame's end. Mappings keep an event that
    is never linked as their template.
*/
#include "kernel/ntypes.h"
#include "util/nnode.h"

/// event types; the log names them after these codes
enum nInputType : int
{
    N_INPUT_NONE = 0,
    N_INPUT_KEY_DOWN = 1,
    N_INPUT_KEY_UP = 2,
    N_INPUT_KEY_CHAR = 3,
    N_INPUT_MOUSE_MOVE = 4,
    N_INPUT_AXIS_MOVE = 5,
    N_INPUT_BUTTON_DOWN = 6,
    N_INPUT_BUTTON_UP = 7,
    /// no producer sends it and no template matches it
    N_INPUT_BUTTON_DBLCLICK = 8,
};

/// device class bits; the low 16 bits of a device id number the device
enum nInputDeviceId
{
    N_INTYPE_KEYBOARD = 0x10000,
    N_INTYPE_MOUSE = 0x20000,
    N_INTYPE_JOYSTICK = 0x40000,
    N_INTYPE_JOYMOUSE = 0x80000,
    N_INTYPE_PADMOUSE = 0x100000,
    N_INTYPE_RELMOUSE = 0x200000,

    N_INPUT_KEYBOARD0 = N_INTYPE_KEYBOARD | 0,
    N_INPUT_MOUSE0 = N_INTYPE_MOUSE | 0,
};

class nInputEvent
{
public:
    /// flag bit set by a consumer that used the event; mappings skip it
    enum { N_IFLAG_HANDLED = (1 << 0) };

    /// a zeroed, unlinked event
    nInputEvent() : node(this) {}

    bool IsLinked() const { return this->node.IsLinked(); }
    nNode* GetNode() { return &this->node; }
    static nInputEvent* FromNode(nNode* n) { return n ? static_cast<nInputEvent*>(n->GetData()) : nullptr; }

    void SetType(nInputType t) { this->type = t; }
    nInputType GetType() const { return this->type; }
    void SetFlags(int f) { this->flags = f; }
    int GetFlags() const { return this->flags; }
    void SetHandled() { this->flags |= N_IFLAG_HANDLED; }
    void ClearHandled() { this->flags &= ~N_IFLAG_HANDLED; }
    bool IsHandled() const { return (this->flags & N_IFLAG_HANDLED) != 0; }
    void SetDeviceId(int id) { this->deviceId = id; }
    int GetDeviceId() const { return this->deviceId; }

    /// the index under its four readings, by event type
    void SetIndex(int i) { this->index = i; }
    int GetIndex() const { return this->index; }
    void SetKey(int k) { this->index = k; }
    int GetKey() const { return this->index; }
    void SetChar(int c) { this->index = c; }
    int GetChar() const { return this->index; }
    void SetButton(int b) { this->index = b; }
    int GetButton() const { return this->index; }
    void SetAxis(int a) { this->index = a; }
    int GetAxis() const { return this->index; }

    void SetAxisValue(float v) { this->axisValue = v; }
    float GetAxisValue() const { return this->axisValue; }
    void SetAbsPos(int x, int y) { this->absX = x; this->absY = y; }
    int GetAbsXPos() const { return this->absX; }
    int GetAbsYPos() const { return this->absY; }
    void SetRelPos(float x, float y) { this->relX = x; this->relY = y; }
    float GetRelXPos() const { return this->relX; }
    float GetRelYPos() const { return this->relY; }

private:
    nNode node;
    nInputType type = N_INPUT_NONE;
    int flags = 0;
    int deviceId = 0;
    int index = 0;
    float axisValue = 0.0f;
    int absX = 0;
    int absY = 0;
    float relX = 0.0f;
    float relY = 0.0f;
};
#endif
