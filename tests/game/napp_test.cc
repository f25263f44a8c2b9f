//------------------------------------------------------------------------------
//  The game application: Open over the stand-in servers builds the physics
//  world, the libraries and the states; sounds from description scripts.
//------------------------------------------------------------------------------
#include "gameapp.h"

#include "audio3/nsound3.h"
#include "game/ngamecamera.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "misc/nprefserver.h"
#include "kernel/nscriptserver.h"
#include "opende/nopendeworld.h"
#include "util/assertdeath.h"

#include <algorithm>

namespace
{

const std::string Sound =
    "new nenv filename\n sel filename\n .sets \"sounds:punch.wav\"\nsel ..\n"
    "new nenv looping\n sel looping\n .setb true\nsel ..\n"
    "new nenv ambient\n sel ambient\n .setb false\nsel ..\n"
    "new nenv min-dist\n sel min-dist\n .setf 2.0\nsel ..\n"
    "new nenv max-dist\n sel max-dist\n .setf 50.0\nsel ..\n";

}  // namespace

TEST_F(GameAppTest, ConstructorNamesTheGame)
{
    EXPECT_EQ(this->app->GetCompanyName(), nString("Zorvek Games"));
    EXPECT_EQ(this->app->GetAppName(), nString("Boxing"));
    EXPECT_EQ(nApp::Instance(), this->app);
}

TEST_F(GameAppTest, OpenBuildsPhysicsLibrariesStatesAndCamera)
{
    this->AssignLibraries();
    this->Write("objects/b.n2", N2Root(""));
    this->Write("objects/a.n2", N2Root(""));
    this->Write("objects/notes.txt", N2Root(""));
    this->Write("gfxlib/ring.n2", N2Root(""));
    this->Write("gfxlib/sub/deep.n2", N2Root(""));
    this->Write("gfxlib/sub.n2/inner.n2", N2Root(""));
    this->Write("levels/l01.n2", N2Root(""));
    ASSERT_TRUE(this->app->Open());

    nOpendeWorld* world = static_cast<nOpendeWorld*>(this->ks->Lookup("/sys/servers/phys/world"));
    ASSERT_NE(world, nullptr);
    EXPECT_NE(this->ks->Lookup("/sys/servers/phys"), nullptr);
    EXPECT_FLOAT_EQ(world->GetGravity().y, -9.8f);
    EXPECT_EQ(world->GetQuickStepNumIterations(), 10);
    EXPECT_NE(world->GetAutoDisableFlag(), 0);
    EXPECT_FLOAT_EQ(world->GetAutoDisableLinearThreshold(), 0.008f);
    EXPECT_FLOAT_EQ(world->GetAutoDisableAngularThreshold(), 0.008f);
    EXPECT_EQ(world->GetAutoDisableSteps(), 10);
    ASSERT_NE(this->app->GetSpace(), nullptr);
    EXPECT_EQ(this->app->GetSpace(), this->ks->Lookup("/sys/servers/phys/world/space"));

    EXPECT_NE(this->ks->Lookup("/usr/lib/objects/a"), nullptr);
    EXPECT_NE(this->ks->Lookup("/usr/lib/objects/b"), nullptr);
    EXPECT_EQ(this->ks->Lookup("/usr/lib/objects/notes"), nullptr);
    EXPECT_NE(this->ks->Lookup("/usr/lib/models/ring"), nullptr);
    EXPECT_EQ(this->ks->Lookup("/usr/lib/models/deep"), nullptr);
    EXPECT_EQ(this->ks->Lookup("/usr/lib/models/inner"), nullptr);
    EXPECT_EQ(this->ks->Lookup("/usr/lib/models/sub"), nullptr);
    EXPECT_NE(this->ks->Lookup("/usr/lib/levels/l01"), nullptr);

    nGameCamera* camera = this->app->GetCamera();
    EXPECT_EQ(camera->GetPosition().x, 0.0f);
    EXPECT_EQ(camera->GetPosition().y, 0.0f);
    EXPECT_EQ(camera->GetPosition().z, 20.0f);
    EXPECT_EQ(camera->GetEuler().len(), 0.0f);
    EXPECT_EQ(camera->GetTransform().pos_component().z, 20.0f);

    for (const char* state : {"intro", "main_menu", "game"})
    {
        EXPECT_NE(this->app->FindState(nString(state)), nullptr) << state;
    }
    TestState* menu = static_cast<TestState*>(this->app->FindState(nString("main_menu")));
    menu->onFrame = [this] { this->app->SetQuitRequested(true); };
    this->app->Run();
    EXPECT_EQ(this->app->GetCurrentState(), nString("main_menu"));
    EXPECT_EQ(std::count(Trace().begin(), Trace().end(), "main_menu.OnFrame"), 1);
}

TEST_F(GameAppTest, OpenWithoutLibraryDirectoriesStillOpens)
{
    ASSERT_TRUE(this->app->Open());
    EXPECT_EQ(this->ks->Lookup("/usr/lib/objects"), nullptr);
    EXPECT_EQ(this->app->GetCurrentState(), nString(""));
}

TEST_F(GameAppTest, FailedBaseOpenFailsAtOnce)
{
    Knobs().sceneOpens = false;
    EXPECT_FALSE(this->app->Open());
    EXPECT_EQ(this->ks->Lookup("/sys/servers/phys"), nullptr);
}

TEST_F(GameAppTest, BrokenLibraryFileIsSkipped)
{
    this->AssignLibraries();
    this->Write("objects/a.n2", "this is [not a script");
    this->Write("objects/b.n2", N2Root(""));
    ASSERT_TRUE(this->app->Open());
    EXPECT_EQ(this->ks->Lookup("/usr/lib/objects/a"), nullptr);
    EXPECT_NE(this->ks->Lookup("/usr/lib/objects/b"), nullptr);
}

TEST_F(GameAppTest, SoundFromDescription)
{
    this->ks->New("soundmaker", "/sys/servers/audio");
    const std::string desc = this->Write("punch.n2", N2Root(Sound));
    nSound3* s = this->app->CreateSound(desc.c_str(), nApp::SoundInstanceType);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetFilename(), nString("sounds:punch.wav"));
    EXPECT_TRUE(s->GetLooping());
    EXPECT_FALSE(s->GetAmbient());
    EXPECT_FLOAT_EQ(s->GetMinDist(), 2.0f);
    EXPECT_FLOAT_EQ(s->GetMaxDist(), 50.0f);
    EXPECT_EQ(nString(s->GetName()), nString(desc.c_str()));
    // the description object goes once read
    nRoot* sounds = this->ks->Lookup("/usr/temp/sounds");
    ASSERT_NE(sounds, nullptr);
    EXPECT_EQ(sounds->GetHead(), nullptr);
    s->Release();
}

TEST_F(GameAppTest, CreateSoundMakesOnlySoundInstances)
{
    this->ks->New("soundmaker", "/sys/servers/audio");
    const std::string desc = this->Write("punch.n2", N2Root(Sound));
    for (int type : {0, 1, 2, 4, 8, 16, 32, 63, 65, 128, -1})
    {
        EXPECT_EQ(this->app->CreateSound(desc.c_str(), type), nullptr) << type;
    }
    EXPECT_EQ(this->ks->Lookup("/usr/temp/sounds"), nullptr);
}

TEST_F(GameAppTest, IncompleteOrMissingDescriptionGivesNoSound)
{
    this->ks->New("soundmaker", "/sys/servers/audio");
    std::string noMaxDist = Sound.substr(0, Sound.find("new nenv max-dist"));
    std::string wrongType = Sound;
    wrongType.replace(wrongType.find(".setb true"), 10, ".sets yes");
    for (const std::string& body : {noMaxDist, wrongType})
    {
        const std::string desc = this->Write("bad.n2", N2Root(body));
        EXPECT_EQ(this->app->LoadSound(desc.c_str()), nullptr);
    }
    EXPECT_EQ(this->app->LoadSound((this->dir / "missing.n2").string().c_str()), nullptr);
    EXPECT_NE(this->log.text.find("max-dist"), std::string::npos);
    EXPECT_NE(this->log.text.find("looping"), std::string::npos);
}

TEST_F(GameAppTest, NoSoundWithoutAnAudioServerThatMakesSounds)
{
    const std::string desc = this->Write("punch.n2", N2Root(Sound));
    EXPECT_EQ(this->app->LoadSound(desc.c_str()), nullptr);
}

TEST_F(GameAppTest, GameServerFactories)
{
    // the game's preference server opens at once (it reads the window), so it needs a home of its own
    this->ks->GetFileServer()->SetAssign("home", (this->dir.string() + "/").c_str());
    this->ks->New("ntclserver", "/sys/servers/script");
    nPrefServer* pref = this->app->GamePrefServer();
    ASSERT_NE(pref, nullptr);
    EXPECT_EQ(static_cast<nRoot*>(pref), this->ks->Lookup("/sys/servers/pref"));
    EXPECT_TRUE(pref->IsA("nscriptprefserver"));
    pref->Release();
}

TEST_F(GameAppTest, LibraryLoadersRefuseEmptyNames)
{
    EXPECT_ASSERT_DEATH(this->app->LoadModel(nString("")), "model.IsEmpty() == false");
    EXPECT_ASSERT_DEATH(this->app->LoadObject(nString("")), "object.IsEmpty() == false");
    EXPECT_ASSERT_DEATH(this->app->LoadLevel(nString("")), "level.IsEmpty() == false");
    EXPECT_ASSERT_DEATH(this->app->GetCamera(), "m_pCamera != 0");
}

TEST_F(GameAppTest, ScriptCommands)
{
    nScriptServer* tcl = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/tcl"));
    tcl->SetFailOnError(false);
    struct Case
    {
        const char* cmd;
        bool ok;
        const char* result;
    };
    const Case cases[] = {
        {"/theApp.float2int 0.49", true, "0"},    {"/theApp.float2int 0.5", true, "1"},
        {"/theApp.float2int -0.5", true, "0"},    {"/theApp.float2int 2.5", true, "3"},
        {"/theApp.float2int -2.5", true, "-2"},   {"/theApp.float2int 0.49999997", true, "0"},
        {"/theApp.float2int 1e30", true, "2147483647"}, {"/theApp.float2int NaN", false, nullptr},
        {"/theApp.locale greeting", true, "greeting"},  {"/theApp.locale {}", false, nullptr},
        {"/theApp.setlocaletable {}", false, nullptr},  {"/theApp.setlocaletable locale:game.xml", true, ""},
    };
    for (const Case& c : cases)
    {
        nString result;
        EXPECT_EQ(tcl->Run(c.cmd, result), c.ok) << c.cmd;
        if (c.result) EXPECT_EQ(result, nString(c.result)) << c.cmd;
    }
    tcl->Release();
}
