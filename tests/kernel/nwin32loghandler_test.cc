//------------------------------------------------------------------------------
//  The program's log handler: the log file in home:, message and error
//  boxes (recorded here, never shown), window minimising before an error
//  box, unattended runs, and errors raised while an error is reported.
//------------------------------------------------------------------------------
#include "kernelfixture.h"
#include "usertempdir.h"

#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nlinebuffer.h"
#include "kernel/nwin32loghandler.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include <sys/stat.h>

namespace
{

/// records its boxes and window calls instead of showing them
class RecordingLogHandler : public nWin32LogHandler
{
public:
    RecordingLogHandler() : nWin32LogHandler("Boxing", "ZORVEK Games") {}

    std::vector<std::string> events;
    /// an error to raise from inside an error box
    const char* nestedError = nullptr;

protected:
    void ShowBox(int kind, const char* text) override
    {
        this->events.push_back("box " + std::to_string(kind) + " " + text);
        if (kind == ErrorBox && this->nestedError)
        {
            fprintf(stderr, "box %d\n", kind);
            n_error("%s", this->nestedError);
        }
    }
    void MinimizeGameWindow(int windowId) override { this->events.push_back("minimise " + std::to_string(windowId)); }
};

}  // namespace

class LogHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>();
        this->home = user.Path() + "/game";
        std::filesystem::create_directories(this->home);
        this->ks->GetFileServer()->SetAssign("home", (this->home + "/").c_str());
    }
    void TearDown() override { this->ks.reset(); }

    /// install a handler on the kernel (opening it)
    template <class T> T* Install(std::unique_ptr<T> h)
    {
        T* raw = h.get();
        this->handler = std::move(h);
        this->ks->SetLogHandler(raw);
        return raw;
    }
    std::string Log() const { return ReadWholeFile(this->home + "/bin.log"); }

    UserTempDir user;
    ScopedEnv ci{"CI", "true"};
    std::string home;
    std::unique_ptr<nLogHandler> handler;  // outlives the kernel
    std::unique_ptr<nKernelServer> ks;
};

TEST_F(LogHandlerTest, EveryLineGoesToTheLogFileAndTheLineBufferOnly)
{
    this->Install(std::make_unique<RecordingLogHandler>());
    testing::internal::CaptureStdout();
    n_printf("first %d\n", 1);
    n_printf("second ");
    ks->Print("%s\n", "third");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(this->Log(), "first 1\nsecond third\n");
    nLineBuffer* lb = this->handler->GetLineBuffer();
    const int tail = lb->GetTailLine();
    EXPECT_STREQ(lb->GetLine((tail + N_NUM_LINES - 1) % N_NUM_LINES), "second third");
    EXPECT_STREQ(lb->GetLine((tail + N_NUM_LINES - 2) % N_NUM_LINES), "first 1");
}

TEST_F(LogHandlerTest, EachRunReplacesTheLog)
{
    this->Install(std::make_unique<RecordingLogHandler>());
    n_printf("old run\n");
    ks->SetLogHandler(nullptr);
    EXPECT_EQ(this->Log(), "old run\n");
    this->Install(std::make_unique<RecordingLogHandler>());
    n_printf("new run\n");
    EXPECT_EQ(this->Log(), "new run\n");
}

// A second copy of the program run on the same home must not wipe the log
// of the first: it keeps its own lines in its line buffer and says so there.
TEST_F(LogHandlerTest, ASecondCopyLeavesTheFirstsLogWholeAndSaysSo)
{
    this->Install(std::make_unique<RecordingLogHandler>());
    n_printf("first copy\n");
    RecordingLogHandler second;
    ASSERT_TRUE(second.Open());
    EXPECT_EQ(this->Log(), "first copy\n");
    nLineBuffer* lb = second.GetLineBuffer();
    const int tail = lb->GetTailLine();
    EXPECT_STREQ(lb->GetLine((tail + N_NUM_LINES - 1) % N_NUM_LINES),
                 "Another copy of the program writes home:/bin.log: this one does not.");
    second.Close();
    n_printf("still the first\n");
    EXPECT_EQ(this->Log(), "first copy\nstill the first\n");
    // once the first is gone, the next run has the log again
    ks->SetLogHandler(nullptr);
    this->Install(std::make_unique<RecordingLogHandler>());
    n_printf("next run\n");
    EXPECT_EQ(this->Log(), "next run\n");
}

TEST_F(LogHandlerTest, LongTextIsCutInTheLog)
{
    this->Install(std::make_unique<RecordingLogHandler>());
    const std::string text(2000, 'x');
    n_printf("%s", text.c_str());
    EXPECT_EQ(this->Log(), std::string(1023, 'x'));
    // a format too long to be one is logged as it stands, not interpreted
    const std::string format = std::string(1500, 'y') + "%s%n";
    n_printf(format.c_str(), "unused");
    EXPECT_EQ(this->Log().substr(1023), format.substr(0, 1023));
}

TEST_F(LogHandlerTest, MessagesShowAnInformationBox)
{
    RecordingLogHandler* h = this->Install(std::make_unique<RecordingLogHandler>());
    n_message("hello %s\n", "player");
    EXPECT_EQ(h->events, std::vector<std::string>({"box 0 hello player\n"}));
    EXPECT_EQ(this->Log(), "hello player\n");
}

TEST_F(LogHandlerTest, ErrorMinimisesThePublishedWindowBeforeTheBox)
{
    RecordingLogHandler* h = this->Install(std::make_unique<RecordingLogHandler>());
    static_cast<nEnv*>(ks->New("nenv", "/sys/env/hwnd"))->SetI(42);
    ks->Error("broken %s\n", "thing");
    EXPECT_EQ(h->events, std::vector<std::string>({"minimise 42", "box 1 broken thing\n"}));
    EXPECT_EQ(this->Log(), "broken thing\n");
    // the handler shut itself down: nothing more reaches the file
    EXPECT_FALSE(h->IsOpen());
    n_printf("after\n");
    EXPECT_EQ(this->Log(), "broken thing\n");
}

TEST_F(LogHandlerTest, ErrorWithoutAWindowIdOnlyShowsTheBox)
{
    RecordingLogHandler* h = this->Install(std::make_unique<RecordingLogHandler>());
    ks->Error("no window\n");
    EXPECT_EQ(h->events, std::vector<std::string>({"box 1 no window\n"}));

    h->events.clear();
    ks->SetLogHandler(h);
    static_cast<nEnv*>(ks->New("nenv", "/sys/env/hwnd"))->SetS("not a number");
    testing::internal::CaptureStderr();
    ks->Error("bad window\n");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("/sys/env/hwnd"), std::string::npos);
    EXPECT_EQ(h->events, std::vector<std::string>({"box 1 bad window\n"}));
}

TEST_F(LogHandlerTest, FatalErrorLeavesACompleteLog)
{
    this->Install(std::make_unique<nWin32LogHandler>("Boxing", "ZORVEK Games"));
    EXPECT_DEATH(
        {
            n_printf("before\n");
            n_error("fatal %d\n", 3);
        },
        "Boxing: fatal 3");
    EXPECT_EQ(this->Log(), "before\nfatal 3\n");
}

TEST_F(LogHandlerTest, LinesSurviveACrash)
{
    this->Install(std::make_unique<RecordingLogHandler>());
    EXPECT_DEATH(
        {
            n_printf("kept\n");
            abort();
        },
        "");
    EXPECT_EQ(this->Log(), "kept\n");
}

TEST_F(LogHandlerTest, ErrorWhileReportingAnErrorStopsWithoutRecursing)
{
    RecordingLogHandler* h = this->Install(std::make_unique<RecordingLogHandler>());
    h->nestedError = "inner failure\n";
    EXPECT_DEATH(ks->Error("outer\n"), "^box 1\ninner failure\n$");
    EXPECT_EQ(this->Log(), "outer\n");
    EXPECT_DEATH(n_error("outer fatal\n"), "^box 1\ninner failure\n$");
}

TEST_F(LogHandlerTest, UnopenableLogFileIsHarmlessAndSaysWhy)
{
    struct Case
    {
        const char* what;
        std::function<std::string()> make;  // the home whose log cannot be opened
        const char* why;
    };
    const Case cases[] = {
        {"a file where home should be",
         [&] {
             std::ofstream(user.Path() + "/blocker") << "a file where home should be";
             return user.Path() + "/blocker";
         },
         "Not a directory"},
        {"a directory as the log",
         [&] {
             std::filesystem::create_directories(this->home + "/bin.log");
             return this->home;
         },
         "Is a directory"},
        {"a FIFO as the log: never waited on",
         [&] {
             std::filesystem::remove_all(this->home + "/bin.log");
             EXPECT_EQ(mkfifo((this->home + "/bin.log").c_str(), 0600), 0);
             return this->home;
         },
         "Invalid argument"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string home = c.make();
        ks->GetFileServer()->SetAssign("home", (home + "/").c_str());
        testing::internal::CaptureStderr();
        RecordingLogHandler* h = this->Install(std::make_unique<RecordingLogHandler>());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("/bin.log cannot be written (" + std::string(c.why) + ")"), std::string::npos) << err;
        EXPECT_NE(err.find(home), std::string::npos) << err;
        EXPECT_TRUE(h->IsOpen());
        n_printf("to the ring\n");
        n_message("still shown\n");
        EXPECT_EQ(h->events, std::vector<std::string>({"box 0 still shown\n"}));
        const int tail = h->GetLineBuffer()->GetTailLine();
        EXPECT_STREQ(h->GetLineBuffer()->GetLine((tail + N_NUM_LINES - 2) % N_NUM_LINES), "to the ring");
        // the reason, cut into lines of the buffer, comes before them
        std::string before;
        for (int i = 5; i >= 3; i--) before += h->GetLineBuffer()->GetLine((tail + N_NUM_LINES - i) % N_NUM_LINES);
        EXPECT_NE(before.find("bin.log cannot be written (" + std::string(c.why) + ")."), std::string::npos) << before;
        ks->SetLogHandler(nullptr);
        EXPECT_FALSE(h->IsOpen());
    }
}

TEST_F(LogHandlerTest, UnattendedBoxesGoToStandardError)
{
    ScopedEnv noDisplay("DISPLAY", nullptr);
    ScopedEnv noWayland("WAYLAND_DISPLAY", nullptr);
    ScopedEnv noCi("CI", nullptr);
    this->Install(std::make_unique<nWin32LogHandler>("Boxing"));
    testing::internal::CaptureStderr();
    n_message("welcome\n");
    ks->Error("oops\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Boxing: welcome\nBoxing: oops\n");
}

TEST_F(LogHandlerTest, DebugOutputIsLoggedAndPassedOn)
{
    this->Install(std::make_unique<RecordingLogHandler>());
    testing::internal::CaptureStderr();
    n_dbgout("debug %d\n", 7);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "debug 7\n");
    EXPECT_EQ(this->Log(), "debug 7\n");
}

TEST_F(LogHandlerTest, NamesAndDocumentsFolder)
{
    const nWin32LogHandler named("Boxing");
    EXPECT_STREQ(named.GetAppName().Get(), "Boxing");
    EXPECT_STREQ(named.GetSubDir().Get(), "TavikLabs/Quelor2");
    EXPECT_STREQ(nWin32LogHandler("Boxing", "ZORVEK Games").GetSubDir().Get(), "ZORVEK Games");

    const nShell32Wrapper shell;
    nString path;
    ASSERT_TRUE(shell.SHGetFolderPath(nShell32Wrapper::CSIDL_PERSONAL | nShell32Wrapper::CSIDL_FLAG_CREATE, path));
    EXPECT_STREQ(path.Get(), (user.Path() + "/Documents").c_str());
    EXPECT_TRUE(std::filesystem::is_directory(path.Get()));
    EXPECT_FALSE(shell.SHGetFolderPath(0x001a, path));
}
