//------------------------------------------------------------------------------
//  The game's data tree: the start-up script defines every procedure the
//  program calls and sets the assigns; the application loads the
//  libraries from them and every prototype builds a game object; the
//  player's and the opponents' prototypes carry every value the boxers
//  read, and the level's logic builds a match from them in which a
//  punch from the home positions reaches the opponent.
//------------------------------------------------------------------------------
#include "gameapp.h"
#include "datamatch.h"

#include "audio3/nsound3.h"
#include "game/nai.h"
#include "game/nfist2.h"
#include "game/ngame.h"
#include "game/ngameobject.h"
#include "game/ngameplay2.h"
#include "game/nplayer.h"
#include "mathlib/nmath.h"
#include "scene/nlightnode.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

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

    /// the application open on the game's data
    void OpenGame()
    {
        this->RunStartup();
        ASSERT_TRUE(this->app->Open());
    }

    /// the prototype's nenv of the key, or 0
    nEnv* Var(const std::string& proto, const char* key)
    {
        return dynamic_cast<nEnv*>(this->ks->Lookup((proto + "/" + key).c_str()));
    }

    /// the prototype's float of the key, NaN (reported) when there is none
    float Float(const std::string& proto, const char* key)
    {
        nEnv* e = this->Var(proto, key);
        const bool ok = e && e->GetType() == nArg::Float;
        EXPECT_TRUE(ok) << proto << " has no float '" << key << "'";
        return ok ? e->GetF() : NAN;
    }

    /// enter the match of the player prototype against its next opponent and run its first frames
    void EnterMatch(int nextEnemy)
    {
        this->Var(DataMatch::PlayerProto, "next-enemy")->SetI(nextEnemy);
        nGame* game = nGame::Instance();
        game->SetPlayerProto(nString(DataMatch::PlayerProto));
        DataMatch::CentreMouse();
        if (game->IsMatchRunning()) game->Restart();
        else game->OnStateEnter(nString("main_menu"));
        for (int i = 0; i < 5; i++) game->RunFrame(1.0f / 60.0f);
    }
};

TEST_F(DataTreeTest, StartupDefinesEveryProcedureAndTheLibrariesLoad)
{
    this->OpenGame();
    EXPECT_NE(this->ks->Lookup("/usr/lib/levels/l01"), nullptr);
    for (const char* name : {"ring", "dummy", "red_boxer", "red_shirt", "red_pants", "red_boot", "red_glove",
                             "blue_boxer", "blue_shirt", "blue_pants", "blue_boot", "blue_glove"})
    {
        EXPECT_NE(this->ks->Lookup((std::string("/usr/lib/models/") + name).c_str()), nullptr) << name;
    }
}

TEST_F(DataTreeTest, EveryPrototypeBuildsAGameObject)
{
    this->OpenGame();
    nRoot* objects = this->ks->Lookup("/usr/lib/objects");
    ASSERT_NE(objects, nullptr);
    std::vector<std::string> names;
    for (nRoot* proto = objects->GetHead(); proto; proto = proto->GetSucc()) names.push_back(proto->GetName());
    for (const char* expected : {"ring", "dummy", "player", "_ai0", "_ai1", "_ai2", "_ai3", "_ai4", "red_glove",
                                 "red_boot", "red_pants", "red_shirt", "blue_glove", "blue_boot", "blue_pants",
                                 "blue_shirt"})
    {
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    }
    for (const std::string& name : names)
    {
        const std::string proto = "/usr/lib/objects/" + name;
        ASSERT_TRUE(nGameObject::IsUsableProto(proto.c_str())) << name << ": " << this->log.text;
        nGameObject* obj =
            static_cast<nGameObject*>(this->ks->New("ngameobject", (std::string("/usr/scene/") + name).c_str()));
        obj->Init(proto.c_str());
        EXPECT_EQ(obj->HasGeom(), this->Var(proto, "geom") != nullptr) << name;
        float dt = 0.02f;
        obj->Trigger(&dt);
    }
    EXPECT_EQ(this->log.text.find("does not load"), std::string::npos) << this->log.text;
}

TEST_F(DataTreeTest, TheBoxersNameTheirStatisticsAndUsablePartsAndThePlayerItsProgression)
{
    this->OpenGame();
    std::vector<std::string> boxers = {DataMatch::PlayerProto};
    for (int i = 0; i < DataMatch::NumOpponents; i++) boxers.push_back(DataMatch::OpponentProto(i));
    for (const std::string& boxer : boxers)
    {
        for (const char* stat : {"health", "energy", "energy-rec-rate", "strike-length", "strength", "fist-mass",
                                 "move-speed", "lightness", "accuracy"})
        {
            const float v = this->Float(boxer, stat);
            EXPECT_TRUE(std::isfinite(v) && v > 0.0f) << boxer << " " << stat << " " << v;
        }
        EXPECT_LE(this->Float(boxer, "accuracy"), 1.0f) << boxer;
        for (const char* part : {"left_fist", "right_fist", "left_boot", "right_boot", "pants", "shirt"})
        {
            nEnv* e = this->Var(boxer, part);
            ASSERT_TRUE(e && e->GetType() == nArg::String) << boxer << " " << part;
            EXPECT_TRUE(nGameObject::IsUsableProto(e->GetS())) << boxer << " " << part << ": " << e->GetS();
        }
        for (const char* fist : {"left_fist", "right_fist"})
        {
            const std::string glove = this->Var(boxer, fist)->GetS();
            EXPECT_EQ(std::string(this->Var(glove, "geom")->GetS()), "sphere") << glove;
        }
        nEnv* name = this->Var(boxer, "name");
        ASSERT_TRUE(name && name->GetType() == nArg::String) << boxer;
        EXPECT_GT(strlen(name->GetS()), 0u) << boxer;
    }
    for (const char* key : {"score", "next-enemy"})
    {
        nEnv* e = this->Var(DataMatch::PlayerProto, key);
        ASSERT_TRUE(e && e->GetType() == nArg::Int) << key;
        EXPECT_EQ(e->GetI(), 0) << key;
    }
}

TEST_F(DataTreeTest, EachOpponentHasItsSaneTuningAndTheyGrowHarder)
{
    this->OpenGame();
    // probabilities and the reaction time (it slows the boxer's steps by 1 - it) lie in [0, 1)
    const char* const shares[] = {"reaction-time", "hook-probability", "hook-range", "defense-stirke-probability"};
    const char* const durations[] = {"follow-timer-base", "follow-timer-scat", "keeppos-timer-base",
                                     "keeppos-timer-scat", "attack-timer-base", "attack-timer-scat",
                                     "attack-stirke-timer-base", "attack-stirke-timer-scat", "defense-timer-base",
                                     "defense-timer-scat", "defense-stirke-timer-base", "defense-stirke-timer-scat"};
    for (int i = 0; i < DataMatch::NumOpponents; i++)
    {
        const std::string ai = DataMatch::OpponentProto(i);
        for (const char* key : shares)
        {
            const float v = this->Float(ai, key);
            EXPECT_TRUE(v >= 0.0f && v < 1.0f) << ai << " " << key << " " << v;
        }
        for (const char* key : durations)
        {
            const float v = this->Float(ai, key);
            EXPECT_TRUE(v >= 0.0f && v <= 5.0f) << ai << " " << key << " " << v;
        }
        const float dodge = this->Float(ai, "dodge-amplitude");
        EXPECT_TRUE(dodge >= 0.0f && dodge <= 4.0f) << ai << " " << dodge;
        // the phases alternate only when their timers have a length
        EXPECT_GT(this->Float(ai, "attack-timer-base") + this->Float(ai, "attack-timer-scat"), 0.0f) << ai;
        EXPECT_GT(this->Float(ai, "defense-timer-base") + this->Float(ai, "defense-timer-scat"), 0.0f) << ai;
        if (i == 0) continue;
        const std::string easier = DataMatch::OpponentProto(i - 1);
        for (const char* key : {"health", "strength", "dodge-amplitude", "hook-probability", "defense-stirke-probability"})
        {
            EXPECT_GT(this->Float(ai, key), this->Float(easier, key)) << ai << " " << key;
        }
        for (const char* key : {"reaction-time", "attack-stirke-timer-base", "defense-timer-base"})
        {
            EXPECT_LT(this->Float(ai, key), this->Float(easier, key)) << ai << " " << key;
        }
    }
}

TEST_F(DataTreeTest, TheLevelBuildsAMatchAgainstEachOpponentWithEveryPart)
{
    this->OpenGame();
    ASSERT_NE(dynamic_cast<nGameplay2*>(this->ks->Lookup("/usr/lib/levels/l01")), nullptr);
    for (int i = 0; i < DataMatch::NumOpponents; i++)
    {
        this->EnterMatch(i);
        ASSERT_TRUE(nPlayer::HasInstance());
        ASSERT_TRUE(nAI::HasInstance());
        EXPECT_EQ(std::string(nAI::Instance()->GetProto()->GetName()), "_ai" + std::to_string(i));
        for (nBoxer* boxer : {static_cast<nBoxer*>(nPlayer::Instance()), static_cast<nBoxer*>(nAI::Instance())})
        {
            EXPECT_TRUE(boxer->HasGeom());
            for (nFist2* fist : {boxer->GetLeftFist(), boxer->GetRightFist()})
            {
                ASSERT_NE(fist, nullptr);
                EXPECT_TRUE(fist->HasGeom());
                EXPECT_TRUE(fist->GetRenderContext().IsValid());
            }
            for (const char* part : {"root", "leftguard", "rightguard", "leftdefenceguard", "rightdefenceguard",
                                     "leftboot", "rightboot", "pants", "shirt"})
            {
                nGameObject* obj = boxer->GetPart(part);
                ASSERT_NE(obj, nullptr) << part;
                EXPECT_TRUE(obj->GetRenderContext().IsValid()) << part;
            }
        }
    }
    for (const char* fault : {"is not usable", "has no usable float", "prototype has no \""})
    {
        EXPECT_EQ(this->log.text.find(fault), std::string::npos) << this->log.text;
    }
}

TEST_F(DataTreeTest, AStraightPunchLandsOnEachUnguardedOpponent)
{
    this->OpenGame();
    n_srand(1);
    nGame* game = nGame::Instance();
    for (int i = 0; i < DataMatch::NumOpponents; i++)
    {
        this->EnterMatch(i);
        while (game->IsStarting()) game->RunFrame(1.0f / 60.0f);
        nPlayer* player = nPlayer::Instance();
        nAI* ai = nAI::Instance();
        const float health = ai->GetHealth();
        // the opponent dodges now and then: a few punches, each run out, and one must land
        bool landed = false;
        for (int punch = 0; punch < 5 && !landed; punch++)
        {
            player->SetDefence(false);
            // the raised guard's gloves would block it (the game's rule); the bonus lowers it
            ai->SetVulnerable(5.0f);
            ASSERT_TRUE(DataMatch::StraightRight(player, ai)) << "_ai" << i;
            landed = ai->GetHealth() < health;
        }
        EXPECT_TRUE(landed) << "_ai" << i;
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
