//------------------------------------------------------------------------------
//  The allocator and path resolution, each beside a plain baseline.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"

#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

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

/// four names spread over the children, so no one position is favoured
static std::vector<std::string> ProbeNames(int numChildren)
{
    std::vector<std::string> names;
    for (int k = 0; k < 4; k++)
    {
        names.push_back("child" + std::to_string(k * (numChildren - 1) / 3));
    }
    return names;
}

static void BM_FindAmongChildren(benchmark::State& state)
{
    const int numChildren = int(state.range(0));
    nKernelServer ks;
    for (int i = 0; i < numChildren; i++)
    {
        ks.New("nroot", ("/p/child" + std::to_string(i)).c_str());
    }
    nRoot* parent = ks.Lookup("/p");
    const std::vector<std::string> names = ProbeNames(numChildren);
    int i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(parent->Find(names[i++ & 3].c_str()));
    }
}
BENCHMARK(BM_FindAmongChildren)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);

static void BM_Baseline_MapFindAmongChildren(benchmark::State& state)
{
    const int numChildren = int(state.range(0));
    std::unordered_map<std::string, int> map;
    for (int i = 0; i < numChildren; i++)
    {
        map["child" + std::to_string(i)] = i;
    }
    const std::vector<std::string> names = ProbeNames(numChildren);
    int i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(map.find(names[i++ & 3]));
    }
}
BENCHMARK(BM_Baseline_MapFindAmongChildren)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);

BENCHMARK_MAIN();
