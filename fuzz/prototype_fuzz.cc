//------------------------------------------------------------------------------
//  prototype_fuzz.cc
//
//  The game's reading of a boxer's prototype: the first byte chooses the
//  opponent "_ai0" or the player "player", the rest is its ".n2" file (text
//  or binary persistence), loaded into the library as the application
//  loads "objects:". Then a match is set up against it on the game's own
//  data, over the application tests' stand-in servers, and runs a second
//  with a punch thrown. A prototype that cannot be used must be reported
//  and left unbuilt, its unusable values reported and the defaults kept:
//  the boxers' values and places stay finite.
//------------------------------------------------------------------------------
#include "fuzzscratch.h"
#include "gameapp.h"
#include "datamatch.h"

#include "game/nai.h"
#include "game/napp.h"
#include "game/ngame.h"
#include "game/nplayer.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/npersistserver.h"
#include "kernel/nscriptserver.h"
#include "kernel/ntimeserver.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

const char* const Library = "/usr/lib/objects";
const char* const Protos[2] = {"_ai0", "player"};

void Fail(const char* why, const char* boxer)
{
    fprintf(stderr, "%s: %s\n", why, boxer);
    abort();
}

/// the game application open on the game's data (as the data tree tests open it), and a scratch home
class Game
{
public:
    Game()
    {
        ResetStandIns();
        this->home = MakeScratchDir("prototypefuzz") + "/";
        this->ks = NewGameKernel().release();
        this->ks->SetLogHandler(&this->log);
        nFileServer2::Instance()->SetAssign("home", this->home.c_str());
        nFileServer2::Instance()->SetAssign("proj", GAME_SOURCE_DIR "/");
        this->app = static_cast<TestGameApp*>(this->ks->New("testgameapp", "/theApp"));
        this->app->SetProjDir(GAME_SOURCE_DIR "/");
        nTimeServer::Instance()->StopTime();
        nTimeServer::Instance()->SetTime(1.0);
        nScriptServer* tcl = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/datatcl"));
        nString result;
        if (!tcl->RunScript("proj:data/scripts/startup.tcl", result) || !tcl->RunFunction("OnStartup", result))
        {
            Fail("the data's start-up script does not run", result.Get());
        }
        tcl->Release();
        if (!this->app->Open()) Fail("the game does not open", "");
        // the stand-in script server is no Tcl server, so the persist server
        // loads through a Tcl server of its own, which the game's LoadData
        // does not reach; in the program both are one, and LoadData clears it
        this->ks->GetPersistServer()->GetLoader("ntclserver")->SetFailOnError(false);
    }

    /// the library's prototype of the name as the data has it
    void Restore(const char* name)
    {
        this->Replace(name, ("objects:" + std::string(name) + ".n2").c_str());
    }

    /// the prototype of the name loaded from the file, as the application loads its library
    void Replace(const char* name, const char* file)
    {
        nRoot* lib = static_cast<nRoot*>(this->ks->Lookup(Library));
        if (!lib) lib = static_cast<nRoot*>(this->ks->New("nroot", Library));
        if (nRoot* old = lib->Find(name)) old->Release();
        this->ks->PushCwd(lib);
        nApp::LoadData(file);
        this->ks->PopCwd();
    }

    void Write(const std::string& file, const uint8_t* data, size_t size) const
    {
        FILE* f = fopen((this->home + file).c_str(), "wb");
        if (!f) abort();
        if (size > 0 && fwrite(data, 1, size, f) != size) abort();
        fclose(f);
    }

    nKernelServer* ks = nullptr;
    TestGameApp* app = nullptr;
    std::string home;

private:
    QuietLog log;
};

bool Finite(const vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void CheckBoxer(nBoxer* boxer, const char* what)
{
    if (!std::isfinite(boxer->GetHealth()) || !std::isfinite(boxer->GetEnergy())) Fail("values not finite", what);
    if (!Finite(boxer->GetTransform().gettranslation())) Fail("place not finite", what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Game g;
    if (size == 0) return 0;
    for (const char* name : Protos) g.Restore(name);
    const char* name = Protos[data[0] & 1];
    const std::string file = std::string(name) + ".n2";
    g.Write(file, data + 1, size - 1);
    g.Replace(name, ("home:" + file).c_str());

    nGame* game = nGame::Instance();
    game->SetPlayerProto(nString(DataMatch::PlayerProto));
    DataMatch::CentreMouse();
    if (game->IsMatchRunning()) game->Restart();
    else game->OnStateEnter(nString("main_menu"));
    const float dt = 1.0f / 60.0f;
    for (int i = 0; i < 60 && nPlayer::HasInstance() && nAI::HasInstance(); i++)
    {
        if (i == 40) nPlayer::Instance()->Punch(nAI::Instance(), 2);
        game->RunFrame(dt);
    }
    if (!nPlayer::HasInstance() || !nAI::HasInstance()) Fail("the match lost a boxer", name);
    CheckBoxer(nPlayer::Instance(), "player");
    CheckBoxer(nAI::Instance(), "opponent");
    return 0;
}
