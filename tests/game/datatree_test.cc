//------------------------------------------------------------------------------
//  The game's data tree: the start-up script defines every procedure the
//  program calls and sets the assigns; the application loads the
//  libraries from them and every prototype builds a game object.
//------------------------------------------------------------------------------
#include "gameapp.h"

#include "audio3/nsound3.h"
#include "game/ngameobject.h"
#include "scene/nlightnode.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"

class DataTreeTest : public GameAppTest
{
protected:
    /// runs the start-up script in a Tcl server of its own, as the application would
    void RunStartup()
    {
        nFileServer2::Instance()->SetAssign("proj", GAME_SOURCE_DIR "/");
        this->app->SetProjDir(GAME_SOURCE_DIR "/");
        nScriptServer* tcl = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/datatcl"));
        nString result;
        ASSERT_TRUE(tcl->RunScript("proj:data/scripts/startup.tcl", result)) << result.Get();
        // the assigns; the other procedures need the running program (its
        // servers, windows and states), so here they only have to exist
        EXPECT_TRUE(tcl->RunFunction("OnStartup", result)) << result.Get();
        for (const char* proc : {"OnGraphicsStartup", "OnMapInput", "OnGuiServerOpen", "OnGuiServerClose",
                                 "MapIntroInput", "ShowMainMenu", "MapMainMenuInput", "ShowPreStartWindow",
                                 "MapPreStartMenuInput", "OnMenuStateEnter", "CloseMenuWindow", "OnGameStateEnter",
                                 "MapGameInput", "ShowYouWon", "ShowYouLost", "ShowBonusNotification",
                                 "HideBonusNotification", "ShowSlowModeIcon", "ShowVulnerableAIIcon", "ShowFatalPunchIcon"})
        {
            nString cmd("info procs ");
            cmd.Append(proc);
            EXPECT_TRUE(tcl->Run(cmd.Get(), result)) << proc;
            EXPECT_STREQ(result.Get(), proc);
        }
        tcl->Release();
    }
};

TEST_F(DataTreeTest, StartupDefinesEveryProcedureAndTheLibrariesLoad)
{
    this->RunStartup();
    ASSERT_TRUE(this->app->Open());
    for (const char* name : {"ring", "glove", "post"})
    {
        EXPECT_NE(this->ks->Lookup((std::string("/usr/lib/models/") + name).c_str()), nullptr) << name;
        const std::string proto = std::string("/usr/lib/objects/") + name;
        ASSERT_NE(this->ks->Lookup(proto.c_str()), nullptr) << name;
        nGameObject* obj =
            static_cast<nGameObject*>(this->ks->New("ngameobject", (std::string("/usr/scene/") + name).c_str()));
        obj->Init(proto.c_str());
        EXPECT_TRUE(obj->HasGeom()) << name;
        float dt = 0.02f;
        obj->Trigger(&dt);
    }
}

TEST_F(DataTreeTest, EverySoundDescriptionReadsAndNamesAFileThatExists)
{
    this->RunStartup();
    this->ks->New("soundmaker", "/sys/servers/audio");
    const struct
    {
        const char* name;
        bool looping;
    } sounds[] = {{"env", true},          {"hit", false},   {"hit-face", false}, {"player-miss", false},
                  {"ai-miss", false},     {"gong", false},  {"excite", false},   {"won", false},
                  {"bonus-notification", false}, {"swish", false}};
    for (const auto& c : sounds)
    {
        const std::string desc = std::string("sound:") + c.name + ".n2";
        nSound3* s = this->app->CreateSound(desc.c_str(), nApp::SoundInstanceType);
        ASSERT_NE(s, nullptr) << c.name;
        EXPECT_EQ(s->GetFilename(), nString((std::string("sound:") + c.name + ".wav").c_str()));
        EXPECT_EQ(s->GetLooping(), c.looping) << c.name;
        EXPECT_TRUE(nFileServer2::Instance()->FileExists(s->GetFilename().Get())) << c.name;
        s->Release();
    }
}

TEST_F(DataTreeTest, TheStandardLightLoadsWithItsColours)
{
    this->RunStartup();
    nObject* obj = this->ks->LoadAs("lights:stdlight.n2", "/usr/stdlight");
    ASSERT_NE(obj, nullptr) << this->log.text;
    nLightNode* light = dynamic_cast<nLightNode*>(this->ks->Lookup("/usr/stdlight/light"));
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->GetVector(nShaderState::LightDiffuse), vector4(1.0f, 0.95f, 0.85f, 1.0f));
}
