#ifndef TESTS_GFX2_WINDOWFIXTURE_H
#define TESTS_GFX2_WINDOWFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel with a Tcl server, the input server and the graphics classes,
//  SDL events pushed by hand, and helpers that read the input server's
//  event list of the frame. Runs on SDL's dummy or offscreen driver.
//------------------------------------------------------------------------------
#include "capturelog.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

/// one input event as the tests compare it
struct SeenEvent
{
    int type;
    int deviceId;
    int index;
    bool operator==(const SeenEvent& o) const
    {
        return type == o.type && deviceId == o.deviceId && index == o.index;
    }
};

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// the events of the frame so far, then flushed
    std::vector<SeenEvent> TakeEvents();
    /// the first event of the frame (which must exist)
    nInputEvent* FirstEvent();
    std::string Tcl(const std::string& str);

    static void PushKey(Uint32 type, SDL_Keycode sym, SDL_Scancode sc, Uint16 mod, Uint8 repeat = 0);
    static void PushText(const char* text);
    static void PushWindowEvent(Uint8 event, Uint32 windowId);
    static void PushMotion(int x, int y);
    static void PushButton(Uint32 type, Uint8 button, int x, int y);

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nInputServer* input = nullptr;
};
#endif
