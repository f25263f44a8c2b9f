//------------------------------------------------------------------------------
//  threadresources.cc
//------------------------------------------------------------------------------
#include "threadresources.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_MODULE(nthreadtexture, nThreadTexture, "nd3d9texture", nullptr)
N_IMPLEMENT_MODULE(nthreadmesh, nThreadMesh, "nd3d9mesh", nullptr)

void threadresources_package(nKernelServer* ks)
{
    N_ADD_MODULE(ks, nthreadtexture);
    N_ADD_MODULE(ks, nthreadmesh);
}
