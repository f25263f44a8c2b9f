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

// The totals of every thread, updated in batches: a locked add on every
// allocation would cost more than the allocation itself. Each thread adds
// its blocks to counters of its own and moves them to these once they have
// grown past FlushBytes or FlushBlocks; reading the statistics moves the
// reading thread's share first, so they are exact for one thread and off by
// less than a batch per other thread.
std::atomic<long long> g_totalSize{0};
std::atomic<long long> g_totalCount{0};
std::atomic<long long> g_highWater{0};
std::atomic<bool> g_trace{false};

constexpr long long FlushBytes = 64 * 1024;
constexpr long long FlushBlocks = 64;

/// what this thread allocated (or freed) since its last flush; trivially
/// destructible, so that reaching it costs no guard
struct PendingTotals
{
    long long size;
    long long count;
};
thread_local PendingTotals t_pending{0, 0};

/*
 * Flush --
 *     Moves this thread's pending share into the totals.
 * Side effects: raises the high-water mark when it is passed.
 */
void Flush()
{
    const long long size = t_pending.size;
    const long long count = t_pending.count;
    t_pending = PendingTotals{0, 0};
    const long long now = g_totalSize.fetch_add(size, std::memory_order_relaxed) + size;
    g_totalCount.fetch_add(count, std::memory_order_relaxed);
    long long high = g_highWater.load(std::memory_order_relaxed);
    while (now > high && !g_highWater.compare_exchange_weak(high, now, std::memory_order_relaxed))
    {
    }
}

/// flushes a thread's last share when it ends, so that blocks it freed
/// for other threads (or kept) still balance the totals
struct ExitFlush
{
    bool armed = false;
    ~ExitFlush() { Flush(); }
};
thread_local ExitFlush t_exitFlush;

/*
 * Pending --
 *     Adds a change of size bytes and count blocks to this thread's share,
 *     flushing it once it has grown past a batch.
 */
inline void Pending(long long size, long long count)
{
    t_pending.size += size;
    t_pending.count += count;
    if (t_pending.size > FlushBytes || t_pending.size < -FlushBytes ||
        t_pending.count > FlushBlocks || t_pending.count < -FlushBlocks)
    {
        // touching the exit object makes the thread flush when it ends
        t_exitFlush.armed = true;
        Flush();
    }
}

/*
 * Account --
 *     Adds a fresh block to the running totals.
 */
inline void Account(void* p)
{
    if (p == nullptr) return;
    Pending((long long)nPlatformMemory::UsableSize(p), 1);
}

/*
 * Unaccount --
 *     Removes a block that is about to be freed from the running totals.
 */
inline void Unaccount(void* p)
{
    if (p == nullptr) return;
    Pending(-(long long)nPlatformMemory::UsableSize(p), -1);
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
inline void* NewBlock(size_t size)
{
    void* p = malloc(size ? size : 1);
    if (p == nullptr) throw std::bad_alloc();
    Account(p);
    return p;
}

inline void DeleteBlock(void* p)
{
    Unaccount(p);
    free(p);
}

}  // namespace

nMemoryStats nMemoryGetStats()
{
    Flush();
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
