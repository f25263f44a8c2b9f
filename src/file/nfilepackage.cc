//------------------------------------------------------------------------------
//  nfilepackage.cc
//------------------------------------------------------------------------------
#include "file/nfilepackage.h"
#include "file/nnpkfileserver.h"
#include "kernel/nmodule.h"

void nnpkfileserver_initcmds(nClass* cl);

N_IMPLEMENT_MODULE(nnpkfileserver, nNpkFileServer, "nfileserver2", nnpkfileserver_initcmds)

void nfile_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nnpkfileserver);
}
