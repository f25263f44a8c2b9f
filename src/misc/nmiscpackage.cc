//------------------------------------------------------------------------------
//  nmiscpackage.cc
//
//  Superclasses come before their subclasses.
//------------------------------------------------------------------------------
#include "misc/nmiscpackage.h"
#include "kernel/nmodule.h"
#include "misc/nprefserver.h"
#include "misc/nwin32prefserver.h"

void nprefserver_initcmds(nClass* cl);

N_IMPLEMENT_SINGLETON_MODULE(nprefserver, nPrefServer, "nroot", nprefserver_initcmds)
N_IMPLEMENT_MODULE(nwin32prefserver, nWin32PrefServer, "nprefserver", nullptr)

void nmisc_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nprefserver);
    N_ADD_MODULE(ks, nwin32prefserver);
}
