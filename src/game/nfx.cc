//------------------------------------------------------------------------------
//  nfx.cc
//------------------------------------------------------------------------------
#include "game/nfx.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_MODULE(nfx, nFX, "nroot", nullptr)

void nFX::Start(const nString& /*path*/)
{
}

void nFX::Trigger(float* /*dt*/)
{
}

void nFX::Render()
{
}
