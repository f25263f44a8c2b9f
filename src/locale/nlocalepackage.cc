//------------------------------------------------------------------------------
//  nlocalepackage.cc
//------------------------------------------------------------------------------
#include "locale/nlocalepackage.h"
#include "locale/nlocaleserver.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_SINGLETON_MODULE(nlocaleserver, nLocaleServer, "nroot", nullptr)

/*
 * nlocale_package --
 *     Registers the localisation classes with the kernel server.
 */
void nlocale_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nlocaleserver);
}
