//------------------------------------------------------------------------------
//  ntexture2.cc
//------------------------------------------------------------------------------
#include "gfx2/ntexture2.h"

#include <atomic>

/*
 * nTexture2 --
 *     Side effects: takes the next serial, so that shader values can tell
 *     a new texture at a freed texture's address from the old one.
 */
nTexture2::nTexture2()
{
    static std::atomic<unsigned int> nextSerial{1};
    this->serial = nextSerial++;
}

nTexture2::~nTexture2()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}
