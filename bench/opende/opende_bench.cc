//------------------------------------------------------------------------------
//  opende_bench.cc
//
//  The game tests its moving fists against the boxers' geoms every frame
//  through the layer's collide wrapper. Each benchmark runs 10,000 collide
//  calls of one shape pair, through the layer and as raw dCollide calls on
//  the same geoms; the figure that counts is the ratio of the two.
//------------------------------------------------------------------------------
#include "opende/nopendelayer.h"

#include <benchmark/benchmark.h>

namespace
{

const int CallsPerIteration = 10000;

/// ODE started for the pair's life, and two geoms that touch
class Pair
{
public:
    Pair() = default;
    ~Pair()
    {
        dGeomDestroy(this->a);
        dGeomDestroy(this->b);
    }
    Pair(const Pair&) = delete;
    Pair& operator=(const Pair&) = delete;

    nOpendeUser ode;
    dGeomID a = 0;
    dGeomID b = 0;
};

Pair* SphereBox()
{
    Pair* p = new Pair;
    p->a = dCreateSphere(0, 0.5);
    dGeomSetPosition(p->a, 0.25, 0.3, 0.2);
    p->b = dCreateBox(0, 1.0, 0.5, 1.5);
    dGeomSetPosition(p->b, 0.1, -0.1, 0.0);
    return p;
}

Pair* BoxBox()
{
    Pair* p = new Pair;
    p->a = dCreateBox(0, 1.0, 1.0, 1.0);
    dGeomSetPosition(p->a, 0.7, 0.6, 0.1);
    dQuaternion q;
    nOpendeLayer::ToOde(quaternion(0.0f, 0.0f, 0.3826834f, 0.9238795f), q);
    dGeomSetQuaternion(p->a, q);
    p->b = dCreateBox(0, 1.0, 0.5, 1.5);
    dGeomSetPosition(p->b, 0.1, -0.1, 0.0);
    return p;
}

template <Pair* (*MAKE)(), bool LAYER>
void BM_Collide(benchmark::State& state)
{
    Pair* pair = MAKE();
    dContactGeom contacts[8];
    int total = 0;
    for (auto _ : state)
    {
        for (int i = 0; i < CallsPerIteration; i++)
        {
            if (LAYER) total += nOpendeLayer::Collide(pair->a, pair->b, 8, contacts, sizeof(dContactGeom));
            else total += dCollide(pair->a, pair->b, 8, contacts, sizeof(dContactGeom));
            benchmark::DoNotOptimize(contacts);
        }
    }
    benchmark::DoNotOptimize(total);
    if (total == 0) state.SkipWithError("the pair does not touch");
    delete pair;
}

}  // namespace

BENCHMARK(BM_Collide<SphereBox, false>)->Name("SphereBox/raw_dCollide");
BENCHMARK(BM_Collide<SphereBox, true>)->Name("SphereBox/layer_Collide");
BENCHMARK(BM_Collide<BoxBox, false>)->Name("BoxBox/raw_dCollide");
BENCHMARK(BM_Collide<BoxBox, true>)->Name("BoxBox/layer_Collide");

BENCHMARK_MAIN();
