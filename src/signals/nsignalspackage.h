#ifndef N_SIGNALSPACKAGE_H
#define N_SIGNALSPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nsignalspackage.h

    The package of the signals area: registers "nsignalserver".
*/
void nsignals_package();
#endif
