//------------------------------------------------------------------------------
//  Message boxes never wait on an unattended run, window minimising only
//  reaches live SDL windows, and the configuration folder follows the XDG
//  rules.
//------------------------------------------------------------------------------
#include "usertempdir.h"

#include "platform/nplatformfolders.h"
#include "platform/nplatformmessagebox.h"

#include <SDL.h>

TEST(PlatformMessageBox, BoxesOnlyWithADisplayAndWithoutCI)
{
    struct Case
    {
        const char* display;
        const char* wayland;
        const char* ci;
        bool canShow;
    } cases[] = {
        {":0", nullptr, nullptr, true},
        {nullptr, "wayland-0", nullptr, true},
        {":0", nullptr, "true", false},
        {nullptr, nullptr, nullptr, false},
        {"", "", nullptr, false},
        {":0", nullptr, "", true},
    };
    for (const Case& c : cases)
    {
        ScopedEnv display("DISPLAY", c.display);
        ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland);
        ScopedEnv ci("CI", c.ci);
        EXPECT_EQ(nPlatformMessageBox::CanShow(), c.canShow)
            << (c.display ? c.display : "-") << " " << (c.wayland ? c.wayland : "-") << " " << (c.ci ? c.ci : "-");
    }
}

TEST(PlatformMessageBox, UnattendedRunsGetTheTextOnStandardError)
{
    ScopedEnv ci("CI", "true");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(nPlatformMessageBox::Show(nPlatformMessageBox::Information, "Boxing", "hello"));
    EXPECT_FALSE(nPlatformMessageBox::Show(nPlatformMessageBox::Error, "Boxing", "two\nlines\n"));
    EXPECT_FALSE(nPlatformMessageBox::Show(nPlatformMessageBox::Plain, "Boxing", ""));
    nPlatformMessageBox::DebugOutput("debug text\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Boxing: hello\nBoxing: two\nlines\nBoxing: \ndebug text\n");
}

TEST(PlatformMessageBox, UnreachableDisplayFallsBackToStandardError)
{
    ScopedEnv ci("CI", nullptr);
    ScopedEnv display("DISPLAY", ":9876");
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    ScopedEnv driver("SDL_VIDEODRIVER", "x11");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(nPlatformMessageBox::Show(nPlatformMessageBox::Error, "Boxing", "no server there"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Boxing: no server there\n"), std::string::npos);
}

TEST(PlatformMessageBox, MinimizeReachesOnlyLiveSdlWindows)
{
    EXPECT_FALSE(nPlatformMessageBox::MinimizeWindow(1));

    ScopedEnv driver("SDL_VIDEODRIVER", "offscreen");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("game", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    const int id = (int)SDL_GetWindowID(window);
    EXPECT_TRUE(nPlatformMessageBox::MinimizeWindow(id));
    EXPECT_FALSE(nPlatformMessageBox::MinimizeWindow(id + 1000));
    EXPECT_FALSE(nPlatformMessageBox::MinimizeWindow(0));
    SDL_DestroyWindow(window);
    EXPECT_FALSE(nPlatformMessageBox::MinimizeWindow(id));
    SDL_Quit();
    EXPECT_FALSE(nPlatformMessageBox::MinimizeWindow(id));
}

TEST(PlatformFolders, ConfigHomeFollowsXdgRules)
{
    UserTempDir user;
    EXPECT_EQ(nPlatformFolders::Home(), user.Path());
    EXPECT_EQ(nPlatformFolders::ConfigHome(), user.ConfigPath());
    {
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");
        EXPECT_EQ(nPlatformFolders::ConfigHome(), user.Path() + "/.config");
    }
    {
        ScopedEnv trailing("XDG_CONFIG_HOME", (user.ConfigPath() + "//").c_str());
        EXPECT_EQ(nPlatformFolders::ConfigHome(), user.ConfigPath());
    }
}

TEST(PlatformFolders, DataHomeFollowsXdgRules)
{
    UserTempDir user;
    EXPECT_EQ(nPlatformFolders::DataHome(), user.DataPath());
    {
        ScopedEnv relative("XDG_DATA_HOME", "relative/dir");
        EXPECT_EQ(nPlatformFolders::DataHome(), user.Path() + "/.local/share");
    }
    {
        ScopedEnv unset("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(nPlatformFolders::DataHome(), user.Path() + "/.local/share");
    }
}
