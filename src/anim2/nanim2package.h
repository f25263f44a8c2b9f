#ifndef N_ANIM2PACKAGE_H
#define N_ANIM2PACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nanim2package.h

    The animation class package: registers "nanimation" and
    "nanimationserver". The resource package must be registered first.
*/
void nanim2_package();
#endif
