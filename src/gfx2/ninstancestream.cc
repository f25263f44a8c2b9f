//------------------------------------------------------------------------------
//  ninstancestream.cc
//------------------------------------------------------------------------------
#include "gfx2/ninstancestream.h"

nInstanceStream::~nInstanceStream()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}
