#ifndef TESTS_VIDEO_VIDEOFIXTURE_H
#define TESTS_VIDEO_VIDEOFIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel per test with the Tcl, resource, input and Direct3D 9
//  graphics servers (on the recording null device, or on OpenGL for the
//  read-back tests) and an open "ndshowserver". Frames are driven by
//  hand as the application runs them: the time server is locked to a
//  step, and each Frame links its key events, advances the clock, runs
//  the input server's and the video server's Trigger and flushes.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "capturelog.h"
#include "gfx2/nd3d9server.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "kernel/ntimeserver.h"
#include "platform/nnulldevice.h"
#include "video/ndshowserver.h"

#include <initializer_list>
#include <memory>
#include <string>

/// one key event of keyb0
struct KeyEvent
{
    nInputType type;
    int key;
};

/// the engine's key codes the tests press
enum { KeyEsc = 12, KeySpace = 13, KeyA = 39 };

class VideoTest : public ::testing::Test
{
protected:
    /// a picture's duration at 25 per second
    static constexpr double FrameTime = 0.04;

    void SetUp() override;
    void TearDown() override;

    /// open the display at w x h: on the null device, or on OpenGL
    void OpenDisplay(int w, int h, bool gl = false);
    /// one frame of dt seconds with these key events
    void Frame(std::initializer_list<KeyEvent> keys = {}, double dt = FrameTime);
    /// frames until the video stops (at most 'limit'); the number run
    int FramesUntilStopped(int limit = 200);
    /// the path of a fixture of tests/video/data
    static std::string Fixture(const char* name);
    /// the log text since the last call
    std::string TakeLog();

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nD3D9Server* gfx = nullptr;
    /// the null device, while it is the server's
    nNullDevice* dev = nullptr;
    nInputServer* input = nullptr;
    nDShowServer* video = nullptr;
    nTimeServer* time = nullptr;
};
#endif
