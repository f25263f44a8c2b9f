//------------------------------------------------------------------------------
//  The application's Open, Close and frame orders, state switching, the
//  clock, and a half-opened application.
//------------------------------------------------------------------------------
#include "appfixture.h"
#include "kernel/scriptcall.h"
#include "util/assertdeath.h"

#include "application/nappcamera.h"
#include "application/nexitappstate.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nfileserver2.h"
#include "kernel/nremoteserver.h"
#include "locale/nlocaleserver.h"
#include "misc/nprefserver.h"

#include <algorithm>

using Steps = std::vector<std::string>;

namespace
{

/// the frame of a state "s" with nothing failing
const Steps FullFrame = {
    "gui.SetTime",        "script.Trigger",   "gfx.Trigger",      "input.Trigger",    "gui.Trigger",
    "video.Trigger",      "s.OnFrame",        "audio.BeginScene", "audio.UpdateListener",
    "s.OnPreRender",      "scene.BeginScene", "s.OnRender3D",     "scene.RenderScene", "scene.EndScene",
    "s.OnPostRender",     "s.OnRender2D",     "scene.PresentScene", "audio.EndScene", "input.FlushEvents",
};

long Count(const std::string& entry)
{
    return std::count(Trace().begin(), Trace().end(), entry);
}

}  // namespace

TEST_F(AppTest, OpenRunsItsStepsInOrder)
{
    this->app->SetCompanyName(nString("Acme"));
    this->app->SetAppName(nString("ordertest"));
    ASSERT_TRUE(this->app->Open());
    const Steps expected = {
        "create script", "create gfx", "create console", "create resource", "create scene", "create variable",
        "create anim", "create video", "create gui", "create audio", "create pref", "create locale",
        "script.RunScript proj:data/scripts/startup.tcl", "script.RunFunction OnStartup",
        "gfx.SetDisplayMode 640x480", "gfx.SetCamera", "script.RunFunction OnGraphicsStartup",
        "scene.Open", "video.Open", "create input", "script.RunFunction OnMapInput", "audio.Open",
        "gui.SetRootPath /gui", "gui.SetDisplaySize 640x480", "gui.Open", "gui.SetRootWindowPointer null",
        "gui.NewWindow nguiwindow visible", "gui.SetRootWindowPointer /gui/window0", "create camera",
    };
    EXPECT_EQ(Trace(), expected);
    EXPECT_TRUE(this->app->IsOpen());
    EXPECT_NE(this->app->GetAppCamera(), nullptr);
    EXPECT_EQ(nPrefServer::Instance()->GetCompanyName(), nString("Acme"));
    EXPECT_EQ(nPrefServer::Instance()->GetApplicationName(), nString("ordertest"));
    EXPECT_NE(this->ks->Lookup("/theApp/appstates"), nullptr);
}

TEST_F(AppTest, CloseRunsItsStepsInOrder)
{
    ASSERT_TRUE(this->app->Open());
    this->app->CreateState(nString("teststate"), nString("s"));
    Trace().clear();
    this->app->Close();
    const Steps expected = {
        "camera.delete", "release state s", "gui.Close", "scene.Close", "audio.Close", "video.Close",
        "release locale", "release pref", "release audio", "release gui", "release video", "release anim",
        "release variable", "release scene", "release console", "release input", "release gfx",
        "release resource", "release script",
    };
    EXPECT_EQ(Trace(), expected);
    EXPECT_FALSE(this->app->IsOpen());
    EXPECT_EQ(this->ks->Lookup("/theApp/appstates"), nullptr);
    EXPECT_EQ(this->ks->Lookup("/sys/servers/scene"), nullptr);
}

TEST_F(AppTest, OpenAssignsProjToHomeWithoutProjectDirectory)
{
    ASSERT_TRUE(this->app->Open());
    nFileServer2* fs = this->ks->GetFileServer();
    EXPECT_EQ(fs->ManglePath("proj:"), fs->ManglePath("home:"));
    EXPECT_EQ(fs->ManglePath("proj:data/x.tcl"), fs->ManglePath("home:data/x.tcl"));
}

TEST_F(AppTest, OpenAssignsProjToTheProjectDirectory)
{
    this->app->SetProjDir("/tmp/someproject/");
    ASSERT_TRUE(this->app->Open());
    EXPECT_EQ(this->ks->GetFileServer()->ManglePath("proj:a.tcl"), nString("/tmp/someproject/a.tcl"));
}

TEST_F(AppTest, OpenOpensTheLocaleTableAndCloseClosesIt)
{
    const std::string table = std::string(XML_TEST_DATA) + "/sample.xml";
    this->app->SetLocaleTable(nString(table.c_str()));
    ASSERT_TRUE(this->app->Open());
    nLocaleServer* locale = nLocaleServer::Instance();
    EXPECT_TRUE(locale->IsOpen());
    EXPECT_STREQ(locale->GetLocaleText("menu_play"), "PLAY");
    this->app->Close();
    EXPECT_EQ(Count("release locale"), 1);
}

TEST_F(AppTest, WithoutALocaleTableTheLocaleServerStaysClosed)
{
    ASSERT_TRUE(this->app->Open());
    EXPECT_FALSE(nLocaleServer::Instance()->IsOpen());
}

//------------------------------------------------------------------------------
//  One frame, and both ways rendering is skipped.
//------------------------------------------------------------------------------
struct FrameCase
{
    const char* name;
    bool dialogBox;
    bool beginScene;
    Steps expected;
};

class AppFrameTest : public AppTest, public ::testing::WithParamInterface<FrameCase>
{
};

TEST_P(AppFrameTest, DoFrameRunsTheStepsInOrder)
{
    const FrameCase& c = GetParam();
    this->OpenWithStates({"s"});
    this->app->UpdateTimes();
    this->app->DoStateTransition();
    if (c.dialogBox) this->app->Gfx()->EnterDialogBoxMode();
    Knobs().beginScene = c.beginScene;
    Trace().clear();
    this->app->DoFrame();
    EXPECT_EQ(Trace(), c.expected);
    if (c.dialogBox) this->app->Gfx()->LeaveDialogBoxMode();
}

INSTANTIATE_TEST_SUITE_P(
    Frames, AppFrameTest,
    ::testing::Values(
        FrameCase{"Rendered", false, true, FullFrame},
        FrameCase{"DialogBoxMode", true, true,
                  {"gui.SetTime", "script.Trigger", "gfx.Trigger", "input.Trigger", "gui.Trigger", "video.Trigger",
                   "s.OnFrame", "audio.BeginScene", "audio.UpdateListener", "audio.EndScene", "input.FlushEvents"}},
        FrameCase{"SceneDoesNotBegin", false, false,
                  {"gui.SetTime", "script.Trigger", "gfx.Trigger", "input.Trigger", "gui.Trigger", "video.Trigger",
                   "s.OnFrame", "audio.BeginScene", "audio.UpdateListener", "s.OnPreRender", "scene.BeginScene",
                   "audio.EndScene", "input.FlushEvents"}}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

//------------------------------------------------------------------------------
//  The main loop.
//------------------------------------------------------------------------------
struct QuitCase
{
    const char* name;
    bool scriptTrigger;
    bool gfxTrigger;
};

class AppQuitTest : public AppTest, public ::testing::WithParamInterface<QuitCase>
{
};

TEST_P(AppQuitTest, AFalseTriggerFinishesTheFrameAndEndsTheLoop)
{
    this->OpenWithStates({"s"});
    Knobs().scriptTrigger = GetParam().scriptTrigger;
    Knobs().gfxTrigger = GetParam().gfxTrigger;
    Trace().clear();
    this->app->Run();
    Steps expected = {"s.OnStateEnter()"};
    expected.insert(expected.end(), FullFrame.begin(), FullFrame.end());
    EXPECT_EQ(Trace(), expected);
    EXPECT_TRUE(this->app->GetQuitRequested());
}

INSTANTIATE_TEST_SUITE_P(Quit, AppQuitTest,
                         ::testing::Values(QuitCase{"ScriptServer", false, true}, QuitCase{"WindowPump", true, false},
                                           QuitCase{"Both", false, false}),
                         [](const ::testing::TestParamInfo<QuitCase>& info) { return std::string(info.param.name); });

TEST_F(AppTest, TheRunningApplicationsServersAndStateAreInUseUntilClose)
{
    this->OpenWithStates({"a", "b"});
    this->State("a")->onFrame = [this] { this->app->SetState(nString("b")); };
    this->State("b")->onFrame = [this] { this->app->SetQuitRequested(true); };
    this->app->Run();
    const char* const used[] = {"/theApp", "/theApp/appstates", "/theApp/appstates/b", "/sys/servers/gfx",
                                "/sys/servers/gui", "/sys/servers/input", "/sys/servers/audio", "/sys/servers/scene",
                                "/sys/servers/video", "/sys/servers/script", "/sys/servers/console"};
    for (const char* path : used)
    {
        nRoot* obj = this->ks->Lookup(path);
        ASSERT_NE(obj, nullptr) << path;
        EXPECT_EQ(this->ks->FindInUse(obj), obj) << path;
    }
    // the state that left runs no more frames
    EXPECT_EQ(this->ks->FindInUse(this->ks->Lookup("/theApp/appstates/a")), nullptr);
    this->app->Close();
    EXPECT_EQ(this->ks->FindInUse(this->app), nullptr);
}

TEST_F(AppTest, ASwitchAskedForInAFrameHappensAtTheTopOfTheNextPass)
{
    this->OpenWithStates({"a", "b"});
    this->State("a")->onFrame = [this] { this->app->SetState(nString("b")); };
    this->State("b")->onFrame = [this] { this->app->SetQuitRequested(true); };
    Trace().clear();
    this->app->Run();
    const Steps firstPass = TraceBetween("a.OnStateEnter()", "a.OnStateLeave(b)");
    EXPECT_EQ(std::count(firstPass.begin(), firstPass.end(), "a.OnRender2D"), 1);
    EXPECT_EQ(TraceBetween("a.OnStateLeave(b)", FullFrame.front()),
              (Steps{"a.OnStateLeave(b)", "b.OnStateEnter(a)"}));
    EXPECT_EQ(Count("b.OnRender2D"), 1);
    EXPECT_EQ(this->app->GetCurrentState(), nString("b"));
}

TEST_F(AppTest, AStateSelectedWhileAStateEntersIsEnteredAtTheNextPass)
{
    this->OpenWithStates({"a", "b", "c"});
    // a selects b as it enters at program start; b selects c as it enters from a
    this->State("a")->onEnter = [this] { this->app->SetState(nString("b")); };
    this->State("b")->onEnter = [this] { this->app->SetState(nString("c")); };
    this->State("c")->onFrame = [this] { this->app->SetQuitRequested(true); };
    Trace().clear();
    this->app->Run();
    const Steps switches = {"a.OnStateEnter()", "a.OnStateLeave(b)", "b.OnStateEnter(a)", "b.OnStateLeave(c)",
                            "c.OnStateEnter(b)"};
    Steps seen;
    for (const std::string& step : Trace())
    {
        if (step.find(".OnState") != std::string::npos) seen.push_back(step);
    }
    EXPECT_EQ(seen, switches);
    // each entered state ran its own frame before the switch
    EXPECT_EQ(Count("a.OnFrame"), 1);
    EXPECT_EQ(Count("b.OnFrame"), 1);
    EXPECT_EQ(this->app->GetCurrentState(), nString("c"));
}

TEST_F(AppTest, SetStateWithTheRunningStateSwitchesNothing)
{
    this->OpenWithStates({"a", "b"});
    int frames = 0;
    this->State("a")->onFrame = [&] {
        this->app->SetState(nString("a"));
        if (++frames == 2) this->app->SetQuitRequested(true);
    };
    Trace().clear();
    this->app->Run();
    EXPECT_EQ(Count("a.OnStateEnter()"), 1);
    EXPECT_EQ(Count("a.OnStateLeave(a)"), 0);
    EXPECT_EQ(Count("a.OnFrame"), 2);
}

TEST_F(AppTest, SetStateWithAnUnknownNameReportsAndKeepsTheState)
{
    this->OpenWithStates({"a"});
    int frames = 0;
    this->State("a")->onFrame = [&] {
        this->app->SetState(nString("nowhere"));
        if (++frames == 2) this->app->SetQuitRequested(true);
    };
    this->app->Run();
    EXPECT_NE(this->log.text.find("nApplication::SetState(): invalid app state 'nowhere'!\n"), std::string::npos);
    EXPECT_EQ(this->app->GetCurrentState(), nString("a"));
    EXPECT_EQ(Count("a.OnFrame"), 2);
}

TEST_F(AppTest, SetStateFindsOnlyStatesBelowAppStates)
{
    this->OpenWithStates({"a"});
    this->ks->New("nroot", "/theApp/appstates/plain");
    int frames = 0;
    this->State("a")->onFrame = [&] {
        for (const char* name : {"..", ".", "plain", "a/..", "../appstates"})
        {
            this->app->SetState(nString(name));
        }
        if (++frames == 2) this->app->SetQuitRequested(true);
    };
    this->app->Run();
    EXPECT_NE(this->log.text.find("invalid app state '..'!"), std::string::npos);
    EXPECT_NE(this->log.text.find("invalid app state 'plain'!"), std::string::npos);
    EXPECT_EQ(this->app->GetCurrentState(), nString("a"));
    EXPECT_EQ(Count("a.OnFrame"), 2);
}

TEST_F(AppTest, TheExitStateQuitsAfterItsFirstFrame)
{
    this->OpenWithStates({"a"});
    this->app->CreateState(nString("nexitappstate"), nString("exit"));
    this->State("a")->onFrame = [this] { this->app->SetState(nString("exit")); };
    Trace().clear();
    this->app->Run();
    EXPECT_EQ(Count("a.OnStateLeave(exit)"), 1);
    EXPECT_EQ(Count("script.Trigger"), 2);
    EXPECT_EQ(Trace().back(), "input.FlushEvents");
    EXPECT_EQ(this->app->GetCurrentState(), nString("exit"));
}

TEST_F(AppTest, NoStateBeforeTheFirstPass)
{
    EXPECT_EQ(this->app->GetCurrentState(), nString());
    ASSERT_TRUE(this->app->Open());
    EXPECT_EQ(this->app->GetCurrentState(), nString());
    EXPECT_EQ(this->app->FindState(nString("x")), nullptr);
}

TEST_F(AppTest, BaseStateReportsEnteringAndLeaving)
{
    ASSERT_TRUE(this->app->Open());
    this->app->CreateState(nString("nappstate"), nString("first"));
    this->app->CreateState(nString("nappstate"), nString("second"));
    this->app->SetState(nString("first"));
    this->app->UpdateTimes();
    this->app->DoStateTransition();
    this->app->SetState(nString("second"));
    this->app->DoStateTransition();
    EXPECT_NE(this->log.text.find("nAppState::OnStateEnter() called on state first\n"
                                  "nAppState::OnStateLeave(second) called on state first\n"
                                  "nAppState::OnStateEnter(first) called on state second\n"),
              std::string::npos)
        << this->log.text;
}

//------------------------------------------------------------------------------
//  The clock.
//------------------------------------------------------------------------------
TEST_F(AppTest, AFrameWithoutTimeGetsTheSinglePrecisionFloor)
{
    nTimeServer* clock = nTimeServer::Instance();
    clock->SetTime(5.0);
    this->app->UpdateTimes();
    EXPECT_DOUBLE_EQ(this->app->GetTime(), 5.0);
    EXPECT_DOUBLE_EQ(this->app->GetFrameTime(), 5.0);
    this->app->UpdateTimes();
    EXPECT_EQ(this->app->GetFrameTime(), 9.999999747378752e-05);
    EXPECT_DOUBLE_EQ(this->app->GetTime(), 5.0);
    clock->SetTime(4.0);  // a clock set back counts as no time either
    this->app->UpdateTimes();
    EXPECT_EQ(this->app->GetFrameTime(), 9.999999747378752e-05);
}

TEST_F(AppTest, StateTimeRunsFromTheLastSwitch)
{
    this->OpenWithStates({"a", "b"});
    nTimeServer* clock = nTimeServer::Instance();
    clock->SetTime(10.0);
    this->app->UpdateTimes();
    this->app->DoStateTransition();
    clock->SetTime(12.5);
    this->app->UpdateTimes();
    EXPECT_DOUBLE_EQ(this->app->GetStateTime(), 2.5);
    this->app->UpdateTimes();
    EXPECT_DOUBLE_EQ(this->app->GetStateTime(), 2.5);
    this->app->SetState(nString("b"));
    this->app->DoStateTransition();
    clock->SetTime(13.0);
    this->app->UpdateTimes();
    EXPECT_DOUBLE_EQ(this->app->GetStateTime(), 0.5);
}

//------------------------------------------------------------------------------
//  A half-opened application closes only what was opened.
//------------------------------------------------------------------------------
struct HalfOpenCase
{
    const char* name;
    bool sceneOpens;
    bool audioOpens;
    bool videoOpens;
    Steps closes;
};

class AppHalfOpenTest : public AppTest, public ::testing::WithParamInterface<HalfOpenCase>
{
};

TEST_P(AppHalfOpenTest, CloseClosesOnlyTheServersThatOpened)
{
    const HalfOpenCase& c = GetParam();
    Knobs().sceneOpens = c.sceneOpens;
    Knobs().audioOpens = c.audioOpens;
    Knobs().videoOpens = c.videoOpens;
    EXPECT_FALSE(this->app->Open());
    EXPECT_FALSE(this->app->IsOpen());
    Steps closes;
    for (const std::string& entry : Trace())
    {
        if (entry.find(".Close") != std::string::npos) closes.push_back(entry);
    }
    EXPECT_EQ(closes, c.closes);
    EXPECT_EQ(Count("release script"), 1);
    EXPECT_EQ(this->ks->Lookup("/sys/servers/scene"), nullptr);
    EXPECT_EQ(this->ks->Lookup("/theApp/appstates"), nullptr);
    EXPECT_FALSE(nRemoteServer::Instance()->IsOpen());
    this->app->Close();  // a second Close is harmless
}

INSTANTIATE_TEST_SUITE_P(
    HalfOpen, AppHalfOpenTest,
    ::testing::Values(HalfOpenCase{"SceneFails", false, true, true, {}},
                      HalfOpenCase{"AudioFails", true, false, true, {"scene.Close", "video.Close"}},
                      HalfOpenCase{"AudioAndVideoFail", true, false, false, {"scene.Close"}}),
    [](const ::testing::TestParamInfo<HalfOpenCase>& info) { return std::string(info.param.name); });

TEST_F(AppTest, AnApplicationCanOpenAgainAfterClose)
{
    ASSERT_TRUE(this->app->Open());
    this->app->Close();
    ASSERT_TRUE(this->app->Open());
    EXPECT_TRUE(this->app->IsOpen());
}

//------------------------------------------------------------------------------
//  The application camera.
//------------------------------------------------------------------------------
class MovedCamera : public nAppCamera
{
public:
    MovedCamera() { this->transform.settranslation(vector3(1.0f, 2.0f, 3.0f)); }
};

TEST(AppCameraTest, ResetReturnsToTheIdentity)
{
    MovedCamera camera;
    EXPECT_FLOAT_EQ(camera.GetTransform().m[3][1], 2.0f);
    camera.Reset();
    const matrix44 identity;
    EXPECT_EQ(0, memcmp(&camera.GetTransform(), &identity, sizeof(matrix44)));
}

//------------------------------------------------------------------------------
//  The state commands on an open application, as a script calls them.
//------------------------------------------------------------------------------
TEST_F(AppTest, ScriptCommandsSelectAndReportTheState)
{
    this->OpenWithStates({"a", "b"});
    int frames = 0;
    this->State("a")->onFrame = [&] {
        ScriptCall current(this->app, "s_getcurrentstate_v");
        EXPECT_STREQ(current.Run().Out()->GetS(), "a");
        ScriptCall set(this->app, "v_setstate_s");
        set.In()->SetS("b");
        set.Run();
    };
    this->State("b")->onFrame = [&] {
        if (++frames == 1) this->app->SetQuitRequested(true);
    };
    this->app->Run();
    ScriptCall current(this->app, "s_getcurrentstate_v");
    EXPECT_STREQ(current.Run().Out()->GetS(), "b");
}

//------------------------------------------------------------------------------
//  The programming errors the application stops on.
//------------------------------------------------------------------------------
TEST_F(AppTest, RunWithoutASelectedStateStops)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the remote-control listener runs
    ASSERT_TRUE(this->app->Open());
    EXPECT_ASSERT_DEATH(this->app->Run(), "this->nextState.isvalid()");
}

TEST_F(AppTest, ASecondStateOfTheSameNameStops)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    this->OpenWithStates({"a"});
    EXPECT_ASSERT_DEATH(this->app->CreateState(nString("teststate"), nString("a")),
                        "!this->refAppStates->Find(stateName.Get())");
}
