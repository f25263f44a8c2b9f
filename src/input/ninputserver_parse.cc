//------------------------------------------------------------------------------
//  ninputserver_parse.cc -- event strings of nInputServer: a template filled
//  from "device:channel", the channel values, events matched to templates
//------------------------------------------------------------------------------
#include "input/ninputserver.h"
#include "input/ninputevent.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{

/// how much of an event string or a channel value is read
const size_t MaxEventString = 127;

/*
 * TextToInt --
 *     Results: the decimal number the text starts with, clamped to the
 *     int range; 0 when it starts with none.
 */
int TextToInt(const char* text)
{
    errno = 0;
    const long value = strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return (int)value;
}

}  // namespace

/*
 * CopyCut --
 *     Results: none.
 *     Side effects: buf (of max+1 characters) holds at most the first max
 *     characters of str.
 */
void nInputServer::CopyCut(char* buf, const char* str, size_t max)
{
    size_t len = strlen(str);
    if (len > max) len = max;
    memcpy(buf, str, len);
    buf[len] = 0;
}

/*
 * ParseEvent --
 *     Reads "device:channel" (at most 127 characters): the device node
 *     below "/sys/share/input/devs", below it the channel value
 *     "channels/<channel>", which must be an nenv holding text.
 * Results: true when the template was filled from the channel value.
 *     Without ':' the string is reported; an unknown device or channel
 *     gives false quietly; a path that leads to anything but a channel
 *     value ("keyb0:..") is reported.
 * Side effects: the template's device id, type and index.
 */
bool nInputServer::ParseEvent(const char* evStr, nInputEvent* e)
{
    n_assert(evStr && e);
    char buf[MaxEventString + 1];
    CopyCut(buf, evStr, MaxEventString);
    char* colon = strchr(buf, ':');
    if (!colon)
    {
        n_printf("':' expected in input event '%s'\n", buf);
        return false;
    }
    *colon = 0;
    const char* channel = colon + 1;

    nKernelServer* ks = nKernelServer::Instance();
    nString path("/sys/share/input/devs/");
    path += buf;
    nRoot* dev = ks->Lookup(path.Get());
    if (!dev) return false;
    path = "channels/";
    path += channel;
    ks->PushCwd(dev);
    nRoot* chn = ks->Lookup(path.Get());
    ks->PopCwd();
    if (!chn) return false;
    if (!chn->IsA("nenv") || static_cast<nEnv*>(chn)->GetType() != nArg::String)
    {
        n_printf("nInputServer: '%s:%s' names no channel value\n", buf, channel);
        return false;
    }

    const char* value = static_cast<nEnv*>(chn)->GetS();
    e->SetDeviceId(GetChannelValue(value, "devid"));
    e->SetType((nInputType)GetChannelValue(value, "type"));
    switch (e->GetType())
    {
        case N_INPUT_KEY_DOWN:
        case N_INPUT_KEY_UP: e->SetIndex(GetChannelValue(value, "key")); break;
        case N_INPUT_AXIS_MOVE: e->SetIndex(GetChannelValue(value, "axis")); break;
        case N_INPUT_BUTTON_DOWN:
        case N_INPUT_BUTTON_UP: e->SetIndex(GetChannelValue(value, "btn")); break;
        default: break;
    }
    return true;
}

/*
 * IsEventMatch --
 *     Results: whether the event matches the template: the same device,
 *     and by the template's type a key edge of the same key, the same
 *     character, any mouse move, a move of the same axis, or a button edge
 *     of the same button. Other templates and double clicks match nothing.
 *     Side effects: none.
 */
bool nInputServer::IsEventMatch(const nInputEvent* tmpl, const nInputEvent* e)
{
    if (tmpl->GetDeviceId() != e->GetDeviceId()) return false;
    const nInputType et = e->GetType();
    switch (tmpl->GetType())
    {
        case N_INPUT_KEY_DOWN:
        case N_INPUT_KEY_UP:
            return (et == N_INPUT_KEY_DOWN || et == N_INPUT_KEY_UP) && tmpl->GetIndex() == e->GetIndex();
        case N_INPUT_KEY_CHAR: return et == N_INPUT_KEY_CHAR && tmpl->GetIndex() == e->GetIndex();
        case N_INPUT_MOUSE_MOVE: return et == N_INPUT_MOUSE_MOVE;
        case N_INPUT_AXIS_MOVE: return et == N_INPUT_AXIS_MOVE && tmpl->GetIndex() == e->GetIndex();
        case N_INPUT_BUTTON_DOWN:
        case N_INPUT_BUTTON_UP:
            return (et == N_INPUT_BUTTON_DOWN || et == N_INPUT_BUTTON_UP) && tmpl->GetIndex() == e->GetIndex();
        default: return false;
    }
}

/*
 * GetChannelValue --
 *     Splits the value (at most 127 characters) at blanks and '='.
 * Results: the number after the first token equal to name, 0 when the
 *     name or its number is missing.
 *     Side effects: none.
 */
int nInputServer::GetChannelValue(const char* channel, const char* name)
{
    n_assert(channel && name);
    char buf[MaxEventString + 1];
    CopyCut(buf, channel, MaxEventString);
    char* save = nullptr;
    for (char* tok = strtok_r(buf, " =", &save); tok; tok = strtok_r(nullptr, " =", &save))
    {
        if (strcmp(tok, name) == 0)
        {
            const char* value = strtok_r(nullptr, " =", &save);
            return value ? TextToInt(value) : 0;
        }
    }
    return 0;
}
