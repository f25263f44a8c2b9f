#ifndef N_LOCALEPACKAGE_H
#define N_LOCALEPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nlocalepackage.h

    The localisation class package: registers "nlocaleserver".
*/
void nlocale_package();
#endif
