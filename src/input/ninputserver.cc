//------------------------------------------------------------------------------
//  ninputserver.cc
//------------------------------------------------------------------------------
#include "input/ninputserver.h"
#include "input/ninputconsole.h"
#include "input/ninputevent.h"
#include "input/ninputmapping.h"
#include "input/ninputstate.h"
#include "input/nkeynames.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"
#include "kernel/nscriptserver.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void ninputserver_initcmds(nClass* cl);
N_IMPLEMENT_SINGLETON_MODULE(ninputserver, nInputServer, "nroot", ninputserver_initcmds)

nInputServer* nInputServer::Singleton = nullptr;

namespace
{

/// how much of an event string or a channel value is read
const size_t MaxEventString = 127;
/// how much of a mapping string is read
const size_t MaxMapString = 31;
const char* const StatesPath = "/sys/share/input/states";
const char* const ScriptPrefix = "script:";
const size_t ScriptPrefixLen = 7;

/*
 * CopyCut --
 *     Results: none.
 *     Side effects: buf (of max+1 characters) holds at most the first max
 *     characters of str.
 */
void CopyCut(char* buf, const char* str, size_t max)
{
    size_t len = strlen(str);
    if (len > max) len = max;
    memcpy(buf, str, len);
    buf[len] = 0;
}

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

/*
 * SetEnvString --
 *     Results: none.
 *     Side effects: the nenv at path (made when missing) holds the text;
 *     an object of another kind already at the path is reported and kept.
 */
void SetEnvString(const char* path, const char* value)
{
    nObject* obj = nKernelServer::Instance()->NewNoFail("nenv", path);
    nEnv* env = (obj && obj->IsA("nenv")) ? static_cast<nEnv*>(obj) : nullptr;
    if (!env || (env->GetType() != nArg::Void && env->GetType() != nArg::String))
    {
        n_printf("nInputServer: '%s' holds no text value, left as it is\n", path);
        return;
    }
    env->SetS(value);
}

/*
 * MakeDevice --
 *     Results: none.
 *     Side effects: the device node with its names, and one channel value
 *     per (name, index) of the list, made with the format.
 */
void MakeDevice(const char* dev, const char* instName, const char* prodName, int devId, int type,
                const char* format, const nKeyName* channels)
{
    char path[N_MAXPATH];
    snprintf(path, sizeof(path), "/sys/share/input/devs/%s/inst_name", dev);
    SetEnvString(path, instName);
    snprintf(path, sizeof(path), "/sys/share/input/devs/%s/prod_name", dev);
    SetEnvString(path, prodName);
    for (const nKeyName* c = channels; c->name; c++)
    {
        char value[64];
        snprintf(value, sizeof(value), format, devId, type, c->code);
        snprintf(path, sizeof(path), "/sys/share/input/devs/%s/channels/%s", dev, c->name);
        SetEnvString(path, value);
    }
}

/*
 * StateNameFault --
 *     A state names a node below the states node, so its name must be one
 *     path component that leaves nothing out.
 * Results: the complaint about the name, 0 when it is fine.
 */
const char* StateNameFault(const char* name)
{
    if (!name[0]) return "empty state name";
    if (strchr(name, '/') || strstr(name, "..") || strcmp(name, ".") == 0) return "state name holds '/' or '.'";
    if (strlen(StatesPath) + 1 + strlen(name) > N_MAXPATH - 1) return "state name too long";
    return nullptr;
}

}  // namespace

/*
 * nInputServer --
 *     Results: none.
 *     Side effects: the defaults; the states node and the default keyboard
 *     and mouse device trees under "/sys/share/input".
 */
nInputServer::nInputServer() :
    time(0.0),
    refScriptServer("/sys/servers/script", "nscriptserver"),
    refConsole("/sys/servers/console"),
    logging(false),
    inBeginMap(false),
    mappings(64),
    states(64),
    actScript(0),
    longPressedTime(1.0),
    doubleClickTime(0.5),
    mouseFactor(1.0f),
    invertMouse(false)
{
    n_assert(0 == Singleton);
    Singleton = this;
    nKernelServer* ks = nKernelServer::Instance();
    this->refStates = static_cast<nRoot*>(ks->New("nroot", StatesPath));
    this->refInput = static_cast<nRoot*>(ks->New("nroot", "/sys/share/input"));
    this->InitDevices();
}

/*
 * ~nInputServer --
 *     Results: none.
 *     Side effects: deletes the frame's events, every mapping and every
 *     state; the device trees stay.
 */
nInputServer::~nInputServer()
{
    n_assert(this->actScript == 0);
    this->FlushEvents();
    while (nHashNode* m = this->mappings.RemHead())
    {
        n_delete(static_cast<nInputMapping*>(m));
    }
    while (nHashNode* s = this->states.RemHead())
    {
        n_delete(static_cast<nInputState*>(s));
    }
    n_assert(0 != Singleton);
    Singleton = nullptr;
}

/*
 * Instance --
 *     Results: the input server.
 *     Side effects: asserts that one exists.
 */
nInputServer* nInputServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * InitDevices --
 *     Results: none.
 *     Side effects: keyb0 with one channel per named key and mouse0 with
 *     its three buttons, as the window's events will send them.
 */
void nInputServer::InitDevices()
{
    static const nKeyName mouseButtons[] = {{"btn0", 0}, {"btn1", 1}, {"btn2", 2}, {nullptr, 0}};
    MakeDevice("keyb0", "Keyboard 0", "Default Keyboard", N_INPUT_KEYBOARD0, N_INPUT_KEY_DOWN,
               "devid=%d type=%d key=%d", nKeyNames);
    MakeDevice("mouse0", "Mouse 0", "Default Mouse", N_INPUT_MOUSE0, N_INPUT_BUTTON_DOWN, "devid=%d type=%d btn=%d",
               mouseButtons);
}

//--- events -----------------------------------------------------------------------

/*
 * NewEvent --
 *     Results: a zeroed, unlinked event the caller links or releases.
 *     Side effects: allocates it.
 */
nInputEvent* nInputServer::NewEvent()
{
    return n_new(nInputEvent);
}

/*
 * LinkEvent --
 *     Results: none.
 *     Side effects: the event joins the frame at the tail; linking it
 *     twice is a programming error (fatal).
 */
void nInputServer::LinkEvent(nInputEvent* e)
{
    n_assert(e);
    n_assert(!e->IsLinked());
    this->events.AddTail(e->GetNode());
}

/*
 * ReleaseEvent --
 *     Results: none.
 *     Side effects: the event leaves the frame if it was in it, and dies.
 */
void nInputServer::ReleaseEvent(nInputEvent* e)
{
    n_assert(e);
    if (e->IsLinked()) e->GetNode()->Remove();
    n_delete(e);
}

/*
 * FlushEvents --
 *     Results: none.
 *     Side effects: every event of the frame dies, head first.
 */
void nInputServer::FlushEvents()
{
    while (nNode* n = this->events.RemHead())
    {
        n_delete(nInputEvent::FromNode(n));
    }
}

/*
 * FirstEvent, NextEvent --
 *     Results: the frame's events in arrival order, 0 after the last.
 *     Side effects: none.
 */
nInputEvent* nInputServer::FirstEvent() const
{
    return nInputEvent::FromNode(this->events.GetHead());
}

nInputEvent* nInputServer::NextEvent(const nInputEvent* e) const
{
    n_assert(e && e->IsLinked());
    return nInputEvent::FromNode(const_cast<nInputEvent*>(e)->GetNode()->GetSucc());
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

//--- focus ------------------------------------------------------------------------

/*
 * GainFocus --
 *     Results: none.
 *     Side effects: every held mapping reports up at the next update (the
 *     key may have been let go where the window could not see it); every
 *     mapping's slider is 0.
 */
void nInputServer::GainFocus()
{
    for (nHashNode* n = this->mappings.GetHead(); n; n = n->GetSucc())
    {
        nInputMapping* mapping = static_cast<nInputMapping*>(n);
        if (mapping->IsPressed()) mapping->SetUpSeen();
        mapping->SetSlider(0.0f);
    }
}

/*
 * LoseFocus --
 *     Results: none.
 *     Side effects: as GainFocus: keys held now will not be seen released.
 */
void nInputServer::LoseFocus()
{
    this->GainFocus();
}

//--- settings ---------------------------------------------------------------------

/*
 * SetMouseFactor, SetInvertMouse --
 *     Results: none.
 *     Side effects: the setting for the relative mouse; prints it.
 */
void nInputServer::SetMouseFactor(float f)
{
    n_printf("nInputServer::SetMouseFactor(%f)\n", f);
    this->mouseFactor = f;
}

void nInputServer::SetInvertMouse(bool b)
{
    n_printf("nInputServer::SetInvertMouse(%s)\n", b ? "true" : "false");
    this->invertMouse = b;
}

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

//--- the frame --------------------------------------------------------------------

/*
 * Trigger --
 *     Once per frame, after the producers linked their events.
 * Results: none.
 * Side effects: logs the events when logging; lets an open console take
 *     the events it edits with; updates every mapping from
 *     the frame's events; active mappings feed their states and queue
 *     their commands; the mouse position follows mouse0's last move; the
 *     queued commands run. A command may delete this server: then it dies
 *     when the commands have run.
 */
void nInputServer::Trigger(double t)
{
    this->time = t;
    if (this->logging)
    {
        for (const nInputEvent* e = this->FirstEvent(); e; e = this->NextEvent(e)) LogEvent(e);
    }
    nInputConsole* console = this->refConsole.isvalid() ? dynamic_cast<nInputConsole*>(this->refConsole.get()) : nullptr;
    if (console) console->Trigger();
    this->UpdateMappings();
    this->FeedStates();
    this->UpdateMousePos();
    this->RunScriptCommands();
}

/*
 * UpdateMappings --
 *     Results: none.
 *     Side effects: every mapping opens the frame, takes in the events
 *     that match its template and were not handled by another consumer,
 *     and closes the frame.
 */
void nInputServer::UpdateMappings()
{
    for (nHashNode* n = this->mappings.GetHead(); n; n = n->GetSucc())
    {
        static_cast<nInputMapping*>(n)->BeginFrame(this->time);
    }
    for (nHashNode* n = this->mappings.GetHead(); n; n = n->GetSucc())
    {
        nInputMapping* mapping = static_cast<nInputMapping*>(n);
        const nInputEvent* tmpl = mapping->GetTemplate();
        for (const nInputEvent* e = this->FirstEvent(); e; e = this->NextEvent(e))
        {
            if (e->IsHandled() || !IsEventMatch(tmpl, e)) continue;
            switch (e->GetType())
            {
                case N_INPUT_KEY_DOWN:
                case N_INPUT_BUTTON_DOWN: mapping->SetDownSeen(); break;
                case N_INPUT_KEY_UP:
                case N_INPUT_BUTTON_UP: mapping->SetUpSeen(); break;
                case N_INPUT_MOUSE_MOVE:
                case N_INPUT_AXIS_MOVE: mapping->SetSlider(e->GetAxisValue()); break;
                default: break;
            }
        }
    }
    for (nHashNode* n = this->mappings.GetHead(); n; n = n->GetSucc())
    {
        static_cast<nInputMapping*>(n)->EndFrame();
    }
}

/*
 * FeedStates --
 *     Results: none.
 *     Side effects: in list order, an active command mapping queues its
 *     command (beyond MaxScriptCommands they are dropped); a state
 *     mapping sets its state's button and adds 1 to its slider when
 *     active, and always adds its own slider.
 */
void nInputServer::FeedStates()
{
    for (nHashNode* n = this->mappings.GetHead(); n; n = n->GetSucc())
    {
        const nInputMapping* mapping = static_cast<nInputMapping*>(n);
        if (mapping->GetCommand())
        {
            if (mapping->IsActive() && this->actScript < MaxScriptCommands)
            {
                this->scriptCommands[this->actScript++] = mapping->GetCommand();
            }
        }
        else if (nInputState* state = mapping->GetInputState())
        {
            if (mapping->IsActive())
            {
                state->SetButton(true);
                state->AddSlider(1.0f);
            }
            state->AddSlider(mapping->GetSlider());
        }
    }
}

/*
 * RunScriptCommands --
 *     Results: none.
 *     Side effects: the queue is emptied first, then each command runs
 *     through the script server in queue order (its result is ignored).
 *     Commands may change the mappings or delete this server, so the
 *     server holds itself alive while they run and may die at the end.
 */
void nInputServer::RunScriptCommands()
{
    if (0 == this->actScript) return;
    nString queue[MaxScriptCommands];
    const int num = this->actScript;
    for (int i = 0; i < num; i++)
    {
        queue[i] = this->scriptCommands[i];
        this->scriptCommands[i].Delete();
    }
    this->actScript = 0;

    this->AddRef();
    for (int i = 0; i < num; i++)
    {
        if (this->refScriptServer.isvalid())
        {
            // a key binding is a line of the player's, as on the console: an
            // error in it is reported and the game goes on
            nScriptServer* script = this->refScriptServer.get();
            const bool failOnError = script->GetFailOnError();
            script->SetFailOnError(false);
            nString result;
            script->Run(queue[i].Get(), result);
            if (this->refScriptServer.isvalid()) this->refScriptServer->SetFailOnError(failOnError);
        }
        else
        {
            n_printf("nInputServer: no script server to run '%s'\n", queue[i].Get());
        }
    }
    this->Release();
}

/*
 * UpdateMousePos --
 *     Results: none.
 *     Side effects: the mouse position becomes the relative position of
 *     mouse0's last move of the frame; without one it stays.
 */
void nInputServer::UpdateMousePos()
{
    for (const nInputEvent* e = this->FirstEvent(); e; e = this->NextEvent(e))
    {
        if (e->GetType() == N_INPUT_MOUSE_MOVE && e->GetDeviceId() == N_INPUT_MOUSE0)
        {
            this->mousePos = vector2(e->GetRelXPos(), e->GetRelYPos());
        }
    }
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
