//------------------------------------------------------------------------------
//  One frame of the scene server: N render contexts (10 to 20,000) of a
//  model of 4 transform nodes (4N groups) through BeginScene, Attach, the
//  split into buckets, the sort and the walk of a two-pass render path, on
//  the recording graphics server (with the per-draw calls left unrecorded,
//  so the server's own work is measured). Beside it, in the same run, the
//  baseline: 4N matrix multiplies into a reserved vector plus a std::sort
//  of 4N float keys. items_per_second counts contexts, so a flat curve is
//  a cost linear in the number of contexts.
//
//  The counters blocks_per_frame and bytes_per_frame are the growth of the
//  engine allocator's live blocks and bytes over ten warm frames, per frame
//  (the goal is none: every per-frame array keeps its memory).
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "rpgfxserver.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nmemory.h"
#include "kernel/nmodule.h"
#include "resource/nresourcepackage.h"
#include "scene/nmrtsceneserver.h"
#include "scene/nrendercontext.h"
#include "scene/nscenepackage.h"
#include "scene/nshapenode.h"
#include "variable/nvariablepackage.h"
#include "variable/nvariableserver.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>


namespace
{

/// the models' render contexts of a frame: the game has a few dozen
void ContextCounts(benchmark::internal::Benchmark* b)
{
    for (int n : {10, 100, 1000, 5000, 20000}) b->Arg(n);
}

/// a shader that records its Begin and pass calls but not the per-draw parameters
class BenchShader : public RpRecordingShader
{
public:
    void SetParams(const nShaderParams&) override {}
};

/// the render path's recording server, without recording the per-draw calls
class BenchGfx : public RpGfxServer
{
public:
    nShader2* NewShader(const char* rsrcName) override
    {
        return static_cast<nShader2*>(this->refResourceServer->NewResource("nbenchshader", rsrcName, nResource::Shader));
    }
    void SetTransform(TransformType type, const matrix44& m) override { nGfxServer2::SetTransform(type, m); }
    void DrawIndexedNS(PrimitiveType) override {}
};

}  // namespace

N_IMPLEMENT_MODULE(nbenchshader, BenchShader, "nrprecordingshader", nullptr)
N_IMPLEMENT_MODULE(nbenchgfx, BenchGfx, "nrpgfxserver", nullptr)

namespace
{

void bench_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nbenchshader);
    N_ADD_MODULE(ks, nbenchgfx);
}

const char* const RenderPath = R"(<RenderPath name="bench" shaderpath="s">
  <Pass name="scene" clearColor="0 0 0 1" shader="pass.fx">
    <Phase name="opaque" shader="phase.fx" fourcc="colr" sort="FrontToBack">
      <Sequence shader="a.fx"/>
      <Sequence shader="b.fx"/>
    </Phase>
  </Pass>
  <Pass name="gui" clearDepth="1" drawGui="true"/>
</RenderPath>
)";

/// a kernel, the servers, a model of a transform node with three shapes
/// and render contexts of it spread over a grid
struct SceneWorld
{
    explicit SceneWorld(int numContexts)
    {
        ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nvariable_package, nresource_package, ngfx2_package, recordinggfx_package, rpgfx_package, bench_package,
            nscene_package});
        ks->New("nvariableserver", "/sys/servers/variable");
        ks->New("nresourceserver", "/sys/servers/resource");
        gfx = static_cast<BenchGfx*>(ks->New("nbenchgfx", "/sys/servers/gfx"));
        nDisplayMode2 mode;
        mode.SetWidth(800);
        mode.SetHeight(600);
        gfx->SetDisplayMode(mode);
        scene = static_cast<nMRTSceneServer*>(ks->New("nmrtsceneserver", "/sys/servers/scene"));
        std::string tmpl = (std::filesystem::temp_directory_path() / "scenebenchXXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        dir = tmpl;
        std::ofstream(dir + "/rp.xml") << RenderPath;
        scene->SetRenderPathFilename((dir + "/rp.xml").c_str());
        if (!scene->Open()) std::abort();

        nSceneNode* root = static_cast<nSceneNode*>(ks->New("ntransformnode", "/model"));
        const char* shapes[3][2] = {{"/model/a", "a.fx"}, {"/model/b", "a.fx"}, {"/model/c", "b.fx"}};
        int pri = 0;
        for (const auto& s : shapes)
        {
            nShapeNode* shape = static_cast<nShapeNode*>(ks->New("nshapenode", s[0]));
            shape->SetShader(0x726C6F63, s[1]);  // "colr"
            shape->SetMesh("mesh.n3d2");
            shape->SetRenderPri(pri--);
        }
        const int varTime = nVariableServer::Instance()->GetVariableHandleByName("time");
        contexts = std::vector<nRenderContext>(numContexts);
        for (int i = 0; i < numContexts; i++)
        {
            nRenderContext& ctx = contexts[i];
            ctx.SetRootNode(root);
            ctx.AddVariable(nVariable(varTime, 0.0f));
            matrix44 m;
            m.translate(vector3(float(i % 71), 0.0f, float(i / 71)));
            ctx.SetTransform(m);
            root->RenderContextCreated(&ctx);
        }
    }
    ~SceneWorld()
    {
        scene->Close();
        contexts.clear();
        ks.reset();
        std::filesystem::remove_all(dir);
    }

    void Frame()
    {
        matrix44 camera;
        camera.translate(vector3(35.0f, 10.0f, -20.0f));
        scene->GetRenderPath()->Validate();
        scene->BeginScene(camera);
        for (nRenderContext& ctx : contexts) scene->Attach(&ctx);
        scene->RenderScene();
        scene->EndScene();
        scene->PresentScene();
        gfx->calls.clear();
    }

    std::unique_ptr<nKernelServer> ks;
    BenchGfx* gfx = nullptr;
    nMRTSceneServer* scene = nullptr;
    std::string dir;
    std::vector<nRenderContext> contexts;
};

void BM_SceneServerFrame(benchmark::State& state)
{
    const int numContexts = int(state.range(0));
    SceneWorld world(numContexts);
    world.Frame();
    world.Frame();
    if (world.scene->GetNumGroups() != numContexts * 4) state.SkipWithError("wrong number of groups");
    const nMemoryStats before = nMemoryGetStats();
    for (int i = 0; i < 10; i++) world.Frame();
    const nMemoryStats after = nMemoryGetStats();
    state.counters["blocks_per_frame"] = double(after.totalCount - before.totalCount) / 10.0;
    state.counters["bytes_per_frame"] = double(after.totalSize - before.totalSize) / 10.0;
    for (auto _ : state)
    {
        world.Frame();
    }
    state.counters["draws"] = world.scene->GetNumInstances();
    state.SetItemsProcessed(state.iterations() * numContexts);
}
BENCHMARK(BM_SceneServerFrame)->Apply(ContextCounts)->Unit(benchmark::kMillisecond);

/// a matrix product into a reserved vector for each group, and a sort of a key for each
void BM_Baseline(benchmark::State& state)
{
    const int numContexts = int(state.range(0));
    const int numGroups = numContexts * 4;
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> dist(0.0f, 100.0f);
    std::vector<matrix44> parents(numGroups), locals(numGroups), out;
    std::vector<float> keys(numGroups), sorted;
    for (int i = 0; i < numGroups; i++)
    {
        parents[i].translate(vector3(dist(rng), dist(rng), dist(rng)));
        locals[i].rotate_y(dist(rng));
        keys[i] = dist(rng);
    }
    out.reserve(numGroups);
    sorted.reserve(numGroups);
    for (auto _ : state)
    {
        out.clear();
        for (int i = 0; i < numGroups; i++) out.push_back(locals[i] * parents[i]);
        sorted.assign(keys.begin(), keys.end());
        std::sort(sorted.begin(), sorted.end());
        benchmark::DoNotOptimize(out.data());
        benchmark::DoNotOptimize(sorted.data());
    }
    state.SetItemsProcessed(state.iterations() * numContexts);
}
BENCHMARK(BM_Baseline)->Apply(ContextCounts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
