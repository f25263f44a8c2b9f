//------------------------------------------------------------------------------
//  napplicationpackage.cc
//
//  Superclasses come before their subclasses.
//------------------------------------------------------------------------------
#include "application/napplicationpackage.h"
#include "application/napplication.h"
#include "application/ncutsceneappstate.h"
#include "application/nexitappstate.h"
#include "application/nconserver.h"
#include "kernel/nmodule.h"

void napplication_initcmds(nClass* cl);
void nconserver_initcmds(nClass* cl);

N_IMPLEMENT_MODULE(napplication, nApplication, "nroot", napplication_initcmds)
N_IMPLEMENT_MODULE(nappstate, nAppState, "nroot", nullptr)
N_IMPLEMENT_MODULE(ncutsceneappstate, nCutSceneAppState, "nappstate", nullptr)
N_IMPLEMENT_MODULE(nexitappstate, nExitAppState, "nappstate", nullptr)
N_IMPLEMENT_SINGLETON_MODULE(nconserver, nConServer, "nroot", nconserver_initcmds)

/*
 * napplication_package --
 *     Side effects: registers the application classes with the kernel server.
 */
void napplication_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, napplication);
    N_ADD_MODULE(ks, nappstate);
    N_ADD_MODULE(ks, ncutsceneappstate);
    N_ADD_MODULE(ks, nexitappstate);
    N_ADD_MODULE(ks, nconserver);
}
