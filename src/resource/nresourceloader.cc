//------------------------------------------------------------------------------
//  nresourceloader.cc
//------------------------------------------------------------------------------
#include "resource/nresourceloader.h"

/*
 * Load --
 *     Results: false: the base class knows no data format.
 *     Side effects: none.
 */
bool nResourceLoader::Load(const char* /*filename*/, nResource* /*resource*/)
{
    return false;
}
