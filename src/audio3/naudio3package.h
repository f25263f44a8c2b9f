#ifndef N_AUDIO3PACKAGE_H
#define N_AUDIO3PACKAGE_H
//------------------------------------------------------------------------------
/**
    @file naudio3package.h

    The audio class package: registers "naudioserver3", "nsoundresource"
    and "nsound3". The resource package must be registered first.
*/
void naudio3_package();
#endif
