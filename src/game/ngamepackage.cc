//------------------------------------------------------------------------------
//  ngamepackage.cc
//------------------------------------------------------------------------------
#include "game/ngamepackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(napp)
N_DECLARE_MODULE(ngameobject)
N_DECLARE_MODULE(nscriptprefserver)
N_DECLARE_MODULE(ntimerserver)

void ngame_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, napp);
    N_ADD_MODULE(ks, ngameobject);
    N_ADD_MODULE(ks, nscriptprefserver);
    N_ADD_MODULE(ks, ntimerserver);
}
