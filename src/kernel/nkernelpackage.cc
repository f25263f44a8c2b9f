//------------------------------------------------------------------------------
//  nkernelpackage.cc
//
//  Superclasses come before their subclasses: a superclass that is not
//  registered yet is fatal.
//------------------------------------------------------------------------------
#include "kernel/nkernelpackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(nobject)
N_DECLARE_MODULE(nroot)
N_DECLARE_MODULE(nenv)
N_DECLARE_MODULE(nfilenode)
N_DECLARE_MODULE(nfileserver2)
N_DECLARE_MODULE(ntimeserver)
N_DECLARE_MODULE(nscriptserver)
N_DECLARE_MODULE(nremoteserver)
N_DECLARE_MODULE(npersistserver)
N_DECLARE_MODULE(nbinscriptserver)

void nkernel_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nobject);
    N_ADD_MODULE(ks, nroot);
    N_ADD_MODULE(ks, nenv);
    N_ADD_MODULE(ks, nfilenode);
    N_ADD_MODULE(ks, nfileserver2);
    N_ADD_MODULE(ks, npersistserver);
    N_ADD_MODULE(ks, nremoteserver);
    N_ADD_MODULE(ks, nscriptserver);
    N_ADD_MODULE(ks, ntimeserver);
    N_ADD_MODULE(ks, nbinscriptserver);
}
