//------------------------------------------------------------------------------
//  game_bench.cc
//
//  A match builds its ring, boxers and fists as game objects from the
//  prototypes the application loaded once. The benchmark builds 1,000 game
//  objects from one prototype (render context, variables, sphere geom in
//  the world's space) and, as the baseline, loads that prototype's ".n2"
//  with the kernel's Load 1,000 times; the figure that counts is the ratio.
//------------------------------------------------------------------------------
#include "application/napplicationpackage.h"
#include "game/ngameobject.h"
#include "game/ngamepackage.h"
#include "gui/nguipackage.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "misc/nmiscpackage.h"
#include "opende/nopendehashspace.h"
#include "opende/nopendepackage.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{

const int ObjectsPerIteration = 1000;

const char* const Prototype =
    "# ---\n# $parser:ntclserver$ $class:nroot$\n# ---\n"
    "new nenv model\n\tsel model\n\t.seto /usr/lib/models/glove\nsel ..\n"
    "new nenv geom\n\tsel geom\n\t.sets \"sphere\"\nsel ..\n"
    "new nenv radius\n\tsel radius\n\t.setf 0.150000\nsel ..\n"
    "# ---\n# Eof\n# ---\n";

/// swallows the log so printing does not enter the figures
class SilentLog : public nLogHandler
{
public:
    void Print(const char*, va_list) override {}
    void Message(const char*, va_list) override {}
    void Error(const char*, va_list) override { std::abort(); }
};

/// a kernel with the physics world, a model and the prototype loaded once
class World
{
public:
    World() :
        ks({nsignals_package, nscript_package, nmisc_package, nvariable_package, nresource_package, ngfx2_package,
            nscene_package, nopende_package, napplication_package, ngui_package, ngame_package})
    {
        this->ks.SetLogHandler(&this->log);
        this->ks.New("ntclserver", "/sys/servers/script");
        this->ks.New("nvariableserver", "/sys/servers/variable");
        this->ks.New("nopendeserver", "/sys/servers/phys");
        this->ks.New("nopendeworld", "/sys/servers/phys/world");
        static_cast<nOpendeHashSpace*>(this->ks.New("nopendehashspace", "/sys/servers/phys/world/space"))
            ->Create("none");
        this->ks.New("ntransformnode", "/usr/lib/models/glove");
        char tmpl[] = "/tmp/game-bench-XXXXXX";
        this->dir = mkdtemp(tmpl);
        this->file = this->dir + "/glove.n2";
        std::ofstream(this->file) << Prototype;
        this->libObjects = static_cast<nRoot*>(this->ks.New("nroot", "/usr/lib/objects"));
        this->Load(this->libObjects);
        this->scene = static_cast<nRoot*>(this->ks.New("nroot", "/usr/scene"));
        this->loads = static_cast<nRoot*>(this->ks.New("nroot", "/usr/loads"));
    }
    ~World() { std::filesystem::remove_all(this->dir); }

    /// the prototype file loaded below the node; the loaded object
    nObject* Load(nRoot* node)
    {
        this->ks.PushCwd(node);
        nObject* obj = this->ks.LoadAs(this->file.c_str(), this->NextName());
        this->ks.PopCwd();
        return obj;
    }
    /// a game object below "/usr/scene" from the prototype
    nGameObject* Build()
    {
        this->ks.PushCwd(this->scene);
        nGameObject* obj = static_cast<nGameObject*>(this->ks.New("ngameobject", this->NextName()));
        this->ks.PopCwd();
        obj->Init("/usr/lib/objects/o0");
        return obj;
    }
    const char* NextName()
    {
        snprintf(this->name, sizeof(this->name), "o%d", this->count++);
        return this->name;
    }

    SilentLog log;
    nKernelServer ks;
    std::string dir;
    std::string file;
    nRoot* libObjects = nullptr;
    nRoot* scene = nullptr;
    nRoot* loads = nullptr;
    char name[32] = {0};
    int count = 0;
};

void BM_BuildGameObjects(benchmark::State& state)
{
    World w;
    nObject* objs[ObjectsPerIteration];
    for (auto _ : state)
    {
        for (int i = 0; i < ObjectsPerIteration; i++) objs[i] = w.Build();
        state.PauseTiming();
        if (!static_cast<nGameObject*>(objs[0])->HasGeom()) state.SkipWithError("the object has no geom");
        for (nObject* o : objs) o->Release();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ObjectsPerIteration);
}

void BM_KernelLoadPrototype(benchmark::State& state)
{
    World w;
    nObject* objs[ObjectsPerIteration];
    for (auto _ : state)
    {
        for (int i = 0; i < ObjectsPerIteration; i++) objs[i] = w.Load(w.loads);
        state.PauseTiming();
        bool loaded = true;
        for (nObject* o : objs)
        {
            if (o) o->Release();
            loaded = loaded && o;
        }
        if (!loaded) state.SkipWithError("the prototype did not load");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ObjectsPerIteration);
}

}  // namespace

BENCHMARK(BM_BuildGameObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelLoadPrototype)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
