//------------------------------------------------------------------------------
//  Message boxes never wait on an unattended run, window minimising only
//  reaches live SDL windows, and the user's folders follow the XDG rules.
//------------------------------------------------------------------------------
#include "usertempdir.h"

#include "platform/nplatformfolders.h"
#include "platform/nplatformmessagebox.h"

#include <filesystem>
#include <fstream>

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

TEST(PlatformFolders, UserDirsEntriesParse)
{
    struct Case
    {
        const char* text;
        bool found;
        const char* path;
    } cases[] = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", true, "/home/u/Documents"},
        {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_DOCUMENTS_DIR=\"/data/docs/\"  \n", true, "/data/docs"},
        {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", true, "/home/u"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\n", true, "/home/u/My \"Docs\""},
        {"XDG_DOCUMENTS_DIR=\"$HOME/a\"\nXDG_DOCUMENTS_DIR=\"$HOME/b\"\n", true, "/home/u/b"},
        {"XDG_DOCUMENTS_DIR=\"relative\"\n", false, ""},
        {"XDG_DOCUMENTS_DIR=$HOME/unquoted\n", false, ""},
        {"XDG_DOCUMENTS_DIR=\"$HOME/open\n", false, ""},
        {"XDG_DOCUMENTS_DIR=\"$HOMEX/x\"\n", false, ""},
        {"XDG_DOCUMENTS_DIR=\"/x\" trailing\n", false, ""},
        {"XDG_DOCUMENTS_DIRX=\"/x\"\n", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases)
    {
        std::string path;
        EXPECT_EQ(nPlatformFolders::ParseUserDir(c.text, "XDG_DOCUMENTS_DIR", "/home/u", path), c.found) << c.text;
        EXPECT_EQ(path, c.path) << c.text;
    }
}

TEST(PlatformFolders, DocumentsFolderIsMadeOrFallsBackToHome)
{
    UserTempDir user;
    std::string docs;
    ASSERT_TRUE(nPlatformFolders::Documents(docs));
    EXPECT_EQ(docs, user.Path());

    std::filesystem::create_directories(user.ConfigPath());
    std::ofstream(user.ConfigPath() + "/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Papers/Mine\"\n";
    ASSERT_TRUE(nPlatformFolders::Documents(docs));
    EXPECT_EQ(docs, user.Path() + "/Papers/Mine");
    EXPECT_TRUE(std::filesystem::is_directory(docs));

    // a folder that cannot be made falls back to home
    std::ofstream(user.Path() + "/blocked") << "file";
    std::ofstream(user.ConfigPath() + "/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/blocked/docs\"\n";
    ASSERT_TRUE(nPlatformFolders::Documents(docs));
    EXPECT_EQ(docs, user.Path());
}
