//------------------------------------------------------------------------------
//  The per-object transform cost of a frame: pushing the model matrix,
//  which sets it and recomputes its inverse and the derived products, and
//  popping it again, beside the bare matrix44 work the same derived
//  matrices need (once, and twice as push and pop each compute them).
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "gfx2/ngfxserver2.h"
#include "gfx2/ngfx2package.h"
#include "resource/nresourcepackage.h"
#include "kernel/nkernelserver.h"

namespace
{

const int NumObjects = 64;

/// model matrices of a row of objects
struct Models
{
    Models()
    {
        for (int i = 0; i < NumObjects; i++)
        {
            m[i].rotate_y(0.1f * float(i));
            m[i].translate(vector3(float(i), 0.5f * float(i), -float(i)));
        }
    }
    matrix44 m[NumObjects];
};

/// view, projection and light of the frame
struct Frame
{
    Frame()
    {
        view.rotate_x(0.3f);
        view.translate(vector3(0.0f, -2.0f, -20.0f));
        projection = nCamera2().GetProjection();
        light.rotate_y(-0.8f);
    }
    matrix44 view;
    matrix44 projection;
    matrix44 light;
};

/*
 * Derive --
 *     The derived matrices a model change needs: the inverse and the six
 *     products, as SetTransform computes them. Out of line like
 *     SetTransform: inlined into the object loop it ran slower than the
 *     call, which would flatter the server.
 */
__attribute__((noinline)) void Derive(const matrix44& model, const matrix44& invView, const Frame& f, matrix44* out)
{
    out[0] = model;
    out[0].invert();
    out[1] = model * f.view;
    out[2] = invView * out[0];
    out[3] = model * f.light;
    out[4] = f.light * out[0];
    out[5] = out[1] * f.projection;
    out[6] = out[3] * f.projection;
}

void BM_Baseline_DeriveOnce(benchmark::State& state)
{
    const Models models;
    const Frame f;
    matrix44 invView = f.view;
    invView.invert();
    static matrix44 out[7];
    for (auto _ : state)
    {
        for (int i = 0; i < NumObjects; i++)
        {
            Derive(models.m[i], invView, f, out);
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * NumObjects);
}
BENCHMARK(BM_Baseline_DeriveOnce);

void BM_Baseline_DeriveTwice(benchmark::State& state)
{
    const Models models;
    const Frame f;
    matrix44 invView = f.view;
    invView.invert();
    const matrix44 outer;
    static matrix44 out[7];
    for (auto _ : state)
    {
        for (int i = 0; i < NumObjects; i++)
        {
            Derive(models.m[i], invView, f, out);
            benchmark::ClobberMemory();
            Derive(outer, invView, f, out);
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * NumObjects);
}
BENCHMARK(BM_Baseline_DeriveTwice);

void BM_PushPopModel(benchmark::State& state)
{
    nKernelServer ks({nresource_package, ngfx2_package});
    nGfxServer2* gfx = static_cast<nGfxServer2*>(ks.New("ngfxserver2", "/sys/servers/gfx"));
    const Models models;
    const Frame f;
    gfx->SetTransform(nGfxServer2::View, f.view);
    gfx->SetTransform(nGfxServer2::Projection, f.projection);
    gfx->SetTransform(nGfxServer2::Light, f.light);
    for (auto _ : state)
    {
        for (int i = 0; i < NumObjects; i++)
        {
            gfx->PushTransform(nGfxServer2::Model, models.m[i]);
            benchmark::DoNotOptimize(&gfx->GetTransform(nGfxServer2::ModelViewProjection));
            gfx->PopTransform(nGfxServer2::Model);
        }
    }
    state.SetItemsProcessed(state.iterations() * NumObjects);
    gfx->Release();
}
BENCHMARK(BM_PushPopModel);

}  // namespace

BENCHMARK_MAIN();
