//------------------------------------------------------------------------------
//  playerfile_fuzz.cc
//
//  The game's meaning of a players' file: arbitrary bytes as
//  "home:players.n2" (text or binary persistence), loaded as the game
//  loads it and mended from the library's player. Afterwards a file that
//  did not load is kept aside; every saved player holds each value of the
//  library's player in its type and range, its opponent is one that
//  exists, and it saves and loads again.
//------------------------------------------------------------------------------
#include "game/ngameobject.h"
#include "game/ngameplay2.h"
#include "game/nplayerfile.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "kernel/npersistserver.h"
#include "kernel/nroot.h"
#include "file/nfilepackage.h"
#include "scene/nscenepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "util/nstring.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace
{

/// drops every line but fatal errors: the fuzzer would drown in them
class QuietLog : public nLogHandler
{
public:
    void Print(const char*, va_list) override {}
    void Message(const char*, va_list) override {}
    void Error(const char* msg, va_list args) override { vfprintf(stderr, msg, args); }
};

void Fail(const char* why, const char* player, const char* key)
{
    fprintf(stderr, "%s: player '%s', value '%s'\n", why, player, key);
    abort();
}

nEnv* Env(nRoot* proto, const char* name)
{
    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(proto);
    nEnv* env = static_cast<nEnv*>(ks->New("nenv", name));
    ks->PopCwd();
    return env;
}

/// a kernel with the library's player, its model and three opponents, and a scratch home
class Kernel
{
public:
    Kernel()
    {
        this->ks = new nKernelServer({nfile_package, nsignals_package, nscript_package, nscene_package});
        this->ks->SetLogHandler(&this->log);
        this->ks->New("ntclserver", "/sys/servers/script");
        this->ks->GetPersistServer()->GetLoader("nbinscriptserver");
        char dir[] = "/tmp/playerfilefuzzXXXXXX";
        if (!mkdtemp(dir)) abort();
        this->home = std::string(dir) + "/";
        nFileServer2::Instance()->SetAssign("home", this->home.c_str());
    }

    /// the library afresh: a script in the last input may have changed it
    void BuildLibrary()
    {
        if (nRoot* lib = this->ks->Lookup("/usr/lib")) lib->Release();
        nObject* model = this->ks->New("ntransformnode", "/usr/lib/models/red_boxer");
        this->ks->New("ntransformnode", "/usr/lib/models/blue_boxer");
        this->library = static_cast<nRoot*>(this->ks->New("nroot", nPlayerFile::LibraryPlayer));
        Env(this->library, "model")->SetO(model);
        Env(this->library, "geom")->SetS("sphere");
        Env(this->library, "radius")->SetF(1.0f);
        Env(this->library, "name")->SetS("Rookie");
        const std::pair<const char*, float> stats[] = {
            {"health", 1000.0f}, {"energy", 1000.0f}, {"energy-rec-rate", 50.0f}, {"strike-length", 6.0f},
            {"strength", 100.0f}, {"fist-mass", 1.0f}, {"move-speed", 20.0f}, {"lightness", 5.0f}, {"accuracy", 0.75f},
        };
        for (const auto& s : stats) Env(this->library, s.first)->SetF(s.second);
        for (const char* part : {"left_fist", "right_fist", "left_boot", "right_boot", "pants", "shirt"})
        {
            Env(this->library, part)->SetS("/usr/lib/objects/dummy");
        }
        Env(this->library, "score")->SetI(0);
        Env(this->library, "next-enemy")->SetI(0);
        for (int i = 0; i < 3; i++) this->ks->New("nroot", ("/usr/lib/objects/_ai" + std::to_string(i)).c_str());
    }

    void Write(const char* name, const uint8_t* data, size_t size) const
    {
        FILE* f = fopen((this->home + name).c_str(), "wb");
        if (!f) abort();
        if (size > 0 && fwrite(data, 1, size, f) != size) abort();
        fclose(f);
    }

    bool Exists(const char* name) const { return access((this->home + name).c_str(), F_OK) == 0; }

    nKernelServer* ks;
    nRoot* library;
    std::string home;

private:
    QuietLog log;
};

/// every value of the library's player is in the saved one, in its type and range
void CheckPlayer(nRoot* player, nRoot* library)
{
    const char* name = player->GetName();
    for (nRoot* c = library->GetHead(); c; c = c->GetSucc())
    {
        nEnv* want = static_cast<nEnv*>(c);
        nRoot* obj = player->Find(want->GetName());
        if (!obj || !obj->IsA("nenv")) Fail("missing after mending", name, want->GetName());
        nEnv* have = static_cast<nEnv*>(obj);
        if (have->GetType() != want->GetType()) Fail("mistyped after mending", name, want->GetName());
        if (have->GetType() == nArg::Int && have->GetI() < 0) Fail("negative after mending", name, want->GetName());
        if (have->GetType() == nArg::Float && !(std::isfinite(have->GetF()) && have->GetF() > 0.0f))
        {
            Fail("out of range after mending", name, want->GetName());
        }
        if (have->GetType() == nArg::Object && !(have->GetO() && have->GetO()->IsA("nscenenode")))
        {
            Fail("model no scene node after mending", name, want->GetName());
        }
    }
    // what the match does with it: build it or leave it unbuilt, and find its opponent
    nGameObject::IsUsableProto(player->GetFullName().Get());
    const int next = static_cast<nEnv*>(player->Find("next-enemy"))->GetI();
    if (!nKernelServer::Instance()->Lookup(nGameplay2::OpponentProto(next).Get())) Fail("no opponent", name, "next-enemy");
}

int CountPlayers()
{
    nRoot* players = nKernelServer::Instance()->Lookup("/usr/players");
    int n = 0;
    for (nRoot* p = players ? players->GetHead() : nullptr; p; p = p->GetSucc()) n++;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Kernel k;
    k.BuildLibrary();
    unlink((k.home + "players.n2.broken").c_str());
    k.Write("players.n2", data, size);
    nString notice;
    bool maySave = false;
    nRoot* players = nPlayerFile::Load(notice, maySave);
    if (!players)
    {
        if (!k.Exists("players.n2.broken")) Fail("an unreadable file was not kept", "", "");
        if (k.Exists("players.n2")) Fail("an unreadable file was left to be saved over", "", "");
        if (notice.IsEmpty() || !maySave) Fail("an unreadable file was not told or not set aside", "", "");
        return 0;
    }
    nPlayerFile::MendAll();
    // a script in the file may have put anything anywhere; only its players count
    players = static_cast<nRoot*>(k.ks->Lookup("/usr/players"));
    if (!players) return 0;
    for (nRoot* p = players->GetHead(); p; p = p->GetSucc()) CheckPlayer(p, k.library);
    const int count = CountPlayers();
    if (!nPlayerFile::Save()) Fail("the mended players were not saved", "", "");
    nString again;
    if (!nPlayerFile::Load(again, maySave) || CountPlayers() != count) Fail("the saved players did not load again", "", "");
    if (nRoot* p = k.ks->Lookup("/usr/players")) p->Release();
    return 0;
}
