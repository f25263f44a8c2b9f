//------------------------------------------------------------------------------
//  The game window from the launcher's preferences, including a
//  "home:prefs.n2" edited by hand into nonsense.
//------------------------------------------------------------------------------
#include "gameapp.h"

#include "game/nwindowprefs.h"
#include "gfx2/ndisplaymode2.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "misc/nprefserver.h"

namespace
{

/// a preference file as a person might write it: one string nenv per value given
std::string PrefsFile(const char* width, const char* height, const char* type)
{
    std::string text = "# $parser:ntclserver$ $class:nroot$\n";
    const std::pair<const char*, const char*> values[] = {
        {"window-width", width}, {"window-height", height}, {"window-type", type}};
    for (const auto& [key, value] : values)
    {
        if (!value) continue;
        text += std::string("new nenv ") + key + "\n\tsel " + key + "\n\t.sets \"" + value + "\"\nsel ..\n";
    }
    return text;
}

}  // namespace

class WindowPrefsTest : public GameAppTest
{
protected:
    void SetUp() override
    {
        GameAppTest::SetUp();
        this->ks->GetFileServer()->SetAssign("home", (this->dir.string() + "/").c_str());
        this->ks->New("ntclserver", "/sys/servers/script");
    }

    /// the game's preference server over the file; the display mode it made in a fresh application
    nDisplayMode2 ModeFor(const std::string& file, const nScreenSizes& screen = {})
    {
        this->app->Release();
        this->app = static_cast<TestGameApp*>(this->ks->New("testgameapp", "/theApp"));
        this->app->screenSizes = screen;
        this->Write("prefs.n2", file);
        nPrefServer* pref = this->app->GamePrefServer();
        const nDisplayMode2 mode = this->app->GetDisplayMode();
        pref->Release();
        return mode;
    }
};

TEST_F(WindowPrefsTest, TheLauncherChoicesMakeTheWindow)
{
    struct Case
    {
        const char* width;
        const char* height;
        const char* type;
        int w, h;
        nDisplayMode2::Type t;
    };
    const Case cases[] = {
        {"800", "600", "windowed", 800, 600, nDisplayMode2::Windowed},
        {"1600", "1200", "fullscreen", 1600, 1200, nDisplayMode2::Fullscreen},
        {"1920", "1080", nullptr, 1920, 1080, nDisplayMode2::Windowed},
        {nullptr, nullptr, "fullscreen", 640, 480, nDisplayMode2::Fullscreen},
        {nullptr, nullptr, nullptr, 640, 480, nDisplayMode2::Windowed},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(PrefsFile(c.width, c.height, c.type));
        this->log.text.clear();
        const nDisplayMode2 mode = this->ModeFor(PrefsFile(c.width, c.height, c.type));
        EXPECT_EQ(mode.GetWidth(), c.w);
        EXPECT_EQ(mode.GetHeight(), c.h);
        EXPECT_EQ(mode.GetType(), c.t);
        EXPECT_EQ(this->log.text.find("cannot use"), std::string::npos) << this->log.text;
    }
}

TEST_F(WindowPrefsTest, AbsurdValuesOpenASaneWindowWithAMessage)
{
    const std::string huge(100000, '9');
    struct Case
    {
        const char* width;
        const char* height;
    };
    const Case cases[] = {
        {"0", "0"},       {"-800", "600"},   {"800", "-600"},      {"99999", "600"}, {huge.c_str(), "600"},
        {"abc", "600"},   {"800", "6OO"},    {"800x600", "600"},   {"", "600"},      {"800", nullptr},
        {"65536", "480"}, {"640", "4294967296"}, {"16385", "600"}, {"8.5", "600"},   {"319", "239"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.width).substr(0, 20) + " x " + (c.height ? c.height : "(none)"));
        this->log.text.clear();
        const nDisplayMode2 mode = this->ModeFor(PrefsFile(c.width, c.height, "windowed"));
        EXPECT_EQ(mode.GetWidth(), 640);
        EXPECT_EQ(mode.GetHeight(), 480);
        EXPECT_NE(this->log.text.find("which the game cannot use; it opens 640 x 480 instead"), std::string::npos)
            << this->log.text;
        // the message quotes the values, but never a whole novel
        EXPECT_LT(this->log.text.size(), 400u);
    }
}

TEST_F(WindowPrefsTest, LimitsOfTheSizeAreKept)
{
    const nDisplayMode2 smallest = this->ModeFor(PrefsFile("320", "240", nullptr));
    EXPECT_EQ(smallest.GetWidth(), nWindowPrefsMinWidth);
    EXPECT_EQ(smallest.GetHeight(), nWindowPrefsMinHeight);
    const nDisplayMode2 largest = this->ModeFor(PrefsFile("16384", "16384", nullptr));
    EXPECT_EQ(largest.GetWidth(), nWindowPrefsMaxSide);
    EXPECT_EQ(largest.GetHeight(), nWindowPrefsMaxSide);
}

TEST_F(WindowPrefsTest, AnUnknownTypeMakesAWindowWithAMessage)
{
    for (const char* type : {"FULLSCREEN", "full screen", "1", "alwaysontop"})
    {
        SCOPED_TRACE(type);
        this->log.text.clear();
        const nDisplayMode2 mode = this->ModeFor(PrefsFile(nullptr, nullptr, type));
        EXPECT_EQ(mode.GetType(), nDisplayMode2::Windowed);
        EXPECT_NE(this->log.text.find("does not know; it opens a window"), std::string::npos) << this->log.text;
    }
}

TEST_F(WindowPrefsTest, ASizeLargerThanTheScreenGivesWayToTheLargestThatFitsWithAMessage)
{
    const nScreenSizes screen = {{1280, 1024}, {1024, 768}, {800, 600}, {640, 480}, {320, 200}};
    struct Case
    {
        const char* width;
        const char* height;
        nScreenSizes screen;
        int w, h;
        bool refused;
    };
    const Case cases[] = {
        {"1600", "1200", screen, 1280, 1024, true},
        {"1920", "1080", screen, 1280, 1024, true},
        {"1280", "1200", screen, 1280, 1024, true},
        {"1280", "1024", screen, 1280, 1024, false},
        {"1024", "768", screen, 1024, 768, false},
        {"1400", "900", {{1440, 900}, {1280, 1024}}, 1400, 900, false},
        {"1600", "1200", {{1920, 1080}, {1280, 1024}}, 1920, 1080, true},
        // nothing of the screen fits the game: the size it would have had otherwise
        {"800", "600", {{320, 200}}, 640, 480, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        this->log.text.clear();
        const nDisplayMode2 mode = this->ModeFor(PrefsFile(c.width, c.height, "fullscreen"), c.screen);
        EXPECT_EQ(mode.GetWidth(), c.w);
        EXPECT_EQ(mode.GetHeight(), c.h);
        EXPECT_EQ(mode.GetType(), nDisplayMode2::Fullscreen);
        const std::string said = std::string("ask for a window of ") + c.width + " x " + c.height +
                                 ", larger than the screen; it opens " + std::to_string(c.w) + " x " +
                                 std::to_string(c.h) + " instead";
        EXPECT_EQ(this->log.text.find(said) != std::string::npos, c.refused) << this->log.text;
    }
}
