//------------------------------------------------------------------------------
//  matchfps_bench.cc
//
//  Frames per second of a boxing match as the player sees it: the game
//  application with the real data, in the match state, both boxers kept
//  standing (the player punches every 20 frames, the AI fights as it
//  likes), on the software renderer (SDL's offscreen driver on Mesa's
//  llvmpipe) at 640x480 and 1024x768. The baseline is the same frame with
//  the scene server's rendering and presentation skipped: the frame's CPU
//  work alone (servers, match, attaching the scene). The figures that count
//  are the frames per second and the ratio of the two.
//
//  The replays are the floor of the rendering: one frame of the match (and
//  one of the main menu) recorded at the graphics device and issued again
//  as plain GL calls with the same buffers, programs, states, uniforms and
//  draws, loaded once outside the timed loop. The game's frame against its
//  replay shows what the engine adds to the GL work.
//------------------------------------------------------------------------------
#include "framerecorder.h"
#include "framereplay.h"
#include "game/nai.h"
#include "game/napp.h"
#include "game/ngame.h"
#include "game/nplayer.h"
#include "gfx2/nd3d9server.h"
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "kernel/nmodule.h"
#include "kernel/nscriptserver.h"
#include "launcher/nboxingkernel.h"
#include "scene/nmrtsceneserver.h"

#include <benchmark/benchmark.h>

#include "rasterrepetitions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace
{

const int FramesPerIteration = 30;
const float Standing = 1000.0f;
/// frames the main menu gets to come up before it is measured
const int MenuSettleFrames = 30;

/// prints only what goes wrong
class QuietLog : public nLogHandler
{
public:
    void Print(const char*, va_list) override {}
    void Message(const char* msg, va_list args) override { vfprintf(stderr, msg, args); }
    void Error(const char* msg, va_list args) override { vfprintf(stderr, msg, args); }
};

/// the scene server that can leave out drawing and presenting the frame
class MatchFpsScene : public nMRTSceneServer
{
public:
    void RenderScene() override
    {
        if (!SkipRendering) nMRTSceneServer::RenderScene();
    }
    void PresentScene() override
    {
        if (!SkipRendering) nMRTSceneServer::PresentScene();
    }
    static bool SkipRendering;
};
bool MatchFpsScene::SkipRendering = false;

/// the game application at a fixed window size, run a given number of frames at a time
class MatchFpsApp : public nApp
{
public:
    /// run the main loop for that many frames
    void RunFrames(int frames)
    {
        this->framesLeft = frames;
        this->SetQuitRequested(false);
        this->Run();
    }
    static int Width;
    static int Height;
    /// whether the frames keep both boxers standing and let the player punch
    bool fighting = false;

    /// whether the next app records its frames' device calls
    static bool Record;

protected:
    nGfxServer2* CreateGfxServer() override
    {
        nGfxServer2* gfx = nApp::CreateGfxServer();
        if (Record) static_cast<nD3D9Server*>(gfx)->SetDevice(std::make_unique<FrameRecorder>(nNewGLDevice()));
        return gfx;
    }
    nSceneServer* CreateSceneServer() override
    {
        return static_cast<nSceneServer*>(kernelServer->New("matchfpsscene", "/sys/servers/scene"));
    }
    nPrefServer* CreatePrefServer() override
    {
        nPrefServer* prefs = nApp::CreatePrefServer();
        this->displayMode.SetWidth((ushort)Width);
        this->displayMode.SetHeight((ushort)Height);
        this->displayMode.SetType(nDisplayMode2::Windowed);
        return prefs;
    }
    void DoFrame() override
    {
        if (this->fighting) this->KeepFighting();
        nApp::DoFrame();
        if (--this->framesLeft <= 0) this->SetQuitRequested(true);
    }

private:
    void KeepFighting()
    {
        if (!nPlayer::HasInstance() || !nAI::HasInstance()) return;
        nPlayer* p = nPlayer::Instance();
        nAI* o = nAI::Instance();
        p->SetHealth(Standing);
        p->SetEnergy(Standing);
        o->SetHealth(Standing);
        o->SetEnergy(Standing);
        if (this->frame++ % 20 == 0) p->Punch(o, 1);
    }

    int framesLeft = 0;
    int frame = 0;
};
int MatchFpsApp::Width = 640;
int MatchFpsApp::Height = 480;
bool MatchFpsApp::Record = false;

N_IMPLEMENT_MODULE(matchfpsscene, MatchFpsScene, "nmrtsceneserver", nullptr)
N_IMPLEMENT_MODULE(matchfpsapp, MatchFpsApp, "napp", nullptr)

/// the data tree measured: $MATCHFPS_DATA_DIR, else the source tree's
const char* DataDir()
{
    const char* dir = getenv("MATCHFPS_DATA_DIR");
    return (dir && dir[0]) ? dir : ENGINE_DATA_DIR;
}

/// a home directory of its own (the game writes its files there) with the data tree linked in
class TempHome
{
public:
    TempHome()
    {
        char pattern[] = "/tmp/matchfps-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made) this->dir = made;
        if (!this->dir.empty())
        {
            std::error_code ec;
            std::filesystem::create_directory_symlink(DataDir(), this->dir + "/data", ec);
        }
    }
    ~TempHome()
    {
        std::error_code ec;
        if (!this->dir.empty()) std::filesystem::remove_all(this->dir, ec);
    }
    std::string dir;
};

/// the game open at the size, in a match past its start phase
class Match
{
public:
    /// in a match, or (inMatch false) in the main menu; recording the device calls when asked
    Match(int width, int height, bool inMatch = true, bool record = false)
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("ALSOFT_DRIVERS", "null", 0);
        this->ks = nNewBoxingKernel(this->home.dir + "/");
        this->ks->SetLogHandler(&this->log);
        N_ADD_MODULE(this->ks.get(), matchfpsscene);
        N_ADD_MODULE(this->ks.get(), matchfpsapp);
        MatchFpsApp::Width = width;
        MatchFpsApp::Height = height;
        MatchFpsApp::Record = record;
        this->app = static_cast<MatchFpsApp*>(this->ks->New("matchfpsapp", "theApp"));
        this->app->SetStartupScript(nString("home:/data/scripts/startup.tcl"));
        if (!this->app->Open())
        {
            this->error = "the game did not open";
            return;
        }
        this->opened = true;
        if (inMatch)
        {
            this->StartMatch();
        }
        else
        {
            // past the intro video, which plays first
            this->app->RunFrames(2);
            this->app->SetState(nString("main_menu"));
            this->app->RunFrames(MenuSettleFrames);
        }
    }
    ~Match()
    {
        MatchFpsScene::SkipRendering = false;
        if (this->opened) this->app->Close();
        if (this->app) this->app->Release();
        this->ks.reset();
    }

    /// the recorder under the graphics server, null unless recording
    FrameRecorder* Recorder() const
    {
        nD3D9Server* gfx = static_cast<nD3D9Server*>(nGfxServer2::Instance());
        return dynamic_cast<FrameRecorder*>(gfx->GetDevice());
    }

    MatchFpsApp* app = nullptr;
    std::string error;

private:
    /// the first player of the progression into the ring, as the pre-start window does
    void StartMatch()
    {
        this->app->RunFrames(2);
        nRoot* players = this->ks->Lookup("/usr/players");
        nRoot* player = players ? players->GetHead() : nullptr;
        if (!player)
        {
            this->error = "the data gives no player below /usr/players";
            return;
        }
        nGame* game = nGame::Instance();
        game->SetPlayerProto(player->GetFullName());
        this->app->SetState(nString("game"));
        this->app->fighting = true;
        for (int i = 0; i < 600 && (!game->IsMatchRunning() || game->IsStarting()); i++) this->app->RunFrames(1);
        if (!game->IsMatchRunning() || !nPlayer::HasInstance() || !nAI::HasInstance())
        {
            this->error = "no match with a player and an AI opponent started";
        }
    }

    TempHome home;
    QuietLog log;
    std::unique_ptr<nKernelServer> ks;
    bool opened = false;
};

void RunMatch(benchmark::State& state, bool render)
{
    Match match((int)state.range(0), (int)state.range(1));
    if (!match.error.empty())
    {
        state.SkipWithError(match.error.c_str());
        return;
    }
    MatchFpsScene::SkipRendering = !render;
    match.app->RunFrames(FramesPerIteration);
    for (auto _ : state) match.app->RunFrames(FramesPerIteration);
    state.counters["fps"] = benchmark::Counter((double)state.iterations() * FramesPerIteration,
                                               benchmark::Counter::kIsRate);
}

void BM_MatchFrameRendered(benchmark::State& state) { RunMatch(state, true); }
void BM_MatchFrameWithoutRendering(benchmark::State& state) { RunMatch(state, false); }

/// the game's frame in the main menu
void BM_MenuFrame(benchmark::State& state)
{
    Match menu((int)state.range(0), (int)state.range(1), false);
    if (!menu.error.empty())
    {
        state.SkipWithError(menu.error.c_str());
        return;
    }
    for (auto _ : state) menu.app->RunFrames(FramesPerIteration);
    state.counters["fps"] = benchmark::Counter((double)state.iterations() * FramesPerIteration,
                                               benchmark::Counter::kIsRate);
}

/// the share of pixels (of two RGBA pictures) whose channels differ by more than a rounding step
double DifferingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    if (a.size() != b.size() || a.empty()) return 1.0;
    size_t differ = 0;
    for (size_t p = 0; p < a.size(); p += 4)
    {
        for (size_t c = 0; c < 3; c++)
        {
            if (std::abs(int(a[p + c]) - int(b[p + c])) > 2)
            {
                differ++;
                break;
            }
        }
    }
    return double(differ) / double(a.size() / 4);
}

/// one recorded frame of the match or the menu issued again as plain GL
void RunReplay(benchmark::State& state, bool inMatch)
{
    Match game((int)state.range(0), (int)state.range(1), inMatch, true);
    FrameRecorder* rec = game.error.empty() ? game.Recorder() : nullptr;
    if (!rec)
    {
        state.SkipWithError(game.error.empty() ? "no recorder under the graphics server" : game.error.c_str());
        return;
    }
    rec->Begin();
    game.app->RunFrames(1);
    rec->End();
    const size_t presents = std::count_if(rec->frame.begin(), rec->frame.end(),
                                          [](const FrameRecorder::Call& c) { return c.op == FrameRecorder::Op::Present; });
    if (presents != 1)
    {
        const std::string why = "the recorded frame presents " + std::to_string(presents) + " times, not once";
        state.SkipWithError(why.c_str());
        return;
    }
    std::vector<unsigned char> recorded;
    int w = 0, h = 0;
    rec->ReadFrame(recorded, w, h);
    FrameReplay replay(*rec, (int)state.range(0), (int)state.range(1));
    if (!replay.error.empty())
    {
        state.SkipWithError(replay.error.c_str());
        return;
    }
    replay.Run();
    const double differing = DifferingPixels(recorded, replay.ReadFrame());
    if (differing > 0.01)
    {
        state.SkipWithError("the replay's picture is not the recorded frame's");
        return;
    }
    for (int i = 0; i < FramesPerIteration; i++) replay.Run();
    for (auto _ : state)
    {
        for (int i = 0; i < FramesPerIteration; i++) replay.Run();
    }
    state.counters["fps"] = benchmark::Counter((double)state.iterations() * FramesPerIteration,
                                               benchmark::Counter::kIsRate);
    state.counters["draws"] = replay.draws;
    state.counters["states"] = replay.stateChanges;
    state.counters["uniforms"] = replay.uniformSets;
    state.counters["uploads"] = replay.uploads;
    state.counters["differing"] = differing;
}

void BM_MatchReplay(benchmark::State& state) { RunReplay(state, true); }
void BM_MenuReplay(benchmark::State& state) { RunReplay(state, false); }

}  // namespace

BENCHMARK(BM_MatchFrameRendered)->Args({640, 480})->Args({1024, 768})->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(RasterRepetitions);
BENCHMARK(BM_MatchFrameWithoutRendering)->Args({640, 480})->Args({1024, 768})->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_MatchReplay)->Args({640, 480})->Args({1024, 768})->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(RasterRepetitions);
BENCHMARK(BM_MenuFrame)->Args({640, 480})->Args({1024, 768})->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(RasterRepetitions);
BENCHMARK(BM_MenuReplay)->Args({640, 480})->Args({1024, 768})->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(RasterRepetitions);

BENCHMARK_MAIN();
