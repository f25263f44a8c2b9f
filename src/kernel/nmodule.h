#ifndef N_MODULE_H
#define N_MODULE_H
//------------------------------------------------------------------------------
/**
    @file nmodule.h

    A module is how a class registers: an init function (proper name,
    instance size, superclass, commands) and a factory. N_IMPLEMENT_MODULE
    writes both for a class; N_DECLARE_MODULE declares them for a package.
*/
#include "kernel/nkernelserver.h"
#include "kernel/nclass.h"

/// declares the module functions <module>_init and <module>_new
#define N_DECLARE_MODULE(MODULE) \
    bool MODULE##_init(nClass* cl, nKernelServer* ks); \
    void* MODULE##_new();

/// defines the module functions of CLASS, registered under the module name
/// MODULE below the module SUPERMODULE; INITCMDS is its n_initcmds or nullptr
#define N_IMPLEMENT_MODULE(MODULE, CLASS, SUPERMODULE, INITCMDS) \
    bool MODULE##_init(nClass* cl, nKernelServer* ks) \
    { \
        cl->SetProperName(#CLASS); \
        cl->SetInstanceSize((int)sizeof(CLASS)); \
        ks->AddClass(SUPERMODULE, cl); \
        void (*initCmds)(nClass*) = INITCMDS; \
        if (initCmds) initCmds(cl); \
        return true; \
    } \
    void* MODULE##_new() \
    { \
        return n_new(CLASS); \
    }

/// as N_IMPLEMENT_MODULE for a server class of which only one object may
/// exist: the class refuses a second one instead of letting its
/// constructor's singleton assertion stop the program (scripts and
/// persistence files can ask for any class)
#define N_IMPLEMENT_SINGLETON_MODULE(MODULE, CLASS, SUPERMODULE, INITCMDS) \
    static void MODULE##_initsingleton(nClass* cl) \
    { \
        cl->SetSingleton(); \
        void (*initCmds)(nClass*) = INITCMDS; \
        if (initCmds) initCmds(cl); \
    } \
    N_IMPLEMENT_MODULE(MODULE, CLASS, SUPERMODULE, MODULE##_initsingleton)

/// registers a module with the kernel server (used inside package functions)
#define N_ADD_MODULE(KS, MODULE) (KS)->AddModule(#MODULE, MODULE##_init, MODULE##_new)

#endif
