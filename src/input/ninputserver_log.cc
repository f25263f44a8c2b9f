//------------------------------------------------------------------------------
//  ninputserver_log.cc -- the event log of nInputServer
//------------------------------------------------------------------------------
#include "input/ninputserver.h"
#include "input/ninputevent.h"

/*
 * StartLogging, StopLogging --
 *     Results: none.
 *     Side effects: the event log is on or off; asking for the state it
 *     is already in prints a note.
 */
void nInputServer::StartLogging()
{
    if (this->logging) n_printf("already logging\n");
    this->logging = true;
}

void nInputServer::StopLogging()
{
    if (!this->logging) n_printf("not logging!\n");
    this->logging = false;
}

/*
 * LogEvent --
 *     Results: none.
 *     Side effects: prints one line naming the device, the type and the
 *     values the type carries.
 */
void nInputServer::LogEvent(const nInputEvent* e)
{
    static const struct
    {
        int bit;
        const char* name;
    } classes[] = {
        {N_INTYPE_KEYBOARD, "keyb"}, {N_INTYPE_MOUSE, "mouse"},       {N_INTYPE_JOYSTICK, "joy"},
        {N_INTYPE_JOYMOUSE, "joymouse"}, {N_INTYPE_PADMOUSE, "padmouse"},
    };
    static const char* const typeNames[] = {"unknown",   "key_down",    "key_up",   "char", "mouse_move",
                                            "axis_move", "button_down", "button_up"};
    const char* dev = "unknown";
    for (const auto& c : classes)
    {
        if ((e->GetDeviceId() & ~0xFFFF) == c.bit) dev = c.name;
    }
    const int num = e->GetDeviceId() & 0xFFFF;
    const int type = e->GetType();
    const char* typeName = (type >= 0 && type <= N_INPUT_BUTTON_UP) ? typeNames[type] : "unknown";
    switch (type)
    {
        case N_INPUT_KEY_DOWN:
        case N_INPUT_KEY_UP:
        case N_INPUT_KEY_CHAR: n_printf("dev=%s%d type=%s key=%d\n", dev, num, typeName, e->GetIndex()); break;
        case N_INPUT_MOUSE_MOVE:
            n_printf("dev=%s%d type=%s abs=[%d,%d] rel=[%f,%f]\n", dev, num, typeName, e->GetAbsXPos(), e->GetAbsYPos(),
                     e->GetRelXPos(), e->GetRelYPos());
            break;
        case N_INPUT_AXIS_MOVE:
            n_printf("dev=%s%d type=%s axis=%d val=%f\n", dev, num, typeName, e->GetAxis(), e->GetAxisValue());
            break;
        case N_INPUT_BUTTON_DOWN:
        case N_INPUT_BUTTON_UP:
            n_printf("dev=%s%d type=%s btn=%d xy=[%d,%d]\n", dev, num, typeName, e->GetButton(), e->GetAbsXPos(),
                     e->GetAbsYPos());
            break;
        default: n_printf("unknown event!\n"); break;
    }
}
