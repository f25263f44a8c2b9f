//------------------------------------------------------------------------------
//  nhardrefserver.cc
//------------------------------------------------------------------------------
#include "kernel/nhardrefserver.h"

nHardRefServer::~nHardRefServer()
{
    // the references belong to their holders: only unlink them
    while (this->strList.RemHead())
    {
    }
}
