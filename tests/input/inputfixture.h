#ifndef TESTS_INPUT_INPUTFIXTURE_H
#define TESTS_INPUT_INPUTFIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel per test with a Tcl server and the input server, a log
//  that keeps what was printed, and frames driven by hand: the time server
//  is locked to a step, and each Frame links its events, advances the
//  clock, runs the input server's Trigger with that time and flushes the
//  events as the application's frame does.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "capturelog.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "kernel/ntimeserver.h"

#include <initializer_list>
#include <memory>
#include <string>

/// what a test event is made from
struct TestEvent
{
    nInputType type;
    int deviceId;
    int index;
    float axisValue = 0.0f;
};

class InputTest : public ::testing::Test
{
protected:
    /// the clock step of a frame; a power of two, so times add up exactly
    static constexpr double FrameTime = 0.25;

    void SetUp() override;
    void TearDown() override;

    /// a new linked event of the frame
    nInputEvent* Link(nInputType type, int deviceId, int index, float axisValue = 0.0f);
    /// one frame of dt seconds with these events; the events are gone after it
    void Frame(std::initializer_list<TestEvent> events = {}, double dt = FrameTime);
    /// runs Tcl that must succeed; its result
    std::string Tcl(const std::string& str);
    /// runs Tcl that must fail as a script error; its result
    std::string TclFails(const std::string& str);
    /// the log text since the last call
    std::string TakeLog();
    bool Button(const char* state) { return this->input->GetButton(state); }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nInputServer* input = nullptr;
    nTimeServer* time = nullptr;
};

/// key events of keyb0 and button events of mouse0
inline TestEvent KeyDown(int key) { return {N_INPUT_KEY_DOWN, N_INPUT_KEYBOARD0, key}; }
inline TestEvent KeyUp(int key) { return {N_INPUT_KEY_UP, N_INPUT_KEYBOARD0, key}; }
inline TestEvent BtnDown(int btn) { return {N_INPUT_BUTTON_DOWN, N_INPUT_MOUSE0, btn}; }
inline TestEvent BtnUp(int btn) { return {N_INPUT_BUTTON_UP, N_INPUT_MOUSE0, btn}; }

/// key codes the tests use
enum { KeySpace = 13, KeyEsc = 12, KeyA = 39, KeyB = 40 };

/// matches the fatal assertion text for an expression
#define ASSERTION_TEXT(expr) "QUELOR ASSERTION.*\nexpression: " expr
#endif
