//------------------------------------------------------------------------------
//  ninputpackage.cc
//------------------------------------------------------------------------------
#include "input/ninputpackage.h"
#include "input/ninputserver.h"
#include "kernel/nmodule.h"

void ninputserver_initcmds(nClass* cl);

N_IMPLEMENT_SINGLETON_MODULE(ninputserver, nInputServer, "nroot", ninputserver_initcmds)

void ninput_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, ninputserver);
}
