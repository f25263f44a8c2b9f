//------------------------------------------------------------------------------
//  The allocator and path resolution, each beside a plain baseline.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"

#include <cstdlib>
#include <string>
#include <unordered_map>

static void BM_Baseline_MallocFree(benchmark::State& state)
{
    for (auto _ : state)
    {
        void* p = malloc(64);
        benchmark::DoNotOptimize(p);
        free(p);
    }
}
BENCHMARK(BM_Baseline_MallocFree);

static void BM_NMallocFree(benchmark::State& state)
{
    for (auto _ : state)
    {
        void* p = n_malloc(64);
        benchmark::DoNotOptimize(p);
        n_free(p);
    }
}
BENCHMARK(BM_NMallocFree);

static void BM_Lookup4Levels(benchmark::State& state)
{
    nKernelServer ks;
    ks.New("nroot", "/usr/scene/level/object");
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(ks.Lookup("/usr/scene/level/object"));
    }
}
BENCHMARK(BM_Lookup4Levels);

static void BM_Baseline_MapLookup4Levels(benchmark::State& state)
{
    std::unordered_map<std::string, int> map;
    map["/usr/scene/level/object"] = 1;
    map["/usr/scene/level"] = 2;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(map.find("/usr/scene/level/object"));
    }
}
BENCHMARK(BM_Baseline_MapLookup4Levels);

static void BM_FindAmong1000Children(benchmark::State& state)
{
    nKernelServer ks;
    for (int i = 0; i < 1000; i++)
    {
        ks.New("nroot", ("/p/child" + std::to_string(i)).c_str());
    }
    nRoot* parent = ks.Lookup("/p");
    int i = 0;
    const std::string names[4] = {"child0", "child333", "child666", "child999"};
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(parent->Find(names[i++ & 3].c_str()));
    }
}
BENCHMARK(BM_FindAmong1000Children);

static void BM_Baseline_MapFindAmong1000(benchmark::State& state)
{
    std::unordered_map<std::string, int> map;
    for (int i = 0; i < 1000; i++)
    {
        map["child" + std::to_string(i)] = i;
    }
    int i = 0;
    const std::string names[4] = {"child0", "child333", "child666", "child999"};
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(map.find(names[i++ & 3]));
    }
}
BENCHMARK(BM_Baseline_MapFindAmong1000);

BENCHMARK_MAIN();
