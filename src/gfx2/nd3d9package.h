#ifndef N_D3D9PACKAGE_H
#define N_D3D9PACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nd3d9package.h

    The Direct3D 9 class package: registers "nd3d9server". The resource and
    graphics packages must be registered first.
*/
void nd3d9_package();
#endif
