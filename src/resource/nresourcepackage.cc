//------------------------------------------------------------------------------
//  nresourcepackage.cc
//------------------------------------------------------------------------------
#include "resource/nresourcepackage.h"
#include "resource/nresource.h"
#include "resource/nresourceserver.h"
#include "resource/nresourceloader.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_MODULE(nresource, nResource, "nroot", nullptr)
N_IMPLEMENT_SINGLETON_MODULE(nresourceserver, nResourceServer, "nroot", nullptr)
N_IMPLEMENT_MODULE(nresourceloader, nResourceLoader, "nroot", nullptr)

/*
 * nresource_package --
 *     Registers the resource classes with the kernel server.
 */
void nresource_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nresource);
    N_ADD_MODULE(ks, nresourceserver);
    N_ADD_MODULE(ks, nresourceloader);
}
