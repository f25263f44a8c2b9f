//------------------------------------------------------------------------------
//  ninputserver.cc -- the life of nInputServer, its default device
//  trees, focus, settings and the frame
//------------------------------------------------------------------------------
#include "input/ninputserver.h"
#include "input/ninputconsole.h"
#include "input/ninputevent.h"
#include "input/ninputmapping.h"
#include "input/ninputstate.h"
#include "input/nkeynames.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"

#include <cstdio>

nInputServer* nInputServer::Singleton = nullptr;

namespace
{

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
