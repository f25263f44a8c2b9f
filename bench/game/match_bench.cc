//------------------------------------------------------------------------------
//  match_bench.cc
//
//  A headless match: two boxers punching each other without pause, every
//  frame the match's own frame (timers, every game object with its geom,
//  the fists' paths) and both boxers' hit tests. The baseline is the raw
//  dCollide calls those hit tests make, one per moving fist and frame,
//  between the same geoms. The figures that count are the ratio of the
//  two per frame and the frames per second.
//
//  Beside them the same kind of match on the game application itself,
//  headless (SDL's offscreen driver, OpenAL's null device): the main
//  loop's whole frame with input, GUI, sound and the render path, on the
//  small data of the headless match test; the player walks forward and
//  punches every 20 frames, and each iteration restarts the match so
//  that it never ends. Its frames per second are the figure to watch.
//------------------------------------------------------------------------------
#include "headlessgame.h"
#include "application/napplicationpackage.h"
#include "game/nboxer.h"
#include "game/nfist2.h"
#include "game/ngame.h"
#include "game/ngamelogic.h"
#include "game/ngamepackage.h"
#include "game/nai.h"
#include "game/nplayer.h"
#include "mathlib/nmath.h"
#include "gui/nguipackage.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "kernel/nmodule.h"
#include "misc/nmiscpackage.h"
#include "opende/nopendegeom.h"
#include "opende/nopendehashspace.h"
#include "opende/nopendepackage.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace
{

const int FramesPerIteration = 10000;
const float FrameTime = 1.0f / 60.0f;

class SilentLog : public nLogHandler
{
public:
    void Print(const char*, va_list) override {}
    void Message(const char*, va_list) override {}
    void Error(const char*, va_list) override { std::abort(); }
};

/// the level's logic: two boxers facing each other
class BenchLogic : public nGameLogic
{
public:
    void Start() override
    {
        nGame* game = nGame::Instance();
        nBoxer* p = static_cast<nBoxer*>(game->NewObject(nString("nboxer")));
        p->GetPlacement().settranslation(vector3(0.0f, 0.0f, 3.5f));
        p->Init("/usr/lib/objects/boxer");
        nBoxer* o = static_cast<nBoxer*>(game->NewObject(nString("nboxer")));
        o->GetPlacement().seteuler(vector3(0.0f, N_PI, 0.0f));
        o->GetPlacement().settranslation(vector3(0.0f, 0.0f, -3.5f));
        o->Init("/usr/lib/objects/boxer");
        this->player = p;
        this->opponent = o;
    }
    nBoxer* player = nullptr;
    nBoxer* opponent = nullptr;
};

void benchmatch_package();

/// a kernel with the physics world, the prototypes and a match past its start phase
class Match
{
public:
    Match() :
        ks({nsignals_package, nscript_package, nmisc_package, nvariable_package, nresource_package, ngfx2_package,
            nscene_package, nopende_package, napplication_package, ngui_package, ngame_package, benchmatch_package})
    {
        this->ks.SetLogHandler(&this->log);
        this->ks.New("nvariableserver", "/sys/servers/variable");
        this->ks.New("nopendeserver", "/sys/servers/phys");
        this->ks.New("nopendeworld", "/sys/servers/phys/world");
        static_cast<nOpendeHashSpace*>(this->ks.New("nopendehashspace", "/sys/servers/phys/world/space"))
            ->Create("none");
        this->ks.New("ntransformnode", "/usr/lib/models/body");
        this->Proto("dummy", nullptr, 0.0f);
        this->Proto("fist", "sphere", 0.6f);
        this->Proto("part", nullptr, 0.0f);
        nRoot* boxer = this->Proto("boxer", "sphere", 2.0f);
        const std::pair<const char*, float> stats[] = {
            {"health", 1000.0f},     {"energy", 1000.0f},   {"energy-rec-rate", 50.0f},
            {"strike-length", 6.0f}, {"strength", 100.0f},  {"fist-mass", 1.0f},
            {"move-speed", 20.0f},   {"lightness", 5.0f},   {"accuracy", 1.0f},
        };
        for (const auto& s : stats) this->Var(boxer, s.first)->SetF(s.second);
        for (const char* key : {"left_fist", "right_fist"}) this->Var(boxer, key)->SetS("/usr/lib/objects/fist");
        for (const char* key : {"left_boot", "right_boot", "pants", "shirt"})
            this->Var(boxer, key)->SetS("/usr/lib/objects/part");
        this->logic = static_cast<BenchLogic*>(this->ks.New("benchlogic", "/usr/lib/levels/l01"));
        this->game = static_cast<nGame*>(this->ks.New("ngame", "/usr/game"));
        this->game->SetupMatch();
        this->game->SetTimeMultiplier(1.0f);
        while (this->game->IsStarting() || !this->game->IsMatchRunning()) this->game->RunFrame(FrameTime);
        this->game->RunFrame(FrameTime);
    }
    virtual ~Match()
    {
        this->game->Release();
    }

    /// one frame of the fight: punches whenever a fist is free, the match's frame, both hit tests
    void Frame()
    {
        nBoxer* p = this->logic->player;
        nBoxer* o = this->logic->opponent;
        for (nBoxer* b : {p, o})
        {
            b->SetEnergy(1000.0f);
            b->SetHealth(1000.0f);
            b->SetFistTargets((b == p ? o : p)->GetTransform().gettranslation());
            b->Punch(b == p ? o : p, 0);
        }
        this->game->RunFrame(FrameTime);
        p->CheckHits(o);
        o->CheckHits(p);
    }

    /// the collide calls a frame's hit tests make when every fist is out
    void RawCollide()
    {
        dContact* contacts = this->game->GetContacts();
        nBoxer* p = this->logic->player;
        nBoxer* o = this->logic->opponent;
        for (nBoxer* b : {p, o})
        {
            nBoxer* other = (b == p) ? o : p;
            for (nFist2* fist : {b->GetLeftFist(), b->GetRightFist()})
            {
                benchmark::DoNotOptimize(dCollide(fist->GetGeom()->id(), other->GetGeom()->id(), nGame::NumContacts,
                                                  &contacts[0].geom, sizeof(dContact)));
            }
        }
    }

    nRoot* Proto(const char* name, const char* geom, float radius)
    {
        nString path("/usr/lib/objects/");
        path.Append(name);
        nRoot* proto = static_cast<nRoot*>(this->ks.New("nroot", path.Get()));
        this->Var(proto, "model")->SetO(this->ks.Lookup("/usr/lib/models/body"));
        if (geom)
        {
            this->Var(proto, "geom")->SetS(geom);
            this->Var(proto, "radius")->SetF(radius);
        }
        return proto;
    }
    nEnv* Var(nRoot* proto, const char* name)
    {
        this->ks.PushCwd(proto);
        nEnv* var = static_cast<nEnv*>(this->ks.New("nenv", name));
        this->ks.PopCwd();
        return var;
    }

    SilentLog log;
    nKernelServer ks;
    BenchLogic* logic = nullptr;
    nGame* game = nullptr;
};

/// the same match with the game's own logic "l01": the player punching every 20 frames, the AI deciding
class Match2 : public Match
{
public:
    Match2()
    {
        this->game->CleanupMatch();
        this->logic->Release();
        this->logic = nullptr;
        this->ks.New("ngameplay2", "/usr/lib/levels/l01");
        this->Proto("ring", nullptr, 0.0f);
        nRoot* boxer = this->ks.Lookup("/usr/lib/objects/boxer");
        this->ks.PushCwd(this->ks.Lookup("/usr/lib/objects"));
        nRoot* me = static_cast<nRoot*>(boxer->Clone("me"));
        nRoot* ai = static_cast<nRoot*>(boxer->Clone("_ai0"));
        this->ks.PopCwd();
        this->Var(me, "score")->SetI(0);
        this->Var(me, "next-enemy")->SetI(0);
        this->Var(me, "name")->SetS("me");
        this->Var(ai, "name")->SetS("ai");
        const std::pair<const char*, float> tuning[] = {
            {"reaction-time", 0.2f}, {"follow-timer-base", 0.3f}, {"follow-timer-scat", 1.0f},
            {"keeppos-timer-base", 0.2f}, {"keeppos-timer-scat", 0.5f}, {"dodge-amplitude", 2.0f},
            {"hook-probability", 0.5f}, {"hook-range", 0.75f}, {"attack-timer-base", 0.75f},
            {"attack-timer-scat", 1.25f}, {"attack-stirke-timer-base", 0.0f}, {"attack-stirke-timer-scat", 0.75f},
            {"defense-timer-base", 1.5f}, {"defense-timer-scat", 2.0f}, {"defense-stirke-timer-base", 0.0f},
            {"defense-stirke-timer-scat", 0.75f}, {"defense-stirke-probability", 0.25f},
        };
        for (const auto& t : tuning) this->Var(ai, t.first)->SetF(t.second);
        this->game->SetPlayerProto(nString("/usr/lib/objects/me"));
        n_srand(1);
        this->game->SetupMatch();
        this->game->SetTimeMultiplier(1.0f);
        while (this->game->IsStarting() || !this->game->IsMatchRunning()) this->game->RunFrame(FrameTime);
    }

    void Frame2()
    {
        nPlayer* p = nPlayer::Instance();
        nAI* o = nAI::Instance();
        for (nBoxer* b : {static_cast<nBoxer*>(p), static_cast<nBoxer*>(o)})
        {
            b->SetEnergy(1000.0f);
            b->SetHealth(1000.0f);
        }
        if (this->frame++ % 20 == 0) p->Punch(o, 1);
        this->game->RunFrame(FrameTime);
    }
    int frame = 0;
};

void BM_Gameplay2MatchFrames(benchmark::State& state)
{
    Match2 m;
    for (auto _ : state)
    {
        for (int i = 0; i < FramesPerIteration; i++) m.Frame2();
    }
    state.SetItemsProcessed(state.iterations() * FramesPerIteration);
}

void BM_MatchFrames(benchmark::State& state)
{
    Match m;
    for (auto _ : state)
    {
        for (int i = 0; i < FramesPerIteration; i++) m.Frame();
    }
    if (m.logic->opponent->GetLeftFist()->GetTravelled() <= 0.0f && m.logic->player->GetLeftFist()->GetTravelled() <= 0.0f)
        state.SkipWithError("the fists never moved");
    state.SetItemsProcessed(state.iterations() * FramesPerIteration);
}

void BM_RawCollideOfTheFrames(benchmark::State& state)
{
    Match m;
    for (int i = 0; i < 30; i++) m.Frame();
    for (auto _ : state)
    {
        for (int i = 0; i < FramesPerIteration; i++) m.RawCollide();
    }
    state.SetItemsProcessed(state.iterations() * FramesPerIteration);
}

/// frames of one headless iteration: past the start phase into the exchange of punches
const int HeadlessFrames = 300;

void BM_HeadlessAppMatchFrames(benchmark::State& state)
{
    const std::string home = HeadlessGame::MakeHome();
    {
        HeadlessGame game(home);
        if (home.empty() || !game.Open())
        {
            state.SkipWithError("the game application does not open headless");
            return;
        }
        n_srand(1);
        game.App()->beforeFrame = [&game](int f) { game.PlayerInput(f); };
        game.Run(2);
        for (auto _ : state)
        {
            game.Script("/theApp/appstates/game.restart");
            game.Run(HeadlessFrames);
        }
        if (!nPlayer::HasInstance()) state.SkipWithError("the match did not run");
        state.SetItemsProcessed(state.iterations() * HeadlessFrames);
    }
    std::filesystem::remove_all(home);
}

}  // namespace

N_IMPLEMENT_MODULE(benchlogic, BenchLogic, "ngamelogic", nullptr)

namespace
{

void benchmatch_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), benchlogic);
}

}  // namespace

BENCHMARK(BM_MatchFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawCollideOfTheFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gameplay2MatchFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeadlessAppMatchFrames)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
