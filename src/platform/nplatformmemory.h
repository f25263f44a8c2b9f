#ifndef N_PLATFORMMEMORY_H
#define N_PLATFORMMEMORY_H
//------------------------------------------------------------------------------
/**
    @class nPlatformMemory
    @ingroup Platform

    What the C library's allocator tells about its blocks.
*/
#include <cstddef>

#include <malloc.h>

class nPlatformMemory
{
public:
    /// the bytes a block from malloc can hold (at least what was asked);
    /// 0 for a null pointer
    /// (inline: the allocator asks it on every allocation and free)
    static size_t UsableSize(void* block)
    {
        return block ? malloc_usable_size(block) : 0;
    }
};
#endif
