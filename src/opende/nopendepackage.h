#ifndef N_OPENDEPACKAGE_H
#define N_OPENDEPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nopendepackage.h

    The physics package: the classes over ODE. A kernel built with it,
    nKernelServer ks({nopende_package}), can make the physics server, the
    world, every geom shape and the spaces by class name.
*/
void nopende_package();
#endif
