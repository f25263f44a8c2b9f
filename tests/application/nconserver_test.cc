//------------------------------------------------------------------------------
//  The console: it takes the keys it edits with before the mappings, edits
//  its line, walks its history, runs lines with fail-on-error cleared and
//  draws the log tail or the watched "/sys/var" values.
//------------------------------------------------------------------------------
#include "inputfixture.h"
#include "recordinggfxserver.h"

#include "application/napplicationpackage.h"
#include "application/nconserver.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nenv.h"
#include "kernel/nlinebuffer.h"
#include "resource/nresourcepackage.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace
{

/// key codes of the console's key table
enum { Back = 4, Return = 6, Ctrl = 8, End = 16, Home = 17, Left = 18, Up = 19, Right = 20, Down = 21, Insert = 26, Del = 27, Esc = 12 };

/// a log that also keeps the line buffer the console draws from
using LineLog = LineCaptureLog;

}  // namespace

class ConsoleTest : public InputTest
{
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        this->ks->SetLogHandler(&this->lineLog);
        nKernelServer::Instance()->AddPackage(nresource_package);
        nKernelServer::Instance()->AddPackage(ngfx2_package);
        nKernelServer::Instance()->AddPackage(recordinggfx_package);
        nKernelServer::Instance()->AddPackage(napplication_package);
        this->con = static_cast<nConServer*>(this->ks->New("nconserver", "/sys/servers/console"));
        this->con->Open();
    }
    void TearDown() override
    {
        this->ks->SetLogHandler(&this->log);
        InputTest::TearDown();
    }

    /// a recording graphics server with a display of the size
    RecordingGfxServer* NewGfx(int width, int height)
    {
        auto* gfx = static_cast<RecordingGfxServer*>(this->ks->New("nrecordinggfxserver", "/sys/servers/gfx"));
        nDisplayMode2 mode;
        mode.SetWidth(ushort(width));
        mode.SetHeight(ushort(height));
        gfx->SetDisplayMode(mode);
        return gfx;
    }
    /// one frame in which the text is typed as char events
    void Type(const std::string& text)
    {
        for (char c : text) this->Link(N_INPUT_KEY_CHAR, N_INPUT_KEYBOARD0, uchar(c));
        this->Frame();
    }
    /// one frame with a key pressed and released, ctrl held around it when asked
    void Press(int key, bool ctrl = false)
    {
        if (ctrl) this->Frame({KeyDown(Ctrl)});
        this->Frame({KeyDown(key), KeyUp(key)});
        if (ctrl) this->Frame({KeyUp(Ctrl)});
    }
    std::string Line() const { return this->con->GetEditLine(); }

    LineLog lineLog;
    nConServer* con = nullptr;
};

TEST_F(ConsoleTest, TheOpenConsoleTakesItsKeysBeforeTheMappingsButNotEscape)
{
    Tcl("/sys/servers/input.beginmap; /sys/servers/input.map keyb0:a.down adown; "
        "/sys/servers/input.map keyb0:esc.down esc; /sys/servers/input.endmap");
    this->Link(N_INPUT_KEY_CHAR, N_INPUT_KEYBOARD0, 'a');
    this->Frame({KeyDown(KeyA), KeyDown(Esc)});
    EXPECT_EQ(Line(), "a");
    EXPECT_FALSE(Button("adown"));
    EXPECT_TRUE(Button("esc"));

    this->con->Close();
    this->Link(N_INPUT_KEY_CHAR, N_INPUT_KEYBOARD0, 'b');
    this->Frame({KeyDown(KeyA)});
    EXPECT_EQ(Line(), "a");
    EXPECT_TRUE(Button("adown"));
}

TEST_F(ConsoleTest, EditingKeys)
{
    const struct
    {
        const char* typed;
        std::vector<std::pair<int, bool>> keys;  // key, with ctrl held
        const char* more;                         // typed after the keys
        const char* line;
        int cursor;
    } cases[] = {
        {"abc", {{Home, false}}, "x", "xabc", 1},
        {"abc", {{Left, false}, {Left, false}}, "x", "axbc", 2},
        {"abc", {{Home, false}, {Left, false}}, "", "abc", 0},
        {"abc", {{Right, false}}, "", "abc", 3},
        {"abc", {{Home, false}, {End, false}}, "", "abc", 3},
        {"abc", {{Back, false}}, "", "ab", 2},
        {"abc", {{Home, false}, {Back, false}}, "", "abc", 0},
        {"abc", {{Home, false}, {Del, false}}, "", "bc", 0},
        {"abc", {{Del, false}}, "", "abc", 3},
        {"abc", {{Home, false}, {Insert, false}}, "xy", "xyc", 2},
        {"abc", {{Insert, false}}, "de", "abcde", 5},
        {"abc  def", {{Left, true}}, "", "abc  def", 5},
        {"abc  def", {{Left, true}, {Left, true}}, "", "abc  def", 0},
        {"abc def", {{Home, false}, {Right, true}}, "", "abc def", 4},
        {"abc def", {{Home, false}, {Right, true}, {Right, true}}, "", "abc def", 7},
        {"a", {{Right, true}}, "", "a", 1},
        {"M\xfcller", {}, "", "M\xc3\xbcller", 7},
        {"a\xe4", {{Back, false}}, "", "a", 1},
        {"\xe4\xf6", {{Left, false}}, "x", "\xc3\xa4x\xc3\xb6", 3},
        {"\xe4" "b", {{Home, false}, {Del, false}}, "", "b", 0},
        {"\xe4" "b", {{Home, false}, {Right, false}}, "x", "\xc3\xa4x" "b", 3},
        {"\xe4" "b", {{Home, false}, {Insert, false}}, "x", "xb", 1},
        {"a\x85\x9f" "b", {}, "", "ab", 2},
    };
    for (const auto& c : cases)
    {
        this->con->Release();
        this->con = static_cast<nConServer*>(this->ks->New("nconserver", "/sys/servers/console"));
        this->con->Open();
        Type(c.typed);
        for (const auto& [key, ctrl] : c.keys) Press(key, ctrl);
        Type(c.more);
        EXPECT_EQ(Line(), c.line) << c.typed;
        EXPECT_EQ(this->con->GetCursorPos(), c.cursor) << c.typed;
    }
}

TEST_F(ConsoleTest, ALongLineStopsAt511CharactersInEitherMode)
{
    Type(std::string(600, 'x'));
    EXPECT_EQ(Line(), std::string(511, 'x'));
    EXPECT_EQ(this->con->GetCursorPos(), 511);
    Press(Home);
    Type("y");
    EXPECT_EQ(Line(), "y" + std::string(510, 'x'));
    Press(End);
    Press(Insert);
    Type("zz");
    EXPECT_EQ(Line().size(), 511u);
}

TEST_F(ConsoleTest, HistoryWalksBackAndForth)
{
    Tcl("set a 1");
    Type("set a 2");
    Press(Return);
    Type("set b 3");
    Press(Return);
    Press(Up);
    EXPECT_EQ(Line(), "set b 3");
    Press(Up);
    EXPECT_EQ(Line(), "set a 2");
    Press(Up);
    EXPECT_EQ(Line(), "set a 2");
    Press(Down);
    EXPECT_EQ(Line(), "set b 3");
    EXPECT_EQ(this->con->GetCursorPos(), 7);
    Press(Down);
    EXPECT_EQ(Line(), "");
}

TEST_F(ConsoleTest, EnteredLinesRunWithoutEndingTheProgramOnErrors)
{
    this->script->SetFailOnError(true);
    Type("set x 42");
    Press(Return);
    EXPECT_EQ(Tcl("set x"), "42");
    EXPECT_THAT(this->lineLog.text, HasSubstr("/> set x 42\n42\n"));

    this->lineLog.text.clear();
    Type("no_such_command");
    Press(Return);
    EXPECT_THAT(this->lineLog.text, HasSubstr("no_such_command"));
    EXPECT_TRUE(this->script->GetFailOnError());
    EXPECT_EQ(Line(), "");

    this->lineLog.text.clear();
    Press(Return);
    EXPECT_EQ(this->lineLog.text, "/> \n");

    // the line and its result are echoed as text, never as a format
    this->lineLog.text.clear();
    Type("set y %s%n%d");
    Press(Return);
    EXPECT_THAT(this->lineLog.text, HasSubstr("/> set y %s%n%d\n%s%n%d\n"));
}

/// the texts the console queued, in order, without the backdrop's lines
std::vector<std::string> Texts(const RecordingGfxServer* gfx)
{
    std::vector<std::string> texts;
    for (const std::string& c : gfx->calls)
    {
        if (c.rfind("AddText ", 0) == 0) texts.push_back(c);
    }
    return texts;
}

TEST_F(ConsoleTest, RenderDrawsTheLogTailAndTheEditLine)
{
    RecordingGfxServer* gfx = this->NewGfx(320, 128);  // 8 rows: 4 log lines and the edit line
    for (int i = 0; i < 6; i++) n_printf("line %d\n", i);
    Type("abc");
    Press(Left);
    gfx->calls.clear();
    this->con->Render();
    const std::vector<std::string> expected = {"AddText line 1\n", "AddText line 2\n", "AddText line 3\n",
                                               "AddText line 4\n", "AddText line 5\n", "AddText /> ab|c"};
    EXPECT_EQ(Texts(gfx), expected);

    // scrolling back past the oldest line clamps to it
    for (int i = 0; i < 10; i++) Press(Up, true);
    gfx->calls.clear();
    this->con->Render();
    ASSERT_FALSE(Texts(gfx).empty());
    EXPECT_EQ(Texts(gfx).front(), "AddText line 0\n");
}

TEST_F(ConsoleTest, ScrollingForwardStopsAtTheNewestLine)
{
    RecordingGfxServer* gfx = this->NewGfx(320, 128);
    for (int i = 0; i < 6; i++) n_printf("line %d\n", i);
    Press(Down, true);
    Press(Down, true);
    EXPECT_EQ(this->con->GetScrollOffset(), 0);
    gfx->calls.clear();
    this->con->Render();
    ASSERT_FALSE(Texts(gfx).empty());
    EXPECT_EQ(Texts(gfx).front(), "AddText line 1\n");
}

TEST_F(ConsoleTest, LinesWiderThanTheDisplayTakeMoreRowsOverABackdrop)
{
    RecordingGfxServer* gfx = this->NewGfx(320, 160);  // 10 rows: 6 log rows and the edit line
    gfx->charWidth = 0.1f;  // 9 characters a row, with room for the shadow
    n_printf("one\n");
    n_printf("alpha beta gamma\n");
    n_printf("abcdefghijklmnopqrst\n");
    // the log's buffer keeps lines of at most 79 characters: a longer one is shown whole
    const std::string longLine = "<" + std::string(150, '-') + ">";
    n_printf("%s\n", longLine.c_str());
    Type("0123456789");
    gfx->calls.clear();
    this->con->Render();
    // the edit line takes three rows, so five of the log's are shown (ten rows less three
    // spare and the edit line): the last of the long line's 17, nothing of it lost
    const std::vector<std::string> editRows = {"AddText />", "AddText 012345678", "AddText 9|"};
    std::vector<std::string> texts = Texts(gfx);
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 5, texts.end()), editRows);
    std::string tail;
    for (int i = 0; i < 5; i++) tail += texts[size_t(i)].substr(8, texts[size_t(i)].size() - 9);
    EXPECT_EQ(tail, longLine.substr(longLine.size() - 44));
    // the backdrop comes first, down to just below the edit line's last row
    ASSERT_GE(gfx->calls.size(), 3u);
    EXPECT_EQ(gfx->calls[0], "BeginLines");
    EXPECT_EQ(gfx->calls[1], "DrawLines2d " + std::to_string(2 * (8 * 16 + 4)));
    EXPECT_EQ(gfx->calls[2], "EndLines");

    // scrolled back by the long line's rows: the lines before it, broken at spaces or
    // inside a word too wide
    for (int i = 0; i < 17; i++) Press(Up, true);
    gfx->calls.clear();
    this->con->Render();
    const std::vector<std::string> expected = {"AddText beta\n", "AddText gamma\n", "AddText abcdefghi\n",
                                               "AddText jklmnopqr\n", "AddText st\n"};
    texts = Texts(gfx);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.end() - 3), expected);

    // scrolling goes back by rows, to the first row of the oldest line
    for (int i = 0; i < 20; i++) Press(Up, true);
    gfx->calls.clear();
    this->con->Render();
    ASSERT_FALSE(Texts(gfx).empty());
    EXPECT_EQ(Texts(gfx).front(), "AddText one\n");
}

TEST_F(ConsoleTest, ALogLineAsLongAsABufferLineStaysALineOfItsOwn)
{
    RecordingGfxServer* gfx = this->NewGfx(640, 160);
    gfx->charWidth = 0.005f;  // 199 characters a row
    const std::string full(N_LINE_LEN - 1, 'x');
    n_printf("%s\n", full.c_str());
    n_printf("next\n");
    n_printf("%s%s\n", full.c_str(), "y");
    gfx->calls.clear();
    this->con->Render();
    const std::vector<std::string> expected = {"AddText " + full + "\n", "AddText next\n", "AddText " + full + "y\n",
                                               "AddText /> |"};
    EXPECT_EQ(Texts(gfx), expected);
}

TEST_F(ConsoleTest, WatchersShowTheMatchingValuesWhileTheConsoleIsClosed)
{
    RecordingGfxServer* gfx = static_cast<RecordingGfxServer*>(this->ks->New("nrecordinggfxserver", "/sys/servers/gfx"));
    nDisplayMode2 mode;
    mode.SetHeight(480);
    gfx->SetDisplayMode(mode);
    static_cast<nEnv*>(this->ks->New("nenv", "/sys/var/w_int"))->SetI(3);
    static_cast<nEnv*>(this->ks->New("nenv", "/sys/var/w_bool"))->SetB(true);
    static_cast<nEnv*>(this->ks->New("nenv", "/sys/var/w_str"))->SetS("hi");
    this->ks->New("nenv", "/sys/var/w_void");
    static_cast<nEnv*>(this->ks->New("nenv", "/sys/var/other"))->SetI(1);
    Tcl("/sys/servers/console.watch w_*");
    gfx->calls.clear();
    this->con->Render();
    EXPECT_NE(gfx->calls.front().rfind("AddText >", 0), 0u);  // the console is open: no watchers
    Tcl("/sys/servers/console.close");
    gfx->calls.clear();
    this->con->Render();
    const std::vector<std::string> expected = {"AddText w_int: 3\n", "AddText w_bool: true\n", "AddText w_str: hi\n",
                                               "AddText w_void: <unknown data type>\n"};
    EXPECT_EQ(gfx->calls, expected);

    Tcl("/sys/servers/console.watch mem_*");
    gfx->calls.clear();
    this->con->Render();
    EXPECT_EQ(gfx->calls.size(), 3u);
    for (const std::string& c : gfx->calls) EXPECT_THAT(c, HasSubstr("AddText mem_"));
    Tcl("/sys/servers/console.unwatch");
    gfx->calls.clear();
    this->con->Render();
    EXPECT_TRUE(gfx->calls.empty());
}

TEST_F(ConsoleTest, ATinyDisplayDrawsAtMostTheEditLine)
{
    RecordingGfxServer* gfx = static_cast<RecordingGfxServer*>(this->ks->New("nrecordinggfxserver", "/sys/servers/gfx"));
    for (int height : {1, 15, 16, 40})
    {
        nDisplayMode2 mode;
        mode.SetHeight(ushort(height));
        gfx->SetDisplayMode(mode);
        for (int i = 0; i < 3; i++) n_printf("line %d\n", i);
        for (int i = 0; i < 5; i++) Press(Up, true);
        gfx->calls.clear();
        this->con->Render();
        ASSERT_FALSE(gfx->calls.empty()) << height;
        EXPECT_EQ(gfx->calls.back(), "AddText /> |") << height;
        EXPECT_GE(this->con->GetScrollOffset(), 0) << height;
    }
}
