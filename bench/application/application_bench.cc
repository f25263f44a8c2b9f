//------------------------------------------------------------------------------
//  The frame overhead of the application framework: 10,000 passes of the
//  main loop with a state whose hooks do nothing and servers that do
//  nothing, beside a bare loop that makes the same number of virtual calls
//  per frame (27: the pass's own hooks, the servers' and the state's).
//  The ratio is what the framework itself costs per frame.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "application/napplication.h"
#include "application/napplicationpackage.h"
#include "application/nappstate.h"
#include "input/ninputserver.h"
#include "input/ninputpackage.h"
#include "scene/nsceneserver.h"
#include "scene/nscenepackage.h"
#include "video/nvideoserver.h"
#include "gui/nguiserver.h"
#include "gui/nguipackage.h"
#include "audio3/naudioserver3.h"
#include "audio3/naudio3package.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "kernel/nmodule.h"
#include "kernel/nscriptserver.h"
#include "misc/nmiscpackage.h"
#include "resource/nresourcepackage.h"
#include "gfx2/ngfx2package.h"
#include "locale/nlocalepackage.h"
#include "locale/nlocaleserver.h"
#include "misc/nprefserver.h"

namespace
{

const int FramesPerRun = 10000;
const int VirtualCallsPerFrame = 27;

class QuietLog : public nLogHandler
{
public:
    void Print(const char*, va_list) override {}
    void Message(const char*, va_list) override {}
};

class IdleScript : public nScriptServer
{
public:
    bool Trigger() override { return true; }
};

class IdleGfx : public nGfxServer2
{
public:
    void SetDisplayMode(const nDisplayMode2& mode) override { this->displayMode = mode; }
    const nDisplayMode2& GetDisplayMode() const override { return this->displayMode; }
    bool Trigger() override { return true; }

private:
    nDisplayMode2 displayMode;
};

class IdleInput : public nInputServer
{
public:
    void Trigger(double) override {}
    void FlushEvents() override {}
};

class IdleScene : public nSceneServer
{
public:
    bool Open() override { return true; }
    void Close() override {}
    bool BeginScene(const matrix44&) override { return true; }
    void RenderScene() override {}
    void EndScene() override {}
    void PresentScene() override {}
};

class IdleVideo : public nVideoServer
{
public:
    bool Open() override { return true; }
    void Close() override {}
    void Trigger() override {}
};

class IdleAudio : public nAudioServer3
{
public:
    bool BeginScene(double) override { return true; }
    void UpdateListener(const nListener3&) override {}
    void EndScene() override {}
};

class IdleGui : public nGuiServer
{
public:
    void SetRootPath(const char*) override {}
    void SetDisplaySize(const vector2&) override {}
    bool Open() override { return true; }
    void Close() override {}
    void SetRootWindowPointer(nGuiWindow*) override {}
    nGuiWindow* NewWindow(const char*, bool) override { return nullptr; }
    void SetTime(double) override {}
    void Trigger() override {}
};

/// hooks that do nothing; the frame count ends the run
class IdleState : public nAppState
{
public:
    void OnStateEnter(const nString&) override {}
    void OnStateLeave(const nString&) override {}
    void OnFrame() override
    {
        if (++this->frames == FramesPerRun) this->app->SetQuitRequested(true);
    }
    int frames = 0;
};

class IdleApp : public nApplication
{
protected:
    nScriptServer* CreateScriptServer() override { return Make<nScriptServer>("idlescript", "script"); }
    nGfxServer2* CreateGfxServer() override { return Make<nGfxServer2>("idlegfx", "gfx"); }
    nInputServer* CreateInputServer() override { return Make<nInputServer>("idleinput", "input"); }
    nRoot* CreateConsoleServer() override { return Make<nRoot>("nroot", "console"); }
    nRoot* CreateResourceServer() override { return Make<nRoot>("nroot", "resource"); }
    nSceneServer* CreateSceneServer() override { return Make<nSceneServer>("idlescene", "scene"); }
    nRoot* CreateVariableServer() override { return Make<nRoot>("nroot", "variable"); }
    nRoot* CreateAnimationServer() override { return Make<nRoot>("nroot", "anim"); }
    nVideoServer* CreateVideoServer() override { return Make<nVideoServer>("idlevideo", "video"); }
    nGuiServer* CreateGuiServer() override { return Make<nGuiServer>("idlegui", "gui"); }
    nAudioServer3* CreateAudioServer() override { return Make<nAudioServer3>("idleaudio", "audio"); }
    nPrefServer* CreatePrefServer() override { return Make<nPrefServer>("nprefserver", "pref"); }

private:
    template <class TYPE> static TYPE* Make(const char* className, const char* name)
    {
        const nString path = nString("/sys/servers/") + name;
        return dynamic_cast<TYPE*>(kernelServer->New(className, path.Get()));
    }
};

}  // namespace

N_IMPLEMENT_MODULE(idlescript, IdleScript, "nscriptserver", nullptr)
N_IMPLEMENT_MODULE(idlegfx, IdleGfx, "ngfxserver2", nullptr)
N_IMPLEMENT_MODULE(idleinput, IdleInput, "ninputserver", nullptr)
N_IMPLEMENT_MODULE(idlescene, IdleScene, "nsceneserver", nullptr)
N_IMPLEMENT_MODULE(idlevideo, IdleVideo, "nroot", nullptr)
N_IMPLEMENT_MODULE(idleaudio, IdleAudio, "naudioserver3", nullptr)
N_IMPLEMENT_MODULE(idlegui, IdleGui, "nguiserver", nullptr)
N_IMPLEMENT_MODULE(idlestate, IdleState, "nappstate", nullptr)
N_IMPLEMENT_MODULE(idleapp, IdleApp, "napplication", nullptr)

namespace
{

void idle_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, idlescript);
    N_ADD_MODULE(ks, idlegfx);
    N_ADD_MODULE(ks, idleinput);
    N_ADD_MODULE(ks, idlescene);
    N_ADD_MODULE(ks, idlevideo);
    N_ADD_MODULE(ks, idleaudio);
    N_ADD_MODULE(ks, idlegui);
    N_ADD_MODULE(ks, idlestate);
    N_ADD_MODULE(ks, idleapp);
}

void BM_MainLoop(benchmark::State& state)
{
    QuietLog log;
    nKernelServer ks({nmisc_package, nresource_package, ngfx2_package, nlocale_package, nscene_package, ninput_package, naudio3_package, ngui_package, napplication_package, idle_package});
    ks.SetLogHandler(&log);
    nApplication* app = static_cast<nApplication*>(ks.New("idleapp", "/theApp"));
    app->SetAppName(nString("appbench"));
    if (!app->Open())
    {
        state.SkipWithError("the application did not open");
        return;
    }
    IdleState* idle = static_cast<IdleState*>(app->CreateState(nString("idlestate"), nString("idle")));
    app->SetState(nString("idle"));
    for (auto _ : state)
    {
        idle->frames = 0;
        app->SetQuitRequested(false);
        app->Run();
    }
    state.SetItemsProcessed(state.iterations() * FramesPerRun);
    app->Close();
    app->Release();
    ks.SetLogHandler(nullptr);
}
BENCHMARK(BM_MainLoop)->Unit(benchmark::kMicrosecond);

/// the baseline's callee: one virtual operation that does nothing
class Hook
{
public:
    virtual ~Hook() = default;
    virtual void Call() {}
};

void BM_BareVirtualLoop(benchmark::State& state)
{
    Hook hook;
    Hook* target = &hook;
    for (auto _ : state)
    {
        for (int frame = 0; frame < FramesPerRun; frame++)
        {
            for (int call = 0; call < VirtualCallsPerFrame; call++)
            {
                benchmark::DoNotOptimize(target);
                target->Call();
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * FramesPerRun);
}
BENCHMARK(BM_BareVirtualLoop)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
