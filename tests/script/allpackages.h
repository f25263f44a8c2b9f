#ifndef TESTS_SCRIPT_ALLPACKAGES_H
#define TESTS_SCRIPT_ALLPACKAGES_H
//------------------------------------------------------------------------------
//  Every class package, in the order the program entry adds them (the
//  program's own list, launcher/nboxingpackages.h). The script host and the
//  command sweep both make their kernels with it, so a new package added
//  there is driven from Tcl and swept at once.
//------------------------------------------------------------------------------
#include "kernel/nkernelserver.h"
#include "launcher/nboxingpackages.h"

/// a kernel with every class package
class AllPackagesKernel : public nKernelServer
{
public:
    AllPackagesKernel() :
        nKernelServer({N_BOXING_PACKAGES})
    {
    }
};
#endif
