//------------------------------------------------------------------------------
//  nobjectmodule.cc
//
//  Module functions of the kernel's base classes.
//------------------------------------------------------------------------------
#include "kernel/nmodule.h"
#include "kernel/nroot.h"
#include "kernel/nenv.h"

// defined in the classes' own _cmds.cc files
void nobject_initcmds(nClass* cl);
void nroot_initcmds(nClass* cl);
void nenv_initcmds(nClass* cl);

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

