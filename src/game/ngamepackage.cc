//------------------------------------------------------------------------------
//  ngamepackage.cc
//------------------------------------------------------------------------------
#include "game/ngamepackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(nscriptprefserver)

void ngame_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nscriptprefserver);
}
