#ifndef N_MEMORY_H
#define N_MEMORY_H
//------------------------------------------------------------------------------
/**
    @file nmemory.h

    Statistics of the engine's allocator. Every block of the program passes
    through n_malloc and the replaced global operators, which keep running
    totals so the kernel can publish them without walking a heap.
*/
#include "kernel/ntypes.h"

struct nMemoryStats
{
    long long highWaterSize;    ///< largest number of bytes ever allocated at once
    long long totalSize;        ///< bytes allocated now
    long long totalCount;       ///< blocks allocated now
};

/// read the allocator's running totals; the calling thread's latest blocks
/// are moved into them first, other threads' within a batch (64 KiB)
nMemoryStats nMemoryGetStats();

/// switch the per-call trace on or off (off by default)
void nMemorySetTrace(bool on);

#endif
