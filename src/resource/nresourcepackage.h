#ifndef N_RESOURCEPACKAGE_H
#define N_RESOURCEPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nresourcepackage.h

    The resource class package: registers "nresource", "nresourceserver"
    and "nresourceloader".
*/
void nresource_package();
#endif
