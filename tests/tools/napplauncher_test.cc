//------------------------------------------------------------------------------
//  The program launcher over engine paths: waiting runs, documents and
//  addresses, missing programs.
//------------------------------------------------------------------------------
#include "kernel/kernelfixture.h"
#include "usertempdir.h"
#include "childreport.h"

#include "kernel/nfileserver2.h"
#include "tools/napplauncher.h"

#include <filesystem>
#include <fstream>

class LauncherTest : public KernelTest
{
protected:
    void SetUp() override
    {
        KernelTest::SetUp();
        this->tools = user.Path() + "/my tools";
        std::filesystem::create_directories(this->tools + "/work dir");
        ks->GetFileServer()->SetAssign("tools", (this->tools + "/").c_str());
    }

    UserTempDir user;
    std::string tools;
};

TEST_F(LauncherTest, LaunchWaitRunsTheProgramInItsDirectoryToTheEnd)
{
    WriteScript(this->tools + "/run me", "pwd > result.txt\nfor a in \"$@\"; do echo \"[$a]\" >> result.txt; done\n");
    nAppLauncher launcher(ks.get());
    launcher.SetExecutable("tools:run me");
    launcher.SetWorkingDirectory("tools:work dir");
    launcher.SetArguments("-level \"ring one\" $HOME");
    EXPECT_TRUE(launcher.LaunchWait());
    // the program has ended when LaunchWait returns: its whole output is there
    EXPECT_EQ(ReadWholeFile(this->tools + "/work dir/result.txt"),
              this->tools + "/work dir\n[-level]\n[ring one]\n[$HOME]\n");
}

TEST_F(LauncherTest, EmptyArgumentsGiveTheProgramNone)
{
    WriteScript(this->tools + "/count", "echo $# > count.txt\n");
    nAppLauncher launcher(ks.get());
    launcher.SetExecutable("tools:count");
    launcher.SetWorkingDirectory("tools:");
    launcher.SetNoConsoleWindow(true);
    EXPECT_TRUE(launcher.LaunchWait());
    EXPECT_EQ(ReadWholeFile(this->tools + "/count.txt"), "0\n");
}

TEST_F(LauncherTest, MissingProgramOrDirectoryReturnsFalse)
{
    WriteScript(this->tools + "/exists", "exit 0\n");
    struct Case
    {
        const char* exec;
        const char* dir;
    } cases[] = {{"tools:missing", ""}, {"tools:exists", "tools:no such dir"}, {"no-such-program-anywhere", ""}};
    for (const Case& c : cases)
    {
        nAppLauncher launcher(ks.get());
        launcher.SetExecutable(c.exec);
        launcher.SetWorkingDirectory(c.dir);
        EXPECT_FALSE(launcher.LaunchWait()) << c.exec;
        EXPECT_FALSE(launcher.Launch()) << c.exec;
    }
}

TEST_F(LauncherTest, LaunchOpensTheAddressOrTheDocument)
{
    ChildReport report(user.Path() + "/report");
    WriteScript(this->tools + "/xdg-open", "echo \"[$*]\" > '" + report.path + "'\n");
    const std::string path = this->tools + ":" + (getenv("PATH") ? getenv("PATH") : "");
    ScopedEnv pathEnv("PATH", path.c_str());

    nAppLauncher web(ks.get());
    web.SetExecutable("null");
    web.SetUrl("https://example.org/boxing");
    EXPECT_TRUE(web.Launch());
    EXPECT_EQ(report.Read(), "[https://example.org/boxing]\n");

    std::ofstream(this->tools + "/manual.txt") << "read me";
    nAppLauncher doc(ks.get());
    doc.SetExecutable("tools:manual.txt");
    EXPECT_TRUE(doc.Launch());
    EXPECT_EQ(report.Read(), "[" + this->tools + "/manual.txt]\n");
}

TEST_F(LauncherTest, MisuseIsFatal)
{
    nAppLauncher launcher(ks.get());
    EXPECT_FATAL(launcher.LaunchWait(), ASSERTION_TEXT("!this->exec.IsEmpty\\(\\)"));
    EXPECT_FATAL(launcher.Launch(), ASSERTION_TEXT("!this->exec.IsEmpty\\(\\)"));
    EXPECT_FATAL(launcher.SetExecutable(nullptr), ASSERTION_TEXT("path"));
    EXPECT_FATAL(launcher.SetUrl(nullptr), ASSERTION_TEXT("u"));
    nAppLauncher orphan(nullptr);
    orphan.SetExecutable("sh");
    EXPECT_FATAL(orphan.LaunchWait(), ASSERTION_TEXT("this->kernelServer"));
}
