//------------------------------------------------------------------------------
//  The game's intro and menu states inside the game application: which
//  script procedures run on the way in and out, the intro video and the
//  way from the intro to the menu.
//------------------------------------------------------------------------------
#include "gameapp.h"

#include "game/nintro.h"
#include "game/nmainmenu.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nkernelserver.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{

class MenuStatesTest : public GameAppTest
{
protected:
    MenuStatesTest() { this->realStates = true; }

    /// opens the application over a recording video server that fails to play when asked
    void Open(bool videoFails = false)
    {
        this->video = static_cast<RecordingVideo*>(this->ks->New("recordingvideo", "/sys/servers/video"));
        this->video->failToPlay = videoFails;
        ASSERT_TRUE(this->app->Open());
        this->video->Release();  // the application holds its own reference
        this->app->CreateState(nString("teststate"), nString("other"));
        // a failing script trigger ends Run after one full pass
        Knobs().scriptTrigger = false;
    }

    /// one main-loop pass: a pending state change, then the frame
    void Pass()
    {
        this->app->SetQuitRequested(false);
        this->app->Run();
    }

    /// the script procedures run since the trace entry 'from' (all when empty), in order
    static std::vector<std::string> Procs(const std::string& from = "")
    {
        std::vector<std::string> procs;
        const std::string prefix = "script.RunFunction ";
        const std::vector<std::string> calls = from.empty() ? Trace() : TraceBetween(from, "");
        for (const std::string& e : calls)
        {
            if (e.rfind(prefix, 0) == 0) procs.push_back(e.substr(prefix.size()));
        }
        return procs;
    }

    static long Count(const std::vector<std::string>& v, const char* what)
    {
        return std::count(v.begin(), v.end(), what);
    }

    /// marks the trace so that Procs can start here
    static void Mark(const std::string& mark) { Trace().push_back(mark); }

    nString Current() const { return this->app->GetCurrentState(); }

    RecordingVideo* video = nullptr;
};

TEST_F(MenuStatesTest, TheGameKnowsTheRealIntroAndMenuClasses)
{
    Open();
    EXPECT_NE(dynamic_cast<nIntro*>(this->app->FindState(nString("intro"))), nullptr);
    EXPECT_NE(dynamic_cast<nMainMenu*>(this->app->FindState(nString("main_menu"))), nullptr);
}

TEST_F(MenuStatesTest, AtProgramStartTheMenuShowsTheMainMenu)
{
    Open();
    Mark("start");
    Pass();
    EXPECT_EQ(Current(), nString("main_menu"));
    EXPECT_EQ(Procs("start"), (std::vector<std::string>{"ShowMainMenu", "MapMainMenuInput"}));
}

TEST_F(MenuStatesTest, TheIntroPlaysItsVideoScaledInDialogBoxModeUntilItEnds)
{
    Open();
    Pass();
    Mark("intro");
    this->app->SetState(nString("intro"));
    Pass();
    EXPECT_EQ(Current(), nString("intro"));
    const std::vector<std::string> procs = Procs("intro");
    EXPECT_EQ(procs, (std::vector<std::string>{"CloseMenuWindow", "MapIntroInput"}));
    const auto calls = TraceBetween("intro", "");
    const auto play = std::find(calls.begin(), calls.end(), "video.PlayFile video:intro.mpg scaled");
    ASSERT_NE(play, calls.end());
    // the input is mapped before the video starts
    EXPECT_NE(std::find(calls.begin(), play, "script.RunFunction MapIntroInput"), play);
    EXPECT_TRUE(nGfxServer2::Instance()->GetDisplayMode().GetDialogBoxMode());

    // while the video plays the intro stays
    for (int i = 0; i < 3; i++) Pass();
    EXPECT_EQ(Current(), nString("intro"));

    this->video->Stop();
    Mark("ended");
    Pass();  // the intro asks for the menu
    Pass();  // the menu is entered
    EXPECT_EQ(Current(), nString("main_menu"));
    // coming from the intro is not coming back from a match
    EXPECT_EQ(Procs("ended"), (std::vector<std::string>{"ShowMainMenu", "MapMainMenuInput"}));
}

TEST_F(MenuStatesTest, AnIntroThatCannotBePlayedLeadsToTheMenuOnItsFirstFrame)
{
    Open(true);
    Pass();
    this->app->SetState(nString("intro"));
    Pass();  // enters the intro; its first frame asks for the menu
    EXPECT_FALSE(this->video->IsPlaying());
    Pass();
    EXPECT_EQ(Current(), nString("main_menu"));
}

TEST_F(MenuStatesTest, LeavingTheIntroEarlyStopsItsVideo)
{
    Open();
    Pass();
    this->app->SetState(nString("intro"));
    Pass();
    ASSERT_TRUE(this->video->IsPlaying());
    this->app->SetState(nString("main_menu"));
    Pass();
    EXPECT_EQ(Current(), nString("main_menu"));
    EXPECT_FALSE(this->video->IsPlaying());
}

TEST_F(MenuStatesTest, ReturningFromAMatchShowsThePreStartWindow)
{
    Open();
    nAppState* menu = this->app->FindState(nString("main_menu"));
    const struct
    {
        const char* prev;
        std::vector<std::string> procs;
    } cases[] = {
        {"game", {"ShowPreStartWindow", "MapPreStartMenuInput", "OnMenuStateEnter"}},
        {"intro", {"ShowMainMenu", "MapMainMenuInput"}},
        {"", {"ShowMainMenu", "MapMainMenuInput"}},
        {"other", {"ShowMainMenu", "MapMainMenuInput"}},
        // only the exact name counts
        {"Game", {"ShowMainMenu", "MapMainMenuInput"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.prev);
        Mark(std::string("enter from ") + c.prev);
        menu->OnStateEnter(nString(c.prev));
        EXPECT_EQ(Procs(std::string("enter from ") + c.prev), c.procs);
    }
}

TEST_F(MenuStatesTest, LeavingTheMenuClosesItsWindowExactlyOnce)
{
    Open();
    Pass();
    for (const char* next : {"intro", "other"})
    {
        SCOPED_TRACE(next);
        Mark(std::string("leave for ") + next);
        this->app->SetState(nString(next));
        Pass();
        EXPECT_EQ(Current(), nString(next));
        EXPECT_EQ(Count(Procs(std::string("leave for ") + next), "CloseMenuWindow"), 1);
        this->app->SetState(nString("main_menu"));
        Pass();
        Pass();
        EXPECT_EQ(Current(), nString("main_menu"));
        EXPECT_EQ(Count(Procs(std::string("leave for ") + next), "CloseMenuWindow"), 1);
    }
}

}  // namespace
