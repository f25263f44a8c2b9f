//------------------------------------------------------------------------------
//  nscriptpackage.cc
//------------------------------------------------------------------------------
#include "script/nscriptpackage.h"
#include "kernel/nmodule.h"
#include "script/ntclserver.h"

N_IMPLEMENT_MODULE(ntclserver, nTclServer, "nscriptserver", nullptr)

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
