//------------------------------------------------------------------------------
//  Script-command dispatch of a getter by id and by name, beside the direct
//  C++ call. After the timed loop each benchmark runs a fixed number of
//  dispatches with the allocator's trace on and counts the traced
//  allocations and frees: the common path must allocate nothing.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"
#include "kernel/ncmd.h"
#include "kernel/nloghandler.h"
#include "kernel/nmemory.h"

namespace
{

const nFourCC kGetRefCount = N_FOURCC('G', 'R', 'C', 'T');

/// counts the lines the allocator's trace writes
class CountingLogHandler : public nLogHandler
{
public:
    void Print(const char*, va_list) override { ++this->lines; }
    long lines = 0;
};

int DispatchById(nRoot* obj)
{
    nCmdProto* proto = obj->GetClass()->FindCmdById(kGetRefCount);
    nCmd* cmd = proto->NewCmd();
    obj->Dispatch(cmd);
    const int result = cmd->Out()->GetI();
    proto->RelCmd(cmd);
    return result;
}

/// a getter with a string result: the result text is duplicated into
/// the command, so this path allocates (and shows that the count works)
int DispatchGetNameById(nRoot* obj)
{
    nCmdProto* proto = obj->GetClass()->FindCmdById(N_FOURCC('G', 'N', 'A', 'M'));
    nCmd* cmd = proto->NewCmd();
    obj->Dispatch(cmd);
    const int result = cmd->Out()->GetS()[0];
    proto->RelCmd(cmd);
    return result;
}

int DispatchByName(nRoot* obj)
{
    nCmdProto* proto = obj->GetClass()->FindCmdByName("getrefcount");
    nCmd* cmd = proto->NewCmd();
    obj->Dispatch(cmd);
    const int result = cmd->Out()->GetI();
    proto->RelCmd(cmd);
    return result;
}

/*
 * CountAllocations --
 *     Results: the allocator calls (allocations and frees) per call of fn,
 *     over 1000 calls traced into a counting log handler.
 */
double CountAllocations(nKernelServer& ks, nRoot* obj, int (*fn)(nRoot*))
{
    const int calls = 1000;
    CountingLogHandler counter;
    ks.SetLogHandler(&counter);
    nMemorySetTrace(true);
    for (int i = 0; i < calls; i++)
    {
        benchmark::DoNotOptimize(fn(obj));
    }
    nMemorySetTrace(false);
    ks.SetLogHandler(nullptr);
    return (double)counter.lines / calls;
}

void RunDispatch(benchmark::State& state, int (*fn)(nRoot*))
{
    nKernelServer ks;
    nRoot* obj = static_cast<nRoot*>(ks.New("nroot", "/usr/scene/object"));
    fn(obj);  // warm the prototype and the id cache
    const long long before = nMemoryGetStats().totalCount;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(fn(obj));
    }
    state.counters["live_blocks_delta"] = (double)(nMemoryGetStats().totalCount - before);
    state.counters["allocs_per_dispatch"] = CountAllocations(ks, obj, fn);
}

}  // namespace

static void BM_Baseline_DirectCall(benchmark::State& state)
{
    nKernelServer ks;
    nRoot* obj = static_cast<nRoot*>(ks.New("nroot", "/usr/scene/object"));
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(obj);
        benchmark::DoNotOptimize(obj->GetRefCount());
    }
}
BENCHMARK(BM_Baseline_DirectCall);

static void BM_DispatchById(benchmark::State& state)
{
    RunDispatch(state, DispatchById);
}
BENCHMARK(BM_DispatchById);

static void BM_DispatchByName(benchmark::State& state)
{
    RunDispatch(state, DispatchByName);
}
BENCHMARK(BM_DispatchByName);

static void BM_DispatchById_StringResult(benchmark::State& state)
{
    RunDispatch(state, DispatchGetNameById);
}
BENCHMARK(BM_DispatchById_StringResult);

BENCHMARK_MAIN();
