#ifndef N_KERNELPACKAGE_H
#define N_KERNELPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nkernelpackage.h

    The kernel's own class package; every kernel server adds it first.
*/
void nkernel_package();
#endif
