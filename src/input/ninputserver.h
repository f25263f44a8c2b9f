#ifndef N_INPUTSERVER_H
#define N_INPUTSERVER_H
//------------------------------------------------------------------------------
/**
    @class nInputServer
    @ingroup Input

    Turns the raw input events of a frame into named input states and into
    script commands, through mappings that scripts define between
    BeginMap and EndMap ("keyb0:space.down" -> "jump", "keyb0:esc.down" ->
    "script:quit"). It owns the frame's event list, keeps the default
    keyboard and mouse device trees under "/sys/share/input/devs" whose
    channel values let event strings resolve, and can log every event.
    One input server exists at "/sys/servers/input". Main thread only.
*/
#include "kernel/nroot.h"
#include "kernel/nautoref.h"
#include "kernel/nref.h"
#include "mathlib/vector2.h"
#include "util/nhashlist.h"
#include "util/nlist.h"
#include "util/nstring.h"

#include <cstddef>

class nInputEvent;
class nInputMapping;
class nInputState;
class nScriptServer;

class nInputServer : public nRoot
{
public:
    /// at most this many script commands run per frame; more are dropped
    enum { MaxScriptCommands = 16 };

    nInputServer();
    /// the input server; asserts that one exists
    static nInputServer* Instance();

    /// once per frame: log, update the mappings, feed states, run commands
    virtual void Trigger(double time);

    //--- events of the frame --------------------------------------------------
    /// a zeroed, unlinked event; 0 only when memory runs out
    nInputEvent* NewEvent();
    /// append an unlinked event to the frame's list
    void LinkEvent(nInputEvent* e);
    /// unlink the event if linked, and delete it
    void ReleaseEvent(nInputEvent* e);
    /// delete every event of the frame
    virtual void FlushEvents();
    nInputEvent* FirstEvent() const;
    nInputEvent* NextEvent(const nInputEvent* e) const;
    /// fill a template from "device:channel"; false when it names no channel value
    bool ParseEvent(const char* evStr, nInputEvent* e);
    /// whether the event matches the template
    static bool IsEventMatch(const nInputEvent* tmpl, const nInputEvent* e);
    /// the number after name in a channel value ("devid=65536 type=1 key=39"), 0 without it
    static int GetChannelValue(const char* channel, const char* name);

    //--- mappings ---------------------------------------------------------------
    void BeginMap();
    /// bind "[prefix&]device:channel[.modifier]" to a state or to "script:<command>"
    bool Map(const char* mapStr, const char* target);
    void EndMap();
    bool IsInBeginMap() const { return this->inBeginMap; }
    /// the mapping of that name ("<mapping string>_<target>"), 0 when none
    nInputMapping* FindMapping(const char* name) const;

    //--- input states -------------------------------------------------------------
    nInputState* FindInputState(const char* name) const;
    /// a new state of that name, or 0 when the name cannot name a state node
    nInputState* CreateInputState(const char* name);
    /// the state's button, false when there is no such state
    bool GetButton(const char* name) const;
    /// the state's slider, 0 when there is no such state
    float GetSlider(const char* name) const;

    //--- focus --------------------------------------------------------------------
    /// held mappings report up at the next update; sliders return to 0
    void GainFocus();
    void LoseFocus();

    //--- settings -------------------------------------------------------------------
    void SetLongPressedTime(double t) { this->longPressedTime = t; }
    double GetLongPressedTime() const { return this->longPressedTime; }
    void SetDoubleClickTime(double t) { this->doubleClickTime = t; }
    double GetDoubleClickTime() const { return this->doubleClickTime; }
    void SetMouseFactor(float f);
    float GetMouseFactor() const { return this->mouseFactor; }
    void SetInvertMouse(bool b);
    bool GetInvertMouse() const { return this->invertMouse; }
    const vector2& GetMousePos() const { return this->mousePos; }
    double GetTime() const { return this->time; }

    //--- event log ----------------------------------------------------------------
    void StartLogging();
    void StopLogging();
    bool IsLogging() const { return this->logging; }

protected:
    /// flushes the events, deletes the mappings and the states
    ~nInputServer() override;

private:
    /// the node below which each state has its node
    static constexpr const char* StatesPath = "/sys/share/input/states";
    /// buf (of max+1 characters) holds at most the first max characters of str
    static void CopyCut(char* buf, const char* str, size_t max);
    /// the complaint about a state name that is no single node name, 0 when it is one
    static const char* StateNameFault(const char* name);
    /// make the default keyboard and mouse device trees
    void InitDevices();
    /// print one event of the log
    static void LogEvent(const nInputEvent* e);
    /// a message and false when a target cannot be bound
    static bool CheckTarget(const char* mapStr, const char* target);
    /// the new mapping for a mapping string, 0 when its event string is bad
    nInputMapping* NewMapping(const nString& name, const char* mapStr, const char* target);
    /// bind the target: a command, or a state found or created
    bool BindTarget(nInputMapping* mapping, const char* target);
    /// unlink and delete a mapping
    static void DeleteMapping(nInputMapping* mapping);
    /// every mapping takes in the matching events of the frame
    void UpdateMappings();
    /// active mappings feed their states and queue their commands
    void FeedStates();
    /// run the queued commands through the script server and empty the queue
    void RunScriptCommands();
    /// the relative position of the frame's last mouse0 move, if any
    void UpdateMousePos();

    static nInputServer* Singleton;

    double time;
    nAutoRef<nScriptServer> refScriptServer;
    nAutoRef<nRoot> refConsole;
    nRef<nRoot> refStates;
    nRef<nRoot> refInput;
    nList events;
    bool logging;
    bool inBeginMap;
    nHashList mappings;
    nHashList states;
    int actScript;
    nString scriptCommands[MaxScriptCommands];
    double longPressedTime;
    double doubleClickTime;
    float mouseFactor;
    bool invertMouse;
    vector2 mousePos;
};
#endif
