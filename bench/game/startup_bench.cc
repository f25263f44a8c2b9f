//------------------------------------------------------------------------------
//  startup_bench.cc
//
//  The game's start-up as the player waits for it: from PLAY (the launcher
//  making the game's kernel) to the end of the first presented frame that
//  shows the main menu, with the intro video already played, on the real
//  data and the software renderer (SDL's offscreen driver on Mesa's
//  llvmpipe, OpenAL's null driver). Every iteration starts on a fresh home
//  directory, as the first run of a new player does, and tears the game
//  down again untimed.
//
//  The counters split the time by what it is spent on, taken at the
//  application's own seams (its server factories and the Open of the
//  scene, graphics, audio and GUI servers), all in milliseconds:
//      kernel      the kernel and its class packages, archives, log handler
//      servers     the servers made, the Tcl interpreter among them
//      scripts     startup.tcl, OnStartup, OnGraphicsStartup, remote port
//      rpxml       the render-path file read
//      display     the window and its GL context
//      renderpath  the render path's shaders and targets
//      video       the video server
//      input       the input server and OnMapInput
//      audio       the OpenAL device
//      gui         the GUI server: its mesh, shader, fonts and skin
//      libraries   physics, the ".n2" libraries of models, objects, levels
//      frame       the first frame: the main menu built, drawn, presented
//  The baseline is the least any such program pays: an SDL window of the
//  same kind with a GL 3.3 core context, cleared, presented and closed.
//------------------------------------------------------------------------------
#include "file/nnpkfileserver.h"
#include "game/napp.h"
#include "gfx2/nd3d9server.h"
#include "gui/nguiserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"
#include "kernel/nscriptserver.h"
#include "kernel/nwin32loghandler.h"
#include "launcher/nboxingkernel.h"
#include "nopenal/nopenalserver.h"
#include "scene/nmrtsceneserver.h"

#include <benchmark/benchmark.h>

#include "rasterrepetitions.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace
{

typedef std::chrono::steady_clock Clock;

/// the seams of start-up, in the order they are passed
enum Seam
{
    Begin,
    ServersBegin,
    ServersEnd,
    SceneBegin,
    DisplayBegin,
    DisplayEnd,
    SceneEnd,
    InputBegin,
    AudioBegin,
    AudioEnd,
    GuiBegin,
    GuiEnd,
    OpenEnd,
    FrameEnd,
    NumSeams
};

/// when each seam was passed in the running start-up
Clock::time_point Seams[NumSeams];

void Mark(Seam s) { Seams[s] = Clock::now(); }

/// a counter's name and the seams it lies between
struct Phase
{
    const char* name;
    Seam from;
    Seam to;
};

const Phase Phases[] = {
    {"kernel", Begin, ServersBegin},     {"servers", ServersBegin, ServersEnd}, {"scripts", ServersEnd, SceneBegin},
    {"rpxml", SceneBegin, DisplayBegin}, {"display", DisplayBegin, DisplayEnd}, {"renderpath", DisplayEnd, SceneEnd},
    {"video", SceneEnd, InputBegin},     {"input", InputBegin, AudioBegin},     {"audio", AudioBegin, AudioEnd},
    {"gui", GuiBegin, GuiEnd},           {"libraries", GuiEnd, OpenEnd},        {"frame", OpenEnd, FrameEnd},
};

/// an opening timed between two seams
template <class OPEN> bool Timed(Seam from, Seam to, OPEN open)
{
    Mark(from);
    const bool ok = open();
    Mark(to);
    return ok;
}

double Millis(Seam from, Seam to) { return std::chrono::duration<double, std::milli>(Seams[to] - Seams[from]).count(); }

/// the graphics server, its display's opening timed
class StartupGfx : public nD3D9Server
{
public:
    bool OpenDisplay() override { return Timed(DisplayBegin, DisplayEnd, [this] { return nD3D9Server::OpenDisplay(); }); }
};

/// the scene server, its opening timed; it tells when a frame was presented
class StartupScene : public nMRTSceneServer
{
public:
    bool Open() override { return Timed(SceneBegin, SceneEnd, [this] { return nMRTSceneServer::Open(); }); }
    void PresentScene() override
    {
        nMRTSceneServer::PresentScene();
        Presented = true;
    }
    static bool Presented;
};
bool StartupScene::Presented = false;

/// the OpenAL server, its device's opening timed
class StartupAudio : public nOpenALServer
{
public:
    bool Open() override { return Timed(AudioBegin, AudioEnd, [this] { return nOpenALServer::Open(); }); }
};

/// the GUI server, its opening (with the fonts and the skin) timed
class StartupGui : public nGuiServer
{
public:
    bool Open() override { return Timed(GuiBegin, GuiEnd, [this] { return nGuiServer::Open(); }); }
};

/// the game application with the timed servers; it stops once the main menu was presented
class StartupApp : public nApp
{
public:
    bool Open() override
    {
        const bool ok = nApp::Open();
        Mark(OpenEnd);
        return ok;
    }

protected:
    nScriptServer* CreateScriptServer() override
    {
        Mark(ServersBegin);
        return nApp::CreateScriptServer();
    }
    nLocaleServer* CreateLocaleServer() override
    {
        nLocaleServer* locale = nApp::CreateLocaleServer();
        Mark(ServersEnd);
        return locale;
    }
    nGfxServer2* CreateGfxServer() override
    {
        return static_cast<nGfxServer2*>(kernelServer->New("startupgfx", "/sys/servers/gfx"));
    }
    nSceneServer* CreateSceneServer() override
    {
        return static_cast<nSceneServer*>(kernelServer->New("startupscene", "/sys/servers/scene"));
    }
    nAudioServer3* CreateAudioServer() override
    {
        return static_cast<nAudioServer3*>(kernelServer->New("startupaudio", "/sys/servers/audio"));
    }
    nGuiServer* CreateGuiServer() override
    {
        return static_cast<nGuiServer*>(kernelServer->New("startupgui", "/sys/servers/gui"));
    }
    nInputServer* CreateInputServer() override
    {
        Mark(InputBegin);
        return nApp::CreateInputServer();
    }
    void DoFrame() override
    {
        nApp::DoFrame();
        if (StartupScene::Presented && this->GetCurrentState() == "main_menu") this->SetQuitRequested(true);
        if (++this->frames >= MaxFrames) this->SetQuitRequested(true);
    }

private:
    static const int MaxFrames = 100;
    int frames = 0;
};

N_IMPLEMENT_MODULE(startupgfx, StartupGfx, "nd3d9server", nullptr)
N_IMPLEMENT_MODULE(startupscene, StartupScene, "nmrtsceneserver", nullptr)
N_IMPLEMENT_MODULE(startupaudio, StartupAudio, "nopenalserver", nullptr)
N_IMPLEMENT_MODULE(startupgui, StartupGui, "nguiserver", nullptr)
N_IMPLEMENT_MODULE(startupapp, StartupApp, "napp", nullptr)

/// the data tree measured: $STARTUP_DATA_DIR, else the source tree's
const char* DataDir()
{
    const char* dir = getenv("STARTUP_DATA_DIR");
    return (dir && dir[0]) ? dir : ENGINE_DATA_DIR;
}

/// a new player's user directory with the game's home below it, the data tree linked in
class FreshHome
{
public:
    FreshHome()
    {
        char pattern[] = "/tmp/startup-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) return;
        this->user = made;
        std::error_code ec;
        std::filesystem::create_directory(this->user + "/game", ec);
        std::filesystem::create_directory_symlink(DataDir(), this->user + "/game/data", ec);
        // the kernel finds the user's documents, preferences and data here
        setenv("HOME", this->user.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (this->user + "/.config").c_str(), 1);
        setenv("XDG_DATA_HOME", (this->user + "/.local/share").c_str(), 1);
    }
    ~FreshHome()
    {
        std::error_code ec;
        if (!this->user.empty()) std::filesystem::remove_all(this->user, ec);
    }
    std::string Game() const { return this->user + "/game/"; }
    bool Made() const { return !this->user.empty(); }

private:
    std::string user;
};

/// the game started as the launcher's PLAY does, up to the main menu's first frame
class Startup
{
public:
    /// false with the reason in error when the game did not reach the main menu
    bool Run(const std::string& home)
    {
        Mark(Begin);
        this->ks = nNewBoxingKernel(home);
        N_ADD_MODULE(this->ks.get(), startupgfx);
        N_ADD_MODULE(this->ks.get(), startupscene);
        N_ADD_MODULE(this->ks.get(), startupaudio);
        N_ADD_MODULE(this->ks.get(), startupgui);
        N_ADD_MODULE(this->ks.get(), startupapp);
        nNpkFileServer* npk = dynamic_cast<nNpkFileServer*>(this->ks->GetFileServer());
        if (npk) npk->ParseDirectory(nString("home:/"), nString("dat"));
        this->logHandler = std::make_unique<nWin32LogHandler>("Boxing", "ZORVEK Games");
        this->ks->SetLogHandler(this->logHandler.get());

        this->app = static_cast<StartupApp*>(this->ks->New("startupapp", "theApp"));
        this->app->SetStartupScript(nString("home:/data/scripts/startup.tcl"));
        if (!this->app->Open())
        {
            this->error = "the game did not open (see its bin.log)";
            return false;
        }
        this->opened = true;
        // the intro video was seen already
        nString result;
        nScriptServer* script = static_cast<nScriptServer*>(this->ks->Lookup("/sys/servers/script"));
        script->Run("set ::introPlayed 1", result);
        StartupScene::Presented = false;
        this->app->Run();
        Mark(FrameEnd);
        if (!StartupScene::Presented || this->app->GetCurrentState() != "main_menu")
        {
            this->error = "no frame of the main menu was presented";
            return false;
        }
        return true;
    }
    ~Startup()
    {
        if (this->opened) this->app->Close();
        if (this->app) this->app->Release();
        this->ks.reset();
    }

    std::string error;

private:
    // declared first, so that it outlives the kernel
    std::unique_ptr<nWin32LogHandler> logHandler;
    std::unique_ptr<nKernelServer> ks;
    StartupApp* app = nullptr;
    bool opened = false;
};

void HeadlessEnvironment()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
}

void BM_StartupToMainMenu(benchmark::State& state)
{
    HeadlessEnvironment();
    double spent[std::size(Phases)] = {};
    for (auto _ : state)
    {
        FreshHome home;
        if (!home.Made())
        {
            state.SkipWithError("no temporary home directory");
            return;
        }
        Startup startup;
        if (!startup.Run(home.Game()))
        {
            state.SkipWithError(startup.error.c_str());
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Seams[FrameEnd] - Seams[Begin]).count());
        for (size_t i = 0; i < std::size(Phases); i++) spent[i] += Millis(Phases[i].from, Phases[i].to);
    }
    for (size_t i = 0; i < std::size(Phases); i++)
    {
        state.counters[Phases[i].name] = benchmark::Counter(spent[i], benchmark::Counter::kAvgIterations);
    }
}

/// the baseline: a window with a GL context, one cleared frame presented, closed again
void BM_GlWindowBaseline(benchmark::State& state)
{
    HeadlessEnvironment();
    for (auto _ : state)
    {
        const Clock::time_point begin = Clock::now();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        {
            state.SkipWithError(SDL_GetError());
            return;
        }
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_Window* window = SDL_CreateWindow("baseline", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480,
                                              SDL_WINDOW_OPENGL);
        SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
        if (!context)
        {
            const std::string why = SDL_GetError();
            if (window) SDL_DestroyWindow(window);
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            state.SkipWithError(why.c_str());
            return;
        }
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        glFinish();
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begin).count());
    }
}

}  // namespace

BENCHMARK(BM_GlWindowBaseline)->Unit(benchmark::kMillisecond)->UseManualTime()->Apply(RasterRepetitions);
BENCHMARK(BM_StartupToMainMenu)->Unit(benchmark::kMillisecond)->UseManualTime()->Apply(RasterRepetitions);

BENCHMARK_MAIN();
