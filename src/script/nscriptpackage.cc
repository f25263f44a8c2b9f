//------------------------------------------------------------------------------
//  nscriptpackage.cc
//------------------------------------------------------------------------------
#include "script/nscriptpackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(ntclserver)

/*
 * nscript_package --
 *     Results: none.
 *     Side effects: registers "ntclserver" (its superclass "nscriptserver"
 *     comes with the kernel package).
 */
void nscript_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, ntclserver);
}
