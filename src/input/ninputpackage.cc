//------------------------------------------------------------------------------
//  ninputpackage.cc
//------------------------------------------------------------------------------
#include "input/ninputpackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(ninputserver)

void ninput_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, ninputserver);
}
