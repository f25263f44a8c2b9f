#ifndef N_OPENALPACKAGE_H
#define N_OPENALPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nopenalpackage.h

    The OpenAL class package: registers "nopenalserver", "nopenalresource"
    and "nopenalobj". The audio package must be registered first.
*/
void nopenal_package();
#endif
