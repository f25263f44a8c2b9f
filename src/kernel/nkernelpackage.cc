//------------------------------------------------------------------------------
//  nkernelpackage.cc
//
//  Superclasses come before their subclasses: a superclass that is not
//  registered yet is fatal.
//------------------------------------------------------------------------------
#include "kernel/nkernelpackage.h"
#include "kernel/nbinscriptserver.h"
#include "kernel/nenv.h"
#include "kernel/nfilenode.h"
#include "kernel/nfileserver2.h"
#include "kernel/nmodule.h"
#include "kernel/npersistserver.h"
#include "kernel/nremoteserver.h"
#include "kernel/nroot.h"
#include "kernel/nscriptserver.h"
#include "kernel/ntimeserver.h"

// defined in the classes' own _cmds.cc files
void nobject_initcmds(nClass* cl);
void nroot_initcmds(nClass* cl);
void nenv_initcmds(nClass* cl);
void nfilenode_initcmds(nClass* cl);
void nfileserver2_initcmds(nClass* cl);
void ntimeserver_initcmds(nClass* cl);
void npersistserver_initcmds(nClass* cl);

/*
 * nobject_init --
 *     The root of the registry: no superclass. Keeps the kernel pointer
 *     that objects use when they die.
 */
bool nobject_init(nClass* cl, nKernelServer* ks)
{
    nObject::kernelServer = ks;
    cl->SetProperName("nObject");
    cl->SetInstanceSize((int)sizeof(nObject));
    nobject_initcmds(cl);
    return true;
}

void* nobject_new()
{
    return n_new(nObject);
}

N_IMPLEMENT_MODULE(nroot, nRoot, "nobject", nroot_initcmds)
N_IMPLEMENT_MODULE(nenv, nEnv, "nroot", nenv_initcmds)
N_IMPLEMENT_MODULE(nfilenode, nFileNode, "nroot", nfilenode_initcmds)
N_IMPLEMENT_SINGLETON_MODULE(nfileserver2, nFileServer2, "nroot", nfileserver2_initcmds)
N_IMPLEMENT_SINGLETON_MODULE(ntimeserver, nTimeServer, "nroot", ntimeserver_initcmds)
N_IMPLEMENT_MODULE(nscriptserver, nScriptServer, "nroot", nullptr)
N_IMPLEMENT_SINGLETON_MODULE(nremoteserver, nRemoteServer, "nroot", nullptr)
N_IMPLEMENT_MODULE(npersistserver, nPersistServer, "nroot", npersistserver_initcmds)
N_IMPLEMENT_MODULE(nbinscriptserver, nBinScriptServer, "nscriptserver", nullptr)

void nkernel_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nobject);
    N_ADD_MODULE(ks, nroot);
    N_ADD_MODULE(ks, nenv);
    N_ADD_MODULE(ks, nfilenode);
    N_ADD_MODULE(ks, nfileserver2);
    N_ADD_MODULE(ks, npersistserver);
    N_ADD_MODULE(ks, nremoteserver);
    N_ADD_MODULE(ks, nscriptserver);
    N_ADD_MODULE(ks, ntimeserver);
    N_ADD_MODULE(ks, nbinscriptserver);
}
