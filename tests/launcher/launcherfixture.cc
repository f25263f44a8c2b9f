//------------------------------------------------------------------------------
//  launcherfixture.cc: see launcherfixture.h.
//------------------------------------------------------------------------------
#include "launcherfixture.h"

#include "launcher/nboxingkernel.h"
#include "kernel/nkernelserver.h"
#include "misc/nprefserver.h"
#include "usertempdir.h"

#include <filesystem>

namespace
{

const char* const Keys[] = {"window-width", "window-height", "window-type"};

/// a kernel of the program with its preference server, for a test's own reading and writing
struct PrefKernel
{
    explicit PrefKernel(const std::string& home) : ks(nNewBoxingKernel(home))
    {
        this->ks->New("ntclserver", "/sys/servers/script");
        this->prefs = static_cast<nPrefServer*>(this->ks->New("nscriptprefserver", "/sys/servers/pref"));
        this->prefs->SetCompanyName(nString("ZORVEK Games"));
        this->prefs->SetApplicationName(nString("Boxing"));
    }
    ~PrefKernel()
    {
        this->prefs->Release();
    }
    std::unique_ptr<nKernelServer> ks;
    nPrefServer* prefs;
};

}  // namespace

void LauncherTest::SetUp()
{
    this->home = MakeTempDir("launcher") + "/";
    this->host = std::make_unique<nPlatformDialogHost>();
    ASSERT_TRUE(this->host->IsOpen()) << this->host->GetError();
    // an error in a script a test scheduled would open Tk's error box and
    // wait for a click for ever: it is noted, and fails the test in
    // TearDown, and the dialog that holds the input is closed so that the
    // test goes on
    ASSERT_TRUE(this->host->Eval("set ::backgroundErrors {}\n"
                                 "proc bgerror {message} {\n"
                                 "    lappend ::backgroundErrors $::errorInfo\n"
                                 "    set w [grab current]\n"
                                 "    if {$w ne {}} {catch {eval [wm protocol $w WM_DELETE_WINDOW]}}\n"
                                 "}"));
    this->launcher = std::make_unique<nLauncher>(*this->host);
    this->launcher->SetHome(this->home);
    this->launcher->SetGameRun([this](const std::string& dir, std::string& failure) {
        EXPECT_EQ(dir, this->home);
        // exactly one kernel: the launcher's is gone while a game runs
        EXPECT_EQ(nKernelServer::Instance(), nullptr);
        EXPECT_TRUE(this->launcher->IsGameRunning());
        EXPECT_FALSE(this->launcher->GetDialog()->IsVisible());
        this->games.push_back(this->ReadPrefs());
        failure = this->gameFailure;
        return this->gameOpens;
    });
}

void LauncherTest::TearDown()
{
    std::string errors;
    if (this->host && this->host->Eval("set ::backgroundErrors", &errors))
    {
        EXPECT_EQ(errors, "") << "errors in scheduled scripts";
    }
    this->launcher.reset();
    this->host.reset();
    std::filesystem::remove_all(this->home);
}

void LauncherTest::StorePrefs(const std::map<std::string, std::string>& values)
{
    PrefKernel k(this->home);
    for (const auto& [key, value] : values) k.prefs->WriteString(nString(key.c_str()), nString(value.c_str()));
}

std::map<std::string, std::string> LauncherTest::ReadPrefs()
{
    PrefKernel k(this->home);
    std::map<std::string, std::string> values;
    for (const char* key : Keys)
    {
        if (k.prefs->KeyExists(nString(key))) values[key] = k.prefs->ReadString(nString(key)).Get();
    }
    return values;
}

void LauncherTest::Start()
{
    this->launcher->SetDisplayModes([this] { return this->displayModes; });
    this->launcher->Start();
    this->Pump();
}

void LauncherTest::Pump()
{
    this->host->Eval("update");
    this->launcher->Pump(false);
}

void LauncherTest::Click(int id)
{
    const std::string w = this->launcher->GetDialog()->ControlPath(id);
    ASSERT_FALSE(w.empty()) << id;
    std::string error;
    ASSERT_TRUE(this->host->Eval("update; event generate " + w + " <Enter>; event generate " + w +
                                     " <ButtonPress-1> -x 3 -y 3; event generate " + w +
                                     " <ButtonRelease-1> -x 3 -y 3",
                                 &error))
        << error;
    this->Pump();
}

void LauncherTest::ClickRow(int row)
{
    const std::string l = this->launcher->GetDialog()->ControlPath(nLauncher::IdResolution);
    const std::string r = std::to_string(row);
    std::string error;
    ASSERT_TRUE(this->host->Eval("update; " + l + " see " + r + "; update; lassign [" + l + " bbox " + r +
                                     "] x y w h; event generate " + l +
                                     " <ButtonPress-1> -x [expr {$x + 2}] -y [expr {$y + $h / 2}]; event generate " +
                                     l + " <ButtonRelease-1> -x [expr {$x + 2}] -y [expr {$y + $h / 2}]",
                                 &error))
        << error;
    this->Pump();
}

void LauncherTest::PressKey(const char* key)
{
    std::string error;
    ASSERT_TRUE(this->host->Eval(std::string("update; event generate [focus] <Key-") + key + ">", &error)) << error;
    this->Pump();
}

void LauncherTest::WhenShown(const std::string& window, int ms, const std::string& script)
{
    // timed from the window being there, not from now: a loaded machine can
    // let a fixed delay run out before the click made the window
    ASSERT_TRUE(this->host->Eval("proc whenShown {w ms script} {\n"
                                 "    if {[winfo exists $w] && [winfo ismapped $w]} {\n"
                                 "        after $ms $script\n"
                                 "    } else {\n"
                                 "        after 10 [list whenShown $w $ms $script]\n"
                                 "    }\n"
                                 "}"));
    ASSERT_TRUE(this->host->Eval("after idle [list whenShown " + window + " " + std::to_string(ms) + " {" + script +
                                 "}]"));
}
