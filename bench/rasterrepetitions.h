#ifndef BENCH_RASTERREPETITIONS_H
#define BENCH_RASTERREPETITIONS_H
//------------------------------------------------------------------------------
//  Benchmarks bound by the software rasteriser vary two- to six-fold between
//  single runs on a loaded machine, so they run several times and show the
//  median (with mean and spread) rather than one sample:
//      BENCHMARK(BM_Frame)->Apply(RasterRepetitions);
//  The JSON report keeps every run, so a failed one is still seen.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

inline void
RasterRepetitions(benchmark::internal::Benchmark* b)
{
    b->Repetitions(5)->DisplayAggregatesOnly(true);
}
#endif
