#ifndef N_MISCPACKAGE_H
#define N_MISCPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nmiscpackage.h

    The class package of the misc area (preference servers).
*/
void nmisc_package();
#endif
