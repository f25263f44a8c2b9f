//------------------------------------------------------------------------------
//  The launcher dialog driven like a player: resolution list, Fullscreen,
//  PLAY with a stand-in game, CREDITS and QUIT.
//------------------------------------------------------------------------------
#include "launcherfixture.h"

#include "misc/nprefserver.h"
#include "platform/nplatformwindow.h"
#include "usertempdir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace
{

typedef std::map<std::string, std::string> Prefs;

}  // namespace

TEST_F(LauncherTest, StoredWidthSelectsItsRow)
{
    struct Case
    {
        const char* width;
        int row;
    };
    const Case cases[] = {{"640", 0}, {"800", 1}, {"1280", 3}, {"1600", 4}, {"1281", -1}, {"1280x1024", -1},
                          {" 1280", -1}, {"0", -1}, {"-640", -1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.width);
        this->StorePrefs({{"window-width", c.width}});
        this->launcher = std::make_unique<nLauncher>(*this->host);
        this->launcher->SetHome(this->home);
        this->Start();
        EXPECT_EQ(this->launcher->GetDialog()->ListGetCurSel(nLauncher::IdResolution), c.row);
        EXPECT_EQ(this->launcher->GetDialog()->ListGetCount(nLauncher::IdResolution), 5);
        this->launcher.reset();
    }
}

TEST(LauncherSizes, TheListKeepsTheStandardOrderDropsWhatDoesNotFitAndAddsTheDisplaysModes)
{
    using Sizes = std::vector<nLauncher::Size>;
    const Sizes standard = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}};
    struct Case
    {
        const char* name;
        Sizes modes;
        Sizes rows;
    } cases[] = {
        {"no modes reported", {}, standard},
        {"a display of one standard size", {{1600, 1200}}, standard},
        {"a large display", {{2560, 1600}},
         {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}, {2560, 1600}}},
        {"a 1280x1024 desktop", {{1280, 1024}, {1024, 768}, {800, 600}},
         {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}}},
        {"a wide screen", {{1920, 1080}, {1680, 1050}, {1280, 720}, {1280, 1024}, {1920, 1080}, {720, 400}},
         {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1280, 720}, {1680, 1050}, {1920, 1080}}},
        {"a display smaller than every size", {{320, 240}}, {{640, 480}}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(nLauncher::ListedSizes(c.modes), c.rows) << c.name;
    }
}

TEST_F(LauncherTest, AWideScreensModesAreOfferedAndTheStoredSizeSelected)
{
    this->displayModes = {{1920, 1080}, {1280, 720}, {1280, 1024}};
    const struct
    {
        const char* width;
        const char* height;
        int row;
    } cases[] = {{"1280", "720", 4}, {"1280", "1024", 3}, {"1280", "", 3}, {"1920", "1080", 5}, {"1600", "1200", -1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.width) + "x" + c.height);
        this->StorePrefs({{"window-width", c.width}, {"window-height", c.height}});
        this->launcher = std::make_unique<nLauncher>(*this->host);
        this->launcher->SetHome(this->home);
        this->Start();
        EXPECT_EQ(this->launcher->GetDialog()->ListGetCount(nLauncher::IdResolution), 6);
        EXPECT_EQ(this->launcher->GetDialog()->ListGetCurSel(nLauncher::IdResolution), c.row);
        this->launcher.reset();
    }
    this->launcher = std::make_unique<nLauncher>(*this->host);
    this->launcher->SetHome(this->home);
    this->Start();
    this->ClickRow(5);
    nPrefServer* prefs = this->launcher->GetPrefServer();
    EXPECT_STREQ(prefs->ReadString(nString("window-width")).Get(), "1920");
    EXPECT_STREQ(prefs->ReadString(nString("window-height")).Get(), "1080");
}

TEST_F(LauncherTest, FirstRunSelectsNothingAndWritesNothing)
{
    this->Start();
    nPlatformDialog* d = this->launcher->GetDialog();
    EXPECT_EQ(d->ListGetCurSel(nLauncher::IdResolution), -1);
    EXPECT_FALSE(d->IsChecked(nLauncher::IdFullscreen));
    this->Click(nLauncher::IdQuit);
    ASSERT_TRUE(this->launcher->IsEnded());
    this->launcher.reset();
    EXPECT_EQ(this->ReadPrefs(), Prefs());
}

TEST_F(LauncherTest, WidthNotInTheListIsKeptUntilARowIsPicked)
{
    this->StorePrefs({{"window-width", "1366"}, {"window-height", "768"}});
    this->Start();
    EXPECT_EQ(this->launcher->GetDialog()->ListGetCurSel(nLauncher::IdResolution), -1);
    this->Click(nLauncher::IdPlay);
    ASSERT_EQ(this->games.size(), 1u);
    EXPECT_EQ(this->games[0], (Prefs{{"window-width", "1366"}, {"window-height", "768"}}));

    this->ClickRow(2);
    EXPECT_EQ(this->launcher->GetDialog()->ListGetCurSel(nLauncher::IdResolution), 2);
    this->Click(nLauncher::IdPlay);
    ASSERT_EQ(this->games.size(), 2u);
    EXPECT_EQ(this->games[1], (Prefs{{"window-width", "1024"}, {"window-height", "768"}}));
}

TEST_F(LauncherTest, PickingARowStoresWidthAndHeightAtOnce)
{
    this->Start();
    this->ClickRow(1);
    nPrefServer* prefs = this->launcher->GetPrefServer();
    ASSERT_NE(prefs, nullptr);
    EXPECT_STREQ(prefs->ReadString(nString("window-width")).Get(), "800");
    EXPECT_STREQ(prefs->ReadString(nString("window-height")).Get(), "600");
    EXPECT_FALSE(prefs->KeyExists(nString("window-type")));
    this->ClickRow(4);
    EXPECT_STREQ(prefs->ReadString(nString("window-width")).Get(), "1600");
    EXPECT_STREQ(prefs->ReadString(nString("window-height")).Get(), "1200");
    // what the launcher kernel saves when it goes is what the game reads
    this->Click(nLauncher::IdQuit);
    this->launcher.reset();
    EXPECT_EQ(this->ReadPrefs(), (Prefs{{"window-width", "1600"}, {"window-height", "1200"}}));
}

TEST_F(LauncherTest, FullscreenCheckBoxStoresTheWindowType)
{
    this->StorePrefs({{"window-type", "fullscreen"}});
    this->Start();
    nPlatformDialog* d = this->launcher->GetDialog();
    EXPECT_TRUE(d->IsChecked(nLauncher::IdFullscreen));
    this->Click(nLauncher::IdFullscreen);
    EXPECT_FALSE(d->IsChecked(nLauncher::IdFullscreen));
    EXPECT_STREQ(this->launcher->GetPrefServer()->ReadString(nString("window-type")).Get(), "windowed");
    this->Click(nLauncher::IdPlay);
    ASSERT_EQ(this->games.size(), 1u);
    EXPECT_EQ(this->games[0], (Prefs{{"window-type", "windowed"}}));
    this->Click(nLauncher::IdFullscreen);
    EXPECT_STREQ(this->launcher->GetPrefServer()->ReadString(nString("window-type")).Get(), "fullscreen");
}

TEST_F(LauncherTest, OtherStoredTypeLeavesFullscreenClear)
{
    this->StorePrefs({{"window-type", "FULLSCREEN"}});
    this->Start();
    EXPECT_FALSE(this->launcher->GetDialog()->IsChecked(nLauncher::IdFullscreen));
}

TEST_F(LauncherTest, AfterAGameQuitIsFocusedAndDefaultAndEnterQuits)
{
    this->Start();
    nPlatformDialog* d = this->launcher->GetDialog();
    EXPECT_EQ(d->GetDefaultButton(), nLauncher::IdPlay);
    this->Click(nLauncher::IdPlay);
    ASSERT_EQ(this->games.size(), 1u);
    EXPECT_FALSE(this->launcher->IsGameRunning());
    EXPECT_TRUE(d->IsVisible());
    EXPECT_NE(this->launcher->GetPrefServer(), nullptr);
    EXPECT_EQ(d->GetFocus(), nLauncher::IdQuit);
    EXPECT_EQ(d->GetDefaultButton(), nLauncher::IdQuit);
    this->PressKey("Return");
    EXPECT_TRUE(this->launcher->IsEnded());
    EXPECT_EQ(this->games.size(), 1u);
}

TEST_F(LauncherTest, EnterOnTheFreshLauncherPlays)
{
    this->Start();
    this->PressKey("Return");
    EXPECT_EQ(this->games.size(), 1u);
    EXPECT_FALSE(this->launcher->IsEnded());
}

TEST_F(LauncherTest, PlayTwiceInOneProcess)
{
    this->Start();
    this->ClickRow(0);
    this->Click(nLauncher::IdPlay);
    this->ClickRow(3);
    this->Click(nLauncher::IdFullscreen);
    this->Click(nLauncher::IdPlay);
    ASSERT_EQ(this->games.size(), 2u);
    EXPECT_EQ(this->games[0], (Prefs{{"window-width", "640"}, {"window-height", "480"}}));
    EXPECT_EQ(this->games[1], (Prefs{{"window-width", "1280"}, {"window-height", "1024"}, {"window-type", "fullscreen"}}));
    // the launcher came back whole: its list and check box still show the choices
    EXPECT_EQ(this->launcher->GetDialog()->ListGetCurSel(nLauncher::IdResolution), 3);
    EXPECT_TRUE(this->launcher->GetDialog()->IsChecked(nLauncher::IdFullscreen));
    this->Click(nLauncher::IdQuit);
    EXPECT_TRUE(this->launcher->IsEnded());
}

TEST_F(LauncherTest, WhatThePlayerDidDuringTheGameIsDropped)
{
    this->launcher->SetGameRun([this](const std::string&, std::string&) {
        this->launcher->GetDialog()->Notify(nLauncher::IdQuit, nPlatformDialog::Clicked);
        return true;
    });
    this->Start();
    this->Click(nLauncher::IdPlay);
    EXPECT_FALSE(this->launcher->IsEnded());
    EXPECT_TRUE(this->launcher->GetDialog()->IsVisible());
}

TEST_F(LauncherTest, ASigtermDuringTheGameEndsTheProgramAfterTheGame)
{
    // the stand-in game has a window, as the game does, and its loop sees the signal
    bool quitSeen = false;
    this->launcher->SetGameRun([&](const std::string&, std::string&) {
        nPlatformWindow window;
        std::string error;
        if (!window.Open("game", false, error)) return false;
        kill(getpid(), SIGTERM);
        nPlatformWindowEvent events[16];
        for (int tries = 0; tries < 1000 && !quitSeen; tries++)
        {
            const int n = nPlatformWindow::DrainEvents(events, 16);
            for (int i = 0; i < n; i++) quitSeen = quitSeen || events[i].kind == nPlatformWindowEvent::Quit;
            if (!quitSeen) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    });
    this->Start();
    this->Click(nLauncher::IdPlay);
    ASSERT_TRUE(quitSeen);
    EXPECT_TRUE(this->launcher->IsEnded());
    EXPECT_FALSE(this->launcher->GetDialog()->IsVisible());
}

TEST_F(LauncherTest, GameThatCannotStartShowsTheLauncherWithAMessage)
{
    this->gameOpens = false;
    this->gameFailure = "The game cannot start: this build lacks its classes 'nguiserver'.";
    this->Start();
    testing::internal::CaptureStderr();
    this->Click(nLauncher::IdPlay);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(this->gameFailure), std::string::npos) << err;
    nPlatformDialog* d = this->launcher->GetDialog();
    EXPECT_TRUE(d->IsVisible());
    EXPECT_FALSE(this->launcher->IsEnded());
    EXPECT_EQ(d->GetDefaultButton(), nLauncher::IdPlay);
    // and PLAY works again
    this->gameOpens = true;
    this->Click(nLauncher::IdPlay);
    EXPECT_EQ(this->games.size(), 2u);
}

TEST_F(LauncherTest, EscapeAndTheCloseButtonQuit)
{
    this->Start();
    this->PressKey("Escape");
    EXPECT_TRUE(this->launcher->IsEnded());

    this->launcher = std::make_unique<nLauncher>(*this->host);
    this->launcher->SetHome(this->home);
    this->Start();
    ASSERT_TRUE(this->host->Eval("eval [wm protocol .launcher WM_DELETE_WINDOW]"));
    this->Pump();
    EXPECT_TRUE(this->launcher->IsEnded());
}

TEST_F(LauncherTest, ClosingTheCreditsReturnsToTheLauncher)
{
    struct Case
    {
        const char* name;
        const char* script;
    };
    const Case cases[] = {
        {"OK", "event generate .credits.button1 <Enter>; event generate .credits.button1 <ButtonPress-1> -x 3 -y 3; "
               "event generate .credits.button1 <ButtonRelease-1> -x 3 -y 3"},
        {"Escape", "focus -force .credits.button1; event generate .credits.button1 <Key-Escape>"},
        {"Return", "focus -force .credits.button1; event generate .credits.button1 <Key-Return>"},
        {"close", "eval [wm protocol .credits WM_DELETE_WINDOW]"},
        // the keys go where the focus is; closed by hand if Escape missed the dialog (and
        // the rescue called off once the dialog is gone, so that it cannot close the next)
        {"Escape where the focus is",
         "event generate [focus] <Key-Escape>; "
         "set ::rescue [after 200 {if {[winfo exists .credits]} {eval [wm protocol .credits WM_DELETE_WINDOW]}}]"},
        {"Escape on the launcher meanwhile", "event generate .launcher <Key-Escape>; "
                                             "eval [wm protocol .credits WM_DELETE_WINDOW]"},
    };
    this->Start();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        this->WhenShown(".credits", 100, std::string("set creditsShown [wm state .credits]; set creditsFocus [focus]; ") + c.script);
        this->Click(nLauncher::IdCredits);
        this->host->Eval("catch {after cancel $::rescue}");
        std::string shown;
        this->host->Eval("set creditsFocus", &shown);
        EXPECT_EQ(shown, ".credits.button1");
        this->host->Eval("set creditsShown", &shown);
        EXPECT_EQ(shown, "normal");
        EXPECT_EQ(this->host->Eval("winfo exists .credits", &shown), true);
        EXPECT_EQ(shown, "0");
        EXPECT_FALSE(this->launcher->IsEnded());
        EXPECT_TRUE(this->launcher->GetDialog()->IsVisible());
    }
    this->Click(nLauncher::IdQuit);
    EXPECT_TRUE(this->launcher->IsEnded());
}

TEST_F(LauncherTest, CreditsAddressButtonOpensTheWebPage)
{
    // a stand-in for the desktop's opener that notes the address it was given
    const std::string bin = this->home + "bin";
    std::filesystem::create_directories(bin);
    const std::string noted = this->home + "opened.txt";
    WriteWholeFile(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + noted + ".part' && mv '" + noted +
                                          ".part' '" + noted + "'\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    const std::string path = bin + ":" + getenv("PATH");
    ScopedEnv env("PATH", path.c_str());

    this->Start();
    this->WhenShown(".credits", 100, "event generate .credits.button1016 <Enter>; "
                     "event generate .credits.button1016 <ButtonPress-1> -x 3 -y 3; "
                     "event generate .credits.button1016 <ButtonRelease-1> -x 3 -y 3; "
                     "after 100 {focus -force .credits.button1; event generate .credits.button1 <Key-Escape>}");
    this->Click(nLauncher::IdCredits);
    for (int i = 0; i < 100 && !std::filesystem::exists(noted); i++)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(ReadWholeFile(noted), nLauncher::WebAddress);
    EXPECT_FALSE(this->launcher->IsEnded());
}

TEST_F(LauncherTest, ControlsSitAtTheirDialogUnits)
{
    std::filesystem::create_directory_symlink(LAUNCHER_SOURCE_DIR "/data", this->home + "data");
    this->Start();
    nPlatformDialog* d = this->launcher->GetDialog();
    std::string value;
    struct Case
    {
        int id;
        int x, y, w, h;
    };
    const Case cases[] = {{nLauncher::IdPlay, 214, 103, 82, 20}, {nLauncher::IdCredits, 214, 125, 82, 20},
                          {nLauncher::IdQuit, 214, 169, 82, 20}, {nLauncher::IdFullscreen, 219, 84, 52, 9}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        const std::string w = d->ControlPath(c.id);
        ASSERT_TRUE(this->host->Eval("list [winfo x " + w + "] [winfo y " + w + "] [winfo width " + w +
                                         "] [winfo height " + w + "]",
                                     &value));
        EXPECT_EQ(value, std::to_string(d->ToPixelsX(c.x)) + " " + std::to_string(d->ToPixelsY(c.y)) + " " +
                             std::to_string(d->ToPixelsX(c.w)) + " " + std::to_string(d->ToPixelsY(c.h)));
    }
    // an 8-point face is some pixels wide and high
    EXPECT_GT(d->ToPixelsX(4), 3);
    EXPECT_GT(d->ToPixelsY(8), 7);
    ASSERT_TRUE(this->host->Eval("wm title .launcher", &value));
    EXPECT_EQ(value, "VELKORAN");
    // the generic family resolves to a real face of the system
    ASSERT_TRUE(this->host->Eval("font actual nDialogFont_launcher -family", &value));
    EXPECT_FALSE(value.empty());
    EXPECT_NE(value, "sans-serif");
    // the picture is there in its real size
    ASSERT_TRUE(this->host->Eval("list [image width nDialogImage_launcher] [image height nDialogImage_launcher]",
                                 &value));
    EXPECT_EQ(value, "300 300");
}

TEST_F(LauncherTest, CreditTextsFitTheirControls)
{
    this->Start();
    std::string fits;
    // measured while the credits show: every text of the dialog fits its control
    this->WhenShown(".credits", 100, "set fits {}; foreach w [winfo children .credits] { "
                     "lappend fits [expr {[font measure [$w cget -font] [$w cget -text]] <= [winfo width $w]}] }; "
                     "focus -force .credits.button1; event generate .credits.button1 <Key-Escape>");
    this->Click(nLauncher::IdCredits);
    ASSERT_TRUE(this->host->Eval("set fits", &fits));
    EXPECT_EQ(fits, "1 1 1 1");
    // and so does every text of the launcher
    ASSERT_TRUE(this->host->Eval("set fits {}; foreach w [winfo children .launcher] { "
                                 "if {[catch {$w cget -text} t] || $t eq {}} continue; "
                                 "lappend fits [expr {[font measure [$w cget -font] $t] <= [winfo width $w]}] }; "
                                 "set fits",
                                 &fits));
    EXPECT_EQ(fits, "1 1 1 1 1 1");
}
