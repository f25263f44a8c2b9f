//------------------------------------------------------------------------------
//  The script preference server: values as nenvs below "prefs", kept in
//  "home:prefs.n2" between servers and kernels.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "usertempdir.h"
#include "gui/nguipackage.h"
#include "gfx2/ngfx2package.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "variable/nvariablepackage.h"
#include "game/nscriptprefserver.h"
#include "game/ngamepackage.h"
#include "application/napplicationpackage.h"
#include "kernel/nkernelserver.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "capturelog.h"
#include "kernel/nscriptserver.h"
#include "file/nfilepackage.h"
#include "misc/nmiscpackage.h"
#include "platform/nplatformpaths.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"

#include <cstdlib>
#include <functional>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace
{


}  // namespace

class ScriptPrefTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->home = MakeTempDir("preftest");
        this->StartKernel();
    }

    void TearDown() override
    {
        this->ks.reset();
        std::filesystem::remove_all(this->home);
    }

    /// a kernel as the launcher makes it, with its home in the test directory
    void StartKernel()
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nfile_package, nsignals_package, nscript_package, nmisc_package, nvariable_package, nresource_package, ngfx2_package, nscene_package, napplication_package, ngui_package, ngame_package});
        this->ks->SetLogHandler(&this->log);
        this->ks->GetFileServer()->SetAssign("home", (this->home + "/").c_str());
        this->ks->New("ntclserver", "/sys/servers/script");
    }

    /// the kernel torn down, as before the game starts, and a new one
    void RestartKernel()
    {
        this->ks.reset();
        this->StartKernel();
    }

    nScriptPrefServer* NewServer()
    {
        auto* pref = static_cast<nScriptPrefServer*>(this->ks->New("nscriptprefserver", "/sys/servers/pref"));
        pref->SetCompanyName("ZORVEK Games");
        pref->SetApplicationName("Boxing");
        return pref;
    }

    std::string File(const char* name) const { return this->home + "/" + name; }

    std::string home;
    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
};

TEST_F(ScriptPrefTest, WritingTwiceKeepsOneValue)
{
    nScriptPrefServer* pref = NewServer();
    pref->WriteString("window-type", "windowed");
    pref->WriteString("window-type", "fullscreen");
    nRoot* prefs = ks->Lookup("/sys/servers/pref/prefs");
    ASSERT_NE(prefs, nullptr);
    EXPECT_EQ(prefs->GetHead(), prefs->GetTail());
    EXPECT_STREQ(static_cast<nEnv*>(prefs->GetHead())->GetS(), "fullscreen");
    EXPECT_STREQ(pref->ReadString("window-type").Get(), "fullscreen");
}

TEST_F(ScriptPrefTest, ValuesSurviveTheServerAndTheKernel)
{
    nScriptPrefServer* pref = NewServer();
    pref->WriteString("window-type", "fullscreen");
    pref->WriteInt("window-width", 1024);
    pref->WriteFloat("volume", 0.5f);
    pref->WriteBool("music", true);
    pref->WriteVector3("camera", vector3(1.0f, 2.0f, 3.0f));
    pref->WriteVector4("tint", vector4(0.25f, 0.5f, 0.75f, 1.0f));
    pref->Release();
    EXPECT_NE(ReadWholeFile(File("prefs.n2")).find("new nenv window-width"), std::string::npos);

    RestartKernel();
    pref = NewServer();
    EXPECT_STREQ(pref->ReadString("window-type").Get(), "fullscreen");
    EXPECT_EQ(pref->ReadInt("window-width"), 1024);
    EXPECT_FLOAT_EQ(pref->ReadFloat("volume"), 0.5f);
    EXPECT_TRUE(pref->ReadBool("music"));
    EXPECT_TRUE(pref->ReadVector3("camera").isequal(vector3(1.0f, 2.0f, 3.0f), 0.0001f));
    EXPECT_TRUE(pref->ReadVector4("tint").isequal(vector4(0.25f, 0.5f, 0.75f, 1.0f), 0.0001f));
}

TEST_F(ScriptPrefTest, MissingKeysReadEmptyAndCreateNothing)
{
    nScriptPrefServer* pref = NewServer();
    EXPECT_FALSE(pref->KeyExists("window-width"));
    EXPECT_STREQ(pref->ReadGeneric("window-width").Get(), "");
    EXPECT_FALSE(pref->KeyExists("window-width"));
    EXPECT_EQ(ks->Lookup("/sys/servers/pref/prefs")->GetHead(), nullptr);
}

TEST_F(ScriptPrefTest, ABrokenFileIsKeptAsideAndPreferencesStartEmpty)
{
    const std::string broken = "# $parser:ntclserver$ $class:nroot$\nnew nenv window-type\nsel window-type\n.sets [unbalanced\n";
    std::ofstream(File("prefs.n2"), std::ios::binary) << broken;
    nScriptPrefServer* pref = NewServer();
    EXPECT_STREQ(pref->ReadString("window-type").Get(), "");
    EXPECT_NE(log.text.find("kept as '" + File("prefs.n2.broken") + "'"), std::string::npos) << log.text;
    EXPECT_EQ(ReadWholeFile(File("prefs.n2.broken")), broken);
    EXPECT_TRUE(static_cast<nScriptServer*>(ks->Lookup("/sys/servers/script"))->GetFailOnError());
    pref->WriteString("window-type", "windowed");
    pref->Release();

    RestartKernel();
    EXPECT_STREQ(NewServer()->ReadString("window-type").Get(), "windowed");
}

/// the inode of what is at the path (not following a link), 0 when nothing is
ino_t InodeOf(const std::string& path)
{
    struct stat st;
    return (lstat(path.c_str(), &st) == 0) ? st.st_ino : 0;
}

TEST_F(ScriptPrefTest, AnUnreadableFileIsRenamedAsideWhateverStandsAtEitherName)
{
    const std::string good = "# $parser:ntclserver$ $class:nroot$\nnew nenv window-type\nsel window-type\n.sets windowed\nsel ..\n";
    const std::string broken = File("prefs.n2.broken");
    const std::string victim = File("victim");
    struct Case
    {
        const char* what;
        std::function<void()> make;  // the preference file and what is at the aside name
    };
    const Case cases[] = {
        {"garbage, the aside name a link to another file",
         [&] {
             std::ofstream(File("prefs.n2"), std::ios::binary) << "[garbage";
             std::filesystem::create_symlink(victim, broken);
         }},
        {"garbage, a FIFO at the aside name",
         [&] {
             std::ofstream(File("prefs.n2"), std::ios::binary) << "[garbage";
             ASSERT_EQ(mkfifo(broken.c_str(), 0600), 0);
         }},
        {"a good file with a sparse 1 GB tail",
         [&] {
             std::ofstream(File("prefs.n2"), std::ios::binary) << good;
             std::filesystem::resize_file(File("prefs.n2"), 1ull << 30);
         }},
        {"a FIFO as the preference file", [&] { ASSERT_EQ(mkfifo(File("prefs.n2").c_str(), 0600), 0); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        RestartKernel();
        std::filesystem::remove(broken);
        std::filesystem::remove(File("prefs.n2"));
        std::ofstream(victim, std::ios::binary) << "the user's own file";
        c.make();
        const ino_t original = InodeOf(File("prefs.n2"));
        nScriptPrefServer* pref = NewServer();
        EXPECT_STREQ(pref->ReadString("window-type").Get(), "");
        EXPECT_EQ(InodeOf(broken), original);
        EXPECT_EQ(ReadWholeFile(victim), "the user's own file");
        EXPECT_NE(log.text.find("kept as '" + broken + "'"), std::string::npos) << log.text;
        pref->WriteString("window-type", "fullscreen");
        pref->Release();
        EXPECT_NE(ReadWholeFile(File("prefs.n2")).find("fullscreen"), std::string::npos);
        EXPECT_EQ(InodeOf(broken), original);
    }
}

TEST_F(ScriptPrefTest, AnUnreadableFileThatCannotBeSetAsideIsNotSavedOver)
{
    std::filesystem::create_directories(File("prefs.n2.broken") + "/full");
    std::ofstream(File("prefs.n2"), std::ios::binary) << "[garbage";
    nScriptPrefServer* pref = NewServer();
    pref->WriteString("window-type", "fullscreen");
    pref->Release();
    EXPECT_EQ(ReadWholeFile(File("prefs.n2")), "[garbage");
    EXPECT_NE(log.text.find("is not saved over"), std::string::npos) << log.text;
}

TEST_F(ScriptPrefTest, AFifoOrLinkAtTheTemporaryNameNeitherHoldsNorMisdirectsTheSave)
{
    const std::string temp = File("prefs.n2.saving");
    const std::string victim = File("victim");
    std::ofstream(victim, std::ios::binary) << "the user's own file";
    const std::function<void()> makers[] = {
        [&] { ASSERT_EQ(mkfifo(temp.c_str(), 0600), 0); },
        [&] { std::filesystem::create_symlink(victim, temp); },
    };
    int width = 640;
    for (const auto& make : makers)
    {
        SCOPED_TRACE(width);
        make();
        nScriptPrefServer* pref = NewServer();
        pref->WriteInt("window-width", width);
        pref->Release();  // saves, with no reader on the FIFO
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temp)));
        EXPECT_EQ(ReadWholeFile(victim), "the user's own file");
        RestartKernel();
        EXPECT_EQ(NewServer()->ReadInt("window-width"), width);
        width += 160;
    }
}

TEST_F(ScriptPrefTest, AValueOfAnotherTypeIsReplaced)
{
    std::ofstream(File("prefs.n2"), std::ios::binary)
        << "# $parser:ntclserver$ $class:nroot$\nnew nenv window-width\n\tsel window-width\n\t.seti 800\nsel ..\n";
    nScriptPrefServer* pref = NewServer();
    EXPECT_TRUE(pref->KeyExists("window-width"));
    EXPECT_STREQ(pref->ReadString("window-width").Get(), "");
    EXPECT_NE(log.text.find("holds no text"), std::string::npos);
    pref->WriteInt("window-width", 640);
    EXPECT_EQ(pref->ReadInt("window-width"), 640);
}

TEST_F(ScriptPrefTest, AFailedSaveIsReportedNotFatal)
{
    nScriptPrefServer* pref = NewServer();
    pref->WriteString("window-type", "windowed");
    ks->GetFileServer()->SetAssign("home", (this->home + "/missing/dir/").c_str());
    pref->Release();
    EXPECT_NE(log.text.find("could not save 'home:prefs.n2'"), std::string::npos) << log.text;
}

TEST_F(ScriptPrefTest, TearingDownTheKernelSavesThePreferences)
{
    // the launcher leaves its server to the kernel's teardown
    NewServer()->WriteString("window-height", "768");
    RestartKernel();
    EXPECT_STREQ(NewServer()->ReadString("window-height").Get(), "768");
}

TEST_F(ScriptPrefTest, KeysThatAreNoPlainNamesAreRefused)
{
    // ".." and "." would name the server and the node, a '/' a path, and
    // the others would be saved so that the whole file no longer loads
    nScriptPrefServer* pref = NewServer();
    ASSERT_TRUE(pref->WriteString("window-type", "windowed"));
    for (const char* key : {"..", ".", "", "window-type/x", "my key", "x;y", "[z]", "$q", "{b", "a\\b"})
    {
        EXPECT_FALSE(pref->WriteString(key, "v")) << key;
        EXPECT_FALSE(pref->KeyExists(key)) << key;
        EXPECT_STREQ(pref->ReadString(key).Get(), "") << key;
    }
    EXPECT_NE(log.text.find("'my key' is no preference name"), std::string::npos) << log.text;
    nRoot* prefs = ks->Lookup("/sys/servers/pref/prefs");
    ASSERT_NE(prefs, nullptr);
    EXPECT_EQ(prefs->GetHead(), prefs->GetTail());
    EXPECT_EQ(prefs->GetHead()->GetHead(), nullptr);
    pref->Release();

    RestartKernel();
    EXPECT_STREQ(NewServer()->ReadString("window-type").Get(), "windowed");
}
