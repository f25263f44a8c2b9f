//------------------------------------------------------------------------------
//  nplatformmemory.cc
//------------------------------------------------------------------------------
#include "platform/nplatformmemory.h"

#include <malloc.h>

size_t nPlatformMemory::UsableSize(void* block)
{
    return block ? malloc_usable_size(block) : 0;
}
