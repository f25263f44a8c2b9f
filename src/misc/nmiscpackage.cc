//------------------------------------------------------------------------------
//  nmiscpackage.cc
//
//  Superclasses come before their subclasses.
//------------------------------------------------------------------------------
#include "misc/nmiscpackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(nprefserver)
N_DECLARE_MODULE(nwin32prefserver)

void nmisc_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nprefserver);
    N_ADD_MODULE(ks, nwin32prefserver);
}
