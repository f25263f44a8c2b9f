//------------------------------------------------------------------------------
//  nsignalspackage.cc
//------------------------------------------------------------------------------
#include "signals/nsignalspackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(nsignalserver)

void nsignals_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nsignalserver);
}
