//------------------------------------------------------------------------------
//  nmemory.cc
//
//  The allocator every engine allocation passes through. Blocks come from
//  the C library; the running totals use the block's usable size so that
//  no header has to be prepended (which keeps blocks valid for free() of
//  foreign code and for the sanitizers' own bookkeeping).
//------------------------------------------------------------------------------
#include "kernel/ntypes.h"
#include "kernel/nmemory.h"
#include "platform/nplatformmemory.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{

std::atomic<long long> g_totalSize{0};
std::atomic<long long> g_totalCount{0};
std::atomic<long long> g_highWater{0};
std::atomic<bool> g_trace{false};

/*
 * Account --
 *     Adds a fresh block to the running totals.
 * Side effects: raises the high-water mark when it is passed.
 */
void Account(void* p)
{
    if (p == nullptr) return;
    const long long size = (long long)nPlatformMemory::UsableSize(p);
    const long long now = g_totalSize.fetch_add(size, std::memory_order_relaxed) + size;
    g_totalCount.fetch_add(1, std::memory_order_relaxed);
    long long high = g_highWater.load(std::memory_order_relaxed);
    while (now > high && !g_highWater.compare_exchange_weak(high, now, std::memory_order_relaxed))
    {
    }
}

/*
 * Unaccount --
 *     Removes a block that is about to be freed from the running totals.
 */
void Unaccount(void* p)
{
    if (p == nullptr) return;
    g_totalSize.fetch_sub((long long)nPlatformMemory::UsableSize(p), std::memory_order_relaxed);
    g_totalCount.fetch_sub(1, std::memory_order_relaxed);
}

bool Tracing()
{
    return g_trace.load(std::memory_order_relaxed);
}

/*
 * NewBlock --
 *     The common path of every throwing operator new: allocate, account,
 *     and throw std::bad_alloc when memory runs out (a null result from a
 *     throwing new is undefined behaviour for its callers).
 */
void* NewBlock(size_t size)
{
    void* p = malloc(size ? size : 1);
    if (p == nullptr) throw std::bad_alloc();
    Account(p);
    return p;
}

void DeleteBlock(void* p)
{
    Unaccount(p);
    free(p);
}

}  // namespace

nMemoryStats nMemoryGetStats()
{
    nMemoryStats s;
    s.highWaterSize = g_highWater.load(std::memory_order_relaxed);
    s.totalSize = g_totalSize.load(std::memory_order_relaxed);
    s.totalCount = g_totalCount.load(std::memory_order_relaxed);
    return s;
}

void nMemorySetTrace(bool on)
{
    g_trace.store(on, std::memory_order_relaxed);
}

void* n_malloc_dbg(size_t size, const char* file, int line)
{
    void* p = malloc(size ? size : 1);
    Account(p);
    if (Tracing()) n_printf("%lx = n_malloc(size=%d, file=%s, line=%d)\n", (unsigned long)p, (int)size, file, line);
    return p;
}

void* n_calloc_dbg(size_t num, size_t size, const char* file, int line)
{
    void* p = calloc(num ? num : 1, size ? size : 1);
    Account(p);
    if (Tracing()) n_printf("%lx = n_calloc(num=%d, size=%d, file=%s, line=%d)\n", (unsigned long)p, (int)num, (int)size, file, line);
    return p;
}

void* n_realloc_dbg(void* memblock, size_t size, const char* file, int line)
{
    // realloc may move or free the block: take the old one out of the
    // totals first and put back whatever survives.
    // The old address is only printed; it is taken before the call, since
    // the pointer itself must not be used once realloc has moved the block.
    const unsigned long oldAddr = (unsigned long)memblock;
    Unaccount(memblock);
    void* p = realloc(memblock, size ? size : 1);
    if (p != nullptr) Account(p);
    else Account(memblock);
    if (Tracing()) n_printf("%lx = n_realloc(ptr=%lx, size=%d, file=%s, line=%d)\n", (unsigned long)p, oldAddr, (int)size, file, line);
    return p;
}

void n_free_dbg(void* memblock, const char* file, int line)
{
    if (Tracing()) n_printf("n_free(ptr=%lx, file=%s, line=%d)\n", (unsigned long)memblock, file, line);
    DeleteBlock(memblock);
}

//--- replaced global operators ------------------------------------------------

// ThreadSanitizer's runtime brings its own global new and delete, linked
// statically beside ours; under it the plain forms stay the runtime's (its
// delete frees n_new's blocks as well, which only the statistics notice).
#if defined(__SANITIZE_THREAD__)
#define N_REPLACE_GLOBAL_NEW 0
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define N_REPLACE_GLOBAL_NEW 0
#endif
#endif
#ifndef N_REPLACE_GLOBAL_NEW
#define N_REPLACE_GLOBAL_NEW 1
#endif

#if N_REPLACE_GLOBAL_NEW
void* operator new(size_t size)
{
    void* p = NewBlock(size);
    if (Tracing()) n_printf("%lx = new(size=%d)\n", (unsigned long)p, (int)size);
    return p;
}

void* operator new[](size_t size)
{
    void* p = NewBlock(size);
    if (Tracing()) n_printf("%lx = new[](size=%d)\n", (unsigned long)p, (int)size);
    return p;
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    void* p = malloc(size ? size : 1);
    Account(p);
    return p;
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    void* p = malloc(size ? size : 1);
    Account(p);
    return p;
}

#endif  // N_REPLACE_GLOBAL_NEW

void* operator new(size_t size, const char* file, int line)
{
    void* p = NewBlock(size);
    if (Tracing()) n_printf("%lx = new(size=%d, file=%s, line=%d)\n", (unsigned long)p, (int)size, file, line);
    return p;
}

void* operator new[](size_t size, const char* file, int line)
{
    void* p = NewBlock(size);
    if (Tracing()) n_printf("%lx = new[](size=%d, file=%s, line=%d)\n", (unsigned long)p, (int)size, file, line);
    return p;
}

#if N_REPLACE_GLOBAL_NEW
void operator delete(void* p) noexcept
{
    if (Tracing()) n_printf("delete(ptr=%lx)\n", (unsigned long)p);
    DeleteBlock(p);
}

void operator delete[](void* p) noexcept
{
    if (Tracing()) n_printf("delete[](ptr=%lx)\n", (unsigned long)p);
    DeleteBlock(p);
}

void operator delete(void* p, size_t) noexcept
{
    operator delete(p);
}

void operator delete[](void* p, size_t) noexcept
{
    operator delete[](p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    operator delete(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    operator delete[](p);
}

#endif  // N_REPLACE_GLOBAL_NEW

void operator delete(void* p, const char*, int) noexcept
{
    operator delete(p);
}

void operator delete[](void* p, const char*, int) noexcept
{
    operator delete[](p);
}
