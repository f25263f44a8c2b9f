//------------------------------------------------------------------------------
//  nfilepackage.cc
//------------------------------------------------------------------------------
#include "file/nfilepackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(nnpkfileserver)

void nfile_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nnpkfileserver);
}
