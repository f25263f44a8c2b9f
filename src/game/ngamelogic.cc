//------------------------------------------------------------------------------
//  ngamelogic.cc
//------------------------------------------------------------------------------
#include "game/ngamelogic.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_MODULE(ngamelogic, nGameLogic, "nroot", nullptr)

void nGameLogic::Start()
{
}

void nGameLogic::Stop()
{
}

void nGameLogic::Trigger(float* /*dt*/)
{
}
