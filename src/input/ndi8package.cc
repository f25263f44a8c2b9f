//------------------------------------------------------------------------------
//  ndi8package.cc
//------------------------------------------------------------------------------
#include "input/ndi8package.h"
#include "input/ndi8server.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_SINGLETON_MODULE(ndi8server, nDI8Server, "ninputserver", nullptr)

/*
 * ndi8_package --
 *     Registers the DirectInput server with the kernel server; the input
 *     package must come first.
 */
void ndi8_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, ndi8server);
}
