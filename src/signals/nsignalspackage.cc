//------------------------------------------------------------------------------
//  nsignalspackage.cc
//------------------------------------------------------------------------------
#include "signals/nsignalspackage.h"
#include "kernel/nmodule.h"
#include "signals/nsignalserver.h"

N_IMPLEMENT_SINGLETON_MODULE(nsignalserver, nSignalServer, "nroot", nullptr)

void nsignals_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nsignalserver);
}
