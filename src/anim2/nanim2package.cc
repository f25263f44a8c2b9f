//------------------------------------------------------------------------------
//  nanim2package.cc
//------------------------------------------------------------------------------
#include "anim2/nanim2package.h"
#include "anim2/nanimation.h"
#include "anim2/nanimationserver.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_MODULE(nanimation, nAnimation, "nresource", nullptr)
N_IMPLEMENT_SINGLETON_MODULE(nanimationserver, nAnimationServer, "nroot", nullptr)

void nanim2_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nanimation);
    N_ADD_MODULE(ks, nanimationserver);
}
