#ifndef N_PLATFORMMEMORY_H
#define N_PLATFORMMEMORY_H
//------------------------------------------------------------------------------
/**
    @class nPlatformMemory
    @ingroup Platform

    What the C library's allocator tells about its blocks.
*/
#include <cstddef>

class nPlatformMemory
{
public:
    /// the bytes a block from malloc can hold (at least what was asked);
    /// 0 for a null pointer
    static size_t UsableSize(void* block);
};
#endif
