//------------------------------------------------------------------------------
//  nwindowhandler.cc
//------------------------------------------------------------------------------
#include "gfx2/nwindowhandler.h"
#include "input/ninputserver.h"

nWindowHandler::nWindowHandler() :
    refInputServer("/sys/servers/input", "ninputserver"),
    windowOpen(false),
    windowMinimized(false),
    quitRequested(false),
    skipMsgLoop(false)
{
}

nWindowHandler::~nWindowHandler()
{
    n_assert(!this->windowOpen);
}
