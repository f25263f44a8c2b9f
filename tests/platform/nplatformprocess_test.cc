//------------------------------------------------------------------------------
//  Child processes beneath the program launcher: arguments and paths
//  arrive whole, working directories, exit codes, missing programs, and
//  documents and addresses handed to the desktop's opener.
//------------------------------------------------------------------------------
#include "usertempdir.h"
#include "tools/childreport.h"

#include "platform/nplatformprocess.h"

#include <filesystem>
#include <fstream>

#include <unistd.h>

TEST(PlatformProcess, SplitArgsKeepsQuotedTextWhole)
{
    struct Case
    {
        const char* line;
        std::vector<std::string> args;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"-a -b", {"-a", "-b"}},
        {"  -a\t\t-b  ", {"-a", "-b"}},
        {"\"two words\" x", {"two words", "x"}},
        {"pre\"mid dle\"post", {"premid dlepost"}},
        {"\"\" x", {"", "x"}},
        {"say \\\"hi\\\"", {"say", "\"hi\""}},
        {"C:\\path\\file", {"C:\\path\\file"}},
        {"$HOME;rm *|x", {"$HOME;rm", "*|x"}},
        {"\"unterminated quote", {"unterminated quote"}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(nPlatformProcess::SplitArgs(c.line), c.args) << c.line;
    }
}

TEST(PlatformProcess, RunsInTheGivenDirectoryWithWholeArguments)
{
    UserTempDir user;
    const std::string dir = user.Path() + "/work dir";
    std::filesystem::create_directories(dir);
    const std::string program = user.Path() + "/a program with spaces";
    WriteScript(program, "pwd > out.txt\nfor a in \"$@\"; do echo \"[$a]\" >> out.txt; done\nexit 3\n");

    nPlatformProcess p;
    ASSERT_TRUE(p.Start(program, {"one two", "$HOME", "*", ""}, dir, false));
    EXPECT_TRUE(p.IsRunning());
    EXPECT_EQ(p.Wait(), 3);
    EXPECT_FALSE(p.IsRunning());
    EXPECT_EQ(ReadWholeFile(dir + "/out.txt"), dir + "\n[one two]\n[$HOME]\n[*]\n[]\n");
}

TEST(PlatformProcess, ProgramsAreFoundInPath)
{
    nPlatformProcess p;
    ASSERT_TRUE(p.Start("sh", {"-c", "exit 7"}, "", false));
    EXPECT_EQ(p.Wait(), 7);
}

TEST(PlatformProcess, MissingProgramsAndDirectoriesDoNotStart)
{
    UserTempDir user;
    struct Case
    {
        std::string program;
        std::string dir;
    } cases[] = {
        {"no-such-program-anywhere", ""},
        {user.Path() + "/missing", ""},
        {"sh", user.Path() + "/missing-dir"},
        {user.Path(), ""},  // a directory
        {"", ""},
    };
    for (const Case& c : cases)
    {
        nPlatformProcess p;
        EXPECT_FALSE(p.Start(c.program, {}, c.dir, false)) << c.program << " in " << c.dir;
        EXPECT_FALSE(p.IsRunning());
        EXPECT_EQ(p.Wait(), -1);
    }
}

TEST(PlatformProcess, NoConsoleSilencesTheChild)
{
    nPlatformProcess p;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ASSERT_TRUE(p.Start("sh", {"-c", "echo out; echo err >&2; read x; exit $?"}, "", true));
    const int status = p.Wait();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(status, 0);  // stdin is /dev/null: read meets end of file
}

TEST(PlatformProcess, SignalledChildReportsMinusOne)
{
    nPlatformProcess p;
    ASSERT_TRUE(p.Start("sh", {"-c", "kill -9 $$"}, "", false));
    EXPECT_EQ(p.Wait(), -1);
}

TEST(PlatformProcess, DocumentsAndAddressesGoToTheOpener)
{
    UserTempDir user;
    const std::string bin = user.Path() + "/bin";
    std::filesystem::create_directories(bin);
    ChildReport report(user.Path() + "/report");
    WriteScript(bin + "/xdg-open", "echo \"[$PWD][$*][$#]\" > '" + report.path + "'\n");
    const std::string path = bin + ":" + (getenv("PATH") ? getenv("PATH") : "");
    ScopedEnv pathEnv("PATH", path.c_str());

    ASSERT_TRUE(nPlatformProcess::OpenAddress("https://example.org/a b?x=1&y=2"));
    EXPECT_EQ(report.Read(), "[" + std::filesystem::current_path().string() + "][https://example.org/a b?x=1&y=2][1]\n");

    const std::string docs = user.Path() + "/my docs";
    std::filesystem::create_directories(docs);
    std::ofstream(docs + "/read me.txt") << "text";
    ASSERT_TRUE(nPlatformProcess::OpenDocument("read me.txt", "ignored", docs));
    EXPECT_EQ(report.Read(), "[" + docs + "][" + docs + "/read me.txt][1]\n");

    EXPECT_FALSE(nPlatformProcess::OpenDocument("missing.txt", "", docs));
    EXPECT_FALSE(nPlatformProcess::OpenAddress(""));
}

TEST(PlatformProcess, ExecutableDocumentsRunWithTheirArguments)
{
    UserTempDir user;
    ChildReport report(user.Path() + "/report");
    const std::string tool = user.Path() + "/tool with space";
    WriteScript(tool, "echo \"[$PWD][$1][$2]\" > '" + report.path + "'\n");
    ASSERT_TRUE(nPlatformProcess::OpenDocument(tool, "-x \"a b\"", user.Path()));
    EXPECT_EQ(report.Read(), "[" + user.Path() + "][-x][a b]\n");
}

TEST(PlatformProcess, MissingOpenerFailsCleanly)
{
    UserTempDir user;
    ScopedEnv pathEnv("PATH", user.Path().c_str());
    EXPECT_FALSE(nPlatformProcess::OpenAddress("https://example.org/"));
    std::ofstream(user.Path() + "/doc.txt") << "text";
    EXPECT_FALSE(nPlatformProcess::OpenDocument(user.Path() + "/doc.txt", "", ""));
}
