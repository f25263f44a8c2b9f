#ifndef TESTS_INPUT_DI8FIXTURE_H
#define TESTS_INPUT_DI8FIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel per test with the DirectInput server at
//  "/sys/servers/input", a window id in "/sys/env/hwnd", a focus that the
//  test switches, and (when asked) an SDL virtual game controller attached
//  before the server starts. Each Frame runs the window's event pump,
//  advances the clock, triggers the server and keeps a copy of the
//  frame's events before they are flushed.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "capturelog.h"
#include "input/ndi8server.h"
#include "input/ninputevent.h"
#include "kernel/nkernelserver.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

/// a copy of one event of a frame
struct SeenEvent
{
    nInputType type;
    int deviceId;
    int index;
    float value;
};

class DI8Test : public ::testing::Test
{
protected:
    static constexpr double FrameTime = 0.25;
    static constexpr int Joy0 = 0x40000;
    static constexpr int RelMouse0 = 0x200000;
    /// the virtual controller: 6 axes, 15 buttons (11 to 14 the d-pad)
    enum { PadAxes = 6, PadButtons = 15, DpadUp = 11, DpadDown = 12, DpadLeft = 13, DpadRight = 14 };

    void SetUp() override;
    void TearDown() override;
    /// the server, made now; with a virtual controller attached first when 'pad'
    void Start(bool pad);
    /// one frame; the events it produced
    std::vector<SeenEvent> Frame();
    /// the text of a channel value, "" when there is none
    std::string Channel(const char* path);
    /// the log text since the last call
    std::string TakeLog();

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nDI8Server* server = nullptr;
    bool focused = true;
    double time = 0.0;
    int padIndex = -1;
    SDL_Joystick* pad = nullptr;
};

/// the events of one type, device and index
std::vector<SeenEvent> Only(const std::vector<SeenEvent>& events, nInputType type, int deviceId, int index);
#endif
