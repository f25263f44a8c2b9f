//------------------------------------------------------------------------------
//  nopenalpackage.cc
//------------------------------------------------------------------------------
#include "nopenal/nopenalpackage.h"
#include "nopenal/nopenalobj.h"
#include "nopenal/nopenalresource.h"
#include "nopenal/nopenalserver.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_SINGLETON_MODULE(nopenalserver, nOpenALServer, "naudioserver3", nullptr)
N_IMPLEMENT_MODULE(nopenalresource, nOpenALResource, "nsoundresource", nullptr)
N_IMPLEMENT_MODULE(nopenalobj, nOpenALObj, "nsound3", nullptr)

/*
 * nopenal_package --
 *     Side effects: registers the OpenAL classes with the kernel server.
 */
void nopenal_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nopenalserver);
    N_ADD_MODULE(ks, nopenalresource);
    N_ADD_MODULE(ks, nopenalobj);
}
