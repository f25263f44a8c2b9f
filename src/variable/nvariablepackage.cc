//------------------------------------------------------------------------------
//  nvariablepackage.cc
//------------------------------------------------------------------------------
#include "variable/nvariablepackage.h"
#include "variable/nvariableserver.h"
#include "kernel/nmodule.h"

void nvariableserver_initcmds(nClass* cl);

N_IMPLEMENT_SINGLETON_MODULE(nvariableserver, nVariableServer, "nroot", nvariableserver_initcmds)

/*
 * nvariable_package --
 *     Registers the render-variable classes with the kernel server.
 */
void nvariable_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nvariableserver);
}
