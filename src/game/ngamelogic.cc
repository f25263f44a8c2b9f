//------------------------------------------------------------------------------
//  ngamelogic.cc
//------------------------------------------------------------------------------
#include "game/ngamelogic.h"

void nGameLogic::Start()
{
}

void nGameLogic::Stop()
{
}

void nGameLogic::Trigger(float* /*dt*/)
{
}
